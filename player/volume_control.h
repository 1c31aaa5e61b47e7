// The main window's volume: the slider and its picture, the entry's volume
// preset, the volume kept from the last session, and the mixer, whose change
// reports bring the slider in line with changes made elsewhere.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "bitmap_button.h"
#include "playback_info.h"

namespace plyvane {

class AudioEngine;

class VolumeControl {
public:
    VolumeControl(AudioEngine& engine, BitmapButtons& bitmaps);
    ~VolumeControl();
    VolumeControl(const VolumeControl&) = delete;
    VolumeControl& operator=(const VolumeControl&) = delete;

    // Sets up the slider and shows the device's volume. The mixer reports
    // to `window`, which passes them to OnMixerChange.
    void Attach(HWND window, HWND slider, HWND picture);

    // "Volume" of the last session, applied at the next open.
    void RestoreAtNextOpen(uint32_t volume);
    // A stream was opened: the restored volume once, else the one the engine
    // kept from its last stop, else the device's; the mixer follows the new
    // device, and a single source plays at 100 %.
    void OnSourceOpened(const PlaybackInfo& info);
    // The stream is closing: the mixer goes with its device.
    void OnSourceClosing();

    // An entry's preset in percent (0 = 100): the device volume taken back
    // from the previous preset and scaled to this one.
    void ApplyPreset(int preset);
    // WM_HSCROLL from the slider.
    void OnSlider(int code, int position);
    // MM_MIXM_LINE_CHANGE and MM_MIXM_CONTROL_CHANGE.
    void OnMixerChange();

    // What to store as "Volume" at shut-down: the playing volume without the
    // preset; nothing when the engine has no volume.
    std::optional<uint32_t> VolumeToStore();

private:
    uint32_t DeviceVolume();
    void SetDeviceVolume(uint32_t volume);
    void Show(uint32_t volume);
    void ShowPicture(uint32_t volume);
    void OpenMixer(uintptr_t deviceHandle);
    void CloseMixer();

    AudioEngine& engine_;
    BitmapButtons& bitmaps_;
    HWND window_ = nullptr;
    HWND slider_ = nullptr;
    HWND picture_ = nullptr;
    HMIXER mixer_ = nullptr;
    int preset_ = 100;
    std::optional<uint32_t> restored_;
    // The mixer reports our own change back; that echo is ignored.
    bool ownChange_ = false;
};

}  // namespace plyvane
