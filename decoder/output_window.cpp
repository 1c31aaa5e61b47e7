#include "output_window.h"

#include <algorithm>
#include <cstring>

#include "subband_samples.h"

namespace plyvane {
namespace {

int64_t CeilDiv(int64_t value, int64_t divisor) {
    return value >= 0 ? (value + divisor - 1) / divisor : -(-value / divisor);
}

}  // namespace

void OutputWindow::Reset(int divisor) {
    divisor_ = divisor > 0 ? divisor : 1;
    phase_ = 0;
    filePhase_ = 0;
    trim_ = SegmentTrim{};
    haveSegment_ = false;
    firstPlayed_ = 0;
    segmentKeepBegin_ = 0;
    keepBegin_ = 0;
    keepEnd_ = kOpenEnd;
    position_ = 0;
    partCount_ = 0;
}

void OutputWindow::BeginSegment(const SegmentTrim& trim, bool newFile) {
    if (haveSegment_) {
        // What the segment before played, whole or up to where the data ended.
        int64_t played = std::max<int64_t>(0, position_ - firstPlayed_);
        if (trim_.play >= 0) played = std::min<int64_t>(played, trim_.play);
        phase_ = static_cast<int>((phase_ + played) % divisor_);
    }
    haveSegment_ = true;
    if (newFile) filePhase_ = phase_;
    SetSegment(trim);
}

void OutputWindow::ReturnToFileStart(const SegmentTrim& trim) {
    phase_ = filePhase_;
    haveSegment_ = true;
    SetSegment(trim);
}

void OutputWindow::SetSegment(const SegmentTrim& trim) {
    trim_ = trim;
    // The first sample of this segment on the list's grid.
    const int offset = (divisor_ - phase_) % divisor_;
    firstPlayed_ = int64_t{trim.skip} + offset;
    keepBegin_ = segmentKeepBegin_ = CeilDiv(firstPlayed_, divisor_);
    keepEnd_ = kOpenEnd;
    if (trim.play >= 0) keepEnd_ = keepBegin_ + (trim.play > offset ? CeilDiv(trim.play - offset, divisor_) : 0);
    position_ = 0;
}

void OutputWindow::SeekTo(int64_t framePosition, int64_t keepFrom, bool keepEnd) {
    position_ = framePosition;
    keepBegin_ = std::max(segmentKeepBegin_, CeilDiv(keepFrom, divisor_));
    if (!keepEnd) keepEnd_ = kOpenEnd;
}

void OutputWindow::AddFrame(int slotOffset, int samples) {
    if (partCount_ < 2) {
        Part& part = parts_[partCount_++];
        part.outputOffset = slotOffset * SubbandSamples::kSubbands / divisor_;
        part.count = samples / divisor_;
        part.first = position_ / divisor_;
        part.keepBegin = keepBegin_;
        part.keepEnd = keepEnd_;
    }
    position_ += samples;
}

uint32_t OutputWindow::Apply(uint8_t* out, int bytesPerFrame) const {
    int kept = 0;
    for (int i = 0; i < partCount_; ++i) {
        const Part& part = parts_[i];
        const int64_t from = std::max(part.first, part.keepBegin);
        const int64_t to = std::min(part.first + part.count, part.keepEnd);
        if (from >= to) continue;
        const int at = part.outputOffset + static_cast<int>(from - part.first);
        const int count = static_cast<int>(to - from);
        if (at != kept)
            std::memmove(out + static_cast<size_t>(kept) * bytesPerFrame, out + static_cast<size_t>(at) * bytesPerFrame,
                         static_cast<size_t>(count) * bytesPerFrame);
        kept += count;
    }
    return static_cast<uint32_t>(kept) * static_cast<uint32_t>(bytesPerFrame);
}

bool OutputWindow::UnitBeforeStart() const {
    if (partCount_ == 0) return false;
    for (int i = 0; i < partCount_; ++i)
        if (parts_[i].first + parts_[i].count > parts_[i].keepBegin) return false;
    return true;
}

}  // namespace plyvane
