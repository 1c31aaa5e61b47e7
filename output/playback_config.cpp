#include "playback_config.h"

#include <cstdint>

namespace plyvane {

namespace {
// Index of a divisor's flag: 1 -> 0, 2 -> 1, 4 -> 2; -1 for any other.
int DivisorIndex(int32_t divisor) {
    switch (divisor) {
    case 1: return 0;
    case 2: return 1;
    case 4: return 2;
    default: return -1;
    }
}

uint32_t RateMask(int index) {
    static const uint32_t kMasks[3] = {kFormats44k, kFormats22k, kFormats11k};
    return kMasks[index];
}

// A device id that matches no real choice, so the first SetWaveOutDevice
// always queries the device. (A small number such as 12 would be a real
// device on a system with thirteen of them, which then went unqueried.)
constexpr int32_t kNoDeviceYet = INT32_MIN;
}  // namespace

bool CPlaybackConfig::DivisorAllowed(int32_t divisor) const {
    int index = DivisorIndex(divisor);
    return index >= 0 && flags_.DivisorAllowed[index] != 0;
}

bool CPlaybackConfig::QualityAllowed(int32_t quality) const {
    if (quality == 0) return true;
    return quality >= 1 && quality <= 3 && flags_.QualityAllowed[quality - 1] != 0;
}

bool CPlaybackConfig::MethodAllowed(int32_t method) const {
    return method >= 1 && method <= 3 && flags_.MethodAllowed[method - 1] != 0;
}

void CPlaybackConfig::LoadConfig() {
    flags_ = PlaybackAvailability();
    switch (catalog_.Platform()) {
    case PlatformKind::kWin32s:
        flags_.MethodAllowed[1] = 0;
        flags_.MethodAllowed[2] = 0;
        break;
    case PlatformKind::kWindowsNT:
        flags_.MethodAllowed[2] = 0;
        break;
    case PlatformKind::kWindows9x:
        break;
    }
    values_.FrequencyDivisor = 0;
    values_.Quality = kNoQuality;
    values_.Channels = 0;
    values_.BitsPerSample = 0;
    values_.Buffers = 0;
    values_.FramesPerBuffer = 0;
    values_.PlaybackMethode = 0;
    values_.WaveOutDevice = kNoDeviceYet;
    ApplyStored(ReadOutputSettings());
}

void CPlaybackConfig::ReloadConfig() { ApplyStored(ReadOutputSettings()); }

void CPlaybackConfig::ApplyStored(const OutputSettings& stored) {
    SetWaveOutDevice(stored.WaveOutDevice);
    // A stored divisor of 1 on a device without 44.1 kHz becomes 2, as it
    // does when that device is chosen on the page.
    int32_t divisor = stored.FrequencyDivisor;
    if (divisor == 1 && !DivisorAllowed(1) && DivisorAllowed(2)) divisor = 2;
    SetFrequencyDivisor(divisor);
    SetQuality(stored.Quality);
    SetChannels(stored.Channels);
    SetBitsPerSample(stored.BitsPerSample);
    values_.Buffers = stored.Buffers;
    values_.FramesPerBuffer = stored.FramesPerBuffer;
    SetPlaybackMethode(stored.PlaybackMethode);
}

void CPlaybackConfig::SaveConfig() { WriteOutputSettings(values_); }

int CPlaybackConfig::SetWaveOutDevice(int32_t id) {
    if (id == values_.WaveOutDevice) return 0;
    values_.WaveOutDevice = id;
    WaveDeviceCaps caps;
    if (!catalog_.DeviceCaps(id, caps)) {
        flags_.MonoAllowed = 0;
        flags_.StereoAllowed = 0;
        flags_.EightBitAllowed = 0;
        flags_.SixteenBitAllowed = 0;
        flags_.DivisorAllowed[0] = 0;
        flags_.DivisorAllowed[1] = 0;
        flags_.DivisorAllowed[2] = 0;
        return 0;
    }
    flags_.DivisorAllowed[0] = 1;
    flags_.DivisorAllowed[1] = 1;
    flags_.DivisorAllowed[2] = 1;
    if ((caps.formats & kFormats44k) == 0) {
        if ((caps.formats & kFormats22k) == 0) {
            values_.FrequencyDivisor = 4;
            flags_.DivisorAllowed[0] = 0;
            flags_.DivisorAllowed[1] = 0;
        } else {
            // Divisor 1 is ruled out whatever the current divisor: otherwise a
            // device chosen while the divisor is 2 or 4 (or 0 during loading)
            // would still offer 44.1 kHz it cannot play.
            flags_.DivisorAllowed[0] = 0;
            if (values_.FrequencyDivisor == 1) values_.FrequencyDivisor = 2;
        }
    }
    return 1;
}

void CPlaybackConfig::AllowChannelsOf(uint32_t formats) {
    flags_.MonoAllowed = 1;
    if (formats & kFormatsStereo) {
        flags_.StereoAllowed = 1;
    } else {
        values_.Channels = 1;
        flags_.StereoAllowed = 0;
    }
}

void CPlaybackConfig::AllowBitsOf(uint32_t formats) {
    flags_.EightBitAllowed = 1;
    if (formats & kFormats16Bit) {
        flags_.SixteenBitAllowed = 1;
    } else {
        values_.BitsPerSample = 8;
        flags_.SixteenBitAllowed = 0;
    }
}

void CPlaybackConfig::AllowDivisorsOf(uint32_t formats) {
    flags_.DivisorAllowed[2] = 1;
    if (formats & kFormats44k) {
        flags_.DivisorAllowed[0] = 1;
        flags_.DivisorAllowed[1] = 1;
    } else if (formats & kFormats22k) {
        if (values_.FrequencyDivisor == 1) values_.FrequencyDivisor = 2;
        flags_.DivisorAllowed[0] = 0;
        flags_.DivisorAllowed[1] = 1;
    } else {
        values_.FrequencyDivisor = 4;
        flags_.DivisorAllowed[0] = 0;
        flags_.DivisorAllowed[1] = 0;
    }
}

int CPlaybackConfig::SetFrequencyDivisor(int32_t divisor) {
    if (divisor == values_.FrequencyDivisor) return 0;
    WaveDeviceCaps caps;
    if (!catalog_.DeviceCaps(values_.WaveOutDevice, caps)) return 1;
    int index = DivisorIndex(divisor);
    if (index < 0 || flags_.DivisorAllowed[index] == 0) return 0;
    values_.FrequencyDivisor = divisor;
    uint32_t formats = caps.formats & RateMask(index);
    AllowChannelsOf(formats);
    AllowBitsOf(formats);
    return 1;
}

int CPlaybackConfig::SetBitsPerSample(int32_t bits) {
    if (bits == values_.BitsPerSample) return 0;
    WaveDeviceCaps caps;
    if (!catalog_.DeviceCaps(values_.WaveOutDevice, caps)) return 1;
    uint32_t mask;
    int32_t flag;
    if (bits == 8) {
        mask = kFormats8Bit;
        flag = flags_.EightBitAllowed;
    } else if (bits == 16) {
        mask = kFormats16Bit;
        flag = flags_.SixteenBitAllowed;
    } else {
        return 0;
    }
    if (flag == 0) return 0;
    values_.BitsPerSample = bits;
    uint32_t formats = caps.formats & mask;
    AllowChannelsOf(formats);
    AllowDivisorsOf(formats);
    return 1;
}

int CPlaybackConfig::SetChannels(int32_t channels) {
    if (channels == values_.Channels) return 0;
    WaveDeviceCaps caps;
    if (!catalog_.DeviceCaps(values_.WaveOutDevice, caps)) return 1;
    uint32_t mask;
    int32_t flag;
    if (channels == 1) {
        mask = kFormatsMono;
        flag = flags_.MonoAllowed;
    } else if (channels == 2) {
        mask = kFormatsStereo;
        flag = flags_.StereoAllowed;
    } else {
        return 0;
    }
    if (flag == 0) return 0;
    values_.Channels = channels;
    uint32_t formats = caps.formats & mask;
    AllowBitsOf(formats);
    AllowDivisorsOf(formats);
    return 1;
}

int CPlaybackConfig::SetQuality(int32_t quality) {
    if (quality == values_.Quality || !QualityAllowed(quality)) return 0;
    values_.Quality = quality;
    return 1;
}

int CPlaybackConfig::SetPlaybackMethode(int32_t method) {
    if (method < 1 || method > 3 || method == values_.PlaybackMethode) return 0;
    if (flags_.MethodAllowed[method - 1] == 0) return 0;
    values_.PlaybackMethode = method;
    return 1;
}

}  // namespace plyvane
