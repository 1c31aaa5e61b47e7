// Small rules of the main window that need no window: volume presets, the
// volume controls' scales and the check of a saved window position.
#pragma once

#include <cstdint>
#include <optional>

namespace plyvane {

// Device volumes are 0..65535 per channel; presets are percent (0 = 100).
inline constexpr uint32_t kMaxDeviceVolume = 65535;
inline constexpr int kVolumeSliderMaximum = 8191;
inline int EffectivePreset(int percent) { return percent <= 0 ? 100 : percent; }

// The volume after an open: the one restored from the last session, else the
// louder channel of what the engine kept from its last stop, else (nothing
// kept) the device's.
uint32_t OpeningVolume(std::optional<uint32_t> restored, uint16_t keptLeft, uint16_t keptRight,
                       uint32_t device);

// The volume for a new entry: the device volume taken back to 100 % of the
// previous preset (at most 65535), then scaled to the new preset.
uint32_t VolumeForPreset(uint32_t deviceVolume, int previousPreset, int newPreset);

// "Volume" stored at shut-down: the engine volume without the preset.
uint32_t VolumeWithoutPreset(uint32_t volume, int preset);

// The volume picture 0..4 and the volume slider position 0..8191.
inline int VolumePictureStep(uint32_t volume) {
    int step = static_cast<int>(volume / 13108);
    return step > 4 ? 4 : step;
}
inline int VolumeSliderPosition(uint32_t volume) {
    return static_cast<int>((volume / 8) & kVolumeSliderMaximum);
}
inline uint32_t VolumeFromSlider(int position) {
    int clamped = position < 0 ? 0 : position > kVolumeSliderMaximum ? kVolumeSliderMaximum : position;
    return static_cast<uint32_t>(clamped) * 8;
}

// The main window's states: its three layouts, stored in "DialogState" and
// chosen on the property sheet's size list; hidden, stored too; and shown
// again, which brings back the stored layout and is never stored itself.
enum class DialogState : int32_t { kLarge = 0, kMedium = 1, kSmall = 2, kHidden = 3, kShown = 4 };

inline bool IsLayout(DialogState state) {
    return state == DialogState::kLarge || state == DialogState::kMedium ||
           state == DialogState::kSmall;
}
// The window's state for a number from the settings or a posted command;
// nothing for a number that names none.
std::optional<DialogState> DialogStateFromNumber(int64_t number);
// The layout the window starts in for a stored "DialogState": the window
// never starts hidden, and an unknown value is the large layout.
DialogState StartingLayout(int32_t stored);
// The double click's next layout: large, medium, small, large again.
DialogState NextLayout(DialogState layout);

struct ScreenArea {
    long left, top, right, bottom;
};

// A saved top-left corner is used when the window's top edge lies on the
// desktop and at least 5 pixels of the window stay inside every edge.
bool SavedPositionFits(long x, long y, long width, const ScreenArea& desktop);

}  // namespace plyvane
