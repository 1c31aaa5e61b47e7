#include "notification_queue.h"

#include <chrono>

namespace plyvane {

bool NotificationQueue::Post(WindowHandle window, uint32_t commandId, const void* record) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (count_ == kCapacity) return false;
        ring_[(head_ + count_) % kCapacity] = Notification{window, commandId, record};
        ++count_;
    }
    arrived_.notify_one();
    return true;
}

bool NotificationQueue::Wait(Notification& out, uint32_t timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!arrived_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return count_ > 0; }))
        return false;
    out = ring_[head_];
    head_ = (head_ + 1) % kCapacity;
    --count_;
    return true;
}

bool NotificationQueue::TryTake(Notification& out) {
    // No timed wait: under Wine even a zero timeout is a trip to the server.
    std::lock_guard<std::mutex> lock(mutex_);
    if (count_ == 0) return false;
    out = ring_[head_];
    head_ = (head_ + 1) % kCapacity;
    --count_;
    return true;
}

std::size_t NotificationQueue::Size() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return count_;
}

}  // namespace plyvane
