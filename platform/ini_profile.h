// The INI profile port: how `.pls` playlists are read and written. Windows'
// own profile functions on Windows, our reader and writer of the same rules
// elsewhere; one contract suite holds both to the same behaviour:
//   - lines end with LF or CR-LF; blanks around section lines, names and
//     values do not count; keys and sections compare without regard to case;
//   - a section is "[name]" (up to the last "]"); keys before the first
//     section belong to none; the first section of a name and the first key of
//     a name within it win;
//   - a line without "=" names a key without a value, which reads as absent;
//   - a value enclosed in a matching pair of ' or " is read without them.
#pragma once

#include <string>
#include <vector>

namespace plyvane {

class IniProfile {
public:
    virtual ~IniProfile() = default;

    // The value of `key` in `section` of `file`, or `fallback` when the file,
    // the section or the key is missing. The whole value, however long.
    virtual std::string ReadString(const char* file, const char* section, const char* key,
                                   const char* fallback) = 0;
    // The value read as a number (optional sign, decimal digits up to the
    // first other character; "0x" for hexadecimal), `fallback` when missing
    // or empty. Never more than 32 bits; callers check the range.
    virtual int ReadInt(const char* file, const char* section, const char* key, int fallback) = 0;
    // Whether the file holds a section of that name (empty or not).
    virtual bool HasSection(const char* file, const char* section) = 0;
    // The names of the keys with a value in the section, in file order.
    virtual std::vector<std::string> KeysOf(const char* file, const char* section) = 0;

    // Creates the file and the section when needed; replaces the value of an
    // existing key in place, appends a new key at the end of its section.
    // False when the file cannot be written, or the value holds a line break
    // (it would break the file).
    virtual bool WriteString(const char* file, const char* section, const char* key,
                             const char* value) = 0;
};

// The profile functions of this system, for the life of the process.
IniProfile& PlatformIniProfile();

}  // namespace plyvane
