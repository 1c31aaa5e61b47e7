// The playback ports on Windows: WINMM, the multimedia timer and posted
// window messages.
#include "multimedia_timer.h"
#include "notification_port_win32.h"
#include "platform_ports.h"
#include "std_worker_thread.h"
#include "wave_out_win32.h"
#include "winmm_device_catalog.h"

namespace plyvane {

PlatformPlaybackPorts MakePlatformPlaybackPorts() {
    PlatformPlaybackPorts ports;
    ports.device = std::make_unique<WinmmWaveOut>();
    ports.catalog = std::make_unique<WinmmDeviceCatalog>();
    ports.timer = std::make_unique<MultimediaTimer>();
    ports.thread = std::make_unique<StdWorkerThread>();
    return ports;
}

NotificationPort& PlatformNotifications() {
    static PostMessageNotifications notifications;
    return notifications;
}

}  // namespace plyvane
