// The periodic timer natively: a thread that runs the step at fixed times
// (steady clock, sleep until the next due time, so the period does not drift).
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "periodic_timer.h"

namespace plyvane {

class ThreadPeriodicTimer : public PeriodicTimer {
public:
    ~ThreadPeriodicTimer() override;

    bool GetCaps(TimerCaps& caps) override;
    bool Start(uint32_t periodMs, uint32_t resolutionMs, TimerStep step, void* context) override;
    void Stop() override;
    bool Running() const override;

private:
    void Run(uint32_t periodMs, TimerStep step, void* context);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::thread thread_;
    std::thread::id id_;
    bool stop_ = true;
};

}  // namespace plyvane
