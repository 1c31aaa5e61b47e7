// The native notification port: a bounded queue that the player (or a test)
// reads. Posting never allocates, so the refill step may post.
#pragma once

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "notification_port.h"

namespace plyvane {

struct Notification {
    WindowHandle window = nullptr;
    uint32_t commandId = 0;
    const void* record = nullptr;
};

class NotificationQueue : public NotificationPort {
public:
    static constexpr std::size_t kCapacity = 1024;

    // False when the queue is full (like a full message queue).
    bool Post(WindowHandle window, uint32_t commandId, const void* record) override;
    // The oldest notification; false when none arrives within the timeout.
    bool Wait(Notification& out, uint32_t timeoutMs);
    bool TryTake(Notification& out);
    std::size_t Size() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::array<Notification, kCapacity> ring_{};
    std::size_t head_ = 0;
    std::size_t count_ = 0;
};

}  // namespace plyvane
