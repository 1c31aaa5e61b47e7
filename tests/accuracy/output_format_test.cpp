// The output formats are views of one full-rate 16-bit decode: a divisor keeps
// every 2nd or 4th sample frame, 8 bits keep the high byte offset by 128, and
// one output channel of a two-channel stream is its first channel. Where the
// encoder's delay is left out, the divisor's samples keep the grid of the
// decoded timeline: they begin at the first of it after the delay.
#include <gtest/gtest.h>

#include <string>

#include "stream_decode.h"
#include "test_streams.h"

namespace plyvane::test {
namespace {

class OutputFormats : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        path_ = std::string(PLYVANE_SOURCE_DIR) + "/tests/data/" + GetParam();
        full_ = DecodeFile(path_, DecodeSettings{});
        ASSERT_TRUE(full_.opened) << path_ << ": " << full_.error;
        ASSERT_GT(full_.pcm.size(), 0u);
        samples_ = full_.Samples16();
    }

    DecodedStream Decode(int divisor, int bits, int channels) {
        DecodeSettings settings;
        settings.divisor = divisor;
        settings.bits = bits;
        settings.channels = channels;
        DecodedStream decoded = DecodeFile(path_, settings);
        EXPECT_TRUE(decoded.opened) << decoded.error;
        return decoded;
    }

    // The full-rate sample frame at output frame f of a decimated output.
    size_t FullFrame(size_t frame, int divisor) const {
        return (divisor - full_.trimSkip % divisor) % divisor + frame * divisor;
    }
    // Output frames whose full-rate sample frame the full decode has (the
    // last ones of a trimmed stream may lie in the padding it leaves out).
    size_t Comparable(size_t frames, int divisor) const {
        const size_t fullFrames = samples_.size() / full_.channels;
        size_t n = 0;
        while (n < frames && FullFrame(n, divisor) < fullFrames) ++n;
        return n;
    }
    // The full-rate sample of channel c at output frame f of a decimated,
    // possibly single-channel output.
    int16_t Full(size_t frame, int divisor, int channel) const {
        return samples_[FullFrame(frame, divisor) * full_.channels + channel];
    }

    std::string path_;
    DecodedStream full_;
    std::vector<int16_t> samples_;
};

TEST_P(OutputFormats, DivisorKeepsEveryNthSampleFrame) {
    for (int divisor : {2, 4}) {
        const DecodedStream decoded = Decode(divisor, 16, 2);
        const std::vector<int16_t> out = decoded.Samples16();
        const size_t frames = out.size() / full_.channels;
        const size_t fullFrames = samples_.size() / full_.channels;
        ASSERT_EQ(frames, (fullFrames + divisor - 1) / divisor) << "divisor " << divisor;
        size_t differ = 0;
        for (size_t f = 0; f < Comparable(frames, divisor); ++f)
            for (int c = 0; c < full_.channels; ++c) differ += out[f * full_.channels + c] != Full(f, divisor, c);
        EXPECT_EQ(differ, 0u) << "divisor " << divisor;
    }
}

TEST_P(OutputFormats, EightBitsAreTheHighByteOffsetBy128) {
    const DecodedStream decoded = Decode(1, 8, 2);
    ASSERT_EQ(decoded.pcm.size(), samples_.size());
    size_t differ = 0;
    for (size_t i = 0; i < samples_.size(); ++i)
        differ += decoded.pcm[i] != static_cast<uint8_t>((static_cast<uint16_t>(samples_[i]) >> 8) + 0x80);
    EXPECT_EQ(differ, 0u);
}

TEST_P(OutputFormats, OneOutputChannelIsTheFirstChannel) {
    const DecodedStream decoded = Decode(1, 16, 1);
    EXPECT_EQ(decoded.channels, 1);
    const std::vector<int16_t> out = decoded.Samples16();
    ASSERT_EQ(out.size(), samples_.size() / full_.channels);
    size_t differ = 0;
    for (size_t f = 0; f < out.size(); ++f) differ += out[f] != Full(f, 1, 0);
    EXPECT_EQ(differ, 0u);
}

TEST_P(OutputFormats, AllThreeCombined) {
    const DecodedStream decoded = Decode(4, 8, 1);
    ASSERT_EQ(decoded.pcm.size(), (samples_.size() / full_.channels + 3) / 4);
    size_t differ = 0;
    for (size_t f = 0; f < Comparable(decoded.pcm.size(), 4); ++f)
        differ += decoded.pcm[f] != static_cast<uint8_t>((static_cast<uint16_t>(Full(f, 4, 0)) >> 8) + 0x80);
    EXPECT_EQ(differ, 0u);
}

INSTANTIATE_TEST_SUITE_P(Streams, OutputFormats,
                         ::testing::Values("layer2/mpeg1_44k_mono_32k.mp2", "layer2/mpeg1_44k_joint_192k.mp2",
                                           "layer2/mpeg1_48k_dual_256k.mp2", "layer2/mpeg2_22k_stereo_64k.mp2",
                                           "layer3/mpeg1_44k_joint_128k.mp3",
                                           "layer3/mpeg2_22k_joint_64k_short.mp3"),
                         [](const auto& info) { return CaseName(info.param); });

}  // namespace
}  // namespace plyvane::test
