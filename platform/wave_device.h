// The wave-out device catalog: how many devices there are, what each can play
// and which kind of Windows we run on. The output configuration needs only
// this; the playback operations of the device are a separate port.
#pragma once

#include <cstdint>

namespace plyvane {

// The device id of the wave mapper (WAVE_MAPPER).
inline constexpr int kWaveMapper = -1;

// GetVersionExA's platform ids.
enum class PlatformKind : int { kWin32s = 0, kWindows9x = 1, kWindowsNT = 2 };

// Length of a product name, as in WAVEOUTCAPS (szPname, 32 chars with its zero).
inline constexpr int kProductNameLength = 32;

struct WaveDeviceCaps {
    // WAVEOUTCAPS.dwFormats: the WAVE_FORMAT_* bits (0xF00 44.1 kHz, 0x0F0
    // 22.05 kHz, 0x00F 11.025 kHz; 0xAAA stereo, 0x555 mono; 0xCCC 16-bit,
    // 0x333 8-bit).
    uint32_t formats = 0;
    // Always zero-terminated; adapters copy with a bound.
    char productName[kProductNameLength] = {};
};

class WaveDeviceCatalog {
public:
    virtual ~WaveDeviceCatalog() = default;
    // waveOutGetNumDevs: 0 when there is no device at all.
    virtual unsigned DeviceCount() = 0;
    // waveOutGetDevCapsA for id 0..n-1 or kWaveMapper; false (caps untouched)
    // when the query fails.
    virtual bool DeviceCaps(int id, WaveDeviceCaps& caps) = 0;
    virtual PlatformKind Platform() = 0;
};

}  // namespace plyvane
