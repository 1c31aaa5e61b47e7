// A busy flag with the try and spin semantics of the engine's locks: whoever
// sets it first has it; the others give up at once (TryTake) or spin,
// yielding, until it is free (Take).
#pragma once

#include <atomic>
#include <thread>

namespace plyvane {

class BusyFlag {
public:
    bool TryTake() { return !taken_.exchange(true, std::memory_order_acquire); }
    void Take() {
        while (!TryTake()) std::this_thread::yield();
    }
    // Gives up (false) as soon as `giveUp` says so.
    template <typename GiveUp>
    bool Take(GiveUp giveUp) {
        while (!TryTake()) {
            if (giveUp()) return false;
            std::this_thread::yield();
        }
        return true;
    }
    void Release() { taken_.store(false, std::memory_order_release); }

private:
    std::atomic<bool> taken_{false};
};

}  // namespace plyvane
