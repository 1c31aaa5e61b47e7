#include "player_rules.h"

namespace plyvane {

uint32_t VolumeForPreset(uint32_t deviceVolume, int previousPreset, int newPreset) {
    uint64_t base = static_cast<uint64_t>(deviceVolume) * 100 / EffectivePreset(previousPreset);
    if (base > 65535) base = 65535;
    uint64_t volume = static_cast<uint64_t>(EffectivePreset(newPreset)) * base / 100;
    return static_cast<uint32_t>(volume > 65535 ? 65535 : volume);
}

uint32_t VolumeWithoutPreset(uint32_t volume, int preset) {
    uint64_t stored = static_cast<uint64_t>(volume) * 100 / EffectivePreset(preset);
    return static_cast<uint32_t>(stored > 65535 ? 65535 : stored);
}

uint32_t OpeningVolume(std::optional<uint32_t> restored, uint16_t keptLeft, uint16_t keptRight,
                       uint32_t device) {
    if (restored) return *restored;
    uint32_t kept = keptLeft > keptRight ? keptLeft : keptRight;
    return kept != 0 ? kept : device;
}

std::optional<DialogState> DialogStateFromNumber(int64_t number) {
    if (number < static_cast<int64_t>(DialogState::kLarge) ||
        number > static_cast<int64_t>(DialogState::kShown)) {
        return std::nullopt;
    }
    return static_cast<DialogState>(number);
}

DialogState StartingLayout(int32_t stored) {
    std::optional<DialogState> state = DialogStateFromNumber(stored);
    return state && IsLayout(*state) ? *state : DialogState::kLarge;
}

DialogState NextLayout(DialogState layout) {
    switch (layout) {
    case DialogState::kLarge: return DialogState::kMedium;
    case DialogState::kMedium: return DialogState::kSmall;
    default: return DialogState::kLarge;
    }
}

bool SavedPositionFits(long x, long y, long width, const ScreenArea& desktop) {
    return y >= desktop.top && y + 5 <= desktop.bottom && x + 5 <= desktop.right &&
           x + width - 5 >= desktop.left;
}

}  // namespace plyvane
