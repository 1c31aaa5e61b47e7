// Which decoded samples go out. Each segment of a stream (a file, or one
// encoding of a file made of several) plays a window of its decoded
// timeline: after the encoder's delay, before its padding. A seek moves the
// window's start to its target. With an output divisor of 2 or 4 only every
// 2nd or 4th sample exists, and the windows are chosen in output samples so
// that the files of a list keep one grid: their lengths add up to the length
// of the whole, rounded once.
//
// The decoder tells the window each frame it decodes (a unit holds one
// frame, or two of MPEG-2 Layer III, which may belong to different files);
// after the synthesis, Apply keeps what plays, contiguous from the start of
// the output.
#pragma once

#include <cstdint>

#include "stream_extent.h"

namespace plyvane {

class OutputWindow {
public:
    static constexpr int64_t kOpenEnd = INT64_MAX;

    // A new stream: no list timeline before it, nothing trimmed.
    void Reset(int divisor);
    // A segment begins with the next frame; the one before (if any) ends.
    // The first segment of a file (newFile) is where a seek returns to.
    void BeginSegment(const SegmentTrim& trim, bool newFile);
    // Back to the start of the current file's first segment (of trim), for
    // a seek.
    void ReturnToFileStart(const SegmentTrim& trim);
    // Decoding goes on at timeline position framePosition of the segment,
    // and nothing before position keepFrom plays; with keepEnd false the
    // segment's padding is no longer known to lie ahead.
    void SeekTo(int64_t framePosition, int64_t keepFrom, bool keepEnd);

    // The samples of the current segment's decoded timeline before the
    // first one that plays.
    int64_t FirstPlayed() const { return firstPlayed_; }
    // Timeline position of the next frame.
    int64_t Position() const { return position_; }

    void StartUnit() { partCount_ = 0; }
    // A frame of samples (at full rate) decoded into the unit's slots from
    // slotOffset on.
    void AddFrame(int slotOffset, int samples);
    // Moves the unit's samples that play (bytesPerFrame bytes each sample
    // frame) to the front of out; returns the bytes kept.
    uint32_t Apply(uint8_t* out, int bytesPerFrame) const;
    // Whether every sample of the unit lies before the first one to play.
    bool UnitBeforeStart() const;

private:
    void SetSegment(const SegmentTrim& trim);

    struct Part {
        int outputOffset;  // output samples before it in the unit
        int count;         // its output samples
        int64_t first;     // output index of its first sample
        int64_t keepBegin;
        int64_t keepEnd;
    };

    int divisor_ = 1;
    // Full-rate samples the list has played before the current segment,
    // modulo the divisor: where the next segment continues the grid.
    int phase_ = 0;
    int filePhase_ = 0;  // phase_ where the current file began
    SegmentTrim trim_;
    bool haveSegment_ = false;
    int64_t firstPlayed_ = 0;  // full rate: trim skip plus the grid's offset
    // Output indices (full-rate position / divisor) that play: [begin, end).
    int64_t segmentKeepBegin_ = 0;
    int64_t keepBegin_ = 0;
    int64_t keepEnd_ = kOpenEnd;
    int64_t position_ = 0;
    Part parts_[2] = {};
    int partCount_ = 0;
};

}  // namespace plyvane
