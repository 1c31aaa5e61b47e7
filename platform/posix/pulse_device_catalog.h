// The wave device catalog natively: one device (the PulseAudio server's
// default sink) when a server answers, none otherwise. It plays every PCM
// format the program produces, and all three refresh methods work.
#pragma once

#include "wave_device.h"

namespace plyvane {

class PulseDeviceCatalog : public WaveDeviceCatalog {
public:
    unsigned DeviceCount() override;
    bool DeviceCaps(int id, WaveDeviceCaps& caps) override;
    PlatformKind Platform() override { return PlatformKind::kWindows9x; }
};

// Whether a PulseAudio server accepts a connection now.
bool PulseServerAvailable();

}  // namespace plyvane
