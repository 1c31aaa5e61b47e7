// The "Audio Device" page (CAudioPlayback): the wave-output device, the
// channels, the sample precision and the playback method.
#pragma once

#include "playback_config_page.h"
#include "wave_device.h"

namespace plyvane {

inline constexpr char kWaveMapperName[] = "Windows WAVE Mapper";

class CAudioPlayback : public PlaybackConfigPage {
public:
    CAudioPlayback(SharedPlaybackConfig& shared, WaveDeviceCatalog& catalog, CommandSink post);

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    void ShowRecord() override;

private:
    WaveDeviceCatalog& catalog_;
};

}  // namespace plyvane
