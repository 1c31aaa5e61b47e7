#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "position_scale.h"

namespace plyvane {
namespace {

TEST(PositionScale, UnitsAndTimesRoundDownAndClampAtTheEnds) {
    EXPECT_EQ(SliderUnits(0), 0);
    EXPECT_EQ(SliderUnits(499), 0);
    EXPECT_EQ(SliderUnits(500), 1);
    EXPECT_EQ(SliderUnits(240999), 481);
    EXPECT_EQ(SliderUnits(UINT32_MAX), 8589934);

    EXPECT_EQ(SliderMilliseconds(-5), 0u);
    EXPECT_EQ(SliderMilliseconds(0), 0u);
    EXPECT_EQ(SliderMilliseconds(481), 240500u);
    // The last whole unit a time holds, not a wrapped product.
    EXPECT_EQ(SliderMilliseconds(8589934), 4294967000u);
    EXPECT_EQ(SliderMilliseconds(INT32_MAX), 4294967000u);
}

TEST(PositionScale, TrackLengthsFromTheEngine) {
    EXPECT_EQ(TrackMilliseconds(-1.0), 0u);  // unknown
    EXPECT_EQ(TrackMilliseconds(std::nan("")), 0u);
    EXPECT_EQ(TrackMilliseconds(240000.9), 240000u);
    // A damaged header's length of years stays inside what the displays hold.
    EXPECT_EQ(TrackMilliseconds(5.8e14), static_cast<uint32_t>(INT32_MAX));
    EXPECT_EQ(SliderUnits(TrackMilliseconds(5.8e14)), INT32_MAX / 500);
}

TEST(PositionScale, SeekingToTheLastUnitStopsOneUnitBeforeTheEnd) {
    EXPECT_EQ(SeekUnits(480, 481), 480);
    EXPECT_EQ(SeekUnits(481, 481), 480);
    EXPECT_EQ(SeekUnits(0, 0), 0);  // a track under one unit
    EXPECT_EQ(SeekUnits(-1, 481), 0);
}

TEST(PositionScale, TickIntervalFrequencyAndWindStep) {
    // A 4-minute file: a tick every 30 s (60 units), a wind step of 3 s.
    EXPECT_EQ(SliderTickUnits(240000), 60);
    EXPECT_EQ(WindStepMilliseconds(60), 3000);
    EXPECT_EQ(SliderTickFrequency(60, 480), 60);
    EXPECT_EQ(SliderTickUnits(900), 0);      // 100 ms ticks
    EXPECT_EQ(SliderTickUnits(2000), 0);     // 200 ms ticks
    EXPECT_EQ(SliderTickUnits(5000), 1);     // 500 ms
    EXPECT_EQ(SliderTickUnits(100000), 20);  // 10 s
    EXPECT_EQ(SliderTickUnits(36000000), 7200);
    EXPECT_EQ(SliderTickUnits(36000001), 0);  // over 10 hours
    EXPECT_EQ(SliderTickUnits(0), 0);
    // Without a usable tick: a tenth of the range, at least every unit.
    EXPECT_EQ(SliderTickFrequency(0, 80000), 8000);
    EXPECT_EQ(SliderTickFrequency(0, 4), 1);
}

}  // namespace
}  // namespace plyvane
