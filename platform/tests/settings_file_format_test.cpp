// The text form of the settings file: what is understood, what marks a file
// as damaged, and that writing and reading give back the same tree.
#include <gtest/gtest.h>

#include "settings_file_format.h"

namespace plyvane {
namespace {

TEST(SettingsFileFormat, ReadsWhatItWritesWhateverTheTexts) {
    SettingsDocument document;
    document.AddKey("Brindlex\\Plyvane\\Playback\\Configuration");
    document.AddKey("Brindlex\\Plyvane\\Playback");  // a key without values stays
    SettingsFileKey& key = document.keys[0];
    key.values.push_back({"", true, "Configuration for Plyvane MPEG-audio player", 0});
    key.values.push_back({"Weird \"name\" = \\", true, "a\\b\"c\nd\re\tf\x01g\x7F\xE9", 0});
    key.values.push_back({"WaveOutDevice", false, "", 0xFFFFFFFFu});

    SettingsParseResult parsed = ParseSettingsFile(FormatSettingsFile(document));
    EXPECT_EQ(parsed.firstBadLine, 0);
    ASSERT_EQ(parsed.document.keys.size(), 2u);
    const SettingsFileKey& back = parsed.document.keys[0];
    ASSERT_EQ(back.values.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(back.values[i].name, key.values[i].name);
        EXPECT_EQ(back.values[i].isText, key.values[i].isText);
        EXPECT_EQ(back.values[i].text, key.values[i].text);
        EXPECT_EQ(back.values[i].number, key.values[i].number);
    }
    EXPECT_EQ(parsed.document.keys[1].path, "Brindlex\\Plyvane\\Playback");
}

TEST(SettingsFileFormat, AcceptsCommentsBlankLinesCrLfAndRepeats) {
    SettingsParseResult parsed = ParseSettingsFile(
        "; comment\r\n\r\n[A\\B]\r\n\"X\"=dword:1\r\n\"x\"=dword:00000002\r\n[a\\b]\r\n@=\"t\"\r\n");
    EXPECT_EQ(parsed.firstBadLine, 0);
    ASSERT_EQ(parsed.document.keys.size(), 1u);  // keys ignore case
    ASSERT_EQ(parsed.document.keys[0].values.size(), 2u);
    EXPECT_EQ(parsed.document.keys[0].values[0].number, 2u);  // the last one counts
    EXPECT_EQ(parsed.document.keys[0].values[1].text, "t");
}

TEST(SettingsFileFormat, MarksEveryLineItDoesNotUnderstand) {
    struct Case {
        const char* line;
        const char* why;
    };
    const Case cases[] = {
        {"\"X\"=dword:", "no digits"},
        {"\"X\"=dword:123456789", "more than 32 bits"},
        {"\"X\"=dword:12g4", "not hexadecimal"},
        {"\"X\"=hex:01,02", "a type the program never writes"},
        {"\"X\"=\"open", "unterminated text"},
        {"\"X\"=\"a\\qb\"", "unknown escape"},
        {"\"X\"=\"a\\x00b\"", "a zero inside a text"},
        {"\"X\"=\"a\\x4\"", "short hexadecimal escape"},
        {"\"X\"=\"a\" trailing", "text after the value"},
        {"\"\"=\"t\"", "an empty name that is not @"},
        {"X=dword:1", "unquoted name"},
        {"\"X\"\t=dword:1", "stray character"},
        {"\"a\x01\"=dword:1", "raw control byte"},
    };
    for (const Case& c : cases) {
        SettingsParseResult parsed =
            ParseSettingsFile(std::string("[K]\n\"Good\"=dword:1\n") + c.line + "\n");
        EXPECT_EQ(parsed.firstBadLine, 3) << c.why;
        ASSERT_EQ(parsed.document.keys.size(), 1u);
        EXPECT_EQ(parsed.document.keys[0].values.size(), 1u) << c.why;
    }
}

TEST(SettingsFileFormat, BrokenKeysAndValuesOutsideKeysAreMarked) {
    SettingsParseResult parsed = ParseSettingsFile(
        "\"Orphan\"=dword:1\n[Good]\n\"A\"=dword:1\n[Bad\\\\Key]\n\"B\"=dword:2\n[Open\n");
    EXPECT_EQ(parsed.firstBadLine, 1);
    EXPECT_EQ(parsed.badLines, 4);
    ASSERT_EQ(parsed.document.keys.size(), 1u);
    EXPECT_EQ(parsed.document.keys[0].values.size(), 1u);
}

TEST(SettingsFileFormat, ALastLineWithoutNewlineCountsAsCutShort) {
    SettingsParseResult parsed = ParseSettingsFile("[K]\n\"A\"=dword:1");
    EXPECT_EQ(parsed.firstBadLine, 2);
    EXPECT_TRUE(parsed.document.keys[0].values.empty());
}

TEST(SettingsFileFormat, KeyPathsTheFileCanHold) {
    EXPECT_TRUE(IsValidSettingsKey("Brindlex\\Plyvane\\Playback"));
    EXPECT_TRUE(IsValidSettingsKey("With space"));
    for (const char* bad : {"", "\\Lead", "Trail\\", "Dou\\\\ble", "Brack]et", "New\nline"})
        EXPECT_FALSE(IsValidSettingsKey(bad)) << bad;
}

}  // namespace
}  // namespace plyvane
