// Reads a BitstreamBuffer's bytes 64 bits at a time from a bit position,
// without the buffer's bookkeeping per read; the caller moves the buffer on
// afterwards. For the hot loops of the layer decoders.
#pragma once

#include <cstdint>
#include <cstring>

#include "bitstream_buffer.h"

namespace plyvane {

class BitReader {
public:
    explicit BitReader(const BitstreamBuffer& buffer)
        : data_(buffer.ReadPointer() - buffer.ReadOffset()),
          lastByte_(buffer.Capacity() + BitstreamBuffer::kGuardBytes - 8),
          position_(buffer.ReadOffset() * 8 + buffer.BitOffset()) {}

    // Bits from the start of the buffer's storage.
    int Position() const { return position_; }
    void MoveTo(int position) { position_ = position; }
    void Skip(int bits) { position_ += bits; }

    // The 64 bits from the position, the first one most significant; at
    // least 57 of them are the buffer's. Past the storage (a damaged frame
    // asking for more than there is) the load stays on its last 8 bytes,
    // which are guard bytes.
    uint64_t Peek() const { return PeekAt(position_); }
    // The same from another bit position (not before the storage).
    uint64_t PeekAt(int position) const {
        int byte = position >> 3;
        if (byte > lastByte_) byte = lastByte_;
        uint64_t word;
        std::memcpy(&word, data_ + byte, sizeof word);
#if !defined(__BYTE_ORDER__) || __BYTE_ORDER__ != __ORDER_BIG_ENDIAN__
        word = __builtin_bswap64(word);
#endif
        return word << (position & 7);
    }

    // The count-bit field (1 to 32 bits) at offset of peeked bits.
    static uint32_t Field(uint64_t bits, int offset, int count) {
        return static_cast<uint32_t>((bits << offset) >> (64 - count));
    }

private:
    const uint8_t* data_;
    int lastByte_;
    int position_;
};

}  // namespace plyvane
