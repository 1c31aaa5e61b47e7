// The playback ports of this system against their contract, in real time:
// the periodic timer, the playback thread, and the wave-out device (PulseAudio
// natively, WINMM under Wine; skipped when no server or device is there).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "std_worker_thread.h"
#include "wave_device.h"
#include "wave_out.h"

#ifdef _WIN32
#include "multimedia_timer.h"
#include "wave_out_win32.h"
#include "winmm_device_catalog.h"
#else
#include "pulse_device_catalog.h"
#include "pulse_wave_device.h"
#include "thread_periodic_timer.h"
#endif

namespace plyvane {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

#ifdef _WIN32
using SystemTimer = MultimediaTimer;
using SystemWaveOut = WinmmWaveOut;
using SystemCatalog = WinmmDeviceCatalog;
#else
using SystemTimer = ThreadPeriodicTimer;
using SystemWaveOut = PulseWaveDevice;
using SystemCatalog = PulseDeviceCatalog;
#endif

void SleepMs(int ms) { std::this_thread::sleep_for(milliseconds(ms)); }

// Waits up to limitMs for a condition.
template <typename Condition>
bool Eventually(Condition condition, int limitMs) {
    const auto end = Clock::now() + milliseconds(limitMs);
    while (Clock::now() < end) {
        if (condition()) return true;
        SleepMs(5);
    }
    return condition();
}

struct TimerProbe {
    std::atomic<int> steps{0};
    std::atomic<bool> inStep{false};
    PeriodicTimer* timer = nullptr;
    int stopAfter = 0;  // the step stops its own timer at this count
    int stepMs = 0;
};

void ProbeStep(void* context) {
    auto* probe = static_cast<TimerProbe*>(context);
    probe->inStep = true;
    const int step = ++probe->steps;
    if (probe->stepMs > 0) SleepMs(probe->stepMs);
    if (probe->stopAfter != 0 && step == probe->stopAfter) probe->timer->Stop();
    probe->inStep = false;
}

TEST(PeriodicTimerContract, StepsComeAtTheirPeriod) {
    SystemTimer timer;
    TimerCaps caps;
    ASSERT_TRUE(timer.GetCaps(caps));
    EXPECT_LE(caps.periodMin, 10u);
    TimerProbe probe;
    ASSERT_TRUE(timer.Start(10, 5, ProbeStep, &probe));
    EXPECT_TRUE(timer.Running());
    SleepMs(500);
    timer.Stop();
    EXPECT_FALSE(timer.Running());
    EXPECT_GE(probe.steps.load(), 20);  // 50 due; a busy machine may drop some
    EXPECT_LE(probe.steps.load(), 60);
}

TEST(PeriodicTimerContract, AStopWaitsForARunningStepAndEndsTheSteps) {
    SystemTimer timer;
    TimerProbe probe;
    probe.stepMs = 60;
    ASSERT_TRUE(timer.Start(10, 5, ProbeStep, &probe));
    ASSERT_TRUE(Eventually([&] { return probe.inStep.load(); }, 1000));
    timer.Stop();
    EXPECT_FALSE(probe.inStep.load());
    const int steps = probe.steps.load();
    SleepMs(150);
    EXPECT_EQ(probe.steps.load(), steps);
}

TEST(PeriodicTimerContract, AStepMayStopItsOwnTimerAndItStartsAgain) {
    SystemTimer timer;
    TimerProbe probe;
    probe.timer = &timer;
    probe.stopAfter = 3;
    ASSERT_TRUE(timer.Start(10, 5, ProbeStep, &probe));
    ASSERT_TRUE(Eventually([&] { return probe.steps.load() >= 3 && !probe.inStep.load(); }, 2000));
    SleepMs(100);
    EXPECT_EQ(probe.steps.load(), 3);
    probe.stopAfter = 0;
    ASSERT_TRUE(timer.Start(10, 5, ProbeStep, &probe));
    ASSERT_TRUE(Eventually([&] { return probe.steps.load() > 5; }, 2000));
    timer.Stop();
}

struct ThreadProbe {
    WorkerThread* thread = nullptr;
    std::atomic<bool> sleptToTheEnd{false};
    std::atomic<bool> ended{false};
};

void SleepyBody(void* context) {
    auto* probe = static_cast<ThreadProbe*>(context);
    probe->sleptToTheEnd = probe->thread->Sleep(10000);
    probe->ended = true;
}

TEST(WorkerThreadContract, AStopEndsASleepAtOnceAndTheThreadStartsAgain) {
    StdWorkerThread thread;
    ThreadProbe probe;
    probe.thread = &thread;
    ASSERT_TRUE(thread.Start(SleepyBody, &probe));
    SleepMs(50);
    const auto before = Clock::now();
    thread.Stop();
    EXPECT_LT(Clock::now() - before, milliseconds(2000));
    EXPECT_TRUE(probe.ended.load());
    EXPECT_FALSE(probe.sleptToTheEnd.load());
    EXPECT_TRUE(thread.StopRequested());

    probe.ended = false;
    ASSERT_TRUE(thread.Start([](void* context) {
        auto* p = static_cast<ThreadProbe*>(context);
        p->sleptToTheEnd = p->thread->Sleep(20);
        p->ended = true;
    }, &probe));
    ASSERT_TRUE(Eventually([&] { return probe.ended.load(); }, 2000));
    EXPECT_TRUE(probe.sleptToTheEnd.load());
    EXPECT_FALSE(thread.StopRequested());
}

// The wave-out device -------------------------------------------------------

constexpr uint32_t kBytesPerMs = 176;  // 44.1 kHz, 16-bit stereo (rounded)

struct CallbackCounts {
    std::atomic<int> open{0};
    std::atomic<int> done{0};
    std::atomic<int> close{0};
};

void CountMessage(void* context, uint32_t message) {
    auto* counts = static_cast<CallbackCounts*>(context);
    if (message == kWomOpen) ++counts->open;
    if (message == kWomDone) ++counts->done;
    if (message == kWomClose) ++counts->close;
}

class WaveOutContract : public ::testing::Test {
protected:
    void SetUp() override {
        SystemCatalog catalog;
        if (catalog.DeviceCount() == 0) GTEST_SKIP() << "no wave-out device (no sound server)";
    }
    void TearDown() override {
        if (device_.IsOpen()) {
            device_.Reset();
            for (WaveBlock* block : blocks_) device_.Unprepare(*block);
            device_.Close();
        }
        for (WaveBlock* block : blocks_) device_.FreeBlock(block);
    }
    WaveBlock& Block(uint32_t ms) {
        WaveBlock* block = device_.AllocateBlock(ms * kBytesPerMs);
        EXPECT_NE(block, nullptr);
        std::memset(block->data, 0, block->capacity);
        block->length = block->capacity;
        blocks_.push_back(block);
        EXPECT_EQ(device_.Prepare(*block), kWaveOk);
        return *block;
    }

    SystemWaveOut device_;
    std::vector<WaveBlock*> blocks_;
};

TEST_F(WaveOutContract, BlocksComeBackDoneInOrderAtThePaceOfPlayback) {
    ASSERT_EQ(device_.Open(kWaveMapper, MakePcmFormat(44100, 2, 16), nullptr, nullptr), kWaveOk);
    EXPECT_NE(device_.Handle(), 0u);
    WaveBlock& first = Block(200);
    WaveBlock& second = Block(200);
    WaveBlock& empty = Block(0);
    empty.length = 0;
    ASSERT_EQ(device_.Write(first), kWaveOk);
    ASSERT_EQ(device_.Write(second), kWaveOk);
    ASSERT_EQ(device_.Write(empty), kWaveOk);
    const auto start = Clock::now();
    EXPECT_FALSE(device_.IsDone(second));
    EXPECT_EQ(device_.Unprepare(second), kWaveStillPlaying);
    // (Closing with blocks queued is not tried: Wine closes anyway, where
    // Windows says WAVERR_STILLPLAYING; the engine always resets first.)
    ASSERT_TRUE(Eventually([&] { return device_.IsDone(first); }, 5000));
    EXPECT_GT(Clock::now() - start, milliseconds(100));
    ASSERT_TRUE(Eventually([&] { return device_.IsDone(second) && device_.IsDone(empty); }, 5000));
    // 400 ms of audio, less what a device may hold in its own buffer.
    EXPECT_GT(Clock::now() - start, milliseconds(200));
    for (WaveBlock* block : blocks_) EXPECT_EQ(device_.Unprepare(*block), kWaveOk);
    device_.ClearDone(first);
    EXPECT_FALSE(device_.IsDone(first));
    EXPECT_EQ(device_.Close(), kWaveOk);
    EXPECT_FALSE(device_.IsOpen());
}

TEST_F(WaveOutContract, TheCallbackHearsOpenEachBlockAndClose) {
    CallbackCounts counts;
    ASSERT_EQ(device_.Open(kWaveMapper, MakePcmFormat(44100, 2, 16), CountMessage, &counts), kWaveOk);
    EXPECT_TRUE(Eventually([&] { return counts.open.load() == 1; }, 1000));
    ASSERT_EQ(device_.Write(Block(50)), kWaveOk);
    ASSERT_EQ(device_.Write(Block(50)), kWaveOk);
    EXPECT_TRUE(Eventually([&] { return counts.done.load() == 2; }, 5000));
    for (WaveBlock* block : blocks_) device_.Unprepare(*block);
    ASSERT_EQ(device_.Close(), kWaveOk);
    EXPECT_TRUE(Eventually([&] { return counts.close.load() == 1; }, 1000));
}

TEST_F(WaveOutContract, ResetDropsTheQueueAndPauseHoldsIt) {
    ASSERT_EQ(device_.Open(kWaveMapper, MakePcmFormat(44100, 2, 16), nullptr, nullptr), kWaveOk);
    WaveBlock& held = Block(400);
    ASSERT_EQ(device_.Write(held), kWaveOk);
    ASSERT_EQ(device_.Pause(), kWaveOk);
    SleepMs(800);
    EXPECT_FALSE(device_.IsDone(held));
    ASSERT_EQ(device_.Restart(), kWaveOk);
    EXPECT_TRUE(Eventually([&] { return device_.IsDone(held); }, 5000));

    WaveBlock& dropped = Block(2000);
    ASSERT_EQ(device_.Write(dropped), kWaveOk);
    SleepMs(50);
    ASSERT_EQ(device_.Reset(), kWaveOk);
    EXPECT_TRUE(Eventually([&] { return device_.IsDone(dropped); }, 500));
    EXPECT_EQ(device_.Unprepare(dropped), kWaveOk);

    uint32_t volume = 0;
    ASSERT_EQ(device_.SetVolume(0x80004000u), kWaveOk);
    ASSERT_EQ(device_.GetVolume(volume), kWaveOk);
    EXPECT_NEAR(static_cast<double>(volume & 0xFFFF), 0x4000, 0x200);
    EXPECT_NEAR(static_cast<double>(volume >> 16), 0x8000, 0x200);
}

TEST_F(WaveOutContract, ADeviceThatDoesNotExistIsRefused) {
    EXPECT_EQ(device_.Open(99, MakePcmFormat(44100, 2, 16), nullptr, nullptr), kWaveBadDeviceId);
    EXPECT_FALSE(device_.IsOpen());
}

}  // namespace
}  // namespace plyvane
