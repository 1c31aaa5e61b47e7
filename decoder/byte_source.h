// The interface through which the decoder reads any stream: local files,
// continuous lists of files and HTTP streams all implement it.
#pragma once

#include <cstdint>

namespace plyvane {

// A read result with this bit set says that a new stream of a continuous list
// begins inside the delivered bytes; the low 31 bits are the count.
constexpr uint32_t kNewStreamFlag = 0x80000000u;

class ByteSource {
public:
    virtual ~ByteSource() = default;

    // Non-zero when the named stream was opened.
    virtual int Open(const char* name) = 0;
    // Non-zero when closed.
    virtual int Close() = 0;
    // Bytes delivered, possibly with kNewStreamFlag. Read(nullptr, 0) returns
    // the offset of the new stream's first byte within the preceding read.
    virtual uint32_t Read(void* destination, uint32_t count) = 0;
    // Non-zero when the next read starts at the absolute byte position.
    virtual int Seek(uint32_t position) = 0;
    // Byte position of the next byte that Read delivers.
    virtual uint32_t Tell() = 0;
    // Total length in bytes, 0 when unknown.
    virtual uint32_t Length() = 0;
    // The stream's name; valid until the next call on this source.
    virtual const char* Name() = 0;
    // A list source that has moved on to its next file goes back into the
    // file before it, at the position; non-zero on success. Sources without
    // lists cannot.
    virtual int SeekPreviousFile(uint32_t /*position*/) { return 0; }
    // Called from another thread while the engine stops: a read that waits
    // (for a server) returns at once, and reads give 0 until the next Open.
    // Sources whose reads never wait need not do anything.
    virtual void Interrupt() {}
    // Unused by the decoder.
    virtual int Spare() { return 0; }
};

}  // namespace plyvane
