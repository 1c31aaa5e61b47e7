#include "block_ring.h"

#include <cstring>

namespace plyvane {

BlockRing::BlockRing(WaveOutDevice& device) : device_(device) { retired_.reserve(kMaxRingBlocks); }

bool BlockRing::Allocate(int count, uint32_t capacity) {
    Free();
    if (count > kMaxRingBlocks) return false;
    for (int i = 0; i < count; ++i) {
        WaveBlock* block = device_.AllocateBlock(capacity);
        if (block == nullptr) {
            Free();
            return false;
        }
        blocks_[static_cast<std::size_t>(i)] = block;
        count_ = i + 1;
    }
    return true;
}

void BlockRing::Free() {
    for (int i = 0; i < count_; ++i) {
        device_.FreeBlock(blocks_[static_cast<std::size_t>(i)]);
        blocks_[static_cast<std::size_t>(i)] = nullptr;
    }
    count_ = 0;
    prepared_ = false;
}

void BlockRing::Retire() {
    for (int i = 0; i < count_; ++i) {
        retired_.push_back(blocks_[static_cast<std::size_t>(i)]);
        blocks_[static_cast<std::size_t>(i)] = nullptr;
    }
    count_ = 0;
    prepared_ = false;
}

void BlockRing::FreeRetired() {
    for (WaveBlock* block : retired_) device_.FreeBlock(block);
    retired_.clear();
}

int BlockRing::FirstDone() const {
    for (int i = 0; i < count_; ++i)
        if (device_.IsDone(*blocks_[static_cast<std::size_t>(i)])) return i;
    return -1;
}

void BlockRing::Clear(WaveBlock& block, uint8_t silence) {
    block.length = 0;
    device_.ClearDone(block);
    std::memset(block.data, silence, block.capacity);
}

}  // namespace plyvane
