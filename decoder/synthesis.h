// The polyphase synthesis filterbank of ISO/IEC 11172-3 with the output
// sample-rate divisor, the three quality levels and the conversion to 8- or
// 16-bit PCM.
#pragma once

#include <cstdint>

#include "stream_info.h"
#include "subband_samples.h"

namespace plyvane {

class Synthesis {
public:
    // Window rows summed for each quality level; other values sum none.
    static void WindowRows(int quality, int& firstRow, int& lastRow);
    // The accumulator, started at 1.5 x 2^23, as a clipped PCM sample.
    static int16_t ToPcm16(float accumulator);
    static uint8_t ToPcm8(float accumulator);

    // Clears the history of both channels and the ring index.
    void Reset();
    // Chooses the output stage for the format. The channel and bit counts
    // must already be valid (1 or 2, 8 or 16).
    void Configure(const OutputFormat& format);
    // Turns slots 0..35 of the subband samples into PCM at out; returns the
    // number of bytes written.
    uint32_t SynthesizeFrame(const SubbandSamples& samples, int streamChannels, uint8_t* out);

private:
    using StageFn = uint32_t (Synthesis::*)(uint8_t* out);
    void Matrix(const float* slot, float* v);
    template <int kOutputChannels, int kBits>
    uint32_t OutputStage(uint8_t* out);
    template <int kBits>
    void WindowChannel(int channel, uint8_t* out, int step);

    // Each channel's ring of 1024 values, stored twice in a row so that the
    // window reads 1024 consecutive values from any ring position.
    alignas(16) float history_[2][2048] = {};
    int ringIndex_ = 0;
    int divisor_ = 1;
    int firstRow_ = 1;
    int lastRow_ = 6;
    StageFn stage_ = &Synthesis::OutputStage<2, 16>;
};

}  // namespace plyvane
