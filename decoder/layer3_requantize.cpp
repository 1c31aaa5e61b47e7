#include "layer3_requantize.h"

#include <cmath>

namespace plyvane {

RequantizeTables::RequantizeTables() {
    for (int x = 0; x <= kMaxMagnitude; ++x) pow43[x] = static_cast<float>(std::pow(static_cast<double>(x), 4.0 / 3.0));
    for (int g = 0; g < 256; ++g) gain[g] = static_cast<float>(std::pow(2.0, (g - 210) / 4.0));
    for (int k = 0; k < 130; ++k) scale[k] = static_cast<float>(std::pow(2.0, (k - 64) / 2.0));
}

const RequantizeTables& RequantizeTables::Get() {
    static const RequantizeTables tables;
    return tables;
}

namespace {

// Appends a run up to line end; a run that would end where the last one
// does is left out.
void AddRun(LineScales& scales, int end, float scale) {
    if (scales.count > 0 && end <= scales.end[scales.count - 1]) return;
    scales.end[scales.count] = end;
    scales.scale[scales.count] = scale;
    ++scales.count;
}

}  // namespace

void ComputeLineScales(const GranuleChannelInfo& gc, const ScaleFactors& sf, const ScaleFactorBands& bands,
                       LineScales& scales) {
    const RequantizeTables& t = RequantizeTables::Get();
    const float globalGain = t.gain[gc.global_gain & 255];
    const int m = gc.scalefac_scale ? 2 : 1;
    scales.count = 0;
    if (!gc.ShortBlocks() || gc.mixed_block_flag) {
        // Long bands; in a mixed block only those below line 36.
        const int longEnd = gc.ShortBlocks() ? 36 : 576;
        for (int band = 0; band < 22 && bands.l[band] < longEnd; ++band) {
            const int end = bands.l[band + 1] < longEnd ? bands.l[band + 1] : longEnd;
            const int k = (64 - m * (sf.l[band] + gc.preflag * kPretab[band])) & 127;
            AddRun(scales, end, globalGain * t.scale[k]);
        }
    }
    if (gc.ShortBlocks()) {
        for (int band = gc.mixed_block_flag ? 3 : 0; band < 13; ++band) {
            const int width = bands.s[band + 1] - bands.s[band];
            for (int w = 0; w < 3; ++w) {
                const int k = (64 - 4 * gc.subblock_gain[w] - m * sf.s[w][band]) & 127;
                AddRun(scales, 3 * bands.s[band] + (w + 1) * width, globalGain * t.scale[k]);
            }
        }
    }
}

}  // namespace plyvane
