#include "thread_periodic_timer.h"

#include <chrono>
#include <system_error>

namespace plyvane {

ThreadPeriodicTimer::~ThreadPeriodicTimer() { Stop(); }

bool ThreadPeriodicTimer::GetCaps(TimerCaps& caps) {
    caps.periodMin = 1;
    caps.periodMax = 1000000;
    return true;
}

bool ThreadPeriodicTimer::Start(uint32_t periodMs, uint32_t /*resolutionMs*/, TimerStep step, void* context) {
    if (periodMs == 0 || step == nullptr) return false;
    Stop();
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = false;
    try {
        thread_ = std::thread(&ThreadPeriodicTimer::Run, this, periodMs, step, context);
    } catch (const std::system_error&) {
        stop_ = true;
        return false;
    }
    id_ = thread_.get_id();
    return true;
}

void ThreadPeriodicTimer::Run(uint32_t periodMs, TimerStep step, void* context) {
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::milliseconds(periodMs);
    auto due = Clock::now() + period;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        if (wake_.wait_until(lock, due, [this] { return stop_; })) return;
        lock.unlock();
        step(context);
        lock.lock();
        due += period;
        // After a long step, go on from now instead of running a burst.
        const auto now = Clock::now();
        if (due < now) due = now + period;
    }
}

void ThreadPeriodicTimer::Stop() {
    std::thread running;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
        if (std::this_thread::get_id() == id_) return;  // from a step: this is the last
        running = std::move(thread_);
        id_ = std::thread::id();
    }
    wake_.notify_all();
    if (running.joinable()) running.join();
}

bool ThreadPeriodicTimer::Running() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return !stop_;
}

}  // namespace plyvane
