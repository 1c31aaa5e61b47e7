#include "bitstream_buffer.h"

#include <new>

#include "diagnostics.h"

namespace plyvane {

BitstreamBuffer::BitstreamBuffer(int capacity, int refillThreshold)
    : capacity_(capacity), threshold_(refillThreshold != 0 ? refillThreshold : capacity) {
    storage_.reset(new (std::nothrow) uint8_t[capacity + kGuardBytes]());
    if (!storage_) {
        FatalError(-1, DiagnosticTo::kOutput, "Sorry, no memory for bit stream buffer\n");
    }
    base_ = storage_.get();
    end_ = base_ + capacity_;
    limit_ = end_ + kGuardBytes - 4;
    ClearReadState();
}

BitstreamBuffer::~BitstreamBuffer() {
    if (sourceOpen_ && source_->Close()) sourceOpen_ = false;
}

void BitstreamBuffer::ClearReadState() {
    read_ = base_;
    valid_ = 0;
    bitOffset_ = 0;
    zeroFillAllowance_ = threshold_;
    marker_ = nullptr;
    basePosition_ = 0;
}

int BitstreamBuffer::Attach(ByteSource* source) {
    ClearReadState();
    if (sourceOpen_) {
        if (source_ == source) return 1;
        if (!source_->Close()) return 0;
        sourceOpen_ = false;
    }
    source_ = source;
    sourceOpen_ = source != nullptr;
    return 1;
}

int BitstreamBuffer::Open(const char* name) {
    ClearReadState();
    if (source_ == nullptr) return 0;
    if (sourceOpen_) {
        if (!source_->Close()) return 0;
        sourceOpen_ = false;
    }
    sourceOpen_ = source_->Open(name) != 0;
    return sourceOpen_ ? 1 : 0;
}

int BitstreamBuffer::Close() {
    if (!sourceOpen_) return 0;
    int result = source_->Close();
    if (result) sourceOpen_ = false;
    return result;
}

int BitstreamBuffer::Reset(uint32_t position) {
    ClearReadState();
    basePosition_ = position;
    if (!sourceOpen_) return 0;
    return source_->Seek(position);
}

int BitstreamBuffer::ResetInFile(uint32_t position) {
    if (!SourceAhead()) return Reset(position);
    ClearReadState();
    basePosition_ = position;
    return sourceOpen_ ? source_->SeekPreviousFile(position) : 0;
}

void BitstreamBuffer::PassMarker() {
    if (marker_ == nullptr) return;
    basePosition_ = base_ - marker_;
    marker_ = nullptr;
}

void BitstreamBuffer::CompactUnread() {
    int available = Available();
    if (available < 0) available = 0;
    // The read pointer may sit on the guard bytes after a damaged frame.
    if (available > valid_) available = valid_;
    uint8_t* from = base_ + valid_ - available;
    std::memmove(base_, from, static_cast<size_t>(available));
    basePosition_ += from - base_;
    if (marker_ != nullptr) {
        marker_ -= from - base_;
        if (marker_ < base_) marker_ = base_;
    }
    valid_ = available;
    read_ = base_;
}

int BitstreamBuffer::RefillBelow(int minimum) {
    if (Available() >= minimum) return 1;
    if (read_ != base_) CompactUnread();
    if (!sourceOpen_) return 0;

    const uint32_t wanted = static_cast<uint32_t>(capacity_ - valid_);
    uint32_t result = source_->Read(base_ + valid_, wanted);
    uint32_t delivered = result;
    if (result & kNewStreamFlag) {
        uint32_t offset = source_->Read(nullptr, 0);
        if (offset > static_cast<uint32_t>(capacity_ - valid_)) offset = capacity_ - valid_;
        marker_ = base_ + valid_ + offset;
        delivered = result & ~kNewStreamFlag;
    }
    // A source must never claim more than it was asked for.
    if (delivered > wanted) delivered = wanted;
    if (delivered == wanted) {
        valid_ += static_cast<int>(delivered);
        return 1;
    }
    // Short read: the end of the data is near. Accept it once, padding the
    // rest of the storage with zeros so that bit reads past the data see 0.
    if (zeroFillAllowance_ <= 0) return 0;
    valid_ += static_cast<int>(delivered);
    int zeros = capacity_ - valid_;
    std::memset(base_ + valid_, 0, static_cast<size_t>(zeros));
    zeroFillAllowance_ -= zeros;
    return 1;
}

bool BitstreamBuffer::MakeReadable(int count) {
    while (Available() < count) {
        const int before = Available();
        if (!refillPermitted_ || !RefillBelow(count) || Available() == before) return false;
    }
    return true;
}

bool BitstreamBuffer::SkipStreamBytes(uint32_t count) {
    while (count > 0) {
        const int available = Available();
        uint32_t step = available > 0 ? static_cast<uint32_t>(available) : 0;
        if (step > count) step = count;
        SkipBytes(static_cast<int>(step));
        count -= step;
        if (count > 0 && (!refillPermitted_ || !Refill() || Available() <= 0)) return false;
    }
    return true;
}

void BitstreamBuffer::Append(const uint8_t* bytes, int count) {
    if (count <= 0) return;
    if (valid_ + count > capacity_ && read_ != base_) CompactUnread();
    if (valid_ + count > capacity_) count = capacity_ - valid_;
    std::memcpy(base_ + valid_, bytes, static_cast<size_t>(count));
    valid_ += count;
}

void BitstreamBuffer::SkipBytes(int count) {
    read_ += count;
    if (read_ < base_) read_ = base_;
    if (read_ > limit_) read_ = limit_;
}

uint32_t BitstreamBuffer::Position() const {
    if (!sourceOpen_) return 0;
    return source_->Tell() + static_cast<uint32_t>(read_ - (base_ + valid_));
}

uint32_t BitstreamBuffer::FilePosition() const {
    if (marker_ != nullptr && read_ >= marker_) return static_cast<uint32_t>(read_ - marker_);
    const int64_t position = basePosition_ + (read_ - base_);
    return position > 0 ? static_cast<uint32_t>(position) : 0;
}

uint32_t BitstreamBuffer::Length() const { return sourceOpen_ ? source_->Length() : 0; }

}  // namespace plyvane
