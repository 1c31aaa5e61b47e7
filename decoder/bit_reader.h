// Reads a BitstreamBuffer's bytes a register-wide word at a time from a bit
// position, without the buffer's bookkeeping per read; the caller moves the
// buffer on afterwards. For the hot loops of the layer decoders.
#pragma once

#include <cstdint>
#include <cstring>

#include "bitstream_buffer.h"

namespace plyvane {

// The reader's word: 64 bits where the target has 64-bit registers, 32 on
// the i686 release, where 64-bit shifts take several instructions each.
#if UINTPTR_MAX > 0xFFFFFFFFu
using BitWord = uint64_t;
#else
using BitWord = uint32_t;
#endif
constexpr int kBitWordBits = 8 * static_cast<int>(sizeof(BitWord));
// Bits of a peeked word that are the data's: all but those of the first
// byte before the position.
constexpr int kPeekBits = kBitWordBits - 7;

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

    // The word from the position, its first bit most significant; the first
    // kPeekBits of it are the buffer's. Past the storage (a damaged frame
    // asking for more than there is) the load stays on its last 8 bytes,
    // which are guard bytes.
    BitWord Peek() const { return PeekAt(position_); }
    // The same from another bit position (not before the storage).
    BitWord PeekAt(int position) const {
        int byte = position >> 3;
        if (byte > lastByte_) byte = lastByte_;
        BitWord word;
        std::memcpy(&word, data_ + byte, sizeof word);
#if !defined(__BYTE_ORDER__) || __BYTE_ORDER__ != __ORDER_BIG_ENDIAN__
        word = ByteSwap(word);
#endif
        return word << (position & 7);
    }

    // The count-bit field (1 to 32 bits, offset + count <= kPeekBits) at
    // offset of a peeked word.
    static uint32_t Field(BitWord bits, int offset, int count) {
        return static_cast<uint32_t>((bits << offset) >> (kBitWordBits - count));
    }
    // The bit at offset of a peeked word.
    static uint32_t Bit(BitWord bits, int offset) {
        return static_cast<uint32_t>((bits << offset) >> (kBitWordBits - 1));
    }

private:
    static uint64_t ByteSwap(uint64_t word) { return __builtin_bswap64(word); }
    static uint32_t ByteSwap(uint32_t word) { return __builtin_bswap32(word); }

    const uint8_t* data_;
    int lastByte_;
    int position_;
};

// A peeked word that a decoding loop consumes from the front, read again
// from the data only when fewer bits are left than the next step needs: the
// next code's bits then come from a shift of a register, not from memory,
// which shortens the chain from one code to the next.
class CachedBits {
public:
    explicit CachedBits(const BitReader& reader) : reader_(&reader), position_(reader.Position()) { Refill(); }

    BitWord Bits() const { return bits_; }
    // Bits of the word that are the data's.
    int Left() const { return left_; }
    int Position() const { return position_; }
    // Makes sure that count bits (at most kPeekBits) are there.
    void Need(int count) {
        if (left_ < count) Refill();
    }
    // Moves on by count bits (at most Left()).
    void Consume(int count) {
        bits_ <<= count;
        left_ -= count;
        position_ += count;
    }

private:
    void Refill() {
        bits_ = reader_->PeekAt(position_);
        left_ = kPeekBits;
    }

    const BitReader* reader_;
    int position_;
    BitWord bits_ = 0;
    int left_ = 0;
};

}  // namespace plyvane
