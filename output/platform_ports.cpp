#include "platform_ports.h"

#include "std_worker_thread.h"

#ifdef _WIN32
#include "multimedia_timer.h"
#include "notification_port_win32.h"
#include "wave_out_win32.h"
#include "winmm_device_catalog.h"
#else
#include "notification_queue.h"
#include "pulse_device_catalog.h"
#include "pulse_wave_device.h"
#include "thread_periodic_timer.h"
#endif

namespace plyvane {

PlatformPlaybackPorts MakePlatformPlaybackPorts() {
    PlatformPlaybackPorts ports;
#ifdef _WIN32
    ports.device = std::make_unique<WinmmWaveOut>();
    ports.catalog = std::make_unique<WinmmDeviceCatalog>();
    ports.timer = std::make_unique<MultimediaTimer>();
#else
    ports.device = std::make_unique<PulseWaveDevice>();
    ports.catalog = std::make_unique<PulseDeviceCatalog>();
    ports.timer = std::make_unique<ThreadPeriodicTimer>();
#endif
    ports.thread = std::make_unique<StdWorkerThread>();
    return ports;
}

NotificationPort& PlatformNotifications() {
#ifdef _WIN32
    static PostMessageNotifications notifications;
#else
    static NotificationQueue notifications;
#endif
    return notifications;
}

AudioEngine& TheAudioEngine() {
    static PlatformPlaybackPorts ports = MakePlatformPlaybackPorts();
    static AudioEngine engine(ports.Ports(PlatformNotifications()));
    static const bool hooked = [] {
        SetOutputFormatHook([](const OutputSettings& settings) { engine.UpdateOutputFormat(settings); });
        return true;
    }();
    (void)hooked;
    return engine;
}

}  // namespace plyvane
