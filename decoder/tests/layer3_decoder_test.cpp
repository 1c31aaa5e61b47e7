// The Layer III frame loop and reservoir rules, and the stages' edge cases.
#include "layer3_decoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "decoder_fixture.h"
#include "huffman_tables.h"
#include "layer3_frame_builder.h"
#include "layer3_huffman.h"
#include "layer3_imdct.h"
#include "layer3_stereo.h"
#include "layer3_tables.h"

namespace plyvane {
namespace {

// Every line scaled by 1: the decoded values come out as |v|^(4/3).
LineScales UnitScales() {
    LineScales scales;
    scales.count = 1;
    scales.end[0] = 576;
    scales.scale[0] = 1.0f;
    return scales;
}

using test::Bits;
using test::FrameSpec;
using test::SilentFrame;
using test::Concat;


TEST(Layer3Reservoir, Mpeg2MonoAt32kbitHas91MainDataBytesAndTwoFramesPerCall) {
    FrameSpec f;
    f.mpeg1 = false;
    f.bitrateIndex = 4;  // 32 kbit/s
    ASSERT_EQ(104u, SilentFrame(f).size());
    // Frame 3, the first of the second call, may reach back exactly over
    // frame 2's 91 bytes, not one more.
    for (int reach : {91, 92}) {
        FrameSpec third = f;
        third.mainDataBegin = reach;
        std::vector<std::vector<uint8_t>> frames = {SilentFrame(f), SilentFrame(f), SilentFrame(third)};
        for (int i = 0; i < 20; ++i) frames.push_back(SilentFrame(f));
        test::OpenedStream s(Concat(frames));
        ASSERT_EQ(1, s.opened);
        EXPECT_EQ(2, s.info.version);
        EXPECT_EQ(2304, s.info.pcmBytesPerFrame);
        const uint32_t first = s.Decode();
        EXPECT_NE(0u, first);
        EXPECT_EQ(2304u, s.decoder->LastPcmBytes()) << "frames 1 and 2";
        EXPECT_EQ(first + 1, s.Decode());
        EXPECT_EQ(reach == 91 ? 2304u : 0u, s.decoder->LastPcmBytes()) << reach;
        EXPECT_EQ(first + 2, s.Decode());
        EXPECT_EQ(2304u, s.decoder->LastPcmBytes());
    }
}

// The second of two MPEG-2 frames may be missing: the data ends after an odd
// number of frames, or its main data never arrived. The first still plays,
// and the missing one is as long a silence, so the timeline holds.
TEST(Layer3Reservoir, Mpeg2UnitWithoutItsSecondFrameStillPlaysItsFirst) {
    FrameSpec f;
    f.mpeg1 = false;
    f.bitrateIndex = 4;
    std::vector<std::vector<uint8_t>> frames(5, SilentFrame(f));
    test::OpenedStream odd(Concat(frames));
    ASSERT_EQ(1, odd.opened);
    std::vector<uint32_t> bytes;
    while (odd.Decode() != 0) bytes.push_back(odd.decoder->LastPcmBytes());
    EXPECT_EQ((std::vector<uint32_t>{2304, 2304, 1152}), bytes) << "five frames: two units and a half";

    FrameSpec lost = f;
    lost.mainDataBegin = 200;  // beyond the 91 bytes of the frame before
    frames = {SilentFrame(f), SilentFrame(lost), SilentFrame(f), SilentFrame(f)};
    test::OpenedStream gap(Concat(frames));
    ASSERT_EQ(1, gap.opened);
    ASSERT_NE(0u, gap.Decode());
    EXPECT_EQ(2304u, gap.decoder->LastPcmBytes()) << "frame 1 and a silent frame 2";
}

TEST(Layer3Reservoir, MainDataBeforeTheReceivedDataGivesNoPcmButCountsTheFrame) {
    FrameSpec f;
    f.mainDataBegin = 300;  // reaches into frames that were never received
    FrameSpec later;
    later.mainDataBegin = 10;
    std::vector<std::vector<uint8_t>> frames = {SilentFrame(f), SilentFrame(later)};
    for (int i = 0; i < 10; ++i) frames.push_back(SilentFrame(FrameSpec{}));
    test::OpenedStream s(Concat(frames));
    ASSERT_EQ(1, s.opened);
    std::fill(s.block.begin(), s.block.end(), 0xAB);
    EXPECT_EQ(1u, s.Decode());
    EXPECT_EQ(0u, s.decoder->LastPcmBytes());
    EXPECT_EQ(0xAB, s.block[0]);  // the block is left as it was
    EXPECT_EQ(2u, s.Decode());
    EXPECT_EQ(2304u, s.decoder->LastPcmBytes());
    EXPECT_EQ(0, s.block[0]);
}

TEST(Layer3Reservoir, AHeaderWithoutABitRateIsPassedOverWithoutCountingIt) {
    // A header that matches the stream but has bit-rate index 0 has no
    // frame length, so it cannot be the stream's.
    std::vector<uint8_t> odd = SilentFrame(FrameSpec{});
    odd[2] &= 0x0F;  // the same frame with bit-rate index 0
    std::vector<std::vector<uint8_t>> frames = {SilentFrame(FrameSpec{}), SilentFrame(FrameSpec{}), odd};
    FrameSpec far;
    far.mainDataBegin = 511;
    frames.push_back(SilentFrame(far));
    for (int i = 0; i < 6; ++i) frames.push_back(SilentFrame(FrameSpec{}));
    test::OpenedStream s(Concat(frames));
    ASSERT_EQ(1, s.opened);
    EXPECT_EQ(1u, s.Decode());
    EXPECT_EQ(2u, s.Decode());
    testing::internal::CaptureStdout();
    EXPECT_EQ(3u, s.Decode());  // the skipped frame does not count
    const std::string messages = testing::internal::GetCapturedStdout();
    EXPECT_EQ("resync\n", messages);
    EXPECT_EQ(0u, s.decoder->LastPcmBytes());
    EXPECT_EQ(4u, s.Decode());
    EXPECT_EQ(2304u, s.decoder->LastPcmBytes());
}

TEST(Layer3Reservoir, EveryWholeFrameIsDecodedAndACutOneEndsTheStream) {
    // Three frames of 417 bytes: fewer than 1152 bytes, all of them whole.
    std::vector<uint8_t> stream = Concat(std::vector<std::vector<uint8_t>>(3, SilentFrame(FrameSpec{})));
    test::OpenedStream whole(stream);
    ASSERT_EQ(1, whole.opened);
    testing::internal::CaptureStdout();
    EXPECT_EQ(1u, whole.Decode());
    EXPECT_EQ(2u, whole.Decode());
    EXPECT_EQ(3u, whole.Decode());
    EXPECT_EQ(0u, whole.Decode());
    EXPECT_EQ("EOF#1\n", testing::internal::GetCapturedStdout());

    // Bytes that are no frame after the last one (an ID3v1 tag) end it alike.
    std::vector<uint8_t> tagged = stream;
    const std::string tag = "TAGA title that holds no sync word";
    tagged.insert(tagged.end(), tag.begin(), tag.end());
    tagged.resize(stream.size() + 128, ' ');
    test::OpenedStream withTag(tagged);
    ASSERT_EQ(1, withTag.opened);
    testing::internal::CaptureStdout();
    for (uint32_t frame = 1; frame <= 3; ++frame) EXPECT_EQ(frame, withTag.Decode());
    EXPECT_EQ(0u, withTag.Decode());
    EXPECT_EQ("EOF#1\n", testing::internal::GetCapturedStdout());

    stream.resize(stream.size() - 100);
    test::OpenedStream cut(stream);
    testing::internal::CaptureStdout();
    EXPECT_EQ(1u, cut.Decode());
    EXPECT_EQ(2u, cut.Decode());
    EXPECT_EQ(0u, cut.Decode());
    EXPECT_EQ("EOF#2\n", testing::internal::GetCapturedStdout());
}

TEST(Layer3Setup, ReloadsReleasedTables) {
    // Tables released at shut-down are loaded again by a later stream.
    std::vector<uint8_t> stream = Concat(std::vector<std::vector<uint8_t>>(8, SilentFrame(FrameSpec{})));
    test::OpenedStream first(stream);
    ASSERT_EQ(1, first.opened);
    first.decoder->ReleaseTables();
    EXPECT_FALSE(HuffmanTablesLoaded());
    test::OpenedStream second(stream);
    ASSERT_EQ(1, second.opened);
    EXPECT_TRUE(HuffmanTablesLoaded());
    EXPECT_EQ(1u, second.Decode());
}

TEST(Layer3Stages, DamagedRegionCountsAndTablesStayInsideTheGranule) {
    LoadHuffmanTables();
    BitstreamBuffer reservoir(4096, 0);
    std::vector<uint8_t> noise(2000);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i * 37 + 11);
    reservoir.Append(noise.data(), static_cast<int>(noise.size()));
    GranuleChannelInfo gc;
    gc.big_values = 288;
    gc.region0_count = 15;
    gc.region1_count = 7;
    gc.table_select[0] = 14;
    gc.table_select[1] = 4;
    gc.table_select[2] = 31;
    gc.part2_3_length = 4095;
    float xr[576];
    const int end = DecodeSpectrum(reservoir, gc, kScaleFactorBands[1][0], 4095, UnitScales(), xr);
    EXPECT_LE(end, 576);
    EXPECT_EQ(4095, BitPosition(reservoir));  // exactly part2_3_length, whatever the codes used
}

TEST(Layer3Stages, CountOneRunningPastTheGranuleEndIsDropped) {
    LoadHuffmanTables();
    BitstreamBuffer reservoir(4096, 0);
    // Table A: "1" is (0,0,0,0); "0101" is v=0,w=0,x=0,y=1... use quadruples
    // of value 15 (code 000000 in table B: "0000") with four sign bits.
    const uint8_t data[8] = {0x00, 0x00, 0, 0, 0, 0, 0, 0};
    reservoir.Append(data, 8);
    GranuleChannelInfo gc;
    gc.count1table_select = 1;  // table B: 4-bit codes
    float xr[576];
    // 12 bits: one whole quadruple (4 code + 4 sign bits) and a cut one.
    const int end = DecodeSpectrum(reservoir, gc, kScaleFactorBands[1][0], 12, UnitScales(), xr);
    EXPECT_EQ(4, end);
    EXPECT_EQ(12, BitPosition(reservoir));
    EXPECT_EQ(1.0f, xr[0]);
    EXPECT_EQ(0.0f, xr[4]);
}

TEST(Layer3Stages, IntensityPositionsGiveTheStandardFactors) {
    float left, right;
    IntensityFactors(true, 0, 0, left, right);
    EXPECT_FLOAT_EQ(0.0f, left);
    EXPECT_FLOAT_EQ(1.0f, right);
    IntensityFactors(true, 0, 3, left, right);
    EXPECT_FLOAT_EQ(0.5f, left);
    EXPECT_FLOAT_EQ(0.5f, right);
    // tan(6 pi / 12) is infinite: all of the signal stays in the first channel.
    IntensityFactors(true, 0, 6, left, right);
    EXPECT_FLOAT_EQ(1.0f, left);
    EXPECT_FLOAT_EQ(0.0f, right);
    IntensityFactors(false, 1, 3, left, right);
    EXPECT_FLOAT_EQ(0.5f, left);  // (2^-0.5)^2
    EXPECT_FLOAT_EQ(1.0f, right);
    IntensityFactors(false, 0, 4, left, right);
    EXPECT_FLOAT_EQ(1.0f, left);
    EXPECT_FLOAT_EQ(std::sqrt(0.5f), right);  // (2^-0.25)^2
}

TEST(Layer3Stages, IntensityAndMiddleSideSplitTheLinesAtTheLastNonZeroBand) {
    const ScaleFactorBands& bands = kScaleFactorBands[1][0];
    float xr[2][576] = {};
    for (int i = 0; i < 576; ++i) xr[0][i] = 1.0f;
    xr[1][5] = 0.5f;  // band 1 (lines 4..7) holds the last non-zero line
    GranuleChannelInfo right;
    ScaleFactors sf;
    for (int b = 0; b < 23; ++b) sf.l[b] = 6;
    sf.l[3] = 7;  // not intensity coded: middle/side
    int nonZero = 6;
    ProcessJointStereo(xr, 3, true, right, sf, 0, bands, nonZero);
    const float half = 0.7071068f;
    EXPECT_FLOAT_EQ((1.0f + 0.5f) * half, xr[0][5]);
    EXPECT_FLOAT_EQ((1.0f - 0.5f) * half, xr[1][5]);
    EXPECT_FLOAT_EQ(1.0f, xr[0][8]);  // band 2: position 6
    EXPECT_FLOAT_EQ(0.0f, xr[1][8]);
    EXPECT_FLOAT_EQ(half, xr[0][12]);  // band 3: position 7, middle/side of (1, 0)
    EXPECT_FLOAT_EQ(half, xr[1][12]);
    EXPECT_FLOAT_EQ(1.0f, xr[0][500]);  // band 21 repeats band 20's position
    EXPECT_FLOAT_EQ(0.0f, xr[1][500]);
}

TEST(Layer3Stages, AnAllZeroSubbandOutputsTheOverlapAndClearsIt) {
    SubbandSamples samples;
    samples.Clear();
    alignas(16) ImdctOverlap overlap;
    for (int sb = 0; sb < 32; ++sb) {
        for (int i = 0; i < 18; ++i) overlap[i][sb] = static_cast<float>(sb * 100 + i + 1);
    }
    alignas(16) float xr[576] = {};
    xr[0] = -0.0f;  // the sign bit alone does not count
    GranuleChannelInfo gc;
    HybridSynthesis(gc, xr, overlap, samples, 1, 18);
    for (int sb = 0; sb < 32; ++sb) {
        for (int i = 0; i < 18; ++i) {
            const float expected = static_cast<float>(sb * 100 + i + 1) * ((sb & 1) && (i & 1) ? -1.0f : 1.0f);
            ASSERT_EQ(expected, samples.Slot(1, 18 + i)[sb]) << sb << " " << i;
            ASSERT_EQ(0.0f, overlap[i][sb]);
        }
    }
    EXPECT_EQ(0.0f, samples.Slot(0, 18)[3]);
}

}  // namespace
}  // namespace plyvane
