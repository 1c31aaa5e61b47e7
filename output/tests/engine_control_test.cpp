// The player's controls on a playing engine: pause and resume, seek, stop
// and close, volume, the device kept or reopened between streams, and the
// record a probe gives.
#include <gtest/gtest.h>

#include "engine_harness.h"
#include "method_test_names.h"

namespace plyvane {
namespace {

constexpr char kStream[] = "layer2/mpeg1_44k_joint_192k.mp2";  // 3.0 s, 44.1 kHz
constexpr uint32_t kBytesPerMs = 176;                         // 44.1 kHz 16-bit stereo, rounded down

class EngineControlTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        output_.method = GetParam();
        h.Configure(output_);
    }
    void OpenAndStart(const char* stream = kStream) {
        ASSERT_EQ(h.Open(StreamPath(stream)), 1);
        ASSERT_EQ(h.engine.StartPlayback(), 1);
    }

    OutputChoice output_;
    EngineHarness h;
};

TEST_P(EngineControlTest, PauseHoldsTheDeviceAndResumeGoesOnWithNothingLost) {
    const std::vector<uint8_t> expected = DecodeAll(StreamPath(kStream), output_);
    OpenAndStart();
    h.Run(1000);
    ASSERT_EQ(h.engine.PausePlayback(), 1);
    EXPECT_TRUE(h.device.Paused());
    EXPECT_TRUE(h.engine.GetPlaybackInfo().paused);
    EXPECT_TRUE(h.engine.GetPlaybackInfo().playing);
    const uint64_t played = h.device.PlayedBytes();
    h.Run(2000);
    EXPECT_EQ(h.device.PlayedBytes(), played);
    EXPECT_EQ(h.Count(ID_PLAYBACK_ENDED), 0);

    ASSERT_EQ(h.engine.ResumePlayback(), 1);
    EXPECT_FALSE(h.device.Paused());
    EXPECT_EQ(h.engine.ResumePlayback(), 0);  // nothing to resume
    ASSERT_TRUE(h.RunUntilEnded(5000));
    EXPECT_TRUE(h.device.Played() == expected);
}

TEST_P(EngineControlTest, StartWhilePausedResumesWithoutRefilling) {
    OpenAndStart();
    h.Run(500);
    ASSERT_EQ(h.engine.PausePlayback(), 1);
    const int queued = h.device.QueuedBlocks();
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    EXPECT_FALSE(h.device.Paused());
    EXPECT_FALSE(h.engine.IsPaused());
    EXPECT_EQ(h.device.QueuedBlocks(), queued);
    EXPECT_EQ(h.engine.StartPlayback(), 0);  // already playing
    ASSERT_TRUE(h.RunUntilEnded(5000));
}

TEST_P(EngineControlTest, SeekingWhilePausedStaysPausedAtTheNewPosition) {
    const std::vector<uint8_t> whole = DecodeAll(StreamPath(kStream), output_);
    OpenAndStart();
    h.Run(500);
    ASSERT_EQ(h.engine.PausePlayback(), 1);
    ASSERT_EQ(h.engine.SeekPlayback(2000), 1);
    EXPECT_TRUE(h.device.Paused());
    EXPECT_TRUE(h.engine.IsPaused());
    // The ring holds the audio from the new position on.
    EXPECT_NEAR(h.engine.GetPlaybackInfo().position, 2000.0f, 2 * 26.2f);
    const uint64_t before = h.device.PlayedBytes();
    h.Run(1000);
    EXPECT_EQ(h.device.PlayedBytes(), before);

    ASSERT_EQ(h.engine.ResumePlayback(), 1);
    ASSERT_TRUE(h.RunUntilEnded(5000));
    // About the last second was played after the seek.
    const uint64_t afterSeek = h.device.PlayedBytes() - before;
    EXPECT_NEAR(static_cast<double>(afterSeek), static_cast<double>(whole.size()) - 2000.0 * 176.4, 2 * 4608.0);
}

TEST_P(EngineControlTest, SeekingWhilePlayingJumpsAndKeepsPlaying) {
    OpenAndStart();
    h.Run(300);
    ASSERT_EQ(h.engine.SeekPlayback(1500), 1);
    EXPECT_FALSE(h.device.Paused());
    const uint64_t before = h.device.PlayedBytes();
    const uint32_t at = h.clock.Now();
    ASSERT_TRUE(h.RunUntilEnded(5000));
    // 1.5 s left, heard in about 1.5 s.
    EXPECT_NEAR(static_cast<double>(h.clock.Now() - at), 1500.0, 60.0);
    EXPECT_NEAR(static_cast<double>(h.device.PlayedBytes() - before), 1500.0 * 176.4, 2 * 4608.0);
    EXPECT_EQ(h.device.LongestGapMs(), 0u);
}

TEST_P(EngineControlTest, ASeekAtOrBeyondTheLengthIsRefused) {
    OpenAndStart();
    h.Run(200);
    const auto length = static_cast<uint32_t>(h.engine.GetPlaybackInfo().length);
    EXPECT_EQ(h.engine.SeekPlayback(length), 0);
    EXPECT_EQ(h.engine.SeekPlayback(length + 1000), 0);
    EXPECT_EQ(h.engine.SeekPlayback(0xFFFFFFFFu), 0);
    EXPECT_EQ(h.engine.SeekPlayback(length - 100), 1);
    ASSERT_TRUE(h.RunUntilEnded(5000));
}

TEST_P(EngineControlTest, ASeekBeforeTheStartIsWhereThePlaybackBegins) {
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    ASSERT_EQ(h.engine.SeekPlayback(2000), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    const uint32_t at = h.clock.Now();
    ASSERT_TRUE(h.RunUntilEnded(5000));
    EXPECT_NEAR(static_cast<double>(h.clock.Now() - at), 1000.0, 60.0);
}

TEST_P(EngineControlTest, StopKeepsTheDeviceForTheNextStreamOfTheSameFormat) {
    OpenAndStart();
    h.Run(500);
    ASSERT_EQ(h.engine.StopPlayback(false), 1);
    EXPECT_FALSE(h.engine.IsOpen());
    EXPECT_TRUE(h.device.IsOpen());
    EXPECT_EQ(h.device.QueuedBlocks(), 0);
    EXPECT_EQ(h.device.AllocatedBlocks(), 0);
    EXPECT_EQ(h.engine.StopPlayback(false), 0);  // nothing open
    h.Run(500);
    EXPECT_EQ(h.Count(ID_PLAYBACK_ENDED), 0);  // a stop is not an end

    // Same rate, bits and channels: no new waveOutOpen.
    OpenAndStart("layer2/mpeg1_44k_stereo_128k.mp2");
    ASSERT_TRUE(h.RunUntilEnded(5000));
    EXPECT_EQ(h.device.Opens(), 1);
    EXPECT_EQ(h.device.Closes(), 0);
}

TEST_P(EngineControlTest, AFormatChangeClosesAndReopensTheDevice) {
    OpenAndStart();
    ASSERT_TRUE(h.RunUntilEnded(5000));
    EXPECT_EQ(h.device.OpenFormat().samplesPerSecond, 44100u);

    OpenAndStart("layer2/mpeg1_48k_stereo_192k.mp2");
    EXPECT_EQ(h.device.Opens(), 2);
    EXPECT_EQ(h.device.Closes(), 1);
    EXPECT_EQ(h.device.OpenFormat().samplesPerSecond, 48000u);
    ASSERT_TRUE(h.RunUntilEnded(5000));

    // A one-channel stream plays as mono, at its own rate.
    OpenAndStart("layer2/mpeg1_44k_mono_32k.mp2");
    EXPECT_EQ(h.device.Opens(), 3);
    EXPECT_EQ(h.device.OpenFormat().channels, 1u);
    EXPECT_EQ(h.device.OpenFormat().avgBytesPerSecond, 88200u);
    ASSERT_TRUE(h.RunUntilEnded(5000));
    EXPECT_EQ(h.engine.GetPlaybackInfo().outputChannels, 1u);
}

TEST_P(EngineControlTest, StopWithCloseClosesTheDeviceAndClosingForgetsTheStream) {
    OpenAndStart();
    h.Run(300);
    ASSERT_EQ(h.engine.StopPlayback(true), 1);
    EXPECT_FALSE(h.device.IsOpen());
    EXPECT_EQ(h.engine.GetPlaybackInfo().deviceHandle, 0u);
    // The stream is still remembered: start opens it again.
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    EXPECT_EQ(h.device.Opens(), 2);
    h.Run(300);
    ASSERT_EQ(h.engine.ClosePlayback(), 1);
    EXPECT_FALSE(h.engine.IsOpen());
    EXPECT_STREQ(h.engine.GetPlaybackInfo().title, "");
    EXPECT_EQ(h.engine.StartPlayback(), 0);  // nothing remembered
    EXPECT_TRUE(h.boxes.Messages().empty());
}

TEST_P(EngineControlTest, VolumeIsSetOnlyWithAStreamOpenAndKeptAcrossAStop) {
    EXPECT_EQ(h.engine.SetPlaybackVolume(0x1000, 0x2000), 0);
    h.device.SetInitialVolume(0x80004000u);
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    uint16_t left = 0, right = 0;
    ASSERT_EQ(h.engine.GetPlaybackVolume(left, right), 1);
    EXPECT_EQ(left, 0x4000);
    EXPECT_EQ(right, 0x8000);
    ASSERT_EQ(h.engine.SetPlaybackVolume(0x1234, 0xABCD), 1);
    ASSERT_EQ(h.engine.GetPlaybackVolume(left, right), 1);
    EXPECT_EQ(left, 0x1234);
    EXPECT_EQ(right, 0xABCD);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.Run(200);
    ASSERT_EQ(h.engine.StopPlayback(false), 1);
    const PlaybackInfo info = h.engine.GetPlaybackInfo();
    EXPECT_EQ(info.volumeLeft, 0x1234);
    EXPECT_EQ(info.volumeRight, 0xABCD);
    h.engine.ClosePlayback();
    EXPECT_EQ(h.engine.GetPlaybackInfo().volumeLeft, 0x1234);
    // A failed device volume leaves the remembered one.
    h.device.FailVolume(true);
    EXPECT_EQ(h.engine.GetPlaybackVolume(left, right), 0);
}

TEST_P(EngineControlTest, TheRecordDescribesStreamAndOutput) {
    output_.divisor = 2;
    output_.bits = 8;
    output_.quality = 3;
    h.Configure(output_);
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    const PlaybackInfo info = h.engine.GetPlaybackInfo();
    EXPECT_STREQ(info.title, "mpeg1_44k_joint_192k");
    EXPECT_EQ(info.layer, 2u);
    EXPECT_EQ(info.version, 1u);
    EXPECT_EQ(info.bitratePerChannel, 96u);
    EXPECT_EQ(info.streamSampleRate, 44100u);
    EXPECT_EQ(info.outputSampleRate, 22050u);
    EXPECT_EQ(info.outputBits, 8u);
    EXPECT_EQ(info.quality, 3u);
    EXPECT_EQ(info.streamChannels, 2u);
    EXPECT_EQ(info.sourceSize, 72097u);
    EXPECT_NEAR(info.length, 3004.0f, 1.0f);
    EXPECT_NE(info.deviceHandle, 0u);
    EXPECT_EQ(info.position, 0.0f);
    EXPECT_EQ(info.playing, 0);
    EXPECT_EQ(h.device.OpenFormat().bitsPerSample, 8u);
    EXPECT_EQ(h.device.OpenFormat().samplesPerSecond, 22050u);

    // Saving the configuration while stopped shows the new format at once.
    h.engine.UpdateOutputFormat(OutputSettings{4, 1, 1, 16, 4, 4, 1, -1});
    const PlaybackInfo updated = h.engine.GetPlaybackInfo();
    EXPECT_EQ(updated.outputSampleRate, 11025u);
    EXPECT_EQ(updated.outputBits, 16u);
    EXPECT_EQ(updated.outputChannels, 1u);
    EXPECT_EQ(updated.quality, 1u);
    // While playing it does not.
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.engine.UpdateOutputFormat(OutputSettings{1, 2, 2, 16, 4, 4, 1, -1});
    EXPECT_EQ(h.engine.GetPlaybackInfo().outputSampleRate, 11025u);
    ASSERT_TRUE(h.RunUntilEnded(5000));
}

INSTANTIATE_TEST_SUITE_P(Methods, EngineControlTest, ::testing::Values(kMethodTimer, kMethodThread, kMethodDevice),
                         MethodTestName);

TEST(EngineProbeTest, AProbeDescribesAFileWithoutTouchingPlayback) {
    EngineHarness h;
    h.Configure(OutputChoice{});
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.Run(200);
    const PlaybackInfo* probe =
        h.engine.ProbeFileInfo(EngineHarness::Window(), StreamPath("layer3/mpeg2_22k_joint_64k_short.mp3").c_str(), nullptr);
    ASSERT_NE(probe, nullptr);
    EXPECT_STREQ(probe->title, "mpeg2_22k_joint_64k_short");
    EXPECT_EQ(probe->layer, 3u);
    EXPECT_EQ(probe->version, 2u);
    EXPECT_EQ(probe->streamSampleRate, 22050u);
    EXPECT_EQ(probe->outputBits, 16u);
    EXPECT_EQ(probe->quality, 1u);
    EXPECT_FLOAT_EQ(probe->length, 2000.0f) << "the 2 s the stream was encoded from, to the sample";
    EXPECT_STREQ(h.engine.GetPlaybackInfo().title, "mpeg1_44k_joint_192k");
    ASSERT_TRUE(h.RunUntilEnded(5000));

    EXPECT_EQ(h.engine.ProbeFileInfo(nullptr, "/no/such/file.mp3", nullptr), nullptr);
    EXPECT_EQ(h.engine.ProbeFileInfo(nullptr, StreamPath("README.md").c_str(), nullptr), nullptr);
    EXPECT_EQ(h.engine.ProbeFileInfo(nullptr, nullptr, nullptr), nullptr);
    const auto texts = h.MessageTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Error!: File /no/such/file.mp3 does not exist!");
    EXPECT_EQ(texts[1], "Error!: This is not a valid audiofile!");
}

}  // namespace
}  // namespace plyvane
