// Reads a ByteSource at positions of its own choosing, through a window of
// its own, while a BitstreamBuffer reads the same source: the source is put
// back where it was when the reader goes. Never reads past the length the
// source reports, so a list source never moves on to its next file.
#pragma once

#include <cstdint>

#include "byte_source.h"

namespace plyvane {

class SourceReader {
public:
    static constexpr int kWindowBytes = 8192;

    explicit SourceReader(ByteSource& source);
    ~SourceReader();
    SourceReader(const SourceReader&) = delete;
    SourceReader& operator=(const SourceReader&) = delete;

    uint32_t Length() const { return length_; }
    // The count bytes (at most kWindowBytes) from position, or null when the
    // data ends before them or the source cannot go there.
    const uint8_t* At(uint32_t position, int count);

private:
    ByteSource& source_;
    uint32_t length_;
    uint32_t resumeAt_;
    bool moved_ = false;
    uint32_t start_ = 0;  // position of window_[0]
    int valid_ = 0;
    uint8_t window_[kWindowBytes];
};

}  // namespace plyvane
