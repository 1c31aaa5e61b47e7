// Each file of tests/data/damaged/ gives what tests/data/README.md lists:
// the exact refusal message, or the audio that is still there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "stream_decode.h"

namespace plyvane::test {
namespace {

const char* const kNotValid = "This is not a valid audiofile!";
const char* const kNotSupported = "This type of audiofile is currently not supported!";

std::string DataPath(const std::string& name) { return std::string(PLYVANE_SOURCE_DIR) + "/tests/data/" + name; }

DecodedStream Decode(const std::string& name, uint32_t maxUnits = 10000) {
    // The Layer III decoder reports some stream faults on standard output.
    testing::internal::CaptureStdout();
    DecodedStream decoded = DecodeFile(DataPath(name), DecodeSettings{}, maxUnits);
    testing::internal::GetCapturedStdout();
    return decoded;
}

struct Refusal {
    const char* file;
    const char* message;
};

class RefusedStreams : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedStreams, AreRefusedWithTheirMessage) {
    const DecodedStream decoded = Decode(std::string("damaged/") + GetParam().file);
    EXPECT_FALSE(decoded.opened);
    EXPECT_EQ(decoded.error, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Damaged, RefusedStreams,
    ::testing::Values(Refusal{"empty.mp2", kNotValid},
                      Refusal{"layer1_crc.mp1", kNotSupported},
                      // FF FF headers are passed over as false syncs; nothing else follows.
                      Refusal{"layer1_nocrc.mp1", kNotValid},
                      Refusal{"l2_free_format.mp2", kNotSupported},
                      Refusal{"l3_free_format.mp3", kNotSupported}),
    [](const auto& info) {
        std::string name = info.param.file;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

// Junk before a stream changes nothing but the first frame number, even with
// a lone header in it.
TEST(DamagedStreams, JunkBeforeTheStreamIsSkipped) {
    const DecodedStream clean = Decode("layer2/mpeg1_44k_stereo_128k.mp2");
    ASSERT_TRUE(clean.opened) << clean.error;
    for (const char* name :
         {"damaged/l2_prefix_garbage.mp2", "damaged/l2_prefix_ffff.mp2", "damaged/l2_prefix_false_sync.mp2"}) {
        const DecodedStream decoded = Decode(name);
        ASSERT_TRUE(decoded.opened) << name << ": " << decoded.error;
        EXPECT_EQ(decoded.units, clean.units) << name;
        EXPECT_TRUE(decoded.pcm == clean.pcm) << name;
    }
}

// An ID3v2 tag that claims more than the file holds: the search starts
// again from the first byte and finds the stream.
TEST(DamagedStreams, AnOversizedId3v2TagIsSearchedThrough) {
    const DecodedStream clean = Decode("layer3/mpeg1_44k_joint_128k.mp3");
    const DecodedStream decoded = Decode("damaged/l3_id3v2_oversize.mp3");
    ASSERT_TRUE(decoded.opened) << decoded.error;
    EXPECT_EQ(decoded.units, clean.units);
    EXPECT_TRUE(decoded.pcm == clean.pcm);
}

TEST(DamagedStreams, FrameNumbersCountTheJunk) {
    // 4000 bytes before a 128 kbit/s stereo 44.1 kHz stream: frame 9 comes first.
    DecodedStream decoded = DecodeFile(DataPath("damaged/l2_prefix_garbage.mp2"), DecodeSettings{}, 0);
    ASSERT_TRUE(decoded.opened) << decoded.error;
    EXPECT_EQ(decoded.firstFrameNumber, 9u);
}

TEST(DamagedStreams, ATruncatedStreamKeepsItsWholeFrames) {
    const DecodedStream clean = Decode("layer2/mpeg1_44k_stereo_128k.mp2");
    const DecodedStream cut = Decode("damaged/l2_truncated.mp2");
    ASSERT_TRUE(cut.opened) << cut.error;
    EXPECT_EQ(cut.units, 10u);
    ASSERT_LE(cut.pcm.size(), clean.pcm.size());
    EXPECT_TRUE(std::equal(cut.pcm.begin(), cut.pcm.end(), clean.pcm.begin()));

    const DecodedStream cut3 = Decode("damaged/l3_truncated.mp3");
    ASSERT_TRUE(cut3.opened) << cut3.error;
    EXPECT_GE(cut3.units, 18u);
    EXPECT_LE(cut3.units, 20u);
}

// One frame whose main data lies before it: a stream without a sample.
TEST(DamagedStreams, AFrameWithoutItsMainDataYieldsNoSample) {
    const DecodedStream decoded = Decode("damaged/l3_no_audio.mp3");
    ASSERT_TRUE(decoded.opened) << decoded.error;
    EXPECT_EQ(decoded.units, 1u);
    EXPECT_TRUE(decoded.pcm.empty());
}

// Bit flips and a reservoir that reaches before the start decode to the end
// without a crash (the asan preset checks the memory) and without running on.
TEST(DamagedStreams, DamagedFramesDecodeToTheEnd) {
    const struct {
        const char* file;
        uint32_t frames;  // frames in the file
    } streams[] = {{"damaged/l2_bitflips.mp2", 115},
                   {"damaged/l3_bitflips.mp3", 78},
                   {"damaged/l3_lsf_bitflips.mp3", 40},  // two frames per unit
                   {"damaged/l3_mdb_before_start.mp3", 72}};
    for (const auto& stream : streams) {
        const DecodedStream decoded = Decode(stream.file);
        ASSERT_TRUE(decoded.opened) << stream.file << ": " << decoded.error;
        EXPECT_LE(decoded.units, stream.frames) << stream.file;
        EXPECT_GE(decoded.units, stream.frames / 2) << stream.file;
        EXPECT_EQ(decoded.overlongUnits, 0u) << stream.file;
    }
}

}  // namespace
}  // namespace plyvane::test
