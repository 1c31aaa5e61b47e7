#include "synthesis.h"

#include <cstring>

#include "simd.h"
#include "synthesis_dct.h"
#include "synthesis_tables.h"

namespace plyvane {
namespace {

using simd::Float4;

// Four values as doubles at both copies of the history.
void StoreTwice(Float4 values, double* at) {
    simd::StoreAsDoubles(values, at);
    simd::StoreAsDoubles(values, at + 1024);
}

}  // namespace

void Synthesis::Reset() {
    std::memset(history_, 0, sizeof history_);
    ringIndex_ = 0;
}

void Synthesis::Configure(const OutputFormat& format) {
    windowTable_ = SynthesisTables::Get().window;
    divisor_ = format.divisor;
    window_ = WindowFunctionFor(format.quality);
    if (format.channels == 1) {
        stage_ = format.bitsPerSample == 8 ? &Synthesis::OutputStage<1, 8> : &Synthesis::OutputStage<1, 16>;
    } else {
        stage_ = format.bitsPerSample == 8 ? &Synthesis::OutputStage<2, 8> : &Synthesis::OutputStage<2, 16>;
    }
}

// The 64 matrixed values V[k] = sum over i of S[i] cos((16 + k)(2i + 1) pi/64)
// are the DCT X[0..31] of the slot, mirrored: V[0..15] = X[16..31], V[16] = 0,
// V[17..32] = -X[31..16], V[33..48] = -X[15..0], V[49..63] = -X[1..15]. They
// are stored without the minus signs; the window entries that meet them
// carry the signs instead (SynthesisTables::window).
void Synthesis::StoreHistory(int channel, const float* dct) {
    double* v = &history_[channel][ringIndex_];
    PLYVANE_UNROLL
    for (int block = 0; block < 4; ++block) {
        StoreTwice(Float4::Load(dct + 16 + 4 * block), v + 4 * block);
        StoreTwice(Float4::LoadUnaligned(dct + 29 - 4 * block).Reversed(), v + 16 + 4 * block);  // X[32]: 0
        StoreTwice(Float4::LoadUnaligned(dct + 13 - 4 * block).Reversed(), v + 32 + 4 * block);
        StoreTwice(Float4::Load(dct + 4 * block), v + 48 + 4 * block);
    }
}

template <int kOutputChannels, int kBits>
uint32_t Synthesis::OutputStage(uint8_t* out) {
    constexpr int kSampleSize = kBits / 8;
    constexpr int kStep = kOutputChannels * kSampleSize;
    alignas(16) int16_t pcm[2][32];
    for (int channel = 0; channel < kOutputChannels; ++channel) {
        if (window_ != nullptr) window_(&history_[channel][ringIndex_], windowTable_, pcm[channel]);
        else std::memset(pcm[channel], 0, sizeof pcm[channel]);
    }
    if (kOutputChannels == 2 && kBits == 16 && divisor_ == 1) {
        simd::InterleavePcm16(pcm[0], pcm[1], out);
        return 32 * kStep;
    }
    uint8_t* at = out;
    for (int j = 0; j < 32; j += divisor_) {
        for (int channel = 0; channel < kOutputChannels; ++channel) {
            const uint16_t bits = static_cast<uint16_t>(pcm[channel][j]);
            if (kBits == 16) {
                at[0] = static_cast<uint8_t>(bits & 0xFF);
                at[1] = static_cast<uint8_t>(bits >> 8);
            } else {
                // The 16-bit sample's upper byte, offset to unsigned.
                at[0] = static_cast<uint8_t>((bits >> 8) + 0x80);
            }
            at += kSampleSize;
        }
    }
    return static_cast<uint32_t>(32 / divisor_ * kStep);
}

uint32_t Synthesis::SynthesizeFrame(const SubbandSamples& samples, int streamChannels, uint8_t* out) {
    uint32_t written = 0;
    alignas(16) float dct[2][4][36];
    for (int slot = 0; slot < SubbandSamples::kSlots; slot += 4) {
        for (int channel = 0; channel < streamChannels; ++channel)
            DctOfFourSlots(samples.Slot(channel, slot), dct[channel]);
        for (int lane = 0; lane < 4; ++lane) {
            ringIndex_ = (ringIndex_ - 64) & 1023;
            for (int channel = 0; channel < streamChannels; ++channel) StoreHistory(channel, dct[channel][lane]);
            written += (this->*stage_)(out + written);
        }
    }
    return written;
}

}  // namespace plyvane
