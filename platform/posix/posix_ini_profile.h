// The INI profile port on POSIX systems. The last file read is kept parsed
// while it is unchanged on disk, so reading a list of thousands of entries
// one key at a time parses it once. Writes replace the file atomically
// (temporary file, rename).
#pragma once

#include <mutex>
#include <string>

#include "file_identity.h"
#include "ini_document.h"
#include "ini_profile.h"

namespace plyvane {

class PosixIniProfile : public IniProfile {
public:
    std::string ReadString(const char* file, const char* section, const char* key,
                           const char* fallback) override;
    int ReadInt(const char* file, const char* section, const char* key, int fallback) override;
    bool HasSection(const char* file, const char* section) override;
    std::vector<std::string> KeysOf(const char* file, const char* section) override;
    bool WriteString(const char* file, const char* section, const char* key,
                     const char* value) override;

    // The number rule of ReadInt for a value as read (tests and fuzzing).
    static int ParseProfileInt(const std::string& value);

private:
    // The document of `file`, read again when it changed; empty when the
    // file is missing or unreadable (then unreadable_ is set). Called with
    // mutex_ held.
    const IniDocument& Load(const std::string& file);
    // The value with a matching pair of quotes taken off; false when absent.
    bool FindValue(const char* file, const char* section, const char* key, std::string& value);

    std::mutex mutex_;
    std::string cachedPath_;
    FileIdentity cachedIdentity_;
    IniDocument cached_;
    bool unreadable_ = false;
};

}  // namespace plyvane
