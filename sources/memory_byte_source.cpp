#include "memory_byte_source.h"

#include <algorithm>
#include <cstring>

namespace plyvane {

void MemoryByteSource::AddStreamStart(uint32_t offset) {
    streamStarts_.insert(std::upper_bound(streamStarts_.begin(), streamStarts_.end(), offset),
                         offset);
}

int MemoryByteSource::Open(const char* name) {
    if (name != nullptr) name_ = name;
    position_ = 0;
    firstPartBytes_ = 0;
    open_ = true;
    continuing_ = false;
    return 1;
}

int MemoryByteSource::Close() {
    open_ = false;
    return 1;
}

uint32_t MemoryByteSource::Read(void* destination, uint32_t count) {
    if (destination == nullptr) return count == 0 ? firstPartBytes_ : 0;
    if (!open_ || count == 0) return 0;
    count = std::min(count, ~kNewStreamFlag);
    uint32_t size = static_cast<uint32_t>(std::min<size_t>(bytes_.size(), 0xFFFFFFFFu));
    uint32_t start = std::min(position_, size);
    uint32_t got = std::min(count, size - start);
    if (got > 0) std::memcpy(destination, bytes_.data() + start, got);
    position_ = start + got;
    bool continuing = continuing_;
    continuing_ = true;

    // As with a list of files: the first stream start this read delivers.
    for (uint32_t offset : streamStarts_) {
        if (offset > start && offset < start + got) {
            firstPartBytes_ = offset - start;
            return got | kNewStreamFlag;
        }
        // A file that ended exactly with the previous read.
        if (offset == start && continuing && got > 0) {
            firstPartBytes_ = 0;
            return got | kNewStreamFlag;
        }
    }
    firstPartBytes_ = got;
    return got;
}

int MemoryByteSource::Seek(uint32_t position) {
    if (!open_ || position > bytes_.size()) return 0;
    position_ = position;
    continuing_ = false;
    return 1;
}

uint32_t MemoryByteSource::Length() {
    if (!lengthKnown_) return 0;
    return static_cast<uint32_t>(std::min<size_t>(bytes_.size(), 0xFFFFFFFFu));
}

}  // namespace plyvane
