// The refill path allocates nothing: refill steps, notifications, the end of
// a stream and the device's completion callbacks run on the heap they found.
// It counts every heap allocation, so it is a test program of its own.
#include <gtest/gtest.h>

#include "continuous_lists.h"
#include "counting_allocator.h"
#include "engine_harness.h"
#include "method_test_names.h"

namespace plyvane {
namespace {

// Plays to the end, counting what the refill path allocates; notifications
// are taken without keeping them.
long AllocationsWhilePlaying(EngineHarness& h) {
    h.device.ReserveRecording(8u << 20);
    const long before = test::HeapAllocations();
    bool ended = false;
    for (int ms = 0; ms < 20000 && !ended; ++ms) {
        h.clock.Advance(1);
        Notification notification;
        while (h.notifications.TryTake(notification)) ended |= notification.commandId == ID_PLAYBACK_ENDED;
    }
    const long during = test::HeapAllocations() - before;
    EXPECT_TRUE(ended);
    return during;
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
INSTANTIATE_TEST_SUITE_P(Methods, EngineAllocationTest, ::testing::Values(kMethodTimer, kMethodDevice), MethodTestName);

}  // namespace
}  // namespace plyvane
