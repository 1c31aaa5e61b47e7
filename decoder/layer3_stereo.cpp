#include "layer3_stereo.h"

#include <cmath>
#include <cstring>

namespace plyvane {
namespace {

// The factor by which middle and side are added to and subtracted from each
// other: 1/sqrt(2).
constexpr float kMiddleSide = 0.7071068f;
constexpr int kPositions = 32;
// MPEG-1 positions are 0..6; 7 marks a band without intensity coding.
constexpr int kMpeg1IllegalPosition = 7;

struct IntensityTables {
    float mpeg1[7][2];
    float mpeg2[2][kPositions][2];  // [intensity_scale][position][left, right]

    IntensityTables() {
        const double pi = 3.14159265358979323846;
        for (int p = 0; p < 7; ++p) {
            if (p == 6) {
                // tan(pi/2): everything goes to the first channel.
                mpeg1[p][0] = 1.0f;
                mpeg1[p][1] = 0.0f;
                continue;
            }
            const double t = std::tan(p * pi / 12.0);
            mpeg1[p][0] = static_cast<float>(t / (1.0 + t));
            mpeg1[p][1] = static_cast<float>(1.0 / (1.0 + t));
        }
        for (int scale = 0; scale < 2; ++scale) {
            const double io = scale ? std::pow(2.0, -0.5) : std::pow(2.0, -0.25);
            for (int p = 0; p < kPositions; ++p) {
                double left = 1.0, right = 1.0;
                if (p % 2 == 1) left = std::pow(io, (p + 1) / 2);
                else if (p > 0) right = std::pow(io, p / 2);
                mpeg2[scale][p][0] = static_cast<float>(left);
                mpeg2[scale][p][1] = static_cast<float>(right);
            }
        }
    }

    static const IntensityTables& Get() {
        static const IntensityTables tables;
        return tables;
    }
};

struct IntensityContext {
    bool mpeg1;
    int scale;
    float (*xr)[576];
    uint8_t* marked;
};

// Applies intensity stereo to lines [begin, end) for one position, unless the
// position marks the band as not intensity coded.
void ApplyIntensity(const IntensityContext& c, int begin, int end, int position, int illegal) {
    if (position == illegal || position < 0) return;
    float left, right;
    if (c.mpeg1) {
        if (position >= kMpeg1IllegalPosition) return;  // damaged: no intensity
        left = IntensityTables::Get().mpeg1[position][0];
        right = IntensityTables::Get().mpeg1[position][1];
    } else {
        if (position >= kPositions) return;
        left = IntensityTables::Get().mpeg2[c.scale][position][0];
        right = IntensityTables::Get().mpeg2[c.scale][position][1];
    }
    for (int i = begin; i < end; ++i) {
        const float value = c.xr[0][i];
        c.xr[0][i] = value * left;
        c.xr[1][i] = value * right;
        c.marked[i] = 1;
    }
}

bool AnyNonZero(const float* values, int begin, int end) {
    for (int i = begin; i < end; ++i) {
        if (values[i] != 0.0f) return true;
    }
    return false;
}

// Long bands from the first one above the second channel's last non-zero
// line up to (not including) the line limit.
void IntensityLongBands(const IntensityContext& c, const ScaleFactors& sf, const ScaleFactorBands& bands,
                        int lineLimit) {
    int last = lineLimit - 1;
    while (last >= 0 && c.xr[1][last] == 0.0f) --last;
    int band = 0;
    while (band < 22 && bands.l[band + 1] <= last) ++band;
    if (last >= 0) ++band;  // the band holding the last non-zero line keeps its values
    for (; band < 22 && bands.l[band] < lineLimit; ++band) {
        const int source = band < 21 ? band : 20;
        const int illegal = c.mpeg1 ? kMpeg1IllegalPosition : sf.illegalLong[source];
        int end = bands.l[band + 1];
        if (end > lineLimit) end = lineLimit;
        ApplyIntensity(c, bands.l[band], end, sf.l[source], illegal);
    }
}

void IntensityShortBands(const IntensityContext& c, const ScaleFactors& sf, const ScaleFactorBands& bands,
                         int firstBand) {
    for (int w = 0; w < 3; ++w) {
        int start = firstBand;
        for (int band = 12; band >= firstBand; --band) {
            const int width = bands.s[band + 1] - bands.s[band];
            const int begin = 3 * bands.s[band] + w * width;
            if (AnyNonZero(c.xr[1], begin, begin + width)) {
                start = band + 1;
                break;
            }
        }
        for (int band = start; band < 13; ++band) {
            const int width = bands.s[band + 1] - bands.s[band];
            const int begin = 3 * bands.s[band] + w * width;
            const int source = band < 12 ? band : 11;
            const int illegal = c.mpeg1 ? kMpeg1IllegalPosition : sf.illegalShort[source];
            ApplyIntensity(c, begin, begin + width, sf.s[w][source], illegal);
        }
    }
}

}  // namespace

void IntensityFactors(bool mpeg1, int intensityScale, int position, float& left, float& right) {
    const IntensityTables& t = IntensityTables::Get();
    if (mpeg1) {
        left = t.mpeg1[position][0];
        right = t.mpeg1[position][1];
    } else {
        left = t.mpeg2[intensityScale & 1][position][0];
        right = t.mpeg2[intensityScale & 1][position][1];
    }
}

void ProcessJointStereo(float (&xr)[2][576], int modeExtension, bool mpeg1, const GranuleChannelInfo& right,
                        const ScaleFactors& rightScaleFactors, int intensityScale, const ScaleFactorBands& bands,
                        int& nonZero) {
    uint8_t marked[576];
    const bool intensity = (modeExtension & 1) != 0;
    const bool middleSide = (modeExtension & 2) != 0;
    if (intensity) {
        std::memset(marked, 0, sizeof marked);
        IntensityContext c{mpeg1, intensityScale & 1, xr, marked};
        if (!right.ShortBlocks()) {
            IntensityLongBands(c, rightScaleFactors, bands, 576);
        } else if (!right.mixed_block_flag) {
            IntensityShortBands(c, rightScaleFactors, bands, 0);
        } else {
            // Mixed: the long part takes part only when no short window of
            // the second channel holds a non-zero value.
            if (!AnyNonZero(xr[1], 36, 576)) IntensityLongBands(c, rightScaleFactors, bands, 36);
            IntensityShortBands(c, rightScaleFactors, bands, 3);
        }
        // Intensity fills the second channel wherever the first has values.
        nonZero = 576;
    }
    if (middleSide && !intensity) {
        // Without intensity lines in between: a loop the compiler vectorizes.
        float* first = xr[0];
        float* second = xr[1];
        for (int i = 0; i < nonZero; ++i) {
            const float middle = first[i];
            const float side = second[i];
            first[i] = (middle + side) * kMiddleSide;
            second[i] = (middle - side) * kMiddleSide;
        }
    } else if (middleSide) {
        for (int i = 0; i < nonZero; ++i) {
            if (marked[i]) continue;
            const float middle = xr[0][i];
            const float side = xr[1][i];
            xr[0][i] = (middle + side) * kMiddleSide;
            xr[1][i] = (middle - side) * kMiddleSide;
        }
    }
}

}  // namespace plyvane
