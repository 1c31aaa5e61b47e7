// The file port on POSIX systems: open, read, lseek and fstat.
#include "input_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plyvane {

namespace {
int Fd(intptr_t handle) { return static_cast<int>(handle); }
}  // namespace

bool InputFile::Open(const char* path) {
    Close();
    if (path == nullptr) return false;
    int fd;
    do {
        fd = ::open(path, O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    // A directory opens for reading here but not on Windows: refuse it so
    // both adapters agree.
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    handle_ = fd;
    return true;
}

void InputFile::Close() {
    if (handle_ == kNoHandle) return;
    ::close(Fd(handle_));
    handle_ = kNoHandle;
}

uint32_t InputFile::Read(void* destination, uint32_t count) {
    if (handle_ == kNoHandle || destination == nullptr) return 0;
    auto* bytes = static_cast<char*>(destination);
    uint32_t done = 0;
    // read() may deliver less than asked before the end; keep going so a
    // short count always means the end of the file, as ReadFile's does.
    while (done < count) {
        ssize_t got = ::read(Fd(handle_), bytes + done, count - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<uint32_t>(got);
    }
    return done;
}

bool InputFile::SeekTo(uint32_t position) {
    if (handle_ == kNoHandle) return false;
    off_t landed = ::lseek(Fd(handle_), static_cast<off_t>(position), SEEK_SET);
    return landed >= 0 && static_cast<uint64_t>(landed) == position;
}

uint32_t InputFile::Position() {
    if (handle_ == kNoHandle) return 0;
    off_t at = ::lseek(Fd(handle_), 0, SEEK_CUR);
    if (at < 0) return 0;
    return static_cast<uint64_t>(at) > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(at);
}

uint32_t InputFile::Size() {
    if (handle_ == kNoHandle) return 0;
    struct stat info;
    if (::fstat(Fd(handle_), &info) != 0 || info.st_size < 0) return 0;
    uint64_t size = static_cast<uint64_t>(info.st_size);
    return size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(size);
}

}  // namespace plyvane
