// The text form of the native settings file: the registry tree below
// "Software\" as sections of values, in the layout of a .reg export.
//
//   [Brindlex\Plyvane\Playback\Configuration]
//   @="Configuration for Plyvane MPEG-audio player"
//   "FrequencyDivisor"=dword:00000001
//
// Texts and names are quoted with the escapes \\ \" \n \r \t and \xHH for the
// other control bytes; lines starting with ';' are comments.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plyvane {

struct SettingsFileValue {
    std::string name;  // "" is the key's default value, written as @
    bool isText = false;
    std::string text;
    uint32_t number = 0;
};

struct SettingsFileKey {
    std::string path;  // relative to "Software\", as first written
    std::vector<SettingsFileValue> values;
};

// Keys and names compare without regard to ASCII case, as in the registry.
class SettingsDocument {
public:
    std::vector<SettingsFileKey> keys;

    SettingsFileKey* FindKey(const std::string& path);
    // Finds or adds the key (and nothing else: parents exist implicitly).
    SettingsFileKey& AddKey(const std::string& path);
    static SettingsFileValue* FindValue(SettingsFileKey& key, const std::string& name);
};

struct SettingsParseResult {
    SettingsDocument document;
    // 0 when every line was understood; else the first line that was not.
    // The values of the good lines are in the document either way.
    int firstBadLine = 0;
    int badLines = 0;
};

SettingsParseResult ParseSettingsFile(const std::string& bytes);
std::string FormatSettingsFile(const SettingsDocument& document);

// A key path the file can hold: not empty, no control bytes, no ']', no empty
// component (leading, trailing or doubled backslash).
bool IsValidSettingsKey(const std::string& path);

}  // namespace plyvane
