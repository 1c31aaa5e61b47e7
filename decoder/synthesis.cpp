#include "synthesis.h"

#include <cstring>

#include "synthesis_tables.h"

namespace plyvane {
namespace {

// Accumulating on top of 1.5 x 2^23, where floats are spaced 1.0 apart,
// rounds every partial sum to an integer and leaves the 16-bit sample in the
// low half of the bit pattern.
constexpr float kRoundingBase = 12582912.0f;
constexpr int32_t kPatternMax = 0x4B408000;  // base + 32768
constexpr int32_t kPatternMin = 0x4B3F8000;  // base - 32768

int32_t PatternOf(float value) {
    int32_t pattern;
    std::memcpy(&pattern, &value, sizeof pattern);
    return pattern;
}

// out[n] = sum over i of x[i] * factors[i][n], each sum taken in the order
// of i; the outputs are independent, so they are computed side by side.
template <int kTerms, int kOutputs>
void DotProducts(const float* x, const float (*factors)[kOutputs], float* out) {
    float sum[kOutputs] = {};
    for (int i = 0; i < kTerms; ++i) {
        for (int n = 0; n < kOutputs; ++n) sum[n] += x[i] * factors[i][n];
    }
    for (int n = 0; n < kOutputs; ++n) out[n] = sum[n];
}

// sum[j] += d[j] * x[j], the product exact in double.
void AddProducts(double* __restrict sum, const float* __restrict d, const float* __restrict x) {
    for (int j = 0; j < 32; ++j) sum[j] += static_cast<double>(d[j]) * static_cast<double>(x[j]);
}

}  // namespace

// Signed comparison, so that a negative accumulator (possible only with
// damaged input) clips low rather than high.
int16_t Synthesis::ToPcm16(float accumulator) {
    int32_t b = PatternOf(accumulator);
    if (b >= kPatternMax) return 32767;
    if (b < kPatternMin) return -32768;
    return static_cast<int16_t>(static_cast<uint16_t>(b & 0xFFFF));
}

uint8_t Synthesis::ToPcm8(float accumulator) {
    int32_t b = PatternOf(accumulator);
    uint8_t high;
    if (b >= kPatternMax) {
        high = 0x7F;
    } else if (b < kPatternMin) {
        high = 0x80;
    } else {
        high = static_cast<uint8_t>((b >> 8) & 0xFF);
    }
    return static_cast<uint8_t>(high + 0x80);
}

void Synthesis::WindowRows(int quality, int& firstRow, int& lastRow) {
    switch (quality) {
        case 1: firstRow = 1; lastRow = 6; break;
        case 2: firstRow = 2; lastRow = 5; break;
        case 3: firstRow = 3; lastRow = 4; break;
        default: firstRow = 1; lastRow = 0; break;  // no rows: silence
    }
}

void Synthesis::Reset() {
    std::memset(history_, 0, sizeof history_);
    ringIndex_ = 0;
}

void Synthesis::Configure(const OutputFormat& format) {
    SynthesisTables::Get();
    divisor_ = format.divisor;
    WindowRows(format.quality, firstRow_, lastRow_);
    if (format.channels == 1) {
        stage_ = format.bitsPerSample == 8 ? &Synthesis::OutputStage<1, 8> : &Synthesis::OutputStage<1, 16>;
    } else {
        stage_ = format.bitsPerSample == 8 ? &Synthesis::OutputStage<2, 8> : &Synthesis::OutputStage<2, 16>;
    }
}

// V[k] = sum over i of S[i] cos((16 + k)(2i + 1) pi/64), k = 0..63, computed
// as 32 short dot products over sums and differences of mirrored inputs; the
// other 32 values follow by symmetry.
void Synthesis::Matrix(const float* s, float* v) {
    const SynthesisTables& t = SynthesisTables::Get();
    float a[16], d[16], b[8], c[8];
    for (int i = 0; i < 16; ++i) {
        a[i] = s[i] + s[31 - i];
        d[i] = s[i] - s[31 - i];
    }
    for (int i = 0; i < 8; ++i) {
        b[i] = a[i] + a[15 - i];
        c[i] = a[i] - a[15 - i];
    }
    float fromB[8], fromC[8], fromD[16];
    DotProducts<8, 8>(b, t.evenEven, fromB);
    DotProducts<8, 8>(c, t.evenOdd, fromC);
    DotProducts<16, 16>(d, t.odd, fromD);
    for (int n = 0; n < 4; ++n) {
        v[4 * n] = fromB[n];
        v[36 + 4 * n] = fromB[n + 4];
        v[2 + 4 * n] = fromC[n];
        v[34 + 4 * n] = fromC[n + 4];
    }
    for (int n = 0; n < 8; ++n) {
        v[1 + 2 * n] = fromD[n];
        v[33 + 2 * n] = fromD[n + 8];
    }
    v[16] = 0.0f;
    for (int k = 0; k < 16; ++k) v[32 - k] = -v[k];
    for (int k = 33; k < 48; ++k) v[96 - k] = v[k];
}

template <int kBits>
void Synthesis::WindowChannel(int channel, uint8_t* out, int step) {
    const float* window = SynthesisTables::Get().window;
    const float* v = &history_[channel][ringIndex_];
    float accumulator[32];
    for (float& value : accumulator) value = kRoundingBase;
    for (int row = firstRow_; row < lastRow_; row += 2) {
        // One rounding per row pair: the accumulator and the four products
        // are summed in double, left to right, then rounded to float.
        const float* d = window + 64 * row;
        const float* x = v + 128 * row;
        double sum[32];
        for (int j = 0; j < 32; ++j) sum[j] = accumulator[j];
        AddProducts(sum, d, x);
        AddProducts(sum, d + 32, x + 96);
        AddProducts(sum, d + 64, x + 128);
        AddProducts(sum, d + 96, x + 224);
        for (int j = 0; j < 32; ++j) accumulator[j] = static_cast<float>(sum[j]);
    }
    for (int j = 0; j < 32; j += divisor_) {
        if (kBits == 16) {
            int16_t sample = ToPcm16(accumulator[j]);
            uint16_t bits = static_cast<uint16_t>(sample);
            out[0] = static_cast<uint8_t>(bits & 0xFF);
            out[1] = static_cast<uint8_t>(bits >> 8);
        } else {
            out[0] = ToPcm8(accumulator[j]);
        }
        out += step;
    }
}

template <int kOutputChannels, int kBits>
uint32_t Synthesis::OutputStage(uint8_t* out) {
    constexpr int kSampleSize = kBits / 8;
    constexpr int kStep = kOutputChannels * kSampleSize;
    for (int channel = 0; channel < kOutputChannels; ++channel) {
        WindowChannel<kBits>(channel, out + channel * kSampleSize, kStep);
    }
    return static_cast<uint32_t>(32 / divisor_ * kStep);
}

uint32_t Synthesis::SynthesizeFrame(const SubbandSamples& samples, int streamChannels, uint8_t* out) {
    uint32_t written = 0;
    for (int slot = 0; slot < SubbandSamples::kSlots; ++slot) {
        ringIndex_ = (ringIndex_ - 64) & 1023;
        for (int channel = 0; channel < streamChannels; ++channel) {
            float* v = &history_[channel][ringIndex_];
            Matrix(samples.Slot(channel, slot), v);
            std::memcpy(v + 1024, v, 64 * sizeof(float));
        }
        written += (this->*stage_)(out + written);
    }
    return written;
}

}  // namespace plyvane
