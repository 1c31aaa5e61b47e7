// The file port: a local file opened for sequential reading. Each platform
// supplies one adapter (platform/posix, platform/win32); the byte sources use
// nothing else to reach the file system.
#pragma once

#include <cstdint>

namespace plyvane {

class InputFile {
public:
    InputFile() = default;
    ~InputFile() { Close(); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Opens an existing regular file for reading (shared with other readers);
    // closes the one that was open. False when it cannot be opened.
    bool Open(const char* path);
    void Close();
    bool IsOpen() const { return handle_ != kNoHandle; }

    // Bytes read into destination: fewer than count only at the end of the
    // file or on an error, 0 without an open file.
    uint32_t Read(void* destination, uint32_t count);
    // True when the next read starts at the absolute position.
    bool SeekTo(uint32_t position);
    // Position of the next byte Read delivers; 0 without an open file.
    uint32_t Position();
    // Size in bytes, 0xFFFFFFFF for files beyond that, 0 without an open file.
    uint32_t Size();

private:
    // A file descriptor on POSIX, a HANDLE on Windows; -1 is "none" on both
    // (INVALID_HANDLE_VALUE).
    static constexpr intptr_t kNoHandle = -1;
    intptr_t handle_ = kNoHandle;
};

}  // namespace plyvane
