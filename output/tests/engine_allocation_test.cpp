// The refill path allocates nothing: refill steps, notifications, the end of
// a stream and the device's completion callbacks run on the heap they found.
// This program counts every heap allocation, so it is a test program of its own.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "continuous_lists.h"
#include "engine_harness.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void* CountedAllocation(std::size_t size) {
    if (counting.load()) ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}

[[gnu::noinline]] void Release(void* p) noexcept { std::free(p); }

}  // namespace

void* operator new(std::size_t size) {
    if (void* p = CountedAllocation(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    if (void* p = CountedAllocation(size)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return CountedAllocation(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return CountedAllocation(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

namespace plyvane {
namespace {

// Plays to the end, counting what the refill path allocates; notifications
// are taken without keeping them.
long AllocationsWhilePlaying(EngineHarness& h) {
    h.device.ReserveRecording(8u << 20);
    allocations = 0;
    counting = true;
    bool ended = false;
    for (int ms = 0; ms < 20000 && !ended; ++ms) {
        h.clock.Advance(1);
        Notification notification;
        while (h.notifications.TryTake(notification)) ended |= notification.commandId == ID_PLAYBACK_ENDED;
    }
    counting = false;
    EXPECT_TRUE(ended);
    return allocations.load();
}

class EngineAllocationTest : public ::testing::TestWithParam<int> {};

TEST_P(EngineAllocationTest, PlayingAStreamToItsEndAllocatesNothing) {
    for (const char* stream : {"layer2/mpeg1_44k_joint_192k.mp2", "layer3/mpeg1_44k_stereo_128k.mp3"}) {
        SCOPED_TRACE(stream);
        EngineHarness h;
        OutputChoice output;
        output.method = GetParam();
        h.Configure(output);
        ASSERT_EQ(h.Open(StreamPath(stream)), 1);
        ASSERT_EQ(h.engine.StartPlayback(), 1);
        EXPECT_EQ(AllocationsWhilePlaying(h), 0);
    }
}

TEST_P(EngineAllocationTest, MovingToTheNextFileOfAListAllocatesNothing) {
    const long handle = ContinuousLists::Instance().Register(
        {StreamPath("layer2/mpeg1_44k_stereo_128k.mp2"), StreamPath("layer2/mpeg1_44k_joint_192k.mp2")});
    EngineHarness h;
    OutputChoice output;
    output.method = GetParam();
    h.Configure(output);
    ASSERT_EQ(h.Open(ContinuousLists::ListName(handle)), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    EXPECT_EQ(AllocationsWhilePlaying(h), 0);
    ContinuousLists::Instance().Unregister(handle);
}

// The playback thread's sleeps in simulated time keep a list of sleepers, so
// only the methods whose steps run in the test's own thread are counted; the
// thread runs the same refill step.
INSTANTIATE_TEST_SUITE_P(Methods, EngineAllocationTest, ::testing::Values(kMethodTimer, kMethodDevice),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == kMethodTimer ? "Timer" : "Device");
                         });

}  // namespace
}  // namespace plyvane
