// The periodic timer port: the multimedia timer on Windows (timeSetEvent with
// timeBeginPeriod), a timer thread natively, simulated time in tests.
#pragma once

#include <cstdint>

namespace plyvane {

struct TimerCaps {
    uint32_t periodMin = 1;
    uint32_t periodMax = 1000000;
};

using TimerStep = void (*)(void* context);

class PeriodicTimer {
public:
    virtual ~PeriodicTimer() = default;
    // timeGetDevCaps: false when the timer service cannot tell.
    virtual bool GetCaps(TimerCaps& caps) = 0;
    // timeBeginPeriod(resolution) + timeSetEvent(period, resolution, step,
    // TIME_PERIODIC). False (and nothing running) when it cannot start.
    virtual bool Start(uint32_t periodMs, uint32_t resolutionMs, TimerStep step, void* context) = 0;
    // timeKillEvent + timeEndPeriod. From another thread it returns only once
    // no step runs any more; from inside a step it only makes this the last.
    virtual void Stop() = 0;
    virtual bool Running() const = 0;
};

}  // namespace plyvane
