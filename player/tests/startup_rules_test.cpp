#include <gtest/gtest.h>

#include "command_line.h"
#include "player_rules.h"
#include "version_check.h"

namespace plyvane {
namespace {

TEST(CommandLineParse, SwitchesAndNames) {
    struct Case {
        const char* text;
        bool close, endless, play, random;
        const char* name;
    } cases[] = {
        {"", false, false, false, false, ""},
        {"/P C:\\music\\a.mp2", false, false, true, false, "C:\\music\\a.mp2"},
        {" /play C:\\My Music\\a b.mp3", false, false, true, false, "C:\\My Music\\a b.mp3"},
        {"-c -e -R /p x.mp2", true, true, true, true, "x.mp2"},
        // Nothing after the name is read as a switch.
        {"song.mp2 /P", false, false, false, false, "song.mp2 /P"},
        // The shell quotes a name with spaces: one pair of quotes goes.
        {"/play \"C:\\My Music\\a b.mp3\"", false, false, true, false, "C:\\My Music\\a b.mp3"},
        {"\"\"quoted\"\"", false, false, false, false, "\"quoted\""},
        {"\"", false, false, false, false, "\""},
        // A "/" not followed by a letter starts a name.
        {"/1.mp2", false, false, false, false, "/1.mp2"},
        {"/x /P", false, false, true, false, ""},
    };
    for (const Case& c : cases) {
        CommandLine line = ParseCommandLine(c.text);
        EXPECT_EQ(line.closeAtEnd, c.close) << c.text;
        EXPECT_EQ(line.endless, c.endless) << c.text;
        EXPECT_EQ(line.playNow, c.play) << c.text;
        EXPECT_EQ(line.random, c.random) << c.text;
        EXPECT_EQ(line.fileName, c.name) << c.text;
    }
    EXPECT_EQ(ParseCommandLine(nullptr).fileName, "");
}

TEST(CommandLineParse, LongNamesAreCutToTheNameBuffer) {
    std::string longName(1000, 'a');
    EXPECT_EQ(ParseCommandLine(longName.c_str()).fileName.size(), kMaxNameLength);
}

TEST(Version, ResourceTextAndComparison) {
    EXPECT_EQ(VersionFromResourceText("4, 9, 99, 3"), "4.9.99.3");
    EXPECT_EQ(VersionFromResourceText("0, 1, 0, 0\n"), "0.1.0.0");
    EXPECT_EQ(VersionFromResourceText("v1.2 beta"), "12");
    int major = -1, minor = -1;
    MajorMinorOf("4.9.99.3", major, minor);
    EXPECT_EQ(major, 4);
    EXPECT_EQ(minor, 9);
    MajorMinorOf(kNoVersion, major, minor);
    EXPECT_EQ(major, 0);
    EXPECT_EQ(minor, 0);

    EXPECT_EQ(CompareStoredVersion("", "4.9.99.3"), VersionAction::kFirstRun);
    // Byte order: "4.9.99.10" sorts before "4.9.99.3".
    EXPECT_EQ(CompareStoredVersion("4.9.99.10", "4.9.99.3"), VersionAction::kUpgrade);
    EXPECT_EQ(CompareStoredVersion("5", "4.9.99.3"), VersionAction::kOlder);
    EXPECT_EQ(CompareStoredVersion("4.9.99.3", "4.9.99.3"), VersionAction::kSame);
}

TEST(Volume, PresetsScalesAndStoredVolume) {
    EXPECT_EQ(VolumeForPreset(40000, 100, 50), 20000u);
    EXPECT_EQ(VolumeForPreset(20000, 50, 100), 40000u);
    EXPECT_EQ(VolumeForPreset(60000, 50, 100), 65535u);  // base capped
    EXPECT_EQ(VolumeForPreset(30000, 0, 0), 30000u);     // 0 means 100 %
    EXPECT_EQ(VolumeWithoutPreset(30000, 50), 60000u);
    EXPECT_EQ(VolumeWithoutPreset(40000, 50), 65535u);
    EXPECT_EQ(VolumeWithoutPreset(40000, 100), 40000u);
    EXPECT_EQ(VolumePictureStep(0), 0);
    EXPECT_EQ(VolumePictureStep(13108), 1);
    EXPECT_EQ(VolumePictureStep(65535), 4);
    EXPECT_EQ(VolumeSliderPosition(65535), 8191);
    EXPECT_EQ(VolumeSliderPosition(8), 1);
    EXPECT_EQ(VolumeFromSlider(8191), 65528u);
    EXPECT_EQ(VolumeFromSlider(9000), 65528u);
    EXPECT_EQ(VolumeFromSlider(-1), 0u);
}

TEST(Volume, OpeningVolumeTakesTheRestoredThenTheKeptThenTheDevices) {
    EXPECT_EQ(OpeningVolume(0u, 30000, 40000, 50000), 0u);  // a stored silence stays silent
    EXPECT_EQ(OpeningVolume(std::nullopt, 30000, 40000, 50000), 40000u);
    EXPECT_EQ(OpeningVolume(std::nullopt, 40000, 30000, 50000), 40000u);
    EXPECT_EQ(OpeningVolume(std::nullopt, 0, 0, 50000), 50000u);
}

TEST(DialogStates, TheStoredNumbersStartUpAndTheLayoutCycle) {
    EXPECT_EQ(StartingLayout(0), DialogState::kLarge);
    EXPECT_EQ(StartingLayout(2), DialogState::kSmall);
    EXPECT_EQ(StartingLayout(3), DialogState::kLarge);  // never starts hidden
    EXPECT_EQ(StartingLayout(4), DialogState::kLarge);
    EXPECT_EQ(StartingLayout(-1), DialogState::kLarge);
    EXPECT_EQ(NextLayout(DialogState::kLarge), DialogState::kMedium);
    EXPECT_EQ(NextLayout(DialogState::kMedium), DialogState::kSmall);
    EXPECT_EQ(NextLayout(DialogState::kSmall), DialogState::kLarge);
    // A posted number: 0..4 name states, nothing else does, nor a number
    // that would name one once cut to 32 bits.
    EXPECT_EQ(DialogStateFromNumber(3), DialogState::kHidden);
    EXPECT_EQ(DialogStateFromNumber(4), DialogState::kShown);
    EXPECT_EQ(DialogStateFromNumber(5), std::nullopt);
    EXPECT_EQ(DialogStateFromNumber(-1), std::nullopt);
    EXPECT_EQ(DialogStateFromNumber((int64_t{1} << 32) + 1), std::nullopt);
}

TEST(WindowPosition, SavedCornerMustKeepTheWindowOnTheDesktop) {
    ScreenArea desktop{0, 0, 1024, 768};
    EXPECT_TRUE(SavedPositionFits(100, 100, 400, desktop));
    EXPECT_FALSE(SavedPositionFits(100, -1, 400, desktop));    // top edge above
    EXPECT_TRUE(SavedPositionFits(100, 763, 400, desktop));
    EXPECT_FALSE(SavedPositionFits(100, 764, 400, desktop));   // under 5 px left
    EXPECT_TRUE(SavedPositionFits(1019, 0, 400, desktop));
    EXPECT_FALSE(SavedPositionFits(1020, 0, 400, desktop));
    EXPECT_TRUE(SavedPositionFits(-395, 0, 400, desktop));
    EXPECT_FALSE(SavedPositionFits(-396, 0, 400, desktop));
}

}  // namespace
}  // namespace plyvane
