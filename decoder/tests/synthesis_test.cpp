#include "synthesis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "simd.h"
#include "synthesis_tables.h"
#include "synthesis_window.h"
#include "synthesis_windowing_avx.h"

namespace plyvane {
namespace {

constexpr double kPi = 3.14159265358979323846;

OutputFormat Format(int channels, int bits, int divisor = 1, int quality = 1) {
    OutputFormat format;
    format.divisor = divisor;
    format.quality = quality;
    format.channels = static_cast<uint16_t>(channels);
    format.bitsPerSample = static_cast<uint16_t>(bits);
    format.bytesPerSample = static_cast<uint16_t>(bits / 8);
    return format;
}

// Runs frames of subband samples through a fresh filterbank.
std::vector<uint8_t> Synthesize(const std::vector<SubbandSamples>& frames, int streamChannels, OutputFormat format) {
    auto synthesis = std::make_unique<Synthesis>();
    synthesis->Reset();
    synthesis->Configure(format);
    std::vector<uint8_t> pcm;
    std::vector<uint8_t> block(1152 * 4);
    for (const SubbandSamples& frame : frames) {
        uint32_t written = synthesis->SynthesizeFrame(frame, streamChannels, block.data());
        pcm.insert(pcm.end(), block.begin(), block.begin() + written);
    }
    return pcm;
}

std::vector<int16_t> AsPcm16(const std::vector<uint8_t>& bytes) {
    std::vector<int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    }
    return samples;
}

std::vector<SubbandSamples> RandomFrames(int count, float amplitude, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> value(-amplitude, amplitude);
    std::vector<SubbandSamples> frames(static_cast<size_t>(count));
    for (SubbandSamples& frame : frames) {
        for (auto& channel : frame.value) {
            for (float& sample : channel) sample = 0.0f;
            for (int i = 0; i < 1152; ++i) channel[i] = value(random) / static_cast<float>(1 + i % 32);
        }
    }
    return frames;
}

// The filterbank of ISO/IEC 11172-3 in double precision, summing the window
// rows that the quality level keeps.
std::vector<double> ReferenceSynthesis(const std::vector<SubbandSamples>& frames, int channel, int quality) {
    // Quality q keeps the central rows q..7-q of the window (0: all eight).
    const int firstRow = quality, lastRow = 7 - quality;
    std::vector<double> v(1024, 0.0), out;
    for (const SubbandSamples& frame : frames) {
        for (int slot = 0; slot < 36; ++slot) {
            std::memmove(&v[64], &v[0], 960 * sizeof(double));
            const float* s = frame.Slot(channel, slot);
            for (int k = 0; k < 64; ++k) {
                double sum = 0.0;
                for (int i = 0; i < 32; ++i) sum += s[i] * std::cos((16 + k) * (2 * i + 1) * kPi / 64);
                v[static_cast<size_t>(k)] = sum;
            }
            for (int j = 0; j < 32; ++j) {
                double sum = 0.0;
                for (int row = firstRow; row <= lastRow; ++row) {
                    sum += kSynthesisWindowInt[64 * row + j] * 0.5 * v[static_cast<size_t>(128 * row + j)];
                    sum += kSynthesisWindowInt[64 * row + 32 + j] * 0.5 * v[static_cast<size_t>(128 * row + 96 + j)];
                }
                out.push_back(sum);
            }
        }
    }
    return out;
}

TEST(Synthesis, MatchesTheStandardFilterbankAtEveryQuality) {
    const std::vector<SubbandSamples> frames = RandomFrames(3, 0.2f, 7);
    for (int quality = 0; quality <= 3; ++quality) {
        std::vector<int16_t> ours = AsPcm16(Synthesize(frames, 2, Format(2, 16, 1, quality)));
        for (int channel = 0; channel < 2; ++channel) {
            std::vector<double> reference = ReferenceSynthesis(frames, channel, quality);
            double worst = 0.0;
            for (size_t i = 0; i < reference.size(); ++i) {
                worst = std::max(worst, std::fabs(ours[2 * i + static_cast<size_t>(channel)] - reference[i]));
            }
            // Every row pair rounds to an integer once; quality 0 rounds
            // each sample once.
            const double roundings = quality == 1 ? 3 : quality == 2 ? 2 : 1;
            EXPECT_LE(worst, 0.5 * roundings + 0.01) << "quality " << quality << " channel " << channel;
        }
    }
}

// The AVX windowing (where the processor has it) gives exactly the samples
// of the SSE2 one, at every quality level.
TEST(Synthesis, TheAvxWindowingGivesTheSameSamples) {
    if (!AvxWindowingAvailable()) GTEST_SKIP() << "no AVX windowing on this processor or build";
    std::mt19937 random(5);
    std::uniform_real_distribution<float> value(-2.0f, 2.0f);
    alignas(32) double history[1024];
    for (double& v : history) v = value(random);  // single-precision values, as the matrixing stores them
    const double* window = SynthesisTables::Get().window;
    for (int quality = 0; quality <= 3; ++quality) {
        int16_t avx[32], portable[32];
        AvxWindowFunctionFor(quality)(history, window, avx);
        PortableWindowFunctionFor(quality)(history, window, portable);
        for (int j = 0; j < 32; ++j) ASSERT_EQ(portable[j], avx[j]) << "quality " << quality << " sample " << j;
    }
}

TEST(Synthesis, RoundsToNearestEvenAndClipsInsteadOfWrapping) {
    struct Case {
        double sum;
        int16_t sample;
    } const cases[] = {{32767.0, 32767},   {32767.4, 32767},  {32768.0, 32767},  {-32768.0, -32768},
                       {-32769.0, -32768}, {1.0e12, 32767},   {-1.0e12, -32768}, {2.5, 2},
                       {3.5, 4},           {-2.5, -2},        {0.49, 0},         {-0.51, -1},
                       {INFINITY, 32767},  {-INFINITY, -32768}, {100.0, 100},     {-0.0, 0}};
    alignas(16) double sums[16];
    int16_t samples[16];
    for (int i = 0; i < 16; ++i) sums[i] = cases[i].sum;
    simd::RoundToInt16(sums, samples, 16);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(cases[i].sample, samples[i]) << cases[i].sum;
}

TEST(Synthesis, ClipsInsteadOfWrappingAtEveryQuality) {
    std::vector<SubbandSamples> loud(2);
    for (SubbandSamples& frame : loud) {
        frame.Clear();
        for (int slot = 0; slot < 36; ++slot) frame.Slot(0, slot)[0] = slot % 2 ? 8.0f : -8.0f;
    }
    for (int quality = 0; quality <= 3; ++quality) {
        std::vector<int16_t> pcm = AsPcm16(Synthesize(loud, 1, Format(1, 16, 1, quality)));
        int clippedHigh = 0, clippedLow = 0;
        for (int16_t sample : pcm) {
            clippedHigh += sample == 32767;
            clippedLow += sample == -32768;
        }
        EXPECT_GT(clippedHigh, 100) << "quality " << quality;
        EXPECT_GT(clippedLow, 100) << "quality " << quality;
        int eightHigh = 0, eightLow = 0;
        for (uint8_t sample : Synthesize(loud, 1, Format(1, 8, 1, quality))) {
            eightHigh += sample == 0xFF;
            eightLow += sample == 0x00;
        }
        EXPECT_EQ(clippedHigh, eightHigh) << "quality " << quality;
        EXPECT_EQ(clippedLow, eightLow) << "quality " << quality;
    }
}

TEST(Synthesis, SilenceInGivesExactSilenceOut) {
    std::vector<SubbandSamples> silent(2);
    for (SubbandSamples& frame : silent) frame.Clear();
    for (uint8_t byte : Synthesize(silent, 2, Format(2, 16))) ASSERT_EQ(0, byte);
    for (uint8_t byte : Synthesize(silent, 2, Format(2, 8))) ASSERT_EQ(0x80, byte);
}

TEST(Synthesis, AQualityOutsideZeroToThreeSumsNoRows) {
    const std::vector<SubbandSamples> frames = RandomFrames(1, 0.5f, 3);
    for (uint8_t byte : Synthesize(frames, 2, Format(2, 16, 1, 4))) ASSERT_EQ(0, byte);
    for (uint8_t byte : Synthesize(frames, 2, Format(2, 8, 1, -1))) ASSERT_EQ(0x80, byte);
}

TEST(Synthesis, EveryOutputFormatIsTheFullRateStereoOutputReduced) {
    const std::vector<SubbandSamples> frames = RandomFrames(2, 0.3f, 11);
    const std::vector<int16_t> full = AsPcm16(Synthesize(frames, 2, Format(2, 16)));
    ASSERT_EQ(2u * 2 * 1152, full.size());

    for (int divisor : {2, 4}) {
        std::vector<uint8_t> bytes = Synthesize(frames, 2, Format(2, 16, divisor));
        ASSERT_EQ(full.size() * 2 / static_cast<size_t>(divisor), bytes.size());
        std::vector<int16_t> reduced = AsPcm16(bytes);
        for (size_t frame = 0; frame < reduced.size() / 2; ++frame) {
            ASSERT_EQ(full[2 * frame * static_cast<size_t>(divisor)], reduced[2 * frame]) << "divisor " << divisor;
            ASSERT_EQ(full[2 * frame * static_cast<size_t>(divisor) + 1], reduced[2 * frame + 1]);
        }
    }

    // One output channel is the first channel, not a mix.
    std::vector<int16_t> mono = AsPcm16(Synthesize(frames, 2, Format(1, 16)));
    ASSERT_EQ(full.size() / 2, mono.size());
    for (size_t i = 0; i < mono.size(); ++i) ASSERT_EQ(full[2 * i], mono[i]);

    // 8-bit samples are the upper byte of the 16-bit ones, offset to unsigned.
    std::vector<uint8_t> eight = Synthesize(frames, 2, Format(2, 8));
    ASSERT_EQ(full.size(), eight.size());
    for (size_t i = 0; i < eight.size(); ++i) {
        ASSERT_EQ(static_cast<uint8_t>((full[i] >> 8) + 0x80), eight[i]);
    }
}

}  // namespace
}  // namespace plyvane
