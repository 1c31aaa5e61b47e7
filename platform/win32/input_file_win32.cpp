// The file port on Windows: CreateFileA, ReadFile, SetFilePointer and
// GetFileSize.
#include "input_file.h"

#include <windows.h>

namespace plyvane {

namespace {
HANDLE Handle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
}  // namespace

bool InputFile::Open(const char* path) {
    Close();
    if (path == nullptr) return false;
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    handle_ = reinterpret_cast<intptr_t>(file);
    return true;
}

void InputFile::Close() {
    if (handle_ == kNoHandle) return;
    ::CloseHandle(Handle(handle_));
    handle_ = kNoHandle;
}

uint32_t InputFile::Read(void* destination, uint32_t count) {
    if (handle_ == kNoHandle || destination == nullptr) return 0;
    DWORD got = 0;
    if (!::ReadFile(Handle(handle_), destination, count, &got, nullptr)) return 0;
    return got;
}

bool InputFile::SeekTo(uint32_t position) {
    if (handle_ == kNoHandle) return false;
    // The high part makes positions from 2 GB on absolute rather than negative.
    LONG high = 0;
    ::SetLastError(NO_ERROR);
    DWORD low = ::SetFilePointer(Handle(handle_), static_cast<LONG>(position), &high, FILE_BEGIN);
    if (low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR) return false;
    return high == 0 && low == position;
}

uint32_t InputFile::Position() {
    if (handle_ == kNoHandle) return 0;
    LONG high = 0;
    ::SetLastError(NO_ERROR);
    DWORD low = ::SetFilePointer(Handle(handle_), 0, &high, FILE_CURRENT);
    if (low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR) return 0;
    return high != 0 ? 0xFFFFFFFFu : low;
}

uint32_t InputFile::Size() {
    if (handle_ == kNoHandle) return 0;
    DWORD high = 0;
    ::SetLastError(NO_ERROR);
    DWORD low = ::GetFileSize(Handle(handle_), &high);
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) return 0;
    return high != 0 ? 0xFFFFFFFFu : low;
}

}  // namespace plyvane
