// The "Buffers" page (CAudioBuffers): the total buffer time of the output
// ring on a slider in quarter seconds, which snaps to the times the ring can
// have, and "Disable continuous playback mode.".
#pragma once

#include "playback_config_page.h"

namespace plyvane {

class CAudioBuffers : public PlaybackConfigPage {
public:
    CAudioBuffers(SharedPlaybackConfig& shared, CommandSink post);

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void ShowRecord() override;
    bool OnApply() override;
    void OnReset() override;

private:
    void OnSliderMoved();
    void ShowDisableContinuous();
};

}  // namespace plyvane
