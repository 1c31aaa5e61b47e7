#include "source_reader.h"

namespace plyvane {

SourceReader::SourceReader(ByteSource& source)
    : source_(source), length_(source.Length()), resumeAt_(source.Tell()) {}

SourceReader::~SourceReader() {
    if (moved_) source_.Seek(resumeAt_);
}

const uint8_t* SourceReader::At(uint32_t position, int count) {
    if (count < 0 || count > kWindowBytes || position > length_ || length_ - position < static_cast<uint32_t>(count))
        return nullptr;
    if (position >= start_ && position - start_ + static_cast<uint32_t>(count) <= static_cast<uint32_t>(valid_))
        return window_ + (position - start_);
    moved_ = true;
    valid_ = 0;
    if (!source_.Seek(position)) return nullptr;
    start_ = position;
    uint32_t wanted = length_ - position;
    if (wanted > static_cast<uint32_t>(kWindowBytes)) wanted = kWindowBytes;
    const uint32_t got = source_.Read(window_, wanted) & ~kNewStreamFlag;
    valid_ = static_cast<int>(got > wanted ? wanted : got);
    return valid_ >= count ? window_ : nullptr;
}

}  // namespace plyvane
