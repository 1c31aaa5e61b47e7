#include "simulated_clock.h"

#include <algorithm>

namespace plyvane {

namespace {

thread_local bool managedThread = false;

bool Reached(uint32_t now, uint32_t wakeAt) { return static_cast<int32_t>(now - wakeAt) >= 0; }

}  // namespace

uint32_t SimulatedClock::TickCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    now_ += ticksPerReading_.load();
    return now_;
}

uint32_t SimulatedClock::Now() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return now_;
}

void SimulatedClock::Sleep(uint32_t milliseconds) {
    if (managedThread) {
        WaitUntil(Now() + milliseconds, nullptr);
        return;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    now_ += milliseconds;
}

void SimulatedClock::AddTicker(std::function<void()> ticker) {
    std::lock_guard<std::mutex> lock(mutex_);
    tickers_.push_back(std::move(ticker));
}

void SimulatedClock::WakeDue() {
    if (sleepers_.empty()) return;
    for (Sleeper* sleeper : sleepers_) {
        if (sleeper->woken) continue;
        if (Reached(now_, sleeper->wakeAt) || (sleeper->stop != nullptr && sleeper->stop->load())) {
            sleeper->woken = true;
            ++running_;
        }
    }
    changed_.notify_all();
}

void SimulatedClock::Advance(uint32_t milliseconds) {
    for (uint32_t i = 0; i < milliseconds; ++i) {
        std::vector<std::function<void()>>* tickers;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++now_;
            tickers = &tickers_;
        }
        for (auto& ticker : *tickers) ticker();
        std::unique_lock<std::mutex> lock(mutex_);
        WakeDue();
        if (running_ != 0) changed_.wait(lock, [this] { return running_ == 0; });
    }
}

void SimulatedClock::EnterManaged() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++running_;
}

void SimulatedClock::LeaveManaged() {
    std::lock_guard<std::mutex> lock(mutex_);
    --running_;
    changed_.notify_all();
}

bool SimulatedClock::WaitUntil(uint32_t wakeAt, const std::atomic<bool>* stop) {
    std::unique_lock<std::mutex> lock(mutex_);
    Sleeper me;
    me.wakeAt = wakeAt;
    me.stop = stop;
    if (Reached(now_, wakeAt) || (stop != nullptr && stop->load())) return stop == nullptr || !stop->load();
    sleepers_.push_back(&me);
    --running_;
    changed_.notify_all();
    changed_.wait(lock, [&me] { return me.woken; });
    sleepers_.remove(&me);
    return stop == nullptr || !stop->load();
}

void SimulatedClock::Interrupt() {
    std::lock_guard<std::mutex> lock(mutex_);
    WakeDue();
}

SimulatedTimer::SimulatedTimer(SimulatedClock& clock) {
    clock.AddTicker([this] { Tick(); });
}

bool SimulatedTimer::GetCaps(TimerCaps& caps) {
    if (failCaps_) return false;
    caps.periodMin = 1;
    caps.periodMax = 1000000;
    return true;
}

bool SimulatedTimer::Start(uint32_t periodMs, uint32_t resolutionMs, TimerStep step, void* context) {
    if (failStart_ || periodMs == 0) return false;
    period_ = periodMs;
    resolution_ = resolutionMs;
    elapsed_ = 0;
    step_ = step;
    context_ = context;
    ++starts_;
    running_ = true;
    return true;
}

void SimulatedTimer::Stop() { running_ = false; }

void SimulatedTimer::Tick() {
    if (!running_.load()) return;
    if (++elapsed_ % period_ == 0) step_(context_);
}

SimulatedThread::~SimulatedThread() { Stop(); }

bool SimulatedThread::Start(ThreadBody body, void* context) {
    std::thread finished;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        finished = std::move(thread_);
    }
    if (finished.joinable()) finished.join();
    if (failStart_) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = false;
    ++starts_;
    clock_.EnterManaged();
    thread_ = std::thread([this, body, context] {
        managedThread = true;
        body(context);
        clock_.LeaveManaged();
    });
    id_ = thread_.get_id();
    return true;
}

bool SimulatedThread::Sleep(uint32_t milliseconds) {
    return clock_.WaitUntil(clock_.Now() + milliseconds, &stop_);
}

void SimulatedThread::Stop() {
    std::thread running;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
        if (std::this_thread::get_id() == id_) return;
        running = std::move(thread_);
        id_ = std::thread::id();
    }
    clock_.Interrupt();
    if (running.joinable()) running.join();
}

bool SimulatedThread::IsCurrentThread() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::this_thread::get_id() == id_;
}

}  // namespace plyvane
