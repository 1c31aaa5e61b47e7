// The editor's file-system port on POSIX systems: stat, opendir, mkstemp and
// rename.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "file_system.h"

namespace plyvane {

namespace {
PathKind KindOfMode(mode_t mode) {
    if (S_ISREG(mode)) return PathKind::kFile;
    if (S_ISDIR(mode)) return PathKind::kFolder;
    return PathKind::kOther;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

class PosixFileSystem : public FileSystem {
public:
    PathKind KindOf(const std::string& path) override {
        struct stat info;
        if (path.empty() || ::stat(path.c_str(), &info) != 0) return PathKind::kMissing;
        return KindOfMode(info.st_mode);
    }

    bool ListFolder(const std::string& folder, std::vector<FolderItem>& items) override {
        items.clear();
        DIR* listing = ::opendir(folder.c_str());
        if (listing == nullptr) return false;
        while (const dirent* entry = ::readdir(listing)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            items.push_back({name, KindOf(JoinPath(folder, name))});
        }
        ::closedir(listing);
        return true;
    }

    bool IdentityOf(const std::string& folder, FolderIdentity& identity) override {
        struct stat info;
        if (::stat(folder.c_str(), &info) != 0) return false;
        identity.volume = static_cast<uint64_t>(info.st_dev);
        identity.index = static_cast<uint64_t>(info.st_ino);
        return true;
    }

    bool ReplaceFile(const std::string& path, std::string_view bytes) override {
        // An existing file keeps its permissions; a new one gets the usual.
        mode_t mode = 0666;
        struct stat info;
        if (::stat(path.c_str(), &info) == 0) {
            if (!S_ISREG(info.st_mode)) return false;
            mode = info.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode &= ~mask;
        }
        std::string temporary = path + ".tmp-XXXXXX";
        const int fd = ::mkstemp(temporary.data());
        if (fd < 0) return false;
        bool written = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
        written = ::close(fd) == 0 && written;
        if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
            ::unlink(temporary.c_str());
            return false;
        }
        return true;
    }

    std::string TemporaryFolder() override {
        const char* folder = std::getenv("TMPDIR");
        std::string path = folder != nullptr && *folder != '\0' ? folder : "/tmp";
        if (path.back() != '/') path += '/';
        return path;
    }
};
}  // namespace

FileSystem& PlatformFileSystem() {
    static PosixFileSystem system;
    return system;
}

}  // namespace plyvane
