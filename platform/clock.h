// The clock port: a millisecond tick count (GetTickCount) and a sleep. Tests
// install a simulated clock whose time moves only when the test says so.
#pragma once

#include <cstdint>

namespace plyvane {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps like GetTickCount.
    virtual uint32_t TickCount() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
};

// The steady clock of the system.
Clock& SystemClock();

}  // namespace plyvane
