// The periodic timer on Windows: the multimedia timer (timeSetEvent) with
// its resolution set by timeBeginPeriod.
#pragma once

#include <atomic>

#include "periodic_timer.h"

namespace plyvane {

class MultimediaTimer : public PeriodicTimer {
public:
    ~MultimediaTimer() override;

    bool GetCaps(TimerCaps& caps) override;
    bool Start(uint32_t periodMs, uint32_t resolutionMs, TimerStep step, void* context) override;
    void Stop() override;
    bool Running() const override { return timerId_.load() != 0; }

    // Runs the step; called by the timer's callback with `this` and the id
    // of the timer that fired.
    static void Fire(void* self, unsigned id);

private:
    std::atomic<unsigned> timerId_{0};
    std::atomic<int> stepsRunning_{0};
    unsigned resolution_ = 0;
    TimerStep step_ = nullptr;
    void* context_ = nullptr;
};

}  // namespace plyvane
