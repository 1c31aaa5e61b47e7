#include "platform_ports.h"

namespace plyvane {

AudioEngine& TheAudioEngine() {
    static PlatformPlaybackPorts ports = MakePlatformPlaybackPorts();
    static AudioEngine engine(ports.Ports(PlatformNotifications()));
    // Saving the output settings while stopped shows the new format at once.
    static const bool hooked = [] {
        SetOutputFormatHook([](const OutputSettings& settings) { engine.UpdateOutputFormat(settings); });
        return true;
    }();
    (void)hooked;
    return engine;
}

}  // namespace plyvane
