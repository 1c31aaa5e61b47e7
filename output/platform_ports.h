// The playback ports of the system we run on (WINMM and the multimedia timer
// on Windows, PulseAudio and a timer thread natively; CMake picks the file
// that makes them), and the program's one engine over them.
#pragma once

#include <memory>

#include "audio_engine.h"

namespace plyvane {

struct PlatformPlaybackPorts {
    std::unique_ptr<WaveOutDevice> device;
    std::unique_ptr<WaveDeviceCatalog> catalog;
    std::unique_ptr<PeriodicTimer> timer;
    std::unique_ptr<WorkerThread> thread;

    // With the system clock and the given notification port.
    EnginePorts Ports(NotificationPort& notifications) const {
        return EnginePorts{*device, *catalog, *timer, *thread, SystemClock(), notifications};
    }
};

PlatformPlaybackPorts MakePlatformPlaybackPorts();

// The notification port of the player window: posted WM_COMMAND messages on
// Windows, a process-wide queue elsewhere.
NotificationPort& PlatformNotifications();

// The process-wide engine over the system's ports, made on first use; it
// keeps the output-format fields of its record up to date when the output
// settings are saved.
AudioEngine& TheAudioEngine();

}  // namespace plyvane
