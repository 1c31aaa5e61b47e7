#include "winmm_device_catalog.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdio>

namespace plyvane {

unsigned WinmmDeviceCatalog::DeviceCount() { return waveOutGetNumDevs(); }

bool WinmmDeviceCatalog::DeviceCaps(int id, WaveDeviceCaps& caps) {
    WAVEOUTCAPSA deviceCaps{};
    const UINT_PTR device = id < 0 ? WAVE_MAPPER : static_cast<UINT_PTR>(id);
    if (waveOutGetDevCapsA(device, &deviceCaps, sizeof deviceCaps) != MMSYSERR_NOERROR) return false;
    caps.formats = deviceCaps.dwFormats;
    std::snprintf(caps.productName, sizeof caps.productName, "%s", deviceCaps.szPname);
    return true;
}

PlatformKind WinmmDeviceCatalog::Platform() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&version)) return PlatformKind::kWindowsNT;
#pragma GCC diagnostic pop
    switch (version.dwPlatformId) {
        case VER_PLATFORM_WIN32s: return PlatformKind::kWin32s;
        case VER_PLATFORM_WIN32_WINDOWS: return PlatformKind::kWindows9x;
        default: return PlatformKind::kWindowsNT;
    }
}

}  // namespace plyvane
