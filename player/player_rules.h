// Small rules of the main window that need no window: volume presets, the
// volume controls' scales and the check of a saved window position.
#pragma once

#include <cstdint>

namespace plyvane {

// Device volumes are 0..65535 per channel; presets are percent (0 = 100).
inline int EffectivePreset(int percent) { return percent <= 0 ? 100 : percent; }

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
inline int VolumeSliderPosition(uint32_t volume) { return static_cast<int>((volume / 8) & 0x1FFF); }
inline uint32_t VolumeFromSlider(int position) {
    return static_cast<uint32_t>(position < 0 ? 0 : position > 8191 ? 8191 : position) * 8;
}

struct ScreenArea {
    long left, top, right, bottom;
};

// A saved top-left corner is used when the window's top edge lies on the
// desktop and at least 5 pixels of the window stay inside every edge.
bool SavedPositionFits(long x, long y, long width, const ScreenArea& desktop);

}  // namespace plyvane
