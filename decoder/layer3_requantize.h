// Layer III dequantization (ISO/IEC 11172-3 2.4.3.4.7): |is|^(4/3) scaled by
// the global gain, subblock gains and scale factors.
#pragma once

#include "layer3_scale_factors.h"
#include "layer3_side_info.h"
#include "layer3_tables.h"

namespace plyvane {

// The power tables, built once per process.
struct RequantizeTables {
    static const RequantizeTables& Get();
    float pow43[512];      // x^(4/3)
    float gain[256];       // 2^((g - 210) / 4)
    float scale[130];      // 2^((k - 64) / 2)
private:
    RequantizeTables();
};

// |value|^(4/3): from the table up to 511, above it as table[|v| / w] x
// table[w] with w = |v| / 512 + 1.
float PowerFourThirds(int magnitude);

// Fills xr[0..575] from the Huffman values is[]; lines from nonZero on are 0.
void Requantize(const int* is, int nonZero, const GranuleChannelInfo& gc, const ScaleFactors& sf,
                const ScaleFactorBands& bands, float* xr);

}  // namespace plyvane
