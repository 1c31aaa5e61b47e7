// A buffered, bit-addressable view of a ByteSource. Serves as the decoder's
// stream buffer, as the private buffer of a probe, and (filled by Append
// instead of a source) as the Layer III main-data reservoir.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

#include "byte_source.h"

namespace plyvane {

class BitstreamBuffer {
public:
    // Zeroed bytes kept after the capacity so that 32-bit loads near the end
    // of the data never leave the storage.
    static constexpr int kGuardBytes = 1024;

    // A threshold of 0 means the capacity. Exits the process with -1 when the
    // storage cannot be allocated.
    BitstreamBuffer(int capacity, int refillThreshold);
    ~BitstreamBuffer();
    BitstreamBuffer(const BitstreamBuffer&) = delete;
    BitstreamBuffer& operator=(const BitstreamBuffer&) = delete;

    // Takes an already open source; closes a different one that was open.
    int Attach(ByteSource* source);
    int Open(const char* name);
    int Close();
    // Empties the buffer and seeks the source; 0 without an open source.
    int Reset(uint32_t position);
    // Reset to a position of the file being read through the buffer, also
    // when the source has already moved on to the next file of a list.
    int ResetInFile(uint32_t position);
    // 1 when reading may go on, 0 at the end of the data.
    int Refill() { return RefillBelow(threshold_); }
    // Refill with another threshold: reads when fewer than minimum bytes are
    // unread, for frames longer than the usual threshold.
    int RefillBelow(int minimum);
    // Refills (when permitted) until count bytes are unread; false when the
    // data ends first.
    bool MakeReadable(int count);
    // Moves past count bytes of the stream, reading through the buffer so
    // that sources that cannot seek work too; false when the data ends first.
    bool SkipStreamBytes(uint32_t count);
    // Appends bytes, dropping what does not fit.
    void Append(const uint8_t* bytes, int count);
    // Empties the buffer without touching the source.
    void ClearReadState();

    // Stream position of the read pointer; 0 without an open source.
    uint32_t Position() const;
    // Position of the read pointer in its own file, counted in the buffer
    // (the source's position may be in the next file of a list already).
    uint32_t FilePosition() const;
    uint32_t Length() const;

    ByteSource* Source() const { return source_; }
    bool SourceOpen() const { return sourceOpen_; }
    void SetRefillPermitted(bool permitted) { refillPermitted_ = permitted; }
    bool RefillPermitted() const { return refillPermitted_; }

    int Capacity() const { return capacity_; }
    int Valid() const { return valid_; }
    // Unread bytes; negative when a damaged frame was read past the data.
    int Available() const { return static_cast<int>(base_ + valid_ - read_); }
    int BitOffset() const { return bitOffset_; }
    // Offset of the read pointer from the start of the storage.
    int ReadOffset() const { return static_cast<int>(read_ - base_); }
    const uint8_t* ReadPointer() const { return read_; }

    // The start of a new stream of a continuous list, when one was delivered.
    bool HasMarker() const { return marker_ != nullptr; }
    bool MarkerReached() const { return marker_ != nullptr && read_ >= marker_; }
    bool AtMarker() const { return marker_ != nullptr && read_ == marker_; }
    void ClearMarker() { marker_ = nullptr; }
    // Once the marker is reached: positions count from the new file's start.
    void PassMarker();
    // Whether the source reads a file after the one at the read pointer.
    bool SourceAhead() const { return marker_ != nullptr && read_ < marker_; }

    // Bit reader. n is 1 to 25 for Peek and Read; Skip takes any count.
    uint32_t Peek(int n) const {
        uint32_t word;
        std::memcpy(&word, read_, 4);
        word = ToBigEndian(word);
        return (word << bitOffset_) >> (32 - n);
    }
    void Skip(int n) {
        int bits = bitOffset_ + n;
        read_ += bits >> 3;
        bitOffset_ = bits & 7;
        // A damaged frame may ask for more bits than were stored: stay on the
        // zeroed guard bytes instead of leaving the storage.
        if (read_ > limit_) {
            read_ = limit_;
            bitOffset_ = 0;
        }
    }
    uint32_t Read(int n) {
        uint32_t value = Peek(n);
        Skip(n);
        return value;
    }
    uint32_t ReadBit() { return Read(1); }
    void AlignToByte() {
        if (bitOffset_ != 0) Skip(8 - bitOffset_);
    }
    // Moves the read pointer by whole bytes (forward or back within the data).
    void SkipBytes(int count);
    // The 32 bits at the read pointer's byte boundary, or that many bytes
    // after it (offset + 4 must not exceed Available()).
    uint32_t PeekWordAtByte(int offset = 0) const {
        uint32_t word;
        std::memcpy(&word, read_ + offset, 4);
        return ToBigEndian(word);
    }

private:
    static uint32_t ToBigEndian(uint32_t word) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
        return word;
#else
        return __builtin_bswap32(word);
#endif
    }
    void CompactUnread();

    ByteSource* source_ = nullptr;
    bool sourceOpen_ = false;
    bool refillPermitted_ = false;
    std::unique_ptr<uint8_t[]> storage_;
    uint8_t* base_ = nullptr;
    uint8_t* marker_ = nullptr;
    uint8_t* end_ = nullptr;
    // File position of base_ (negative while base_ holds the end of the file
    // before the marker's).
    int64_t basePosition_ = 0;
    // Furthest the read pointer may go: 4-byte loads there stay inside the guard.
    uint8_t* limit_ = nullptr;
    int bitOffset_ = 0;
    int valid_ = 0;
    int capacity_ = 0;
    int threshold_ = 0;
    int zeroFillAllowance_ = 0;
    uint8_t* read_ = nullptr;
};

}  // namespace plyvane
