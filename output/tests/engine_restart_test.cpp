// The player's restart of the output after the property sheet stored new
// output settings: the stream stops with the device released, seeks to the
// position the record gives, and starts again. It must go on in the new
// format from where the sound was: never ahead of it (a skip the user
// hears), at most one block behind it.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine_harness.h"
#include "method_test_names.h"

namespace plyvane {
namespace {

constexpr char kStream[] = "layer2/mpeg1_44k_joint_192k.mp2";  // 3.0 s, 44.1 kHz
constexpr double kBytesPerMs44k = 176.4;                       // 16-bit stereo
constexpr double kBytesPerMs22k = 88.2;
constexpr double kFrameMs = 1152.0 / 44.1;

class EngineRestartTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        output_.method = GetParam();
        h.Configure(output_);
    }

    // The player's sequence; the position it seeks to.
    uint32_t Restart(const OutputChoice& next, bool paused) {
        const uint32_t position = static_cast<uint32_t>(h.engine.GetPlaybackInfo().position);
        h.Configure(next);
        EXPECT_EQ(h.engine.StopPlayback(true), 1);
        h.engine.SeekPlayback(position);
        EXPECT_EQ(h.engine.StartPlayback(), 1);
        if (paused) {
            EXPECT_EQ(h.engine.PausePlayback(), 1);
        }
        return position;
    }

    OutputChoice output_;
    EngineHarness h;
};

TEST_P(EngineRestartTest, ANewFormatGoesOnWhereTheSoundWas) {
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.Run(1200);
    const uint64_t playedBefore = h.device.PlayedBytes();
    const double soundMs = static_cast<double>(playedBefore) / kBytesPerMs44k;
    OutputChoice next = output_;
    next.divisor = 2;
    const uint32_t position = Restart(next, false);
    const double blockMs = output_.framesPerBuffer * kFrameMs;
    EXPECT_LE(position, soundMs + 1.0) << "ahead of the sound: a skip";
    EXPECT_GE(position, soundMs - blockMs - 1.0) << "more than a block repeated";
    EXPECT_EQ(h.device.OpenFormat().samplesPerSecond, 22050u);
    ASSERT_TRUE(h.RunUntilEnded(5000));

    // After the restart: the stream at the new rate from the position on.
    const std::vector<uint8_t> played = h.device.Played();
    const std::vector<uint8_t> after(played.begin() + static_cast<std::ptrdiff_t>(playedBefore),
                                     played.end());
    const std::vector<uint8_t> whole = DecodeAll(StreamPath(kStream), next);
    ASSERT_GT(after.size(), 4608u);
    const double expectedStart = position * kBytesPerMs22k;
    EXPECT_NEAR(static_cast<double>(whole.size() - after.size()), expectedStart, 2304.0);
    auto found = std::search(whole.begin(), whole.end(), after.begin(), after.begin() + 4608);
    ASSERT_NE(found, whole.end()) << "the restarted sound is not the stream's";
    EXPECT_NEAR(static_cast<double>(found - whole.begin()), expectedStart, 2304.0);
    EXPECT_TRUE(std::equal(after.begin(), after.end(), found));
}

TEST_P(EngineRestartTest, APausedStreamStaysPausedInTheNewFormat) {
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.Run(1000);
    ASSERT_EQ(h.engine.PausePlayback(), 1);
    OutputChoice next = output_;
    next.quality = 0;
    next.channels = 1;
    const uint32_t position = Restart(next, true);
    EXPECT_TRUE(h.engine.IsPaused());
    EXPECT_EQ(h.device.OpenFormat().channels, 1u);
    const uint64_t playedBefore = h.device.PlayedBytes();
    h.Run(1000);
    EXPECT_EQ(h.device.PlayedBytes(), playedBefore);

    ASSERT_EQ(h.engine.ResumePlayback(), 1);
    ASSERT_TRUE(h.RunUntilEnded(5000));
    const std::vector<uint8_t> whole = DecodeAll(StreamPath(kStream), next);
    const double expectedStart = position * kBytesPerMs44k / 2;  // mono
    EXPECT_NEAR(static_cast<double>(whole.size() - (h.device.PlayedBytes() - playedBefore)),
                expectedStart, 2304.0);
}

INSTANTIATE_TEST_SUITE_P(Methods, EngineRestartTest, ::testing::Values(kMethodTimer, kMethodThread, kMethodDevice),
                         MethodTestName);

}  // namespace
}  // namespace plyvane
