#include "layer3_requantize.h"

#include <cmath>
#include <cstring>

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

// Requantizes lines [begin, end) with one multiplier.
inline void ScaleLines(const int* is, int begin, int end, float multiplier, const float* pow43, float* xr) {
    for (int i = begin; i < end; ++i) {
        const int v = is[i];
        if (v == 0) {
            xr[i] = 0.0f;
            continue;
        }
        int magnitude = v < 0 ? -v : v;
        if (magnitude > kMaxMagnitude) magnitude = kMaxMagnitude;
        const float m = pow43[magnitude] * multiplier;
        xr[i] = v < 0 ? -m : m;
    }
}

}  // namespace

void Requantize(const int* is, int nonZero, const GranuleChannelInfo& gc, const ScaleFactors& sf,
                const ScaleFactorBands& bands, float* xr) {
    const RequantizeTables& t = RequantizeTables::Get();
    const float globalGain = t.gain[gc.global_gain & 255];
    const int m = gc.scalefac_scale ? 2 : 1;

    int line = 0;
    if (!gc.ShortBlocks() || gc.mixed_block_flag) {
        // Long bands; in a mixed block only those below line 36.
        const int longEnd = gc.ShortBlocks() ? 36 : 576;
        for (int band = 0; band < 22 && line < longEnd && line < nonZero; ++band) {
            int end = bands.l[band + 1];
            if (end > longEnd) end = longEnd;
            const int k = (64 - m * (sf.l[band] + gc.preflag * kPretab[band])) & 127;
            const int stop = end < nonZero ? end : nonZero;
            ScaleLines(is, line, stop, globalGain * t.scale[k], t.pow43, xr);
            line = end;
        }
    }
    if (gc.ShortBlocks()) {
        const int firstBand = gc.mixed_block_flag ? 3 : 0;
        line = 3 * bands.s[firstBand];
        for (int band = firstBand; band < 13 && line < nonZero; ++band) {
            const int width = bands.s[band + 1] - bands.s[band];
            for (int w = 0; w < 3; ++w) {
                const int k = (64 - 4 * gc.subblock_gain[w] - m * sf.s[w][band]) & 127;
                const int end = line + width;
                const int stop = end < nonZero ? end : nonZero;
                if (line < stop) ScaleLines(is, line, stop, globalGain * t.scale[k], t.pow43, xr);
                line = end;
            }
        }
    }
    // Every line below nonZero was written above.
    if (nonZero < 576) std::memset(xr + nonZero, 0, sizeof(float) * static_cast<size_t>(576 - nonZero));
}

}  // namespace plyvane
