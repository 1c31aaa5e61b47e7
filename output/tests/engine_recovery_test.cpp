// The engine keeps working through what the window and the device do to it:
// boxes whose message loop calls back into the engine, failures met in the
// refresh context, a device that will not close, a change of refresh method,
// a pause or a stop that races the end, and a device that stops working.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

#include "engine_harness.h"
#include "method_test_names.h"

namespace plyvane {
namespace {

constexpr char kStream[] = "layer2/mpeg1_44k_joint_192k.mp2";   // 3.0 s, 44.1 kHz
constexpr char kStream48[] = "layer2/mpeg1_48k_stereo_192k.mp2";
constexpr char kDeviceStopped[] =
    "Error!: The sound device stopped working. Playback was stopped; press Play to go on from there.";

using Texts = std::vector<std::string>;

// Runs an engine call that must come back; a hang cannot be recovered from
// inside the process, so it ends the test program with a failure.
template <typename Call>
auto ReturnsWithin(std::chrono::seconds limit, Call call) {
    auto result = std::async(std::launch::async, call);
    if (result.wait_for(limit) != std::future_status::ready) {
        std::fprintf(stderr, "the engine call did not return: it waits on itself\n");
        std::fflush(stderr);
        std::_Exit(1);
    }
    return result.get();
}

class EngineRecoveryTest : public ::testing::Test {
protected:
    void SetUp() override { h.Configure(output_); }
    void Reconfigure() { h.Configure(output_); }
    void ExpectStoppedWithoutRing() {
        EXPECT_FALSE(h.engine.IsOpen());
        EXPECT_FALSE(h.engine.IsPlaying());
        EXPECT_EQ(h.device.QueuedBlocks(), 0);
        EXPECT_EQ(h.device.AllocatedBlocks(), 0);
    }

    OutputChoice output_;
    EngineHarness h;
};

// ---------------------------------------------------------------- boxes that call back

TEST_F(EngineRecoveryTest, AStopFromInsideThePerformanceBoxEndsTheStart) {
    h.clock.SetTicksPerReading(120);  // too slow: the box comes
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    h.boxes.WhileShown([this] { EXPECT_EQ(h.engine.StopPlayback(false), 1); });
    EXPECT_EQ(ReturnsWithin(std::chrono::seconds(20), [this] { return h.engine.StartPlayback(); }), 0);
    EXPECT_EQ(h.boxes.Count(), 1u);
    ExpectStoppedWithoutRing();

    // The stream starts again as usual.
    h.boxes.WhileShown(nullptr);
    h.clock.SetTicksPerReading(0);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    EXPECT_TRUE(h.RunUntilEnded(5000));
}

TEST_F(EngineRecoveryTest, AHandOverDuringThePerformanceBoxPlaysTheNewStreamUndisturbed) {
    const std::vector<uint8_t> expected = DecodeAll(StreamPath(kStream48), output_);
    h.clock.SetTicksPerReading(120);
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    h.boxes.WhileShown([this] {
        h.boxes.WhileShown(nullptr);
        h.clock.SetTicksPerReading(0);
        // What the window does with a second instance's file.
        h.engine.StopPlayback(false);
        h.engine.ClosePlayback();
        ASSERT_EQ(h.Open(StreamPath(kStream48)), 1);
        ASSERT_EQ(h.engine.StartPlayback(), 1);
    });
    EXPECT_EQ(ReturnsWithin(std::chrono::seconds(20), [this] { return h.engine.StartPlayback(); }), 0);
    EXPECT_TRUE(h.engine.IsPlaying());
    ASSERT_TRUE(h.RunUntilEnded(6000));
    EXPECT_TRUE(h.device.Played() == expected);
    EXPECT_EQ(h.device.OpenFormat().samplesPerSecond, 48000u);
}

TEST_F(EngineRecoveryTest, AStopFromInsideTheSeeksResetBoxReturns) {
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.Run(300);
    h.device.FailReset(kWaveStillPlaying);  // the seek goes on after the box
    h.boxes.WhileShown([this] { h.engine.StopPlayback(false); });
    ReturnsWithin(std::chrono::seconds(20), [this] { return h.engine.SeekPlayback(1000); });
    EXPECT_EQ(h.MessageTexts(), Texts{"Error!: Error resetting wave out audio device!"});
    ExpectStoppedWithoutRing();
}

TEST_F(EngineRecoveryTest, AStopFromInsideAResetBoxReturns) {
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.Run(300);
    h.device.FailUnprepare(kWaveInvalidHandle, 1);
    int inner = -1;
    h.boxes.WhileShown([this, &inner] { inner = h.engine.StopPlayback(true); });
    EXPECT_EQ(ReturnsWithin(std::chrono::seconds(20), [this] { return h.engine.StopPlayback(false); }), 1);
    EXPECT_EQ(inner, 0);  // nothing left to stop
    EXPECT_EQ(h.MessageTexts(), Texts{"Error!: Invalid audio handle for unprepare header!"});
    ExpectStoppedWithoutRing();
}

// ---------------------------------------------------------------- failures in the refresh context

TEST_F(EngineRecoveryTest, AFailureAtTheEndIsPostedAndShownByThePlayersThread) {
    for (int method : {kMethodTimer, kMethodThread, kMethodDevice}) {
        SCOPED_TRACE(method);
        output_.method = method;
        Reconfigure();
        h.boxes.Clear();
        h.events.clear();
        ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
        ASSERT_EQ(h.engine.StartPlayback(), 1);
        h.device.FailUnprepare(kWaveInvalidHandle, 1);
        ASSERT_TRUE(h.RunUntilEnded(5000));
        // Nothing was shown from the refresh context ...
        EXPECT_EQ(h.boxes.Count(), 0u);
        // ... it was posted, ahead of the end.
        ASSERT_EQ(h.Count(ID_PLAYBACK_FAILED), 1);
        EXPECT_LT(h.Events(ID_PLAYBACK_FAILED)[0].at, h.Events(ID_PLAYBACK_ENDED)[0].at + 1);
        h.engine.ShowPendingFailures();
        EXPECT_EQ(h.MessageTexts(), Texts{"Error!: Invalid audio handle for unprepare header!"});
        EXPECT_EQ(h.boxes.Messages()[0].owner, EngineHarness::Window());
        h.engine.ShowPendingFailures();
        EXPECT_EQ(h.boxes.Count(), 1u);
    }
}

TEST_F(EngineRecoveryTest, AStopOnAStuckDeviceDoesNotWaitForSeconds) {
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.Run(300);
    h.device.FailUnprepare(kWaveStillPlaying, 1000);  // every block, every time
    const uint32_t before = h.clock.Now();
    ASSERT_EQ(h.engine.StopPlayback(false), 1);
    EXPECT_LE(h.clock.Now() - before, 500u);
    EXPECT_EQ(h.MessageTexts(), (Texts{"Error!: Audio block 0 is still in the playback queue!",
                                       "Error!: Audio block 1 is still in the playback queue!",
                                       "Error!: Audio block 2 is still in the playback queue!",
                                       "Error!: Audio block 3 is still in the playback queue!"}));
}

// ---------------------------------------------------------------- the device between streams

TEST_F(EngineRecoveryTest, ADeviceThatWillNotCloseNeverPlaysANewFormatInItsOldOne) {
    const std::vector<uint8_t> expected = DecodeAll(StreamPath(kStream48), output_);
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    ASSERT_TRUE(h.RunUntilEnded(5000));

    // Still playing after every retry: the new stream is not opened.
    h.device.FailClose(kWaveStillPlaying, 10);
    EXPECT_EQ(h.Open(StreamPath(kStream48)), 0);
    EXPECT_EQ(h.MessageTexts(), Texts{"Error!: Audio is still playing. Reset failed!"});
    EXPECT_FALSE(h.engine.IsOpen());
    EXPECT_EQ(h.device.OpenFormat().samplesPerSecond, 44100u);

    // The next try closes it and opens the device in the new format.
    ASSERT_EQ(h.Open(StreamPath(kStream48)), 1);
    EXPECT_EQ(h.device.OpenFormat().samplesPerSecond, 48000u);
    h.device.ReserveRecording(h.device.PlayedBytes() + expected.size());
    const uint64_t before = h.device.PlayedBytes();
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    ASSERT_TRUE(h.RunUntilEnded(5000));
    const std::vector<uint8_t> played = h.device.Played();
    EXPECT_TRUE(std::vector<uint8_t>(played.begin() + static_cast<std::ptrdiff_t>(before), played.end()) == expected);

    // A close that answers nonsense ten times counts as closed: the device is
    // given up and a fresh one opened in the new format.
    h.boxes.Clear();
    h.device.FailClose(kWaveError, 10);
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    EXPECT_EQ(h.device.OpenFormat().samplesPerSecond, 44100u);
    EXPECT_EQ(h.device.Abandons(), 1);
    EXPECT_TRUE(h.boxes.Messages().empty());
}

TEST_F(EngineRecoveryTest, AChangeOfRefreshMethodReopensTheDevice) {
    for (int method : {kMethodDevice, kMethodTimer, kMethodThread, kMethodDevice}) {
        SCOPED_TRACE(method);
        output_.method = method;
        Reconfigure();
        ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
        EXPECT_EQ(h.device.HasCallback(), method == kMethodDevice);
        ASSERT_EQ(h.engine.StartPlayback(), 1);
        EXPECT_TRUE(h.RunUntilEnded(5000));
    }
    // Timer and Thread share the device opened without a callback.
    EXPECT_EQ(h.device.Opens(), 3);
}

// ---------------------------------------------------------------- races with the end

TEST_F(EngineRecoveryTest, APauseThatCameTooLateForTheEndDoesNotHoldTheNextStart) {
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    // Every block has played; the next timer step will find out.
    for (int i = 0; i < 5000 && (h.device.QueuedBlocks() > 0 || h.device.PlayedBytes() == 0); ++i) h.Run(1);
    ASSERT_TRUE(h.engine.IsPlaying());
    EXPECT_EQ(h.engine.PausePlayback(), 1);
    ASSERT_TRUE(h.RunUntilEnded(1000));
    EXPECT_FALSE(h.engine.IsPaused());

    const uint64_t before = h.device.PlayedBytes();
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    EXPECT_FALSE(h.engine.IsPaused());
    ASSERT_TRUE(h.RunUntilEnded(5000)) << "the start went to a device left paused";
    EXPECT_GT(h.device.PlayedBytes(), before);

    // Nothing to pause, resume or restart once the stream is closed.
    h.engine.ClosePlayback();
    EXPECT_EQ(h.engine.PausePlayback(), 0);
    EXPECT_EQ(h.engine.ResumePlayback(), 0);
    EXPECT_EQ(h.engine.StartPlayback(), 0);
}

TEST_F(EngineRecoveryTest, AnEndThatAStopOvertookIsNotNews) {
    output_.method = kMethodDevice;
    Reconfigure();
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    ASSERT_TRUE(h.RunUntilEnded(5000));
    // The user's Stop reached the engine after the end was posted.
    EXPECT_EQ(h.engine.StopPlayback(false), 0);
    EXPECT_FALSE(h.engine.ClaimPlaybackEnd());

    // Unhindered, an end is claimed once.
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    ASSERT_TRUE(h.RunUntilEnded(5000));
    EXPECT_TRUE(h.engine.ClaimPlaybackEnd());
    EXPECT_FALSE(h.engine.ClaimPlaybackEnd());

    // A start (Play pressed again) overtakes it too.
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    ASSERT_TRUE(h.RunUntilEnded(5000));
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    EXPECT_FALSE(h.engine.ClaimPlaybackEnd());
}

// ---------------------------------------------------------------- a device that stops working

class LostDeviceTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        output_.method = GetParam();
        h.Configure(output_);
    }

    // Plays, loses the device after `playMs` by `lose`, and checks that the
    // player is told and that Play goes on with a fresh device from where
    // playback was heard.
    template <typename Lose>
    void LoseAndPlayOn(uint32_t playMs, Lose lose, uint32_t limitMs) {
        ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
        ASSERT_EQ(h.engine.StartPlayback(), 1);
        h.Run(playMs);
        lose();
        ASSERT_TRUE(h.RunUntilPosted(ID_PLAYBACK_FAILED, limitMs));
        EXPECT_EQ(h.Count(ID_PLAYBACK_ENDED), 0);
        EXPECT_FALSE(h.engine.IsPlaying());
        EXPECT_EQ(h.boxes.Count(), 0u);
        h.engine.ShowPendingFailures();
        EXPECT_EQ(h.MessageTexts(), Texts{kDeviceStopped});
        EXPECT_TRUE(h.engine.HasResumePosition());

        ASSERT_EQ(h.engine.StartPlayback(), 1);
        EXPECT_EQ(h.device.Abandons(), 1);
        EXPECT_EQ(h.device.Opens(), 2);
        EXPECT_TRUE(h.engine.IsPlaying());
        const uint32_t at = h.clock.Now();
        ASSERT_TRUE(h.RunUntilEnded(5000));
        // What had been heard is not played again, and nothing is skipped.
        EXPECT_NEAR(static_cast<double>(h.clock.Now() - at), 3004.0 - playMs, 150.0);
        EXPECT_EQ(h.boxes.Count(), 1u);
    }

    OutputChoice output_;
    EngineHarness h;
};

TEST_P(LostDeviceTest, AWriteThatFailsStopsPlaybackAndPlayGoesOnWithAFreshDevice) {
    LoseAndPlayOn(1000, [this] { h.device.FailWrite(kWaveError, 1); }, 1000);
}

TEST_P(LostDeviceTest, ADeviceThatStopsReturningBlocksIsGivenUp) {
    if (GetParam() == kMethodDevice) GTEST_SKIP() << "a device that stops calls back no more";
    // The ring is 4 blocks of 4 frames (about 420 ms): lost a few seconds on.
    LoseAndPlayOn(1000, [this] { h.device.Die(); }, 6000);
}

INSTANTIATE_TEST_SUITE_P(Methods, LostDeviceTest, ::testing::Values(kMethodTimer, kMethodThread, kMethodDevice),
                         MethodTestName);

TEST_F(EngineRecoveryTest, AResetThatFailsClosesTheDeviceAndTheNextStartOpensAFreshOne) {
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.Run(500);
    h.device.Die(kWaveError);
    EXPECT_EQ(h.engine.StopPlayback(false), 1);
    EXPECT_FALSE(h.device.IsOpen());
    EXPECT_EQ(h.device.Abandons(), 1);
    EXPECT_TRUE(h.boxes.Messages().empty());
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    EXPECT_EQ(h.device.Opens(), 2);
    ASSERT_TRUE(h.RunUntilEnded(5000));

    // An invalid handle says so, and still leaves the engine able to start.
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.Run(200);
    h.device.Die(kWaveInvalidHandle);
    EXPECT_EQ(h.engine.StopPlayback(false), 0);
    EXPECT_EQ(h.MessageTexts(), Texts{"Error!: Invalid audio handle for reset!"});
    EXPECT_FALSE(h.engine.IsOpen());
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    EXPECT_EQ(h.device.Opens(), 3);
    EXPECT_TRUE(h.RunUntilEnded(5000));
}

TEST_F(EngineRecoveryTest, ASeekOnALostDeviceStopsAndPlayBeginsWhereTheSeekWent) {
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.Run(300);
    h.device.Die(kWaveError);
    EXPECT_EQ(h.engine.SeekPlayback(2000), 0);
    EXPECT_EQ(h.MessageTexts(), (Texts{"Error!: Error resetting wave out audio device!", kDeviceStopped}));
    EXPECT_FALSE(h.engine.IsPlaying());
    EXPECT_FALSE(h.device.IsOpen());
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    const uint32_t at = h.clock.Now();
    ASSERT_TRUE(h.RunUntilEnded(5000));
    EXPECT_NEAR(static_cast<double>(h.clock.Now() - at), 1000.0, 120.0);
}

}  // namespace
}  // namespace plyvane
