// The ring of output blocks: up to 128 blocks of the device's memory in a
// fixed table, allocated at each start and freed once the device has let go
// of them. Blocks a failed reset may have left with the device are retired:
// kept until the device is closed, never freed under it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "wave_out.h"

namespace plyvane {

// The most blocks a ring can have.
inline constexpr int kMaxRingBlocks = 128;

class BlockRing {
public:
    // The owner frees the blocks (only it knows whether the device still
    // holds them).
    explicit BlockRing(WaveOutDevice& device);
    BlockRing(const BlockRing&) = delete;
    BlockRing& operator=(const BlockRing&) = delete;

    // `count` blocks of `capacity` bytes in place of the old ones; false (and
    // no blocks) when the memory cannot be had.
    bool Allocate(int count, uint32_t capacity);
    void Free();
    // The device may still hold the blocks: keep them aside.
    void Retire();
    // Once the device that held them is closed.
    void FreeRetired();

    int Count() const { return count_; }
    WaveBlock& operator[](int index) { return *blocks_[static_cast<std::size_t>(index)]; }
    // The first block, in index order, the device has marked done; -1 if none.
    int FirstDone() const;
    // Empty (length 0, not done) and silent, so that a block cut short at
    // the end of a stream plays silence beyond its filled length.
    void Clear(WaveBlock& block, uint8_t silence);

    // Prepared with the device (the headers-prepared flag).
    bool Prepared() const { return prepared_; }
    void SetPrepared(bool prepared) { prepared_ = prepared; }

private:
    WaveOutDevice& device_;
    std::array<WaveBlock*, kMaxRingBlocks> blocks_{};
    int count_ = 0;
    bool prepared_ = false;
    std::vector<WaveBlock*> retired_;
};

}  // namespace plyvane
