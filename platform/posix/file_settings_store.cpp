#include "file_settings_store.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "message_box.h"

namespace plyvane {

namespace {
constexpr char kReportCaption[] = "Plyvane settings";
// Far above anything the program writes; a bigger file is not ours.
constexpr off_t kLargestSettingsFile = 4 * 1024 * 1024;

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool MakeFolders(const std::string& folder) {
    for (std::size_t at = 1; at <= folder.size(); ++at) {
        if (at != folder.size() && folder[at] != '/') continue;
        std::string part = folder.substr(0, at);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat info;
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void SyncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    // The rename is done; a folder that cannot be synced is still correct.
    ::fsync(fd);
    ::close(fd);
}

bool Exists(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 || errno != ENOENT;
}

// Holds the advisory lock that serialises writers of the file across
// processes; without a lock file the write still goes ahead (it is atomic).
class WriterLock {
public:
    explicit WriterLock(const std::string& path) {
        fd_ = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0) return;
        while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~WriterLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;

private:
    int fd_ = -1;
};
}  // namespace

FileSettingsStore::FileSettingsStore(std::string path) : path_(std::move(path)) {}

std::string FileSettingsStore::DefaultPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config != nullptr && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] == '\0') {
            struct passwd* user = ::getpwuid(::getuid());
            home = user != nullptr ? user->pw_dir : nullptr;
        }
        base = std::string(home != nullptr ? home : ".") + "/.config";
    }
    return base + "/plyvane/settings";
}

void FileSettingsStore::Refresh() {
    FileIdentity identity;
    struct stat info;
    int statError = ::stat(path_.c_str(), &info) == 0 ? 0 : errno;
    if (statError == ENOENT) {
        if (loadedOnce_ && !loaded_.exists) return;
        document_ = SettingsDocument();
        health_ = Health::kMissing;
        damagedBytes_.clear();
        keptAside_ = false;
        loaded_ = identity;
        loadedOnce_ = true;
        return;
    }

    std::string bytes;
    int readError = statError;
    int fd = -1;
    if (readError == 0) {
        fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) readError = errno;
    }
    if (fd >= 0) {
        // Identify what was opened, not what the name pointed at a moment ago.
        if (::fstat(fd, &info) != 0) {
            readError = errno;
        } else if (!S_ISREG(info.st_mode)) {
            readError = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        } else if (info.st_size > kLargestSettingsFile) {
            readError = EFBIG;
        } else {
            identity = FileIdentity::Of(info);
            if (loadedOnce_ && identity == loaded_) {
                ::close(fd);
                return;
            }
            char chunk[4096];
            for (;;) {
                ssize_t got = ::read(fd, chunk, sizeof chunk);
                if (got < 0 && errno == EINTR) continue;
                if (got < 0) {
                    readError = errno;
                    break;
                }
                if (got == 0) break;
                bytes.append(chunk, static_cast<std::size_t>(got));
                if (bytes.size() > static_cast<std::size_t>(kLargestSettingsFile)) {
                    readError = EFBIG;
                    break;
                }
            }
        }
        ::close(fd);
    }

    loadedOnce_ = true;
    keptAside_ = false;
    if (readError != 0) {
        document_ = SettingsDocument();
        health_ = Health::kUnreadable;
        damagedBytes_.clear();
        // Unknown content: compare by existence only, so it is read again.
        loaded_ = FileIdentity();
        loaded_.exists = true;
        if (!reported_) {
            reported_ = true;
            pendingReport_ = "The settings file " + path_ + " cannot be read (" +
                             std::strerror(readError) +
                             ").\nThe default settings are used. Before settings are saved "
                             "again, the file is moved aside with the ending .bad.";
        }
        return;
    }

    SettingsParseResult parsed = ParseSettingsFile(bytes);
    document_ = std::move(parsed.document);
    loaded_ = identity;
    if (parsed.firstBadLine == 0) {
        health_ = Health::kHealthy;
        damagedBytes_.clear();
        return;
    }
    health_ = Health::kDamaged;
    damagedBytes_ = std::move(bytes);
    damagedLine_ = parsed.firstBadLine;
    if (!reported_) {
        reported_ = true;
        pendingReport_ = "The settings file " + path_ + " is damaged at line " +
                         std::to_string(parsed.firstBadLine) +
                         ".\nIts readable values are used, the others take their defaults. "
                         "Before settings are saved again, the file is kept beside it with "
                         "the ending .bad.";
    }
}

void FileSettingsStore::ShowPendingReport() {
    std::string report;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        report.swap(pendingReport_);
    }
    if (!report.empty()) ShowWarning(nullptr, kReportCaption, "%s", report.c_str());
}

bool FileSettingsStore::KeepDamagedFileAside() {
    if (keptAside_) return true;
    std::string aside;
    for (int number = 0; number < 100 && aside.empty(); ++number) {
        std::string candidate = path_ + ".bad";
        if (number > 0) candidate += "." + std::to_string(number);
        if (!Exists(candidate)) aside = candidate;
    }
    if (aside.empty()) return false;
    if (health_ == Health::kDamaged) {
        // A copy: the damaged file stays in place until the new one replaces
        // it, so a failing write below loses nothing either.
        keptAside_ = WriteFileAtomically(aside, damagedBytes_);
        return keptAside_;
    }
    // Unreadable content can only be moved.
    keptAside_ = ::rename(path_.c_str(), aside.c_str()) == 0;
    return keptAside_;
}

bool FileSettingsStore::WriteAll(int fd, const std::string& bytes) {
    std::size_t limit = bytes.size();
    bool cut = failAfter_ >= 0 && static_cast<std::size_t>(failAfter_) < limit;
    if (cut) limit = static_cast<std::size_t>(failAfter_);
    std::size_t done = 0;
    while (done < limit) {
        ssize_t wrote = ::write(fd, bytes.data() + done, limit - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<std::size_t>(wrote);
    }
    if (cut) {
        errno = ENOSPC;
        return false;
    }
    return true;
}

bool FileSettingsStore::WriteFileAtomically(const std::string& target, const std::string& bytes) {
    std::string temporary = target + ".tmp." + std::to_string(::getpid());
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) ok = false;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder(FolderOf(target));
    return true;
}

template <typename Change>
StoreWriteResult FileSettingsStore::Modify(const char* key, Change change) {
    StoreWriteResult result = StoreWriteResult::kValueNotWritten;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::string keyPath = key != nullptr ? key : "";
        if (!IsValidSettingsKey(keyPath) || !MakeFolders(FolderOf(path_))) {
            result = StoreWriteResult::kKeyNotCreated;
        } else {
            WriterLock writers(path_);
            Refresh();
            SettingsDocument updated = document_;
            if (change(updated)) {
                bool damaged = health_ == Health::kDamaged || health_ == Health::kUnreadable;
                if ((!damaged || KeepDamagedFileAside()) &&
                    WriteFileAtomically(path_, FormatSettingsFile(updated))) {
                    document_ = std::move(updated);
                    health_ = Health::kHealthy;
                    damagedBytes_.clear();
                    // Read back at the next access to learn the new identity.
                    loadedOnce_ = false;
                    result = StoreWriteResult::kWritten;
                }
            }
        }
    }
    ShowPendingReport();
    return result;
}

StoreWriteResult FileSettingsStore::WriteValue(const char* key, const SettingsFileValue& value) {
    return Modify(key, [&](SettingsDocument& document) {
        SettingsFileKey& entry = document.AddKey(key);
        if (SettingsFileValue* existing = SettingsDocument::FindValue(entry, value.name))
            *existing = value;
        else
            entry.values.push_back(value);
        return true;
    });
}

StoreWriteResult FileSettingsStore::WriteString(const char* key, const char* name,
                                                const char* text) {
    SettingsFileValue value;
    value.name = name != nullptr ? name : "";
    value.isText = true;
    value.text = text != nullptr ? text : "";
    return WriteValue(key, value);
}

StoreWriteResult FileSettingsStore::WriteDword(const char* key, const char* name,
                                               uint32_t number) {
    SettingsFileValue value;
    value.name = name != nullptr ? name : "";
    value.number = number;
    return WriteValue(key, value);
}

bool FileSettingsStore::DeleteValue(const char* key, const char* name) {
    std::string valueName = name != nullptr ? name : "";
    StoreWriteResult result = Modify(key, [&](SettingsDocument& document) {
        SettingsFileKey* entry = document.FindKey(key);
        SettingsFileValue* value =
            entry != nullptr ? SettingsDocument::FindValue(*entry, valueName) : nullptr;
        if (value == nullptr) return false;
        entry->values.erase(entry->values.begin() + (value - entry->values.data()));
        return true;
    });
    return result == StoreWriteResult::kWritten;
}

template <typename Take>
bool FileSettingsStore::ReadValue(const char* key, const char* name, Take take) {
    bool found = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Refresh();
        SettingsFileKey* entry = document_.FindKey(key != nullptr ? key : "");
        const SettingsFileValue* value =
            entry != nullptr ? SettingsDocument::FindValue(*entry, name != nullptr ? name : "")
                             : nullptr;
        found = value != nullptr && take(*value);
    }
    ShowPendingReport();
    return found;
}

bool FileSettingsStore::ReadString(const char* key, const char* name, std::string& text) {
    return ReadValue(key, name, [&text](const SettingsFileValue& value) {
        if (!value.isText) return false;
        text = value.text;
        return true;
    });
}

bool FileSettingsStore::ReadDword(const char* key, const char* name, uint32_t& number) {
    return ReadValue(key, name, [&number](const SettingsFileValue& value) {
        if (value.isText) return false;
        number = value.number;
        return true;
    });
}

SettingsStore& PlatformSettingsStore() {
    static FileSettingsStore store(FileSettingsStore::DefaultPath());
    return store;
}

}  // namespace plyvane
