// Where the audio frames of the file being decoded begin, for seeks that
// land on the frame they aim at. Filled as frames are met, in order from the
// file's first audio frame, by decoding and by the seek's own walk; kept for
// the file. Its size is fixed: when it fills up, every other entry goes and
// the stride between entries doubles, so a long file costs no more memory
// and a lookup at most a short walk from the entry before.
#pragma once

#include <cstdint>

namespace plyvane {

class FrameIndex {
public:
    static constexpr int kEntries = 4096;

    // Forgets the file.
    void Clear();
    // Audio frame number frame (from 0) begins at the file position. Frames
    // must come in order; one that is not the next unknown frame is ignored.
    void Note(uint32_t frame, uint32_t position);
    // Frames known, from frame 0 on.
    uint32_t KnownFrames() const { return known_; }
    // The last indexed frame at or before frame (and before the known end),
    // with its position. False when nothing is known.
    bool Lookup(uint32_t frame, uint32_t& indexedFrame, uint32_t& position) const;

private:
    uint32_t positions_[kEntries] = {};
    int count_ = 0;
    uint32_t stride_ = 1;
    uint32_t known_ = 0;
};

}  // namespace plyvane
