#include "layer3_reorder_antialias.h"

#include <cmath>
#include <cstring>

#include "simd.h"

namespace plyvane {
namespace {

using simd::Float4;

struct AntialiasTables {
    alignas(16) float cs[8];
    alignas(16) float ca[8];

    AntialiasTables() {
        for (int i = 0; i < 8; ++i) {
            const double root = std::sqrt(1.0 + kAntialiasC[i] * kAntialiasC[i]);
            cs[i] = static_cast<float>(1.0 / root);
            ca[i] = static_cast<float>(kAntialiasC[i] / root);
        }
    }

    static const AntialiasTables& Get() {
        static const AntialiasTables tables;
        return tables;
    }
};

}  // namespace

void ReorderShortBlocks(const GranuleChannelInfo& gc, const ScaleFactorBands& bands, float* xr) {
    if (!gc.ShortBlocks()) return;
    float reordered[576];
    const int firstBand = gc.mixed_block_flag ? 3 : 0;
    const int start = 3 * bands.s[firstBand];
    for (int band = firstBand; band < 13; ++band) {
        const int width = bands.s[band + 1] - bands.s[band];
        const int base = 3 * bands.s[band];
        for (int w = 0; w < 3; ++w) {
            const float* from = xr + base + w * width;
            for (int j = 0; j < width; ++j) reordered[base + 3 * j + w] = from[j];
        }
    }
    std::memcpy(xr + start, reordered + start, sizeof(float) * static_cast<size_t>(576 - start));
}

void ReduceAliasing(const GranuleChannelInfo& gc, int subbandLimit, float* xr) {
    int boundaries;
    if (gc.ShortBlocks()) {
        boundaries = gc.mixed_block_flag ? 1 : 0;
    } else {
        // Values of subband n - 1 spread into subband n.
        boundaries = subbandLimit < 31 ? subbandLimit : 31;
    }
    const AntialiasTables& t = AntialiasTables::Get();
    // The butterflies of a boundary, four at a time: lines 17 - i of the
    // lower subband (read backwards) with lines i of the upper one.
    for (int sb = 0; sb < boundaries; ++sb) {
        float* boundary = xr + 18 * (sb + 1);
        for (int i = 0; i < 8; i += 4) {
            const Float4 u = Float4::LoadUnaligned(boundary - 4 - i).Reversed();
            const Float4 d = Float4::LoadUnaligned(boundary + i);
            const Float4 cs = Float4::Load(t.cs + i);
            const Float4 ca = Float4::Load(t.ca + i);
            (u * cs - d * ca).Reversed().StoreUnaligned(boundary - 4 - i);
            (d * cs + u * ca).StoreUnaligned(boundary + i);
        }
    }
}

}  // namespace plyvane
