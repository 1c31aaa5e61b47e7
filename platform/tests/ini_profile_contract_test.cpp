// What the INI profile port must do, the same way natively (our reader and
// writer) and under Windows (the system's profile functions). The playlist
// reader and the editor's writer rely on exactly these rules.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ini_profile.h"

namespace plyvane {
namespace {

namespace fs = std::filesystem;

class IniProfileContract : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() /
                  (std::string("plyvane-ini-") + test->name() + "-" + std::to_string(Unique()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    static long Unique() {
        static long counter = 0;
        return ++counter + static_cast<long>(fs::file_time_type::clock::now().time_since_epoch().count() % 1000000);
    }

    // A file of this test with the given bytes (written in binary).
    std::string File(const std::string& name, const std::string& bytes) {
        std::string path = Path(name);
        std::ofstream out(path, std::ios::binary);
        out << bytes;
        return path;
    }
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    std::string Contents(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    IniProfile& Ini() { return PlatformIniProfile(); }

    fs::path folder_;
};

TEST_F(IniProfileContract, WrittenValuesReadBackInTheirOrder) {
    const std::string list = Path("new.pls");
    ASSERT_TRUE(Ini().WriteString(list.c_str(), "playlist", "NumberOfEntries", "3"));
    ASSERT_TRUE(Ini().WriteString(list.c_str(), "playlist", "File1", "a.mp3"));
    ASSERT_TRUE(Ini().WriteString(list.c_str(), "playlist", "File2", "sub\\b.mp3;Title;80;5000"));
    ASSERT_TRUE(Ini().WriteString(list.c_str(), "playlist", "File3", "C:\\Music\\c d.mp3"));

    EXPECT_EQ(Ini().ReadInt(list.c_str(), "playlist", "NumberOfEntries", -7), 3);
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File1", "?"), "a.mp3");
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File2", "?"), "sub\\b.mp3;Title;80;5000");
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File3", "?"), "C:\\Music\\c d.mp3");
    EXPECT_TRUE(Ini().HasSection(list.c_str(), "playlist"));
    EXPECT_TRUE(Ini().HasSection(list.c_str(), "PLAYLIST"));
    EXPECT_FALSE(Ini().HasSection(list.c_str(), "other"));
    EXPECT_EQ(Ini().KeysOf(list.c_str(), "playlist"),
              (std::vector<std::string>{"NumberOfEntries", "File1", "File2", "File3"}));

    // The file is a plain INI file that other programs read.
    const std::string text = Contents(list);
    EXPECT_NE(text.find("[playlist]"), std::string::npos);
    EXPECT_NE(text.find("NumberOfEntries=3"), std::string::npos);
    EXPECT_LT(text.find("File1=a.mp3"), text.find("File3=C:\\Music\\c d.mp3"));
}

TEST_F(IniProfileContract, AMissingFileReadsAsDefaults) {
    const std::string list = Path("missing.pls");
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File1", "fallback"), "fallback");
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File1", ""), "");
    EXPECT_EQ(Ini().ReadInt(list.c_str(), "playlist", "NumberOfEntries", 0), 0);
    EXPECT_EQ(Ini().ReadInt(list.c_str(), "playlist", "NumberOfEntries", 42), 42);
    EXPECT_FALSE(Ini().HasSection(list.c_str(), "playlist"));
    EXPECT_TRUE(Ini().KeysOf(list.c_str(), "playlist").empty());
    EXPECT_FALSE(fs::exists(list)) << "reading never creates the file";
}

TEST_F(IniProfileContract, BlanksCaseAndLineEndsDoNotCount) {
    const std::string list = File("hand.pls",
                                  "; written by hand\n"
                                  "  [PlayList]  \r\n"
                                  "numberofentries = 2\n"
                                  "  File1 =   a b.mp3  \r\n"
                                  "FILE2=\"quoted name.mp3\"\r\n"
                                  "File3='single'\n"
                                  "File4=\"unmatched\n"
                                  "File5=\"\"\n"
                                  "File6=\n"
                                  "File7\n");
    EXPECT_EQ(Ini().ReadInt(list.c_str(), "playlist", "NumberOfEntries", -1), 2);
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "file1", "?"), "a b.mp3");
    EXPECT_EQ(Ini().ReadString(list.c_str(), "PLAYLIST", "File2", "?"), "quoted name.mp3");
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File3", "?"), "single");
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File4", "?"), "\"unmatched");
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File5", "?"), "");
    // An empty value is a value; a line without "=" is not.
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File6", "?"), "");
    EXPECT_EQ(Ini().ReadInt(list.c_str(), "playlist", "File6", 9), 9);
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File7", "?"), "?");
    EXPECT_EQ(Ini().KeysOf(list.c_str(), "playlist"),
              (std::vector<std::string>{"numberofentries", "File1", "FILE2", "File3", "File4",
                                        "File5", "File6"}));
}

TEST_F(IniProfileContract, TheFirstSectionAndTheFirstKeyOfANameWin) {
    const std::string list = File("twice.pls",
                                  "File1=outside\n"
                                  "[playlist]\n"
                                  "File1=first\n"
                                  "File1=second\n"
                                  "[other]\n"
                                  "File2=elsewhere\n"
                                  "[playlist]\n"
                                  "File3=later section\n");
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File1", "?"), "first");
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File2", "?"), "?");
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File3", "?"), "?");
    EXPECT_EQ(Ini().ReadString(list.c_str(), "other", "File2", "?"), "elsewhere");
}

TEST_F(IniProfileContract, NumbersReadAsWindowsReadsThem) {
    struct Case {
        const char* value;
        int expected;
    };
    const Case cases[] = {
        {"12", 12},         {"-5", -5},          {"+7", 7},        {"12abc", 12},
        {"abc", 0},         {"007", 7},          {"0x1F", 31},     {"'42'", 42},
        {"2147483647", 2147483647},              {"4294967297", 1}, {"- 3", 0},
    };
    std::string text = "[playlist]\n";
    for (size_t i = 0; i < std::size(cases); ++i)
        text += "N" + std::to_string(i) + "=" + cases[i].value + "\n";
    text += "Empty=\n";
    const std::string list = File("numbers.pls", text);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string key = "N" + std::to_string(i);
        EXPECT_EQ(Ini().ReadInt(list.c_str(), "playlist", key.c_str(), -99), cases[i].expected)
            << cases[i].value;
    }
    EXPECT_EQ(Ini().ReadInt(list.c_str(), "playlist", "Empty", -99), -99);
    EXPECT_EQ(Ini().ReadInt(list.c_str(), "playlist", "Absent", -99), -99);
}

TEST_F(IniProfileContract, AnUpdateChangesOnlyWhatIsWritten) {
    const std::string list = File("old.pls",
                                  "[playlist]\r\n"
                                  "NumberOfEntries=5\r\n"
                                  "File1=one\r\n"
                                  "File2=two\r\n"
                                  "File3=three\r\n"
                                  "File4=four\r\n"
                                  "File5=five\r\n"
                                  "\r\n"
                                  "[other]\r\n"
                                  "Kept=yes\r\n");
    ASSERT_TRUE(Ini().WriteString(list.c_str(), "playlist", "numberofentries", "2"));
    ASSERT_TRUE(Ini().WriteString(list.c_str(), "playlist", "File1", "new one"));
    ASSERT_TRUE(Ini().WriteString(list.c_str(), "playlist", "File2", "  new two"));
    ASSERT_TRUE(Ini().WriteString(list.c_str(), "playlist", "Added", "x"));
    ASSERT_TRUE(Ini().WriteString(list.c_str(), "third", "Key", "y"));

    EXPECT_EQ(Ini().ReadInt(list.c_str(), "playlist", "NumberOfEntries", -1), 2);
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File1", "?"), "new one");
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File2", "?"), "new two");
    // Keys above the new count survive; they are never read.
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File5", "?"), "five");
    EXPECT_EQ(Ini().ReadString(list.c_str(), "other", "Kept", "?"), "yes");
    EXPECT_EQ(Ini().ReadString(list.c_str(), "third", "Key", "?"), "y");
    EXPECT_EQ(Ini().KeysOf(list.c_str(), "playlist"),
              (std::vector<std::string>{"NumberOfEntries", "File1", "File2", "File3", "File4",
                                        "File5", "Added"}));
    EXPECT_EQ(Ini().KeysOf(list.c_str(), "other"), (std::vector<std::string>{"Kept"}));
}

TEST_F(IniProfileContract, LongValuesComeBackWhole) {
    const std::string list = Path("long.pls");
    const std::string value = std::string(300, 'a') + "\\" + std::string(5000, 'b') + ".mp3";
    ASSERT_TRUE(Ini().WriteString(list.c_str(), "playlist", "File1", value.c_str()));
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File1", ""), value);

    std::string many = "[playlist]\n";
    for (int i = 1; i <= 3000; ++i) many += "File" + std::to_string(i) + "=" + std::to_string(i) + ".mp3\n";
    const std::string big = File("big.pls", many);
    EXPECT_EQ(Ini().KeysOf(big.c_str(), "playlist").size(), 3000u);
    EXPECT_EQ(Ini().ReadString(big.c_str(), "playlist", "File2999", ""), "2999.mp3");
}

TEST_F(IniProfileContract, ValuesThatWouldBreakTheFileAreRefused) {
    const std::string list = File("safe.pls", "[playlist]\r\nFile1=kept\r\n");
    EXPECT_FALSE(Ini().WriteString(list.c_str(), "playlist", "File1", "a\r\nFile9=injected"));
    EXPECT_FALSE(Ini().WriteString(list.c_str(), "playlist", "File2", "line\nbreak"));
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File1", "?"), "kept");
    EXPECT_EQ(Ini().ReadString(list.c_str(), "playlist", "File9", "?"), "?");
    EXPECT_EQ(Ini().KeysOf(list.c_str(), "playlist"), (std::vector<std::string>{"File1"}));
}

TEST_F(IniProfileContract, FilesThatAreNoProfilesHoldNoSections) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 131 + 7) % 256 == '[' ? 0 : (i * 131 + 7) % 256);
    const std::string binary = File("x.pls.mp3", "\xFF\xFB\x90\x64" + garbage);
    EXPECT_FALSE(Ini().HasSection(binary.c_str(), "playlist"));
    EXPECT_EQ(Ini().ReadInt(binary.c_str(), "playlist", "NumberOfEntries", 0), 0);

    const std::string empty = File("empty.pls", "");
    EXPECT_FALSE(Ini().HasSection(empty.c_str(), "playlist"));

    // A folder is no file: nothing to read, and nothing is written over it.
    const std::string folder = Path("folder.pls");
    fs::create_directories(folder);
    EXPECT_FALSE(Ini().HasSection(folder.c_str(), "playlist"));
    EXPECT_EQ(Ini().ReadString(folder.c_str(), "playlist", "File1", "?"), "?");
    EXPECT_FALSE(Ini().WriteString(folder.c_str(), "playlist", "File1", "x"));
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(IniProfileContract, ARelativeNameIsInTheCurrentFolder) {
    const fs::path before = fs::current_path();
    fs::current_path(folder_);
    const bool written = Ini().WriteString("relative.pls", "playlist", "File1", "here.mp3");
    const std::string back = Ini().ReadString("relative.pls", "playlist", "File1", "?");
    fs::current_path(before);
    EXPECT_TRUE(written);
    EXPECT_EQ(back, "here.mp3");
    EXPECT_TRUE(fs::exists(folder_ / "relative.pls"));
}

}  // namespace
}  // namespace plyvane
