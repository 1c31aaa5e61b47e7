// The engine over simulated ports (a virtual wave device, simulated time, a
// notification queue): enough to probe streams and decode without a sound
// device. Used by tests and benchmarks.
#pragma once

#include "audio_engine.h"
#include "notification_queue.h"
#include "simulated_clock.h"
#include "virtual_wave_device.h"

namespace plyvane {

struct SimulatedEngine {
    SimulatedClock clock;
    VirtualWaveDevice device{clock};
    SimulatedTimer timer{clock};
    SimulatedThread thread{clock};
    NotificationQueue notifications;
    AudioEngine engine{EnginePorts{device, device, timer, thread, clock, notifications}};
};

}  // namespace plyvane
