// The INI profile port on Windows: the system's own profile functions.
#include <windows.h>

#include <cstring>

#include "ini_profile.h"

namespace plyvane {

namespace {
// Far above any playlist; a longer value or list is not read.
constexpr DWORD kLargestRead = 64 * 1024 * 1024;

// The profile functions look for a name without a folder in the Windows
// folder, not in the current one: give them the full path, as every other
// file function of the program sees it.
std::string FullPath(const char* file) {
    char path[MAX_PATH * 4];
    DWORD length = ::GetFullPathNameA(file, sizeof path, path, nullptr);
    if (length == 0 || length >= sizeof path) return file;
    return std::string(path, length);
}

std::string TrimmedName(const char* name) {
    std::string text = name;
    const char* blanks = " \t\r\n\v\f";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// Calls `read(buffer, size)` with a growing buffer until the result fits;
// `truncated` is the count the function returns for a buffer too small.
template <typename Read>
std::string ReadGrowing(Read read, DWORD truncatedMargin) {
    std::string buffer;
    for (DWORD size = 1024; size <= kLargestRead; size *= 2) {
        buffer.assign(size, '\0');
        DWORD got = read(buffer.data(), size);
        if (got + truncatedMargin < size) {
            buffer.resize(got);
            return buffer;
        }
    }
    return std::string();
}

// The strings of a list ended by an empty one ("a\0b\0\0").
std::vector<std::string> SplitList(const std::string& list) {
    std::vector<std::string> names;
    std::size_t at = 0;
    while (at < list.size()) {
        std::size_t end = list.find('\0', at);
        if (end == std::string::npos) end = list.size();
        if (end == at) break;
        names.push_back(list.substr(at, end - at));
        at = end + 1;
    }
    return names;
}

class Win32IniProfile : public IniProfile {
public:
    std::string ReadString(const char* file, const char* section, const char* key,
                           const char* fallback) override {
        if (fallback == nullptr) fallback = "";
        if (file == nullptr || section == nullptr || key == nullptr) return fallback;
        const std::string path = FullPath(file);
        return ReadGrowing(
            [&](char* buffer, DWORD size) {
                return ::GetPrivateProfileStringA(section, key, fallback, buffer, size, path.c_str());
            },
            1);
    }

    int ReadInt(const char* file, const char* section, const char* key, int fallback) override {
        if (file == nullptr || section == nullptr || key == nullptr) return fallback;
        return static_cast<int>(
            ::GetPrivateProfileIntA(section, key, fallback, FullPath(file).c_str()));
    }

    bool HasSection(const char* file, const char* section) override {
        if (file == nullptr || section == nullptr) return false;
        const std::string path = FullPath(file);
        const std::string wanted = TrimmedName(section);
        std::string list = ReadGrowing(
            [&](char* buffer, DWORD size) {
                return ::GetPrivateProfileSectionNamesA(buffer, size, path.c_str());
            },
            2);
        for (const std::string& name : SplitList(list)) {
            if (::lstrcmpiA(name.c_str(), wanted.c_str()) == 0) return true;
        }
        return false;
    }

    std::vector<std::string> KeysOf(const char* file, const char* section) override {
        if (file == nullptr || section == nullptr) return {};
        const std::string path = FullPath(file);
        std::string list = ReadGrowing(
            [&](char* buffer, DWORD size) {
                return ::GetPrivateProfileStringA(section, nullptr, "", buffer, size, path.c_str());
            },
            2);
        std::vector<std::string> keys;
        for (std::string& name : SplitList(list)) {
            if (name[0] != ';') keys.push_back(std::move(name));
        }
        return keys;
    }

    bool WriteString(const char* file, const char* section, const char* key,
                     const char* value) override {
        if (file == nullptr || section == nullptr || key == nullptr || value == nullptr) return false;
        if (key[0] == '\0' || std::strpbrk(value, "\r\n") != nullptr ||
            std::strpbrk(key, "\r\n=") != nullptr || std::strpbrk(section, "\r\n]") != nullptr)
            return false;
        return ::WritePrivateProfileStringA(section, key, value, FullPath(file).c_str()) != FALSE;
    }
};
}  // namespace

IniProfile& PlatformIniProfile() {
    static Win32IniProfile profile;
    return profile;
}

}  // namespace plyvane
