// The arithmetic stages of Layer III against the formulas of ISO/IEC 11172-3
// in double precision: the hybrid synthesis (IMDCT, windows, overlap,
// frequency inversion) and the requantization's line scales.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "huffman_tables.h"
#include "layer3_huffman.h"
#include "layer3_imdct.h"
#include "layer3_requantize.h"
#include "layer3_tables.h"

namespace plyvane {
namespace {

constexpr double kPi = 3.14159265358979323846;

// The window of a block type (0 normal, 1 start, 3 stop) at output i.
double LongWindow(int type, int i) {
    const double longSine = std::sin((i + 0.5) * kPi / 36.0);
    if (type == 1) {
        if (i < 18) return longSine;
        if (i < 24) return 1.0;
        if (i < 30) return std::sin((i - 18 + 0.5) * kPi / 12.0);
        return 0.0;
    }
    if (type == 3) {
        if (i < 6) return 0.0;
        if (i < 12) return std::sin((i - 6 + 0.5) * kPi / 12.0);
        if (i < 18) return 1.0;
        return longSine;
    }
    return longSine;
}

// One subband's windowed IMDCT output (36 values).
void ReferenceImdct(const float* in, int type, double* out) {
    std::fill(out, out + 36, 0.0);
    if (type != 2) {
        for (int i = 0; i < 36; ++i) {
            double sum = 0.0;
            for (int k = 0; k < 18; ++k) sum += in[k] * std::cos(kPi / 72.0 * (2 * i + 19) * (2 * k + 1));
            out[i] = sum * LongWindow(type, i);
        }
        return;
    }
    for (int w = 0; w < 3; ++w) {
        for (int i = 0; i < 12; ++i) {
            double sum = 0.0;
            for (int k = 0; k < 6; ++k) sum += in[3 * k + w] * std::cos(kPi / 24.0 * (2 * i + 7) * (2 * k + 1));
            out[6 + 6 * w + i] += sum * std::sin((i + 0.5) * kPi / 12.0);
        }
    }
}

struct BlockCase {
    int blockType;
    bool mixed;
    int nonZeroLines;  // lines from there on are 0
};

class HybridSynthesisCase : public ::testing::TestWithParam<BlockCase> {};

// Two granules in a row (the second one overlaps the first), with some
// subbands left all zero to exercise the skipping of silent groups.
TEST_P(HybridSynthesisCase, MatchesTheStandardFormulas) {
    const BlockCase c = GetParam();
    GranuleChannelInfo gc;
    gc.window_switching_flag = c.blockType != 0;
    gc.block_type = c.blockType;
    gc.mixed_block_flag = c.mixed;
    std::mt19937 random(static_cast<unsigned>(c.blockType * 7 + c.mixed + c.nonZeroLines));
    std::uniform_real_distribution<float> value(-1.0f, 1.0f);

    SubbandSamples samples;
    samples.Clear();
    alignas(16) ImdctOverlap overlap = {};
    double referenceOverlap[32][18] = {};
    double worst = 0.0, largest = 0.0;
    for (int granule = 0; granule < 2; ++granule) {
        alignas(16) float xr[576] = {};
        for (int i = 0; i < c.nonZeroLines; ++i) xr[i] = value(random);
        for (int i = 90; i < 126; ++i) xr[i] = 0.0f;  // subbands 5 and 6 silent
        HybridSynthesis(gc, xr, overlap, samples, 1, 18 * granule);
        for (int sb = 0; sb < 32; ++sb) {
            double out[36];
            ReferenceImdct(xr + 18 * sb, c.mixed && sb < 2 ? 0 : c.blockType, out);
            for (int i = 0; i < 18; ++i) {
                double expected = out[i] + referenceOverlap[sb][i];
                if ((sb & 1) && (i & 1)) expected = -expected;
                referenceOverlap[sb][i] = out[18 + i];
                const double got = samples.Slot(1, 18 * granule + i)[sb];
                worst = std::max(worst, std::fabs(got - expected));
                largest = std::max(largest, std::fabs(expected));
                if (sb * 18 >= c.nonZeroLines && granule == 1) {
                    ASSERT_EQ(0.0, got) << "silent subband " << sb;
                }
            }
        }
    }
    for (int sb = 0; sb < 32; ++sb) {
        for (int i = 0; i < 18; ++i) worst = std::max(worst, std::fabs(overlap[i][sb] - referenceOverlap[sb][i]));
    }
    // Single precision throughout: a few units in the last place of the
    // largest values.
    EXPECT_LT(worst, 1e-5 * std::max(largest, 1.0)) << "largest " << largest;
    EXPECT_EQ(0.0f, samples.Slot(0, 18)[0]) << "the other channel is untouched";
}

INSTANTIATE_TEST_SUITE_P(BlockTypes, HybridSynthesisCase,
                         ::testing::Values(BlockCase{0, false, 576}, BlockCase{0, false, 200}, BlockCase{1, false, 576},
                                           BlockCase{3, false, 400}, BlockCase{2, false, 576},
                                           BlockCase{2, true, 576}, BlockCase{1, true, 300},
                                           BlockCase{3, true, 576}, BlockCase{0, false, 0}));

// The runs of line scales cover every line once, in order; a run never
// starts at an odd line, so a pair of Huffman values always shares a scale.
TEST(Layer3LineScales, RunsCoverTheGranuleAndNeverSplitAPair) {
    for (int id = 0; id < 2; ++id) {
        for (int rate = 0; rate < 3; ++rate) {
            const ScaleFactorBands& bands = kScaleFactorBands[id][rate];
            for (int kind = 0; kind < 3; ++kind) {  // long, short, mixed
                GranuleChannelInfo gc;
                gc.global_gain = 210;
                gc.window_switching_flag = kind != 0;
                gc.block_type = kind != 0 ? 2 : 0;
                gc.mixed_block_flag = kind == 2;
                gc.subblock_gain[1] = 1;
                ScaleFactors sf;
                for (int b = 0; b < 21; ++b) sf.l[b] = b % 4;
                for (int w = 0; w < 3; ++w)
                    for (int b = 0; b < 12; ++b) sf.s[w][b] = b % 3;
                LineScales scales;
                ComputeLineScales(gc, sf, bands, scales);
                ASSERT_GT(scales.count, 0);
                ASSERT_LE(scales.count, LineScales::kMaxRuns);
                EXPECT_EQ(576, scales.end[scales.count - 1]) << id << rate << kind;
                int start = 0;
                for (int r = 0; r < scales.count; ++r) {
                    EXPECT_GT(scales.end[r], start) << id << rate << kind << " run " << r;
                    EXPECT_EQ(0, start % 2) << id << rate << kind << " run " << r;
                    start = scales.end[r];
                }
                // Short windows: the second window carries its subblock gain.
                if (kind == 1) {
                    const float first = scales.scale[0], second = scales.scale[1];
                    EXPECT_FLOAT_EQ(first / 4.0f, second) << "2^(-2 x subblock_gain) at the same scale factor";
                }
            }
        }
    }
}

// big_values 288 with the second region reaching line 576 leaves the third
// region empty at the end of the granule, where no run of scales is: the
// decoding must not look for one (it read past the runs, found by the
// fuzzer).
TEST(Layer3LineScales, AnEmptyLastRegionLooksUpNoScale) {
    LoadHuffmanTables();
    BitstreamBuffer reservoir(4096, 0);
    std::vector<uint8_t> noise(2000);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i * 41 + 3);
    reservoir.Append(noise.data(), static_cast<int>(noise.size()));
    GranuleChannelInfo gc;
    gc.global_gain = 150;
    gc.big_values = 288;
    gc.region0_count = 7;
    gc.region1_count = 13;  // region 2 starts at the last long boundary, 576
    gc.table_select[0] = 1;
    gc.table_select[1] = 24;
    gc.table_select[2] = 15;
    gc.part2_3_length = 4095;
    LineScales scales;
    ComputeLineScales(gc, ScaleFactors{}, kScaleFactorBands[1][0], scales);
    // Runs beyond the last one would send a search for line 576 further on.
    for (int r = scales.count; r < LineScales::kMaxRuns; ++r) scales.end[r] = 0;
    alignas(16) float xr[576];
    const int end = DecodeSpectrum(reservoir, gc, kScaleFactorBands[1][0], 4095, scales, xr);
    EXPECT_LE(end, 576);
    EXPECT_EQ(4095, BitPosition(reservoir));
    for (float value : xr) ASSERT_TRUE(std::isfinite(value));
}

}  // namespace
}  // namespace plyvane
