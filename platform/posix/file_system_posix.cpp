// The editor's file-system port on POSIX systems: stat, opendir, and the
// replacement of a file by a renamed new one.
#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>

#include "file_system.h"
#include "replace_file.h"

namespace plyvane {

namespace {
PathKind KindOfMode(mode_t mode) {
    if (S_ISREG(mode)) return PathKind::kFile;
    if (S_ISDIR(mode)) return PathKind::kFolder;
    return PathKind::kOther;
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
        return ReplaceFileContents(path, bytes);
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
