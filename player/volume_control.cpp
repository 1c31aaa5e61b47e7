#include "volume_control.h"

#include <commctrl.h>

#include "audio_engine.h"
#include "player_rules.h"
#include "resource_ids.h"

namespace plyvane {

VolumeControl::VolumeControl(AudioEngine& engine, BitmapButtons& bitmaps)
    : engine_(engine), bitmaps_(bitmaps) {}

VolumeControl::~VolumeControl() { CloseMixer(); }

void VolumeControl::Attach(HWND window, HWND slider, HWND picture) {
    window_ = window;
    slider_ = slider;
    picture_ = picture;
    ::SendMessageA(slider_, TBM_SETRANGE, FALSE, MAKELPARAM(0, kVolumeSliderMaximum));
    ::SendMessageA(slider_, TBM_SETPAGESIZE, 0, 1024);
    ::SendMessageA(slider_, TBM_SETLINESIZE, 0, 128);
    Show(DeviceVolume());
}

void VolumeControl::RestoreAtNextOpen(uint32_t volume) {
    restored_ = volume > kMaxDeviceVolume ? kMaxDeviceVolume : volume;
}

void VolumeControl::OnSourceOpened(const PlaybackInfo& info) {
    uint32_t device = DeviceVolume();
    uint32_t volume = OpeningVolume(restored_, info.volumeLeft, info.volumeRight, device);
    restored_.reset();
    if (volume != device) SetDeviceVolume(volume);
    Show(volume);
    OpenMixer(info.deviceHandle);
    ApplyPreset(100);
}

void VolumeControl::OnSourceClosing() { CloseMixer(); }

void VolumeControl::ApplyPreset(int preset) {
    preset = EffectivePreset(preset);
    uint32_t device = DeviceVolume();
    uint32_t volume = VolumeForPreset(device, preset_, preset);
    if (volume != device) {
        SetDeviceVolume(volume);
        Show(volume);
    }
    preset_ = preset;
}

void VolumeControl::OnSlider(int code, int position) {
    if (code != TB_THUMBTRACK && code != TB_THUMBPOSITION) {
        position = static_cast<int>(::SendMessageA(slider_, TBM_GETPOS, 0, 0));
    }
    uint32_t volume = VolumeFromSlider(position);
    SetDeviceVolume(volume);
    ShowPicture(volume);
    ownChange_ = mixer_ != nullptr;
}

void VolumeControl::OnMixerChange() {
    if (ownChange_) {
        ownChange_ = false;
        return;
    }
    Show(DeviceVolume());
}

std::optional<uint32_t> VolumeControl::VolumeToStore() {
    uint16_t left = 0, right = 0;
    if (engine_.GetPlaybackVolume(left, right) == 0) return std::nullopt;
    return VolumeWithoutPreset(left > right ? left : right, preset_);
}

uint32_t VolumeControl::DeviceVolume() {
    uint16_t left = 0, right = 0;
    engine_.GetPlaybackVolume(left, right);
    return left > right ? left : right;
}

void VolumeControl::SetDeviceVolume(uint32_t volume) {
    auto both = static_cast<uint16_t>(volume > kMaxDeviceVolume ? kMaxDeviceVolume : volume);
    engine_.SetPlaybackVolume(both, both);
}

void VolumeControl::Show(uint32_t volume) {
    ShowPicture(volume);
    ::SendMessageA(slider_, TBM_SETPOS, TRUE, VolumeSliderPosition(volume));
}

void VolumeControl::ShowPicture(uint32_t volume) {
    static const int kPictures[] = {IDB_VOLUME_0, IDB_VOLUME_1, IDB_VOLUME_2, IDB_VOLUME_3,
                                    IDB_VOLUME_4};
    bitmaps_.SetPicture(picture_, kPictures[VolumePictureStep(volume)]);
}

void VolumeControl::OpenMixer(uintptr_t deviceHandle) {
    CloseMixer();
    if (deviceHandle == 0) return;
    HMIXER mixer = nullptr;
    if (::mixerOpen(&mixer, static_cast<UINT>(deviceHandle), reinterpret_cast<DWORD_PTR>(window_),
                    0, CALLBACK_WINDOW | MIXER_OBJECTF_HWAVEOUT) == MMSYSERR_NOERROR) {
        mixer_ = mixer;
    }
}

void VolumeControl::CloseMixer() {
    if (mixer_ != nullptr) ::mixerClose(mixer_);
    mixer_ = nullptr;
}

}  // namespace plyvane
