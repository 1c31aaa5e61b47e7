// Layer III dequantization (ISO/IEC 11172-3 2.4.3.4.7): |is|^(4/3) scaled by
// the global gain, subblock gains and scale factors.
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

// Fills xr[0..575] from the Huffman values is[]; lines from nonZero on are 0.
void Requantize(const int* is, int nonZero, const GranuleChannelInfo& gc, const ScaleFactors& sf,
                const ScaleFactorBands& bands, float* xr);

}  // namespace plyvane
