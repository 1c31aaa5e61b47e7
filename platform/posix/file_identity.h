// Which file was read, and as it was then: a file read again only when this
// changed (device, inode, size, modification time) is read once per change.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

namespace plyvane {

struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long modifiedNs = 0;

    // The identity of the file `info` describes (from fstat of what was opened).
    static FileIdentity Of(const struct stat& info) {
        FileIdentity identity;
        identity.exists = true;
        identity.device = info.st_dev;
        identity.inode = info.st_ino;
        identity.size = info.st_size;
        identity.modifiedNs = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
        return identity;
    }

    bool operator==(const FileIdentity& other) const {
        return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
               modifiedNs == other.modifiedNs;
    }
};

}  // namespace plyvane
