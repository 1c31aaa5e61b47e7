// Whole streams through each refresh method on the virtual device: what is
// played, when the engine says where it is, and when it says it is over.
#include <gtest/gtest.h>

#include <cmath>

#include "continuous_lists.h"
#include "engine_harness.h"
#include "memory_byte_source.h"
#include "method_test_names.h"

namespace plyvane {
namespace {

constexpr char kLayer2[] = "layer2/mpeg1_44k_joint_192k.mp2";  // 3.0 s
constexpr char kLayer3[] = "layer3/mpeg1_44k_stereo_128k.mp3";  // 2.1 s

class EnginePlaybackTest : public ::testing::TestWithParam<int> {
protected:
    OutputChoice Output(int buffers = 4, int framesPerBuffer = 4) const {
        OutputChoice output;
        output.method = GetParam();
        output.buffers = buffers;
        output.framesPerBuffer = framesPerBuffer;
        return output;
    }

    EngineHarness h;
};

TEST_P(EnginePlaybackTest, EachLayerPlaysWhollyAndEndsOnceAfterTheRingDrained) {
    for (const char* stream : {kLayer2, kLayer3}) {
        SCOPED_TRACE(stream);
        EngineHarness run;
        const OutputChoice output = Output();
        run.Configure(output);
        const std::vector<uint8_t> expected = DecodeAll(StreamPath(stream), output);
        ASSERT_FALSE(expected.empty());
        run.device.ReserveRecording(expected.size());

        ASSERT_EQ(run.Open(StreamPath(stream)), 1);
        ASSERT_EQ(run.engine.StartPlayback(), 1);
        EXPECT_TRUE(run.engine.IsPlaying());
        ASSERT_TRUE(run.RunUntilEnded(10000));

        EXPECT_TRUE(run.device.Played() == expected) << "played " << run.device.PlayedBytes() << " of "
                                                     << expected.size() << " bytes";
        EXPECT_EQ(run.device.LongestGapMs(), 0u);
        // Ended only once everything was heard, and only once.
        EXPECT_EQ(run.Events(ID_PLAYBACK_ENDED)[0].playedBytes, expected.size());
        run.Run(2000);
        EXPECT_EQ(run.Count(ID_PLAYBACK_ENDED), 1);
        EXPECT_FALSE(run.engine.IsOpen());
        EXPECT_FALSE(run.engine.IsPlaying());
        // The device stays open for the next stream; the ring is gone.
        EXPECT_TRUE(run.device.IsOpen());
        EXPECT_EQ(run.device.AllocatedBlocks(), 0);
        EXPECT_TRUE(run.boxes.Messages().empty());
    }
}


// A stream that opens but never gives a sample ends like any other, and
// says so, whether it ends inside the prefill or after a seek; a stream
// that sounded keeps saying so after its end.
TEST_P(EnginePlaybackTest, AStreamWithoutASampleEndsSaidToBeSilent) {
    EngineHarness run;
    run.Configure(Output());
    ASSERT_EQ(run.Open(StreamPath("damaged/l3_no_audio.mp3")), 1);
    ASSERT_EQ(run.engine.StartPlayback(), 1);
    ASSERT_TRUE(run.RunUntilEnded(10000));
    EXPECT_FALSE(run.engine.ProducedSound());
    EXPECT_EQ(run.device.PlayedBytes(), 0u);

    ASSERT_EQ(run.Open(StreamPath(kLayer2)), 1);
    EXPECT_FALSE(run.engine.ProducedSound());
    ASSERT_EQ(run.engine.StartPlayback(), 1);
    ASSERT_TRUE(run.RunUntilEnded(10000));
    EXPECT_TRUE(run.engine.ProducedSound());
    // Played again from the start: a new open that has not sounded yet.
    ASSERT_EQ(run.Open(StreamPath("damaged/l3_no_audio.mp3")), 1);
    EXPECT_FALSE(run.engine.ProducedSound());
}
TEST_P(EnginePlaybackTest, PositionsComeAboutOncePerSecondAndNeverPassTheLength) {
    h.Configure(Output());
    ASSERT_EQ(h.Open(StreamPath(kLayer2)), 1);
    const float length = h.engine.GetPlaybackInfo().length;
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    const uint32_t start = h.clock.Now();
    ASSERT_TRUE(h.RunUntilEnded(10000));

    const auto positions = h.Events(ID_PLAYBACK_POSITION);
    // 3 s of audio: a notification per second of decoded audio.
    ASSERT_GE(positions.size(), 2u);
    ASSERT_LE(positions.size(), 4u);
    for (size_t i = 0; i < positions.size(); ++i) {
        EXPECT_LE(positions[i].position, length);
        EXPECT_GE(positions[i].position, 0.0f);
        if (i > 0) {
            EXPECT_GE(positions[i].position, positions[i - 1].position);
            // About a second apart in simulated time.
            EXPECT_NEAR(static_cast<double>(positions[i].at - positions[i - 1].at), 1000.0, 150.0);
        }
        // The position is what has been heard, give or take a block.
        const double heardMs = static_cast<double>(positions[i].at - start);
        EXPECT_NEAR(positions[i].position, heardMs, 4 * 26.2 + 5.0) << "at " << positions[i].at;
    }
    // The end resets the position for the player.
    const auto ended = h.Events(ID_PLAYBACK_ENDED);
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_EQ(ended[0].position, 0.0f);
}

TEST_P(EnginePlaybackTest, WithoutAnIntervalNoPositionIsPostedButItCanBeAsked) {
    h.Configure(Output());
    ASSERT_EQ(h.Open(StreamPath(kLayer2), 0), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.Run(1500);
    const float position = h.engine.GetPlaybackInfo().position;
    EXPECT_NEAR(position, 1500.0, 4 * 26.2 + 5.0);
    ASSERT_TRUE(h.RunUntilEnded(10000));
    EXPECT_EQ(h.Count(ID_PLAYBACK_POSITION), 0);
}

TEST_P(EnginePlaybackTest, AStreamShorterThanTheRingPlaysCompletely) {
    // 0.78 s against a ring of 4 x 16 frames (1.7 s).
    const char* shortStream = "layer3/mpeg1_48k_vbr_v6.mp3";
    const OutputChoice output = Output(4, 16);
    h.Configure(output);
    const std::vector<uint8_t> expected = DecodeAll(StreamPath(shortStream), output);
    ASSERT_EQ(h.Open(StreamPath(shortStream)), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    // The refresh method still starts and gets a usable delay.
    EXPECT_GE(h.engine.RefreshDelay(), 1u);
    ASSERT_TRUE(h.RunUntilEnded(5000));
    EXPECT_TRUE(h.device.Played() == expected);
    EXPECT_EQ(h.Count(ID_PLAYBACK_ENDED), 1);
    EXPECT_TRUE(h.boxes.Messages().empty());
}

TEST_P(EnginePlaybackTest, AContinuousListOfThreeFilesAnnouncesEachNextFileWhenItIsHeard) {
    const std::vector<std::string> files = {StreamPath("layer2/mpeg1_44k_stereo_128k.mp2"),
                                            StreamPath("layer2/mpeg1_44k_joint_192k.mp2"),
                                            StreamPath("layer2/mpeg1_44k_stereo_192k.mp2")};
    const long handle = ContinuousLists::Instance().Register(files);
    const std::string name = ContinuousLists::ListName(handle);
    const OutputChoice output = Output();
    h.Configure(output);
    const std::vector<uint8_t> expected = DecodeAll(name, output);
    const size_t firstBytes = DecodeAll(files[0], output).size();
    const size_t secondBytes = DecodeAll(files[1], output).size();
    // A block, and the refresh step's own delay (up to a quarter block).
    const double tolerance = 1.5 * 4 * 4608;

    ASSERT_EQ(h.Open(name), 1);
    EXPECT_STREQ(h.engine.GetPlaybackInfo().title, "mpeg1_44k_stereo_128k");
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    ASSERT_TRUE(h.RunUntilEnded(15000));
    ContinuousLists::Instance().Unregister(handle);

    EXPECT_TRUE(h.device.Played() == expected);
    const auto next = h.Events(ID_PLAYBACK_NEXTFILE);
    ASSERT_EQ(next.size(), 2u);
    // Each comes when the ring ahead holds only the new file: the old one
    // has been heard to within a block.
    EXPECT_NEAR(static_cast<double>(next[0].playedBytes), static_cast<double>(firstBytes), tolerance);
    EXPECT_NEAR(static_cast<double>(next[1].playedBytes), static_cast<double>(firstBytes + secondBytes),
                tolerance);
    EXPECT_EQ(next[0].title, "mpeg1_44k_joint_192k");
    EXPECT_EQ(next[1].title, "mpeg1_44k_stereo_192k");
    EXPECT_EQ(next[0].position, 0.0f);
    // Positions after a next file count in the new file.
    for (const auto& position : h.Events(ID_PLAYBACK_POSITION)) {
        if (position.at > next[0].at && position.at < next[1].at) {
            const double inFile = (position.playedBytes - static_cast<double>(firstBytes)) / 176.4;
            EXPECT_NEAR(position.position, inFile, 4 * 4 * 26.2 + 5.0);
        }
    }
    EXPECT_EQ(h.Count(ID_PLAYBACK_ENDED), 1);
}

TEST_P(EnginePlaybackTest, AStreamOfUnknownLengthCountsOnAndEndsAtMinusOne) {
    std::vector<uint8_t> bytes = [] {
        FILE* file = std::fopen(StreamPath(kLayer2).c_str(), "rb");
        std::vector<uint8_t> data(1 << 20);
        data.resize(file != nullptr ? std::fread(data.data(), 1, data.size(), file) : 0);
        if (file != nullptr) std::fclose(file);
        return data;
    }();
    MemoryByteSource source(bytes, "stream");
    source.SetLengthKnown(false);
    h.Configure(Output());
    ASSERT_EQ(h.Open(source, "stream"), 1);
    EXPECT_EQ(h.engine.GetPlaybackInfo().length, -1.0f);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    ASSERT_TRUE(h.RunUntilEnded(10000));
    const auto positions = h.Events(ID_PLAYBACK_POSITION);
    ASSERT_GE(positions.size(), 2u);
    EXPECT_GT(positions.back().position, 1500.0f);
    EXPECT_EQ(h.Events(ID_PLAYBACK_ENDED)[0].position, -1.0f);
    h.engine.ClosePlayback();
}

TEST_P(EnginePlaybackTest, StartingAgainAfterTheEndPlaysTheStreamFromItsStart) {
    const OutputChoice output = Output();
    h.Configure(output);
    const std::vector<uint8_t> once = DecodeAll(StreamPath(kLayer3), output);
    ASSERT_EQ(h.Open(StreamPath(kLayer3)), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    ASSERT_TRUE(h.RunUntilEnded(10000));
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    ASSERT_TRUE(h.RunUntilEnded(10000));
    std::vector<uint8_t> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_TRUE(h.device.Played() == twice);
    EXPECT_EQ(h.device.Opens(), 1);
    EXPECT_EQ(h.Count(ID_PLAYBACK_ENDED), 2);
}

INSTANTIATE_TEST_SUITE_P(Methods, EnginePlaybackTest, ::testing::Values(kMethodTimer, kMethodThread, kMethodDevice),
                         MethodTestName);

}  // namespace
}  // namespace plyvane
