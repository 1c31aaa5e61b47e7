// An INI file in memory, read and written by the rules of the profile port
// (ini_profile.h). Lines that are neither sections nor keys are kept as they
// were, so a rewrite changes only what was written.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plyvane {

class IniDocument {
public:
    // Any bytes: a file that is not an INI file simply holds no sections.
    static IniDocument Parse(std::string_view text);

    // Null when the section or key is missing or the key has no value.
    const std::string* Find(std::string_view section, std::string_view key) const;
    bool HasSection(std::string_view section) const;
    std::vector<std::string> KeysOf(std::string_view section) const;

    // Replaces or appends as the port describes.
    void Set(std::string_view section, std::string_view key, std::string_view value);
    // The file's text, every line ended with CR-LF.
    std::string Serialize() const;

private:
    struct Line {
        std::string text;     // as written, without its line end
        bool isSection = false;
        bool isKey = false;
        bool hasValue = false;
        std::string name;     // section or key name, trimmed
        std::string value;    // trimmed
    };
    static Line ParseLine(std::string_view raw);
    // Index of the first section line of that name, or npos.
    std::size_t FindSection(std::string_view section) const;
    // One past the last line of the section that starts at `start`.
    std::size_t SectionEnd(std::size_t start) const;

    std::vector<Line> lines_;
};

}  // namespace plyvane
