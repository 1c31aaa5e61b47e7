// The polyphase synthesis filterbank of ISO/IEC 11172-3 with the output
// sample-rate divisor, the quality levels and the conversion to 8- or 16-bit
// PCM.
#pragma once

#include <cstdint>

#include "stream_info.h"
#include "subband_samples.h"
#include "synthesis_windowing.h"

namespace plyvane {

class Synthesis {
public:
    // Clears the history of both channels and the ring index.
    void Reset();
    // Chooses the windowing and the output stage for the format. The channel
    // and bit counts must already be valid (1 or 2, 8 or 16).
    void Configure(const OutputFormat& format);
    // Turns slots 0..35 of the subband samples into PCM at out; returns the
    // number of bytes written.
    uint32_t SynthesizeFrame(const SubbandSamples& samples, int streamChannels, uint8_t* out);

private:
    using StageFn = uint32_t (Synthesis::*)(uint8_t* out);
    // Puts one slot's matrixed values (dct: its 32-point DCT, see
    // DctOfFourSlots) into the channel's history at the ring index.
    void StoreHistory(int channel, const float* dct);
    template <int kOutputChannels, int kBits>
    uint32_t OutputStage(uint8_t* out);

    // Each channel's ring of 1024 matrixed values (64 a slot), stored twice
    // in a row so that the window reads 1024 consecutive values from any
    // ring position. Doubles, so that the windowing reads them without a
    // conversion; each holds a single-precision value.
    alignas(32) double history_[2][2048] = {};
    int ringIndex_ = 0;
    int divisor_ = 1;
    WindowFunction window_ = nullptr;
    const double* windowTable_ = nullptr;
    StageFn stage_ = &Synthesis::OutputStage<2, 16>;
};

}  // namespace plyvane
