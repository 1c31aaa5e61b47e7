// What the engine says when the device, the configuration, the source or the
// refresh method fails, word for word, and that it is left closed.
#include <gtest/gtest.h>

#include <functional>

#include "engine_harness.h"

namespace plyvane {
namespace {

constexpr char kStream[] = "layer2/mpeg1_44k_joint_192k.mp2";
constexpr char kNoDevice[] =
    "Error!: No wave audio device available. Please check your systemconfiguration or try again later.";

using Texts = std::vector<std::string>;

struct OpenFailureRow {
    WaveResult result;
    Texts texts;
};

class EngineFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        output_.device = 0;
        h.Configure(output_);
    }
    void ExpectClosed() {
        EXPECT_FALSE(h.engine.IsOpen());
        EXPECT_FALSE(h.engine.IsActive());
        EXPECT_FALSE(h.engine.IsPlaying());
    }

    OutputChoice output_;
    EngineHarness h;
};

TEST_F(EngineFailureTest, EachWaveOutOpenErrorShowsItsMessagesAndLeavesTheEngineClosed) {
    const std::vector<OpenFailureRow> rows = {
        {kWaveBadDeviceId, {"Error!: Invalid WaveOut-device ID 0!", kNoDevice}},
        {kWaveAllocated,
         {"Plyvane audio playback: Your wave audio device is in use by another application.", kNoDevice}},
        {kWaveNoMemory, {"Error!: No memory left to open WaveOut-device 0!", kNoDevice}},
        {kWaveBadFormat,
         {"Plyvane audio playback: You WaveOut-audio-device 0 is not capable of playing sounds at 44100Hz 16bit "
          "stereo.\nPress OK to search for other WaveOut-devices.",
          kNoDevice}},
        {kWaveSync, {"Error!: No SYNC specified."}},
        {1, {"Error!: Unkown audio error."}},
        {kWaveStillPlaying, {"Error!: Unkown audio error."}},
        {36, {"Error!: Unkown audio error."}},
        {1000, {"Error!: Unkown audio error."}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.result);
        h.boxes.Clear();
        h.device.FailOpen(row.result);
        EXPECT_EQ(h.Open(StreamPath(kStream)), 0);
        EXPECT_EQ(h.MessageTexts(), row.texts);
        for (const auto& message : h.boxes.Messages()) EXPECT_EQ(message.owner, EngineHarness::Window());
        ExpectClosed();
        EXPECT_FALSE(h.device.IsOpen());
    }
    // The next open works.
    h.boxes.Clear();
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    EXPECT_TRUE(h.boxes.Messages().empty());
}

TEST_F(EngineFailureTest, ABadFormatNamesRateBitsAndMono) {
    output_.divisor = 4;
    output_.bits = 8;
    output_.channels = 1;
    h.Configure(output_);
    h.device.FailOpen(kWaveBadFormat);
    EXPECT_EQ(h.Open(StreamPath(kStream)), 0);
    EXPECT_EQ(h.MessageTexts(),
              (Texts{"Plyvane audio playback: You WaveOut-audio-device 0 is not capable of playing sounds at 11025Hz "
                     "8bit mono.\nPress OK to search for other WaveOut-devices.",
                     kNoDevice}));
}

TEST_F(EngineFailureTest, InvalidStoredValuesAreRefusedWithTheirMessage) {
    const std::vector<std::pair<std::pair<const char*, uint32_t>, std::string>> rows = {
        {{"PlaybackMethode", 4}, "Error!: Illegal playback methode selected!"},
        {{"FrequencyDivisor", 3}, "Error!: Illegal playback configuration: 3 FrequencyDivisor"},
        {{"Quality", 4}, "Error!: Illegal playback configuration: 4 Quality"},
        {{"Channels", 3}, "Error!: Illegal playback configuration: 3 Channels"},
        {{"BitsPerSample", 12}, "Error!: Illegal playback configuration: 12 BitsPerSample"},
        {{"Buffers", 1}, "Error!: Illegal playback configuration: 1 Buffers"},
        {{"Buffers", 129}, "Error!: Illegal playback configuration: 129 Buffers"},
        {{"FramesPerBuffer", 0}, "Error!: Illegal playback configuration: 0 FramesPerBuffer"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.second);
        h.Configure(output_);
        h.Store(row.first.first, row.first.second);
        h.boxes.Clear();
        EXPECT_EQ(h.Open(StreamPath(kStream)), 0);
        EXPECT_EQ(h.MessageTexts(), Texts{row.second});
        ExpectClosed();
    }
    h.Configure(output_);
    h.device.SetDeviceCount(0);
    h.boxes.Clear();
    EXPECT_EQ(h.Open(StreamPath(kStream)), 0);
    EXPECT_EQ(h.MessageTexts(), Texts{kNoDevice});
    EXPECT_EQ(h.device.Opens(), 0);
}

TEST_F(EngineFailureTest, SourcesThatCannotBeOpenedOrDecodedAreReported) {
    EXPECT_EQ(h.Open("/no/such/stream.mp2"), 0);
    EXPECT_EQ(h.Open(StreamPath("README.md")), 0);
    EXPECT_EQ(h.engine.OpenPlayback(EngineHarness::Window(), nullptr, nullptr, 1000), 0);
    EXPECT_EQ(h.MessageTexts(),
              (Texts{"Error!: File /no/such/stream.mp2 does not exist!", "Error!: This is not a valid audiofile!"}));
    ExpectClosed();

    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    h.boxes.Clear();
    EXPECT_EQ(h.Open(StreamPath(kStream)), 0);
    EXPECT_EQ(h.MessageTexts(), Texts{"Error!: Another audio playback thread is already running!"});
    EXPECT_TRUE(h.engine.IsOpen());
}

TEST_F(EngineFailureTest, ARefreshMethodThatCannotStartIsReportedAndStopsCleanly) {
    h.timer.FailStart(true);
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    EXPECT_EQ(h.engine.StartPlayback(), 0);
    EXPECT_EQ(h.MessageTexts(), Texts{"Error!: Can't launch audio multimedia timer!"});
    ExpectClosed();
    EXPECT_EQ(h.device.QueuedBlocks(), 0);

    h.timer.FailStart(false);
    h.timer.FailCaps(true);
    h.boxes.Clear();
    ASSERT_EQ(h.engine.StartPlayback(), 0);
    EXPECT_EQ(h.MessageTexts(), Texts{"Error!: Can't launch audio multimedia timer!"});

    output_.method = kMethodThread;
    h.Configure(output_);
    h.thread.FailStart(true);
    h.boxes.Clear();
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    EXPECT_EQ(h.engine.StartPlayback(), 0);
    EXPECT_EQ(h.MessageTexts(), Texts{"Error!: Can't launch audio thread!"});
    ExpectClosed();
}

TEST_F(EngineFailureTest, TimingFollowsTheBlockAndTheMeasuredDecodeTime) {
    output_.framesPerBuffer = 16;
    h.Configure(output_);
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    EXPECT_EQ(h.engine.BlockDuration(), 417);           // 16 x 26.12 ms
    EXPECT_EQ(h.engine.RefreshDelay(), 104u);            // a quarter block
    EXPECT_EQ(h.timer.Period(), 104u);
    EXPECT_EQ(h.timer.Resolution(), 52u);                // half the delay
    EXPECT_EQ(h.engine.FramesPerNotification(), 38);     // 1000 ms of 26.12 ms frames
    h.engine.StopPlayback(false);

    // The Thread method sleeps a quarter of the time a block leaves spare.
    output_.method = kMethodThread;
    h.Configure(output_);
    h.clock.SetTicksPerReading(100);  // every block takes 100 ms to decode
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.clock.SetTicksPerReading(0);
    EXPECT_EQ(h.engine.MeasuredTimePerBlock(), 133u);  // 4 x 100 / (4 - 1)
    EXPECT_EQ(h.engine.RefreshDelay(), (396u - 133u) / 4);
    ASSERT_TRUE(h.RunUntilEnded(5000));
}

TEST_F(EngineFailureTest, TheSlowMachineWarningCanCancelTheStart) {
    output_.framesPerBuffer = 4;
    h.Configure(output_);
    h.clock.SetTicksPerReading(120);  // 120 ms per block of 104 ms
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    h.boxes.Answer(MessageAnswer::kCancel);
    EXPECT_EQ(h.engine.StartPlayback(), 0);
    const auto messages = h.boxes.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Plyvane performance");
    EXPECT_NE(messages[0].text.find("less than 104ms"), std::string::npos);
    EXPECT_NE(messages[0].text.find("needs 160ms"), std::string::npos);  // 4 x 120 / 3
    ExpectClosed();
    EXPECT_EQ(h.device.QueuedBlocks(), 0);
    EXPECT_EQ(h.device.AllocatedBlocks(), 0);

    // Yes plays on.
    h.boxes.Answer(MessageAnswer::kYes);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.clock.SetTicksPerReading(0);
    ASSERT_TRUE(h.RunUntilEnded(5000));
}

TEST_F(EngineFailureTest, AStopWaitsForABlockStillPlayingAndThenReportsIt) {
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.Run(300);
    h.device.FailUnprepare(kWaveStillPlaying, 10);
    const uint32_t before = h.clock.Now();
    ASSERT_EQ(h.engine.StopPlayback(false), 1);
    EXPECT_EQ(h.clock.Now() - before, 500u);  // ten short waits
    EXPECT_EQ(h.MessageTexts(), Texts{"Error!: Audio block 0 is still in the playback queue!"});

    // Nine attempts are not enough to give up.
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.Run(300);
    h.boxes.Clear();
    h.device.FailUnprepare(kWaveStillPlaying, 9);
    ASSERT_EQ(h.engine.StopPlayback(false), 1);
    EXPECT_TRUE(h.boxes.Messages().empty());
}

TEST_F(EngineFailureTest, ResetAndCloseFailuresShowTheirMessages) {
    struct Row {
        const char* what;
        std::function<void(VirtualWaveDevice&)> inject;
        bool close;
        int result;
        Texts texts;
    };
    const std::vector<Row> rows = {
        {"reset invalid", [](VirtualWaveDevice& d) { d.FailReset(kWaveInvalidHandle); }, false, 0,
         {"Error!: Invalid audio handle for reset!"}},
        {"reset other", [](VirtualWaveDevice& d) { d.FailReset(kWaveNoMemory); }, false, 1, {}},
        {"unprepare invalid", [](VirtualWaveDevice& d) { d.FailUnprepare(kWaveInvalidHandle, 1); }, false, 1,
         {"Error!: Invalid audio handle for unprepare header!"}},
        {"unprepare busy", [](VirtualWaveDevice& d) { d.FailUnprepare(kWaveHandleBusy, 2); }, false, 1,
         {"Error!: Audio handle is in use by another thread!", "Error!: Audio handle is in use by another thread!"}},
        {"close invalid", [](VirtualWaveDevice& d) { d.FailClose(kWaveInvalidHandle, 1); }, true, 0,
         {"Error!: Invalid audio handle for close device!"}},
        {"close playing", [](VirtualWaveDevice& d) { d.FailClose(kWaveStillPlaying, 10); }, true, 0,
         {"Error!: Audio is still playing. Reset failed!"}},
        {"close retried", [](VirtualWaveDevice& d) { d.FailClose(kWaveError, 3); }, true, 1, {}},
    };
    // The Device method: the device calls the engine back.
    OutputChoice device = output_;
    device.method = kMethodDevice;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EngineHarness run;
        run.Configure(device);
        ASSERT_EQ(run.Open(StreamPath(kStream)), 1);
        ASSERT_EQ(run.engine.StartPlayback(), 1);
        run.Run(200);
        row.inject(run.device);
        EXPECT_EQ(run.engine.StopPlayback(row.close), row.result);
        EXPECT_EQ(run.MessageTexts(), row.texts);
        // Fail or not, a late device callback must find nothing to do: no
        // block is refilled and queued again, nothing more is played.
        run.device.FailReset(kWaveOk, 0);
        run.device.FailClose(kWaveOk, 0);
        const int queued = run.device.QueuedBlocks();
        const uint64_t played = run.device.PlayedBytes();
        for (int i = 0; i < 4; ++i) run.engine.DeviceCallback(kWomDone);
        run.Run(200);
        EXPECT_EQ(run.device.QueuedBlocks(), queued);
        if (run.device.IsOpen()) {
            EXPECT_EQ(run.device.PlayedBytes(), played);
        }
        EXPECT_EQ(run.MessageTexts(), row.texts);
        EXPECT_EQ(run.Count(ID_PLAYBACK_ENDED), 0);
    }
}

TEST_F(EngineFailureTest, AResetStillPlayingDuringASeekIsReportedAndTheSeekGoesOn) {
    ASSERT_EQ(h.Open(StreamPath(kStream)), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.Run(200);
    h.device.FailReset(kWaveStillPlaying);
    EXPECT_EQ(h.engine.SeekPlayback(2000), 1);
    EXPECT_EQ(h.MessageTexts(), Texts{"Error!: Error resetting wave out audio device!"});
    const uint32_t at = h.clock.Now();
    ASSERT_TRUE(h.RunUntilEnded(5000));
    EXPECT_NEAR(static_cast<double>(h.clock.Now() - at), 1000.0, 120.0);
}

}  // namespace
}  // namespace plyvane
