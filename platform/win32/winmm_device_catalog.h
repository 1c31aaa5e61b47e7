// The wave device catalog on Windows: waveOutGetNumDevs, waveOutGetDevCapsA
// and the platform id of GetVersionExA.
#pragma once

#include "wave_device.h"

namespace plyvane {

class WinmmDeviceCatalog : public WaveDeviceCatalog {
public:
    unsigned DeviceCount() override;
    bool DeviceCaps(int id, WaveDeviceCaps& caps) override;
    PlatformKind Platform() override;
};

}  // namespace plyvane
