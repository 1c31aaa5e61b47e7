// Titles from source names, and descriptions from the folder's
// "descript.ion" file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "stream_titles.h"

namespace plyvane {
namespace {

TEST(TitleOfTest, CutsFolderAndExtension) {
    const struct {
        const char* name;
        const char* title;
    } rows[] = {
        {"C:\\Music\\Track 01.mp3", "Track 01"},
        {"C:\\Music.old\\track", "track"},       // a dot in the folder is not an extension
        {"/home/me/a.b.mp2", "a.b"},             // only the last dot
        {"relative/x.l3", "x"},
        {"C:\\mixed/dir\\name.mp3", "name"},     // a backslash wins over slashes
        {"plain", "plain"},
        {".hidden", ""},
        {"", ""},
        {"http://host/stream", "stream"},
    };
    for (const auto& row : rows) {
        char title[256];
        TitleOf(row.name, title, sizeof title);
        EXPECT_STREQ(title, row.title) << row.name;
    }
    char small[4];
    TitleOf("C:\\a\\abcdefgh.mp3", small, sizeof small);
    EXPECT_STREQ(small, "abc");
    TitleOf(nullptr, small, sizeof small);
    EXPECT_STREQ(small, "");
}

class ReadDescriptionTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = ::testing::TempDir() + "descriptions_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed());
        std::filesystem::create_directories(folder_);
        std::remove((folder_ + "/descript.ion").c_str());
    }
    void TearDown() override { std::remove((folder_ + "/descript.ion").c_str()); }

    void WriteIndex(const std::string& text) {
        FILE* file = std::fopen((folder_ + "/descript.ion").c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
    std::string Describe(const std::string& file) {
        char description[256] = "untouched";
        ReadDescription((folder_ + "/" + file).c_str(), description, sizeof description);
        return description;
    }

    std::string folder_;
};

TEST_F(ReadDescriptionTest, FindsTheLineOfTheFile) {
    WriteIndex("other.mp3 Not this one\r\n"
               "song.mp3   A fine song\r\n"
               "\"with space.mp2\"\tQuoted name\n"
               "Song.mp3 wrong case\n"
               "last.mp3 no newline at the end");
    EXPECT_EQ(Describe("song.mp3"), "A fine song");
    EXPECT_EQ(Describe("with space.mp2"), "Quoted name");
    EXPECT_EQ(Describe("last.mp3"), "no newline at the end");
    EXPECT_EQ(Describe("SONG.MP3"), "");  // the comparison is case-sensitive
    EXPECT_EQ(Describe("missing.mp3"), "");
}

TEST_F(ReadDescriptionTest, LongLinesAreReadInPiecesOf79Characters) {
    const std::string tail(100, 'x');
    WriteIndex("long.mp3 " + tail + "\n" + "next.mp3 after the long line\n");
    // The first piece holds the key and the start of the text.
    EXPECT_EQ(Describe("long.mp3"), std::string(79 - 9, 'x'));
    EXPECT_EQ(Describe("next.mp3"), "after the long line");
    // A piece of the long line that begins with a key counts as a line.
    WriteIndex("a.mp3 " + std::string(73, '-') + "b.mp3 hidden in a piece\n");
    EXPECT_EQ(Describe("b.mp3"), "hidden in a piece");
}

TEST_F(ReadDescriptionTest, NoIndexMeansNoDescription) {
    EXPECT_EQ(Describe("song.mp3"), "");
    char description[8] = "x";
    EXPECT_FALSE(ReadDescription(nullptr, description, sizeof description));
    EXPECT_STREQ(description, "");
}

}  // namespace
}  // namespace plyvane
