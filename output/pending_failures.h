// Failure texts the engine meets while it holds one of its locks or runs in a
// refresh context. They wait here (fixed storage: the refill step allocates
// nothing) until the player's thread shows them with no lock held, so the
// message loop of a box can never re-enter the engine while it waits on
// itself, and no box is ever owned by a thread the player's thread waits for.
#pragma once

#include <cstddef>
#include <mutex>

#include "message_box.h"

namespace plyvane {

class PendingFailures {
public:
    // Keeps the text (cut to fit); when full, the newest texts are dropped.
    void Add(const char* format, ...) PLYVANE_PRINTF(2, 3);
    // The oldest text, removed; false when there is none.
    bool Take(char* text, std::size_t size);
    bool Any();

private:
    static constexpr int kCapacity = 8;
    static constexpr std::size_t kLength = 256;

    std::mutex mutex_;
    char texts_[kCapacity][kLength] = {};
    int first_ = 0;
    int count_ = 0;
};

}  // namespace plyvane
