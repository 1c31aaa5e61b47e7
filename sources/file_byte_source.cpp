#include "file_byte_source.h"

namespace plyvane {

namespace {
// Counts travel in the low 31 bits of a read result.
constexpr uint32_t kMaxReadCount = ~kNewStreamFlag;
}  // namespace

int FileByteSource::Open(const char* name) {
    Close();
    list_.reset();
    index_ = 0;
    firstPartBytes_ = 0;
    givenName_ = name != nullptr ? name : "";
    currentName_.clear();
    if (name == nullptr) return 0;

    if (ContinuousLists::HasListPrefix(name)) {
        long handle = 0;
        if (!ContinuousLists::ParseListName(name, handle)) return 0;
        list_ = lists_.Find(handle);
        if (list_ == nullptr || list_->empty()) {
            list_.reset();
            return 0;
        }
        return OpenListEntry(0) ? 1 : 0;
    }
    currentName_ = givenName_;
    return file_.Open(name) ? 1 : 0;
}

bool FileByteSource::OpenListEntry(size_t index) {
    if (!file_.Open((*list_)[index].c_str())) return false;
    index_ = index;
    currentName_ = (*list_)[index];
    return true;
}

int FileByteSource::Close() {
    file_.Close();
    return 1;
}

uint32_t FileByteSource::Read(void* destination, uint32_t count) {
    if (destination == nullptr) return count == 0 ? firstPartBytes_ : 0;
    if (!file_.IsOpen() || count == 0) return 0;
    if (count > kMaxReadCount) count = kMaxReadCount;

    auto* bytes = static_cast<uint8_t*>(destination);
    uint32_t got = file_.Read(bytes, count);
    firstPartBytes_ = got;
    if (list_ == nullptr || got == count) return got;

    // The current file ended inside this read: continue with the next
    // entries, passing over empty ones, until the request is filled. An
    // entry that cannot be opened ends the stream after the bytes read so far.
    bool crossed = false;
    while (index_ + 1 < list_->size()) {
        if (!OpenListEntry(index_ + 1)) break;
        crossed = true;
        got += file_.Read(bytes + got, count - got);
        if (got == count) return got | kNewStreamFlag;
    }
    return crossed ? got | kNewStreamFlag : got;
}

int FileByteSource::Seek(uint32_t position) { return file_.SeekTo(position) ? 1 : 0; }

int FileByteSource::SeekPreviousFile(uint32_t position) {
    if (list_ == nullptr || index_ == 0) return 0;
    if (!OpenListEntry(index_ - 1)) return 0;
    firstPartBytes_ = 0;
    return Seek(position);
}

uint32_t FileByteSource::Tell() { return file_.Position(); }

uint32_t FileByteSource::Length() { return file_.Size(); }

const char* FileByteSource::Name() {
    nameCopy_ = list_ != nullptr ? currentName_ : givenName_;
    return nameCopy_.c_str();
}

}  // namespace plyvane
