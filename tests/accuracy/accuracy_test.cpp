// Our decoder against mpg123's float output on every committed test stream:
// 16-bit output at divisor 1, quality 0 to 3, aligned by correlation.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "quality_measure.h"
#include "test_streams.h"

namespace plyvane::test {
namespace {

// The reference is mpg123's output without its gapless trimming; ours leaves
// out the encoder delay of a stream with a LAME tag (576 + 529 samples), so
// the two outputs may be offset by up to two units.
constexpr int kMaxLag = 2304;
// Reference quality differs from the float output by the 16-bit rounding
// alone, whose limit is 101.1 dB PSNR (a uniform error of 1/12 LSB squared),
// and from that output rounded to 16 bits by an occasional 1 LSB.
constexpr double kReferencePsnrDb = 100.0;
constexpr double kReferenceMaxError = 1.0;

class Mpg123Accuracy : public ::testing::TestWithParam<std::string> {};

TEST_P(Mpg123Accuracy, MeetsTheSnrFloorAtEveryQuality) {
    const std::string& path = GetParam();
    const ReferencePcm reference = Mpg123Reference(path);
    if (!reference.ok && !Mpg123Available()) GTEST_SKIP() << reference.error;
    ASSERT_TRUE(reference.ok) << reference.error;

    const StreamMeasurement m = MeasureStream(path, reference, kMaxLag);
    const std::string name = std::filesystem::path(path).filename().string();
    ASSERT_TRUE(m.opened) << name << ": " << m.error;
    ASSERT_EQ(m.channels, reference.channels) << name;
    EXPECT_EQ(m.overlongUnits, 0u) << name << ": LastPcmBytes beyond PCM bytes per frame";

    std::printf("%s  of %zu\n", FormatRow(name, m).c_str(), reference.samples.size() / reference.channels);
    const size_t referenceFrames = reference.samples.size() / reference.channels;
    RecordProperty("snr_q0_rounded", std::to_string(m.referenceRounded.snrDb));
    EXPECT_GE(m.referenceRounded.snrDb, RequiredSnrDb(m.layer, 0)) << name << " at quality 0";
    EXPECT_LE(m.referenceRounded.maxAbsError, kReferenceMaxError) << name << " at quality 0";
    EXPECT_GE(m.quality[0].psnrDb, kReferencePsnrDb) << name << " at quality 0";
    for (int q = 1; q <= 3; ++q) {
        const PcmComparison& c = m.quality[q];
        RecordProperty("snr_q" + std::to_string(q), std::to_string(c.snrDb));
        EXPECT_GE(c.snrDb, RequiredSnrDb(m.layer, q)) << name << " at quality " << q << ", lag " << c.lag;
    }
    // Decoding must not stop early. Layer II decodes every frame; Layer III
    // ends when fewer than 1152 bytes are left, which leaves out the last
    // frames (up to a dozen at low bit rates).
    const size_t compared = m.quality[1].frames;
    if (m.layer == 2)
        EXPECT_GE(compared + kMaxLag, referenceFrames) << name << ": decoding stopped early";
    else
        EXPECT_GE(compared * 10, referenceFrames * 9) << name << ": decoding stopped early";
    RecordProperty("lag", m.quality[1].lag);
}

// The alignment finds an offset of whole units in either direction, as
// between a Layer III decode with and without its tag frame.
TEST(Alignment, FindsAUnitOffsetInEitherDirection) {
    const std::string path = std::string(PLYVANE_SOURCE_DIR) + "/tests/data/layer2/mpeg1_44k_stereo_128k.mp2";
    const DecodedStream decoded = DecodeFile(path, DecodeSettings{});
    ASSERT_TRUE(decoded.opened) << decoded.error;
    const std::vector<int16_t> ours = decoded.Samples16();
    const std::vector<float> asFloat(ours.begin(), ours.end());
    std::vector<float> delayed(1152 * 2, 0.0f);
    delayed.insert(delayed.end(), asFloat.begin(), asFloat.end());
    EXPECT_EQ(FindLag(ours, delayed, 2, kMaxLag), 1152);
    const std::vector<float> early(asFloat.begin() + 1152 * 2, asFloat.end());
    EXPECT_EQ(FindLag(ours, early, 2, kMaxLag), -1152);
    const PcmComparison same = ComparePcm(ours, delayed, 2, 1152);
    EXPECT_EQ(same.maxAbsError, 0.0);
    EXPECT_EQ(same.frames, ours.size() / 2);
}

INSTANTIATE_TEST_SUITE_P(CommittedStreams, Mpg123Accuracy, ::testing::ValuesIn(CommittedStreams()),
                         [](const auto& info) { return CaseName(info.param); });

}  // namespace
}  // namespace plyvane::test
