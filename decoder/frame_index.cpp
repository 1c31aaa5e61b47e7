#include "frame_index.h"

namespace plyvane {

void FrameIndex::Clear() {
    count_ = 0;
    stride_ = 1;
    known_ = 0;
}

void FrameIndex::Note(uint32_t frame, uint32_t position) {
    if (frame != known_) return;
    ++known_;
    if (frame % stride_ != 0) return;
    if (count_ == kEntries) {
        // Keep every other entry: the stride doubles.
        for (int i = 0; i < kEntries / 2; ++i) positions_[i] = positions_[2 * i];
        count_ = kEntries / 2;
        stride_ *= 2;
        if (frame % stride_ != 0) return;
    }
    positions_[count_++] = position;
}

bool FrameIndex::Lookup(uint32_t frame, uint32_t& indexedFrame, uint32_t& position) const {
    if (count_ == 0) return false;
    if (frame >= known_) frame = known_ - 1;
    uint32_t entry = frame / stride_;
    if (entry >= static_cast<uint32_t>(count_)) entry = static_cast<uint32_t>(count_) - 1;
    indexedFrame = entry * stride_;
    position = positions_[entry];
    return true;
}

}  // namespace plyvane
