#include "default_volume_field.h"

#include "playlist_entry.h"
#include "settings_store.h"

namespace plyvane {

DefaultVolumeInput TakeDefaultVolume(const std::string& text) {
    DefaultVolumeInput input;
    // The record helper reads a field the way atol reads a number; a text
    // without separators is its own field 0.
    const int32_t typed = text.find(';') == std::string::npos ? EntryNumber(text, 0) : 0;
    input.valid = typed >= 1 && typed <= 100;
    input.value = input.valid ? typed : 100;
    input.text = std::to_string(input.value);
    WriteDwordSetting(kConfigurationKey, "DefaultVolume", static_cast<uint32_t>(input.value));
    return input;
}

}  // namespace plyvane
