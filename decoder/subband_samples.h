// The subband samples that a layer decoder leaves for the synthesis: 36 slots
// of 32 subbands per channel, nominally in -1.0 to +1.0.
#pragma once

#include <cstring>

namespace plyvane {

struct SubbandSamples {
    static constexpr int kSubbands = 32;
    static constexpr int kSlots = 36;
    // The two channel blocks lie this many floats apart (1152 used).
    static constexpr int kChannelStride = 2048;

    alignas(16) float value[2][kChannelStride];

    float* Slot(int channel, int slot) { return &value[channel][slot * kSubbands]; }
    const float* Slot(int channel, int slot) const { return &value[channel][slot * kSubbands]; }
    void Clear() { std::memset(value, 0, sizeof value); }
    // Silences slots first to 35 of both channels.
    void ClearFrom(int first) {
        for (float* channel : value)
            std::memset(channel + first * kSubbands, 0, (kSlots - first) * kSubbands * sizeof(float));
    }
};

}  // namespace plyvane
