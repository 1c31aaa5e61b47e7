// Layer III dequantization (ISO/IEC 11172-3 2.4.3.4.7): |is|^(4/3) scaled by
// the global gain, subblock gains and scale factors. The Huffman decoding
// (layer3_huffman.h) applies it to each value as it decodes it.
#pragma once

#include "layer3_scale_factors.h"
#include "layer3_side_info.h"
#include "layer3_tables.h"

namespace plyvane {

// The largest Huffman magnitude: 15 plus 13 linbits.
constexpr int kMaxMagnitude = 15 + 8191;

// The power tables, built once per process.
struct RequantizeTables {
    static const RequantizeTables& Get();
    // x^(4/3) for every magnitude a code can give. (Values above 511 as a
    // product of two entries of a 512-value table lose up to 2.6 dB SNR on
    // streams that use linbits heavily.)
    float pow43[kMaxMagnitude + 1];
    float gain[256];       // 2^((g - 210) / 4)
    float scale[130];      // 2^((k - 64) / 2)
private:
    RequantizeTables();
};

// The multiplier G x 2^((k - 64) / 2) of each line of a granule and channel,
// as runs of lines that share one: a long band, or one window of a short
// band (in the order the Huffman data delivers the lines).
struct LineScales {
    static constexpr int kMaxRuns = 40;
    int count = 0;
    int end[kMaxRuns];       // run r covers lines end[r - 1] (0 for r = 0) to end[r] - 1
    float scale[kMaxRuns];
};

// The runs of one granule and channel; the last ends at line 576.
void ComputeLineScales(const GranuleChannelInfo& gc, const ScaleFactors& sf, const ScaleFactorBands& bands,
                       LineScales& scales);

}  // namespace plyvane
