// The playback ports natively: PulseAudio, a timer thread and a queue of
// notifications.
#include "notification_queue.h"
#include "platform_ports.h"
#include "pulse_device_catalog.h"
#include "pulse_wave_device.h"
#include "std_worker_thread.h"
#include "thread_periodic_timer.h"

namespace plyvane {

PlatformPlaybackPorts MakePlatformPlaybackPorts() {
    PlatformPlaybackPorts ports;
    ports.device = std::make_unique<PulseWaveDevice>();
    ports.catalog = std::make_unique<PulseDeviceCatalog>();
    ports.timer = std::make_unique<ThreadPeriodicTimer>();
    ports.thread = std::make_unique<StdWorkerThread>();
    return ports;
}

NotificationPort& PlatformNotifications() {
    static NotificationQueue notifications;
    return notifications;
}

}  // namespace plyvane
