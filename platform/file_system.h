// The file-system port of the playlist editor: what a path is, the entries
// of a folder, a folder's identity (so a scan that meets the same folder
// again through a link does not go round in circles), replacing a file in
// one step, and the temporary folder. FindFirstFileA and its kin on
// Windows, POSIX calls elsewhere; one contract suite holds both.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plyvane {

enum class PathKind {
    kMissing,  // nothing there, or it cannot be examined
    kFile,
    kFolder,
    kOther,    // a device, pipe or socket: never opened by the editor
};

struct FolderItem {
    std::string name;  // without the folder
    PathKind kind = PathKind::kMissing;
};

// Two paths lead to the same folder exactly when their identities are equal.
struct FolderIdentity {
    uint64_t volume = 0;
    uint64_t index = 0;
    bool operator<(const FolderIdentity& other) const {
        return volume != other.volume ? volume < other.volume : index < other.index;
    }
    bool operator==(const FolderIdentity& other) const {
        return volume == other.volume && index == other.index;
    }
};

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The folder and a name in it, with one separator between them.
std::string JoinPath(std::string_view folder, std::string_view name);

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Links are followed.
    virtual PathKind KindOf(const std::string& path) = 0;
    // The entries of the folder ("." and ".." left out) in the order the
    // system gives them; false when the folder cannot be listed.
    virtual bool ListFolder(const std::string& folder, std::vector<FolderItem>& items) = 0;
    // False when the identity cannot be learnt.
    virtual bool IdentityOf(const std::string& folder, FolderIdentity& identity) = 0;
    // Writes the bytes to a new file beside `path` and puts it in place of
    // `path` in one step. False when any step fails; then `path` is as it
    // was and no temporary file is left.
    virtual bool ReplaceFile(const std::string& path, std::string_view bytes) = 0;
    // The system's folder for temporary files, with a separator at its end.
    virtual std::string TemporaryFolder() = 0;
};

// The adapter of this system, for the life of the process.
FileSystem& PlatformFileSystem();

}  // namespace plyvane
