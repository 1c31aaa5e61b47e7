#include "posix_ini_profile.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "replace_file.h"

namespace plyvane {

namespace {
// Far above any playlist (100 000 entries of 255 characters); a bigger file
// is not one, and is read as empty rather than held in memory.
constexpr off_t kLargestProfile = 64 * 1024 * 1024;

bool ReadWholeFile(int fd, std::string& bytes) {
    char chunk[65536];
    for (;;) {
        ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        bytes.append(chunk, static_cast<std::size_t>(got));
        if (bytes.size() > static_cast<std::size_t>(kLargestProfile)) return false;
    }
}
}  // namespace

const IniDocument& PosixIniProfile::Load(const std::string& file) {
    FileIdentity identity;
    std::string bytes;
    unreadable_ = false;
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        unreadable_ = errno != ENOENT;
    } else {
        struct stat info;
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kLargestProfile) {
            unreadable_ = true;
        } else {
            identity = FileIdentity::Of(info);
            if (identity == cachedIdentity_ && file == cachedPath_) {
                ::close(fd);
                return cached_;
            }
            if (!ReadWholeFile(fd, bytes)) {
                bytes.clear();
                identity = FileIdentity();
                unreadable_ = true;
            }
        }
        ::close(fd);
    }
    cached_ = IniDocument::Parse(bytes);
    // A missing or unreadable file is looked at again next time.
    cachedPath_ = identity.exists ? file : std::string();
    cachedIdentity_ = identity;
    return cached_;
}

bool PosixIniProfile::FindValue(const char* file, const char* section, const char* key,
                                std::string& value) {
    if (file == nullptr || section == nullptr || key == nullptr || key[0] == '\0') return false;
    const std::string* found = Load(file).Find(section, key);
    if (found == nullptr) return false;
    value = *found;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return true;
}

std::string PosixIniProfile::ReadString(const char* file, const char* section, const char* key,
                                        const char* fallback) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string value;
    if (FindValue(file, section, key, value)) return value;
    return fallback != nullptr ? fallback : "";
}

int PosixIniProfile::ReadInt(const char* file, const char* section, const char* key, int fallback) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string value;
    if (!FindValue(file, section, key, value) || value.empty()) return fallback;
    return ParseProfileInt(value);
}

int PosixIniProfile::ParseProfileInt(const std::string& value) {
    // As Windows converts: a sign, then "0x" (hexadecimal), "0o" (octal) or
    // "0b" (binary) or decimal digits up to the first other character,
    // wrapping at 32 bits.
    std::size_t at = 0;
    while (at < value.size() && static_cast<unsigned char>(value[at]) <= ' ') ++at;
    bool negative = false;
    if (at < value.size() && (value[at] == '-' || value[at] == '+')) negative = value[at++] == '-';
    uint32_t base = 10;
    if (at + 1 < value.size() && value[at] == '0') {
        char kind = value[at + 1];
        base = kind == 'x' ? 16 : kind == 'o' ? 8 : kind == 'b' ? 2 : 10;
        if (base != 10) at += 2;
    }
    uint32_t total = 0;
    for (; at < value.size(); ++at) {
        char c = value[at];
        uint32_t digit = c >= '0' && c <= '9'   ? static_cast<uint32_t>(c - '0')
                         : c >= 'a' && c <= 'f' ? static_cast<uint32_t>(c - 'a' + 10)
                         : c >= 'A' && c <= 'F' ? static_cast<uint32_t>(c - 'A' + 10)
                                                : 99;
        if (digit >= base) break;
        total = total * base + digit;
    }
    if (negative) total = 0u - total;
    return static_cast<int>(total);
}

bool PosixIniProfile::HasSection(const char* file, const char* section) {
    if (file == nullptr || section == nullptr) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    return Load(file).HasSection(section);
}

std::vector<std::string> PosixIniProfile::KeysOf(const char* file, const char* section) {
    if (file == nullptr || section == nullptr) return {};
    std::lock_guard<std::mutex> lock(mutex_);
    return Load(file).KeysOf(section);
}

bool PosixIniProfile::WriteString(const char* file, const char* section, const char* key,
                                  const char* value) {
    if (file == nullptr || section == nullptr || key == nullptr || value == nullptr) return false;
    if (key[0] == '\0' || std::strpbrk(value, "\r\n") != nullptr ||
        std::strpbrk(key, "\r\n=") != nullptr || std::strpbrk(section, "\r\n]") != nullptr)
        return false;
    std::lock_guard<std::mutex> lock(mutex_);
    IniDocument document = Load(file);
    // Never replace a file we could not read by the one key written.
    if (unreadable_) return false;
    document.Set(section, key, value);
    bool written = ReplaceFileContents(file, document.Serialize());
    cachedPath_.clear();  // read what is on disk next time
    cachedIdentity_ = FileIdentity();
    return written;
}

IniProfile& PlatformIniProfile() {
    static PosixIniProfile profile;
    return profile;
}

}  // namespace plyvane
