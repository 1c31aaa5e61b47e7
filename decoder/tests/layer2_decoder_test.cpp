#include "layer2_decoder.h"

#include <gtest/gtest.h>

#include <memory>

#include "decoder_fixture.h"
#include "layer2_frame_builder.h"
#include "memory_byte_source.h"

namespace plyvane {
namespace {

using test::Layer2Frame;

// Decodes frames with the Layer II decoder alone, to look at its subband
// samples.
struct Layer2Run {
    explicit Layer2Run(const Layer2Frame& frame, int count = 1)
        : source(test::BuildLayer2Stream(frame, count)),
          core(std::make_unique<DecoderCore>()),
          layer2(std::make_unique<Layer2Decoder>(*core)) {
        source.Open("frames");
        core->stream.Attach(&source);
        core->stream.SetRefillPermitted(true);
        StreamInfo info;
        setup = layer2->Setup(info, FrameHeader{test::HeaderWord(frame) & 0xFFFFF});
        core->UpdateFrameSize();
    }
    bool Decode() { return layer2->DecodeUnit() == UnitResult::kDecoded; }
    float Sample(int channel, int slot, int subband) const { return core->subbands.Slot(channel, slot)[subband]; }

    MemoryByteSource source;
    std::unique_ptr<DecoderCore> core;
    std::unique_ptr<Layer2Decoder> layer2;
    int setup = 0;
};

TEST(Layer2Tables, SelectTheAllocationTableByRateAndBitRatePerChannel) {
    struct Case {
        int id, sampleRate, bitratePerChannel, table, sblimit;
    } const cases[] = {
        {1, 48000, 96, kTableA, 27},  {1, 44100, 96, kTableB, 30},  {1, 32000, 192, kTableB, 30},
        {1, 44100, 32, kTableC, 8},   {1, 48000, 48, kTableC, 8},   {1, 32000, 32, kTableD, 12},
        {1, 44100, 64, kTableA, 27},  {1, 32000, 80, kTableA, 27},  {0, 22050, 8, kTableLsf, 30},
        {0, 16000, 160, kTableLsf, 30}, {1, 44100, 224, -1, 0},     {1, 44100, 0, -1, 0},
    };
    for (const Case& c : cases) {
        int table = SelectLayer2Table(c.id, c.sampleRate, c.bitratePerChannel);
        ASSERT_EQ(c.table, table) << c.sampleRate << " Hz, " << c.bitratePerChannel << " kbit/s per channel";
        if (table >= 0) {
            EXPECT_EQ(c.sblimit, kLayer2AllocationTables[table].sblimit);
        }
    }
}

TEST(Layer2Decoding, RequantizesToTheStandardValues) {
    Layer2Frame frame;
    frame.mode = kSingleChannel;
    frame.bitrateIndex = 4;          // 64 kbit/s: table 3-B.2a
    frame.allocation[0][0] = 1;      // 3 levels, grouped
    frame.code = 0 + 1 * 3 + 2 * 9;  // the values 0, 1, 2
    Layer2Run run(frame);
    ASSERT_EQ(1, run.setup);
    ASSERT_TRUE(run.Decode());
    // Scale factor index 3 is the multiplier 1.0.
    EXPECT_FLOAT_EQ(-2.0f / 3.0f, run.Sample(0, 0, 0));
    EXPECT_FLOAT_EQ(0.0f, run.Sample(0, 1, 0));
    EXPECT_FLOAT_EQ(2.0f / 3.0f, run.Sample(0, 2, 0));
    EXPECT_FLOAT_EQ(2.0f / 3.0f, run.Sample(0, 35, 0));

    frame.allocation[0][0] = 3;  // 15 levels, one code per sample
    frame.code = 0;
    Layer2Run fifteen(frame);
    ASSERT_TRUE(fifteen.Decode());
    EXPECT_FLOAT_EQ(-14.0f / 15.0f, fifteen.Sample(0, 7, 0));

    frame.allocation[0][0] = 15;  // 65535 levels
    frame.code = 0xFFFE;
    Layer2Run widest(frame);
    ASSERT_TRUE(widest.Decode());
    EXPECT_NEAR(65534.0 / 65535.0, widest.Sample(0, 3, 0), 1e-6);
}

TEST(Layer2Decoding, JointStereoSharesSamplesAboveTheBoundWithEachChannelsScale) {
    Layer2Frame frame;
    frame.mode = kJointStereo;
    frame.modeExtension = 0;  // bound 4
    frame.bitrateIndex = 10;  // 192 kbit/s: table 3-B.2b
    frame.allocation[0][2] = 4;
    frame.allocation[1][2] = 0;
    frame.allocation[0][6] = 4;  // above the bound: one allocation for both
    frame.scaleFactorIndex[0] = 3;  // 1.0
    frame.scaleFactorIndex[1] = 6;  // 0.5
    frame.code = 20;
    Layer2Run run(frame);
    ASSERT_EQ(1, run.setup);
    ASSERT_TRUE(run.Decode());
    for (int slot : {0, 17, 35}) {
        EXPECT_NE(0.0f, run.Sample(0, slot, 2));
        EXPECT_EQ(0.0f, run.Sample(1, slot, 2)) << "below the bound each channel has its own allocation";
        EXPECT_NE(0.0f, run.Sample(0, slot, 6));
        EXPECT_FLOAT_EQ(0.5f * run.Sample(0, slot, 6), run.Sample(1, slot, 6));
    }
}

TEST(Layer2Decoding, SubbandsAtAndAboveTheLimitStayExactlyZero) {
    Layer2Frame frame;
    frame.mode = kSingleChannel;
    frame.bitrateIndex = 1;  // 32 kbit/s at 44.1 kHz: table 3-B.2c, sblimit 8
    for (int sb = 0; sb < 8; ++sb) frame.allocation[0][sb] = 2;
    frame.code = 1 + 3 * 5 + 4 * 25;  // the values 1, 3, 4: none is zero
    Layer2Run run(frame, 2);
    ASSERT_EQ(1, run.setup);
    ASSERT_EQ(8, run.layer2->AllocationTable()->sblimit);
    ASSERT_TRUE(run.Decode());
    for (int slot = 0; slot < 36; ++slot) {
        EXPECT_NE(0.0f, run.Sample(0, slot, 7));
        for (int sb = 8; sb < 32; ++sb) ASSERT_EQ(0.0f, run.Sample(0, slot, sb));
    }
}

TEST(Layer2Decoding, GroupCodesBeyondTheLevelsGiveTheZeroEntry) {
    Layer2Frame frame;
    frame.mode = kSingleChannel;
    frame.bitrateIndex = 4;
    frame.allocation[0][3] = 4;  // 9 levels in subband 3 of table 3-B.2a
    frame.code = 1023;
    Layer2Run damaged(frame);
    ASSERT_TRUE(damaged.Decode());
    frame.code = 0;
    Layer2Run zero(frame);
    ASSERT_TRUE(zero.Decode());
    for (int slot = 0; slot < 3; ++slot) EXPECT_EQ(zero.Sample(0, slot, 3), damaged.Sample(0, slot, 3));
}

}  // namespace
}  // namespace plyvane

namespace plyvane {
namespace {

int CountFrames(test::OpenedStream& s) {
    int frames = 0;
    while (s.Decode() != 0) ++frames;
    return frames;
}

TEST(Layer2Decoding, DecodesEveryWholeFrameAndNoCutOne) {
    Layer2Frame frame;
    frame.allocation[0][0] = frame.allocation[1][0] = 3;
    std::vector<uint8_t> bytes = test::BuildLayer2Stream(frame, 3);
    test::OpenedStream whole(bytes);
    EXPECT_EQ(3, CountFrames(whole)) << "the last frame has no padding byte but is complete";

    bytes.resize(bytes.size() - 100);
    test::OpenedStream cut(bytes);
    EXPECT_EQ(2, CountFrames(cut));
}

TEST(Layer2Decoding, FramesLongerThanTheRefillThresholdAllDecode) {
    Layer2Frame frame;
    frame.bitrateIndex = 14;    // 384 kbit/s at 32 kHz: 1728-byte frames
    frame.sampleRateIndex = 2;
    for (int sb = 0; sb < 30; ++sb) frame.allocation[0][sb] = frame.allocation[1][sb] = 2;
    frame.code = 3;
    test::OpenedStream s(test::BuildLayer2Stream(frame, 40));
    ASSERT_EQ(1, s.opened) << s.decoder->LastError();
    EXPECT_EQ(40, CountFrames(s));
}

// The next file of a continuous list may have another bit rate and so
// another allocation table; it decodes as it would on its own.
TEST(Layer2Decoding, TheNextFileOfAListUsesItsOwnAllocationTable) {
    Layer2Frame first;  // 192 kbit/s: table 3-B.2b, sblimit 30
    first.bitrateIndex = 10;
    for (int sb = 0; sb < 30; ++sb) first.allocation[0][sb] = first.allocation[1][sb] = 1;
    first.code = 3;
    Layer2Frame second;  // 128 kbit/s: table 3-B.2a, sblimit 27
    for (int sb = 0; sb < 10; ++sb) second.allocation[0][sb] = second.allocation[1][sb] = 1 + sb % 3;
    second.code = 7;
    const std::vector<uint8_t> firstBytes = test::BuildLayer2Stream(first, 5);
    const std::vector<uint8_t> secondBytes = test::BuildLayer2Stream(second, 5);

    std::vector<uint8_t> list = firstBytes;
    list.insert(list.end(), secondBytes.begin(), secondBytes.end());
    test::OpenedStream both(list);
    both.source.AddStreamStart(static_cast<uint32_t>(firstBytes.size()));
    ASSERT_EQ(1, both.decoder->OpenStream(both.info));
    test::OpenedStream alone(secondBytes);
    for (int i = 0; i < 5; ++i) ASSERT_NE(0u, both.Decode());
    ASSERT_EQ(1u, both.Decode()) << "the frame numbers restart";
    ASSERT_NE(0u, alone.Decode());
    // From the second frame on the filter history holds only the new file.
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(0u, both.Decode());
        ASSERT_NE(0u, alone.Decode());
        EXPECT_EQ(alone.block, both.block) << "frame " << i + 2;
    }
    EXPECT_EQ(0u, both.Decode());
}

}  // namespace
}  // namespace plyvane
