#include "buffer_time.h"

#include <gtest/gtest.h>

namespace plyvane {
namespace {

TEST(BufferTime, SliderPositionOfTheRing) {
    EXPECT_EQ(BufferSliderPosition(4, 16), 7);
    EXPECT_EQ(BufferTimeText(7), "1.75 seconds");
    EXPECT_EQ(BufferSliderPosition(8, 4), 3);
    EXPECT_EQ(BufferTimeText(3), "0.75 seconds");
    EXPECT_EQ(BufferSliderPosition(17, 16), 28);
    EXPECT_EQ(BufferSliderPosition(0, 16), 0);
    // Stored nonsense neither overflows nor divides by zero.
    EXPECT_EQ(BufferSliderPosition(INT32_MAX, INT32_MAX), INT32_MAX);
    EXPECT_EQ(BufferSliderPosition(-4, 16), -7);
    EXPECT_EQ(BufferSliderPosition(4, 0), 0);
}

TEST(BufferTime, SliderSnapsToTheTimesTheRingCanHave) {
    // Frames per buffer 16; positions 2..16. Position 2 asks for 1 block,
    // which playback refuses: the ring keeps its 2 blocks at least.
    const int32_t buffers[] = {2, 2, 2, 3, 4, 4, 5, 5, 6, 7, 7, 8, 8, 9, 10};
    const int snapped[] = {3, 3, 3, 5, 7, 7, 8, 8, 10, 12, 12, 13, 13, 15, 17};
    for (int position = 2; position <= 16; ++position) {
        int32_t b = BuffersForSliderPosition(position, 16);
        EXPECT_EQ(b, buffers[position - 2]) << "position " << position;
        EXPECT_EQ(BufferSliderPosition(b, 16), snapped[position - 2]) << "position " << position;
    }
    EXPECT_EQ(BufferTimeText(17), "4.25 seconds");
    EXPECT_EQ(BuffersForSliderPosition(4, 4), 10);
    EXPECT_EQ(BufferSliderPosition(10, 4), 4);
    EXPECT_EQ(BufferTimeText(4), "1.00 seconds");
}

TEST(BufferTime, BlockCountStaysWhatPlaybackAccepts) {
    EXPECT_EQ(BuffersForSliderPosition(16, 1), 128);  // 153 blocks of one frame
    EXPECT_EQ(BuffersForSliderPosition(2, 128), 2);
    EXPECT_EQ(BuffersForSliderPosition(8, 0), 77);     // counted with one frame
    EXPECT_EQ(BuffersForSliderPosition(-3, 16), 2);
}

}  // namespace
}  // namespace plyvane
