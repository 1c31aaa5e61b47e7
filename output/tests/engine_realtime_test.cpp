// The engine on the system's own ports in real time: the sound server's
// device (PulseAudio natively, WINMM under Wine), the system timer and
// thread. Short streams, each refresh method, with the controls used while
// the refresh context runs on its own thread. Skipped without a device.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "audio_engine.h"
#include "file_byte_source.h"
#include "memory_settings_store.h"
#include "method_test_names.h"
#include "notification_queue.h"
#include "platform_ports.h"
#include "recording_message_box.h"
#include "settings_store.h"

namespace plyvane {
namespace {

std::string StreamPath(const std::string& relative) {
    return std::string(PLYVANE_SOURCE_DIR) + "/tests/data/" + relative;
}

class EngineRealTimeTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        if (ports_.catalog->DeviceCount() == 0) GTEST_SKIP() << "no wave-out device (no sound server)";
        SetOutputSettingsKey(kConfigurationKey);
        WriteOutputSettings(1, 2, 2, 16, 4, 4, GetParam(), kWaveMapper);
    }

    // Waits for a notification of this kind; false after the limit.
    bool WaitFor(uint32_t id, int limitMs) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        while (std::chrono::steady_clock::now() < end) {
            Notification notification;
            if (queue_.Wait(notification, 20) && notification.commandId == id) return true;
        }
        return false;
    }

    MemorySettingsStore store_;
    RecordingMessageBox boxes_;
    ScopedSettingsStore installedStore_{store_};
    ScopedMessageBox installedBoxes_{boxes_};
    PlatformPlaybackPorts ports_ = MakePlatformPlaybackPorts();
    NotificationQueue queue_;
    FileByteSource source_;
};

TEST_P(EngineRealTimeTest, TheLastSecondOfAStreamPlaysToItsEnd) {
    AudioEngine engine(ports_.Ports(queue_));
    ASSERT_EQ(engine.OpenPlayback(&queue_, StreamPath("layer3/mpeg1_44k_stereo_128k.mp3").c_str(), &source_, 200), 1);
    ASSERT_EQ(engine.SeekPlayback(1000), 1);  // of 2.06 s
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(engine.StartPlayback(), 1);
    ASSERT_TRUE(WaitFor(ID_PLAYBACK_ENDED, 10000));
    // Not over before it can have been heard (less what the device holds).
    EXPECT_GT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(800));
    EXPECT_FALSE(engine.IsOpen());
    EXPECT_TRUE(boxes_.Messages().empty());
    engine.StopPlayback(true);
    engine.ClosePlayback();
}

TEST_P(EngineRealTimeTest, ControlsWhileTheRefreshRunsAndAStopThatClosesTheDevice) {
    AudioEngine engine(ports_.Ports(queue_));
    ASSERT_EQ(engine.OpenPlayback(&queue_, StreamPath("layer2/mpeg1_44k_joint_192k.mp2").c_str(), &source_, 200), 1);
    ASSERT_EQ(engine.StartPlayback(), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(engine.PausePlayback(), 1);
    EXPECT_EQ(engine.SeekPlayback(1500), 1);
    EXPECT_TRUE(engine.IsPaused());
    EXPECT_EQ(engine.ResumePlayback(), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_GT(engine.GetPlaybackInfo().position, 1400.0f);
    EXPECT_EQ(engine.SeekPlayback(2500), 1);
    ASSERT_TRUE(WaitFor(ID_PLAYBACK_ENDED, 10000));
    // Again from the start, stopped half-way with the device closed.
    ASSERT_EQ(engine.StartPlayback(), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(engine.StopPlayback(true), 1);
    EXPECT_FALSE(ports_.device->IsOpen());
    EXPECT_TRUE(boxes_.Messages().empty());
    engine.ClosePlayback();
}

INSTANTIATE_TEST_SUITE_P(Methods, EngineRealTimeTest, ::testing::Values(kMethodTimer, kMethodThread, kMethodDevice),
                         MethodTestName);

}  // namespace
}  // namespace plyvane
