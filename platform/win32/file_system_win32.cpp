// The editor's file-system port on Windows: GetFileAttributesA,
// FindFirstFileA, GetFileInformationByHandle, GetTempFileNameA and
// MoveFileExA.
#include <windows.h>

#include "file_system.h"

namespace plyvane {

namespace {
PathKind KindOfAttributes(DWORD attributes) {
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::kMissing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::kFolder;
    if (attributes & FILE_ATTRIBUTE_DEVICE) return PathKind::kOther;
    return PathKind::kFile;
}

// The folder part of a path, up to its last separator ("." without one).
std::string FolderOf(const std::string& path) {
    const std::size_t last = path.find_last_of("\\/");
    if (last == std::string::npos) return ".";
    return path.substr(0, last + 1);
}

class Win32FileSystem : public FileSystem {
public:
    PathKind KindOf(const std::string& path) override {
        if (path.empty()) return PathKind::kMissing;
        return KindOfAttributes(::GetFileAttributesA(path.c_str()));
    }

    bool ListFolder(const std::string& folder, std::vector<FolderItem>& items) override {
        items.clear();
        WIN32_FIND_DATAA found;
        HANDLE search = ::FindFirstFileA(JoinPath(folder, "*.*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            items.push_back({name, KindOfAttributes(found.dwFileAttributes)});
        } while (::FindNextFileA(search, &found));
        const bool complete = ::GetLastError() == ERROR_NO_MORE_FILES;
        ::FindClose(search);
        return complete;
    }

    bool IdentityOf(const std::string& folder, FolderIdentity& identity) override {
        // Backup semantics open a folder; a junction or link leads to its target.
        HANDLE handle = ::CreateFileA(folder.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return false;
        BY_HANDLE_FILE_INFORMATION information;
        const bool known = ::GetFileInformationByHandle(handle, &information) != 0;
        ::CloseHandle(handle);
        if (!known) return false;
        identity.volume = information.dwVolumeSerialNumber;
        identity.index = (uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
        return true;
    }

    bool ReplaceFile(const std::string& path, std::string_view bytes) override {
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
        char temporary[MAX_PATH];
        if (::GetTempFileNameA(FolderOf(path).c_str(), "ply", 0, temporary) == 0) return false;
        HANDLE file = ::CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            ::DeleteFileA(temporary);
            return false;
        }
        bool written = true;
        while (written && !bytes.empty()) {
            const DWORD chunk = bytes.size() > (1u << 20) ? (1u << 20) : static_cast<DWORD>(bytes.size());
            DWORD done = 0;
            written = ::WriteFile(file, bytes.data(), chunk, &done, nullptr) && done == chunk;
            bytes.remove_prefix(chunk);
        }
        written = ::FlushFileBuffers(file) && written;
        written = ::CloseHandle(file) && written;
        if (!written || !::MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            ::DeleteFileA(temporary);
            return false;
        }
        return true;
    }

    std::string TemporaryFolder() override {
        char folder[MAX_PATH + 1];
        const DWORD length = ::GetTempPathA(sizeof folder, folder);
        if (length == 0 || length >= sizeof folder) return ".\\";
        std::string path(folder, length);
        if (path.back() != '\\' && path.back() != '/') path += '\\';
        return path;
    }
};
}  // namespace

FileSystem& PlatformFileSystem() {
    static Win32FileSystem system;
    return system;
}

}  // namespace plyvane
