#include "display_format.h"

#include <gtest/gtest.h>

namespace plyvane {
namespace {

TEST(TrackTime, ElapsedAndRemainingFormats) {
    EXPECT_EQ(FormatTrackTime(61500, 200000, false), " 1:01min ");
    EXPECT_EQ(FormatTrackTime(61500, 200000, true), "-2:18min ");
    EXPECT_EQ(FormatTrackTime(0, 0, false), " 0:00min ");
    // The track time never shows hours.
    EXPECT_EQ(FormatTrackTime(3725000, 0, false), " 62:05min ");
}

TEST(TrackTime, UnknownLengthCountsRemainingFromZeroWithoutWrapping) {
    EXPECT_EQ(FormatTrackTime(5000, 0, true), "-0:00min ");
    EXPECT_EQ(FormatTrackTime(200500, 200000, true), "-0:00min ");
}

TEST(ListTime, HourFormatDependsOnTheListTotal) {
    struct Case {
        uint32_t total, played, position;
        bool remaining;
        const char* expected;
    } cases[] = {
        {3599999, 0, 61000, false, " 1:01min "},
        {3600000, 0, 61000, false, " 0:01:01h "},
        {3600000, 0, 61000, true, "-0:58:59h "},
        {7384000, 3600000, 184000, false, " 1:03:04h "},
        {600000, 120000, 30000, true, "-7:30min "},
        {600000, 590000, 30000, true, "-0:00min "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatListTime(c.total, c.played, c.position, c.remaining), c.expected)
            << c.total << " " << c.played << " " << c.position;
    }
    EXPECT_EQ(FormatListTotal(754000), "12:34min ");
    EXPECT_EQ(FormatListTotal(3661000), "1:01:01h ");
}

TEST(Slider, ScaleEndTimes) {
    EXPECT_EQ(FormatScaleTime(240000), "4:00min");
    EXPECT_EQ(FormatScaleTime(0), "0:00min");
}

TEST(Title, TheThreeStatesAndTheEmptyName) {
    EXPECT_EQ(WindowTitle(PlayerState::kPlaying, "song"), "Plyvane - song");
    EXPECT_EQ(WindowTitle(PlayerState::kStopped, "song"), "Plyvane - song (stopped)");
    EXPECT_EQ(WindowTitle(PlayerState::kPaused, "song"), "Plyvane - song (paused)");
    EXPECT_EQ(WindowTitle(PlayerState::kStopped, ""), "Plyvane");
    EXPECT_EQ(SongNameText("song", ""), "song");
    EXPECT_EQ(SongNameText("song", "A fine tune"), "song [A fine tune]");
}

TEST(StreamParameters, OutputAndSourceLines) {
    EXPECT_EQ(FormatOutputParameters({44100, 16, 2, 1}), "44100Hz 16Bit stereo - best quality");
    EXPECT_EQ(FormatOutputParameters({22050, 8, 1, 2}), "22050Hz 8Bit mono - better quality");
    EXPECT_EQ(FormatOutputParameters({11025, 16, 2, 3}), "11025Hz 16Bit stereo - good quality");
    // Reference quality (all sixteen taps) is named as such, not as "good".
    EXPECT_EQ(FormatOutputParameters({48000, 16, 2, 0}), "48000Hz 16Bit stereo - reference quality");
    EXPECT_EQ(FormatSourceParameters({1, 2, 44100, 2, 64, 11.025}),
              "MPEG 1 Audio Layer II\n44100Hz 16Bit stereo - Bitrate 128kBit/s - Packratio 1/11.03");
    EXPECT_EQ(FormatSourceParameters({2, 3, 22050, 1, 0, 8.0}),
              "MPEG 2 Audio Layer III\n22050Hz 16Bit mono - Bitrate variable - Packratio 1/8.00");
    EXPECT_EQ(FormatSourceParameters({1, 0, 32000, 2, 32, 1.0}).substr(0, 27),
              "MPEG 1 Audio Layer unkown\n3");
}

TEST(CaptionScroller, RotatesLeftByTheOffset) {
    EXPECT_EQ(RotateText("abcdef", 0), "abcdef");
    EXPECT_EQ(RotateText("abcdef", 2), "cdefab");
    EXPECT_EQ(RotateText("abcdef", 8), "cdefab");
    EXPECT_EQ(RotateText("", 3), "");
}

}  // namespace
}  // namespace plyvane
