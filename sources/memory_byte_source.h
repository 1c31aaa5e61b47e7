// A byte source over bytes in memory, for tests and the fuzzer. Optional
// stream starts imitate the files of a continuous list: a read that delivers
// such a byte carries the new-stream flag.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "byte_source.h"

namespace plyvane {

class MemoryByteSource : public ByteSource {
public:
    explicit MemoryByteSource(std::vector<uint8_t> bytes, std::string name = "memory")
        : bytes_(std::move(bytes)), name_(std::move(name)) {}
    MemoryByteSource(const uint8_t* bytes, size_t size, std::string name = "memory")
        : bytes_(bytes, bytes + size), name_(std::move(name)) {}

    // Marks offset as the first byte of the next file of a list.
    void AddStreamStart(uint32_t offset);
    // Whether Length reports the size (true) or 0, as an unknown length.
    void SetLengthKnown(bool known) { lengthKnown_ = known; }

    // The name is kept for Name(); the bytes are read again from the start.
    int Open(const char* name) override;
    int Close() override;
    uint32_t Read(void* destination, uint32_t count) override;
    int Seek(uint32_t position) override;
    uint32_t Tell() override { return open_ ? position_ : 0; }
    uint32_t Length() override;
    const char* Name() override { return name_.c_str(); }

private:
    std::vector<uint8_t> bytes_;
    std::string name_;
    std::vector<uint32_t> streamStarts_;  // ascending
    uint32_t position_ = 0;
    uint32_t firstPartBytes_ = 0;
    bool open_ = false;
    // The previous call was a read that ended at position_ (not an open or seek).
    bool continuing_ = false;
    bool lengthKnown_ = true;
};

}  // namespace plyvane
