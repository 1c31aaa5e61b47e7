// The editor's "Default Volume:" field: what it shows at first, and what is
// taken when it loses the focus.
#pragma once

#include <cstdint>
#include <string>

namespace plyvane {

inline constexpr char kVolumeSettingCaption[] = "Volume setting";
inline constexpr char kVolumeNotValid[] =
    "The volume value you entered is not valid!\nMake sure you only use values between 1 and 100.";

struct DefaultVolumeInput {
    int32_t value = 100;  // what the field shows and "DefaultVolume" holds now
    bool valid = false;   // false: the message is shown and the field gets the focus again
    std::string text;     // "%d" of the value, for the field when it differs
};

// The text read as a decimal number (leading digits, as atol reads them);
// outside 1..100 it is not valid and 100 is taken. The value is stored as
// "DefaultVolume" either way.
DefaultVolumeInput TakeDefaultVolume(const std::string& text);

}  // namespace plyvane
