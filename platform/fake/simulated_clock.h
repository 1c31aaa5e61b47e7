// Simulated time for engine tests: the clock, the periodic timer and the
// playback thread of the engine all run on it, and time moves only when the
// test advances it, one millisecond at a time. After each millisecond the
// clock waits until every thread it manages is asleep again, so a test sees
// the same order of events on every run.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

#include "clock.h"
#include "periodic_timer.h"
#include "worker_thread.h"

namespace plyvane {

class SimulatedClock : public Clock {
public:
    // Each TickCount reading moves time on by this much (a slow machine for
    // the performance check); 0 by default.
    void SetTicksPerReading(uint32_t milliseconds) { ticksPerReading_ = milliseconds; }

    uint32_t TickCount() override;
    // On a thread of a SimulatedThread: waits for simulated time. Elsewhere:
    // moves time on without running the tickers (the caller is the test).
    void Sleep(uint32_t milliseconds) override;

    // Runs the tickers once per millisecond, in the order they were added.
    void Advance(uint32_t milliseconds);
    void AddTicker(std::function<void()> ticker);
    uint32_t Now() const;

    // For SimulatedThread.
    void EnterManaged();
    void LeaveManaged();
    // False when *stop became true before the time came.
    bool WaitUntil(uint32_t wakeAt, const std::atomic<bool>* stop);
    void Interrupt();

private:
    struct Sleeper {
        uint32_t wakeAt = 0;
        const std::atomic<bool>* stop = nullptr;
        bool woken = false;
    };
    void WakeDue();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    uint32_t now_ = 0;
    std::atomic<uint32_t> ticksPerReading_{0};
    int running_ = 0;
    std::list<Sleeper*> sleepers_;
    std::vector<std::function<void()>> tickers_;
};

// The periodic timer in simulated time: steps run inside Advance.
class SimulatedTimer : public PeriodicTimer {
public:
    explicit SimulatedTimer(SimulatedClock& clock);

    bool GetCaps(TimerCaps& caps) override;
    bool Start(uint32_t periodMs, uint32_t resolutionMs, TimerStep step, void* context) override;
    void Stop() override;
    bool Running() const override { return running_.load(); }

    void FailCaps(bool fail) { failCaps_ = fail; }
    void FailStart(bool fail) { failStart_ = fail; }
    uint32_t Period() const { return period_; }
    uint32_t Resolution() const { return resolution_; }
    int Starts() const { return starts_; }

private:
    void Tick();

    std::atomic<bool> running_{false};
    uint32_t period_ = 0;
    uint32_t resolution_ = 0;
    uint32_t elapsed_ = 0;
    TimerStep step_ = nullptr;
    void* context_ = nullptr;
    bool failCaps_ = false;
    bool failStart_ = false;
    int starts_ = 0;
};

// The playback thread: a real thread whose sleeps pass in simulated time.
class SimulatedThread : public WorkerThread {
public:
    explicit SimulatedThread(SimulatedClock& clock) : clock_(clock) {}
    ~SimulatedThread() override;

    bool Start(ThreadBody body, void* context) override;
    bool Sleep(uint32_t milliseconds) override;
    bool StopRequested() const override { return stop_.load(); }
    void Stop() override;
    bool IsCurrentThread() const override;

    void FailStart(bool fail) { failStart_ = fail; }
    int Starts() const { return starts_; }

private:
    SimulatedClock& clock_;
    mutable std::mutex mutex_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::thread::id id_;
    bool failStart_ = false;
    int starts_ = 0;
};

}  // namespace plyvane
