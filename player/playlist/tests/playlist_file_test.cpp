#include <gtest/gtest.h>

#include <string>

#include "ini_profile.h"
#include "playlist_entry.h"
#include "playlist_file.h"
#include "playlist_test_support.h"

namespace plyvane {
namespace {

using testing::TestFolder;

std::vector<std::string> Entries(PlaylistFile& list) {
    std::vector<std::string> entries;
    for (int i = 1; i <= list.Count(); ++i) {
        std::string entry = "untouched";
        list.GetEntry(i, entry);
        entries.push_back(entry);
    }
    return entries;
}

TEST(PlaylistRecognition, ANameIsAListWhenItHoldsAListExtensionAnywhere) {
    struct Case {
        const char* name;
        PlaylistKind kind;
    };
    const Case cases[] = {
        {"C:\\Music\\list.pls", PlaylistKind::kPls}, {"LIST.PLS", PlaylistKind::kPls},
        {"a.m3u", PlaylistKind::kM3u},               {"a.M3U", PlaylistKind::kM3u},
        {"my.m3u.mp3", PlaylistKind::kM3u},          {"x.pls.mp3", PlaylistKind::kPls},
        {"both.m3u.pls", PlaylistKind::kPls},        {"both.pls.m3u", PlaylistKind::kPls},
        {"C:\\lists.plsx\\a.mp3", PlaylistKind::kPls},
        {"http://host/list.m3u", PlaylistKind::kM3u},
        {"a.mp3", PlaylistKind::kNone},              {"pls", PlaylistKind::kNone},
        {"a.m3", PlaylistKind::kNone},               {"", PlaylistKind::kNone},
    };
    for (const Case& c : cases) EXPECT_EQ(PlaylistKindOf(c.name), c.kind) << c.name;
}

TEST(PlaylistRecognition, RelativeEntriesAreCompletedWithTheListsFolder) {
    const std::string folder = ListFolderOf("C:\\Music\\list.pls");
    EXPECT_EQ(folder, "C:\\Music\\");
    EXPECT_EQ(ListFolderOf("list.pls"), "");
    EXPECT_EQ(ListFolderOf("/home/u/list.m3u"), "/home/u/");
    EXPECT_EQ(ListFolderOf("C:/Music/list.m3u"), "C:/Music/");

    struct Case {
        const char* entry;
        const char* expected;
    };
    const Case cases[] = {
        {"a.mp3", "C:\\Music\\a.mp3"},
        {"sub\\b.mp3", "C:\\Music\\sub\\b.mp3"},
        {"..\\up.mp3", "C:\\Music\\..\\up.mp3"},
        {"D:\\x.mp3", "D:\\x.mp3"},
        {"D:/x.mp3", "D:/x.mp3"},
        {"\\root.mp3", "\\root.mp3"},
        {"/abs/x.mp3", "/abs/x.mp3"},
        {"\\\\server\\share\\x.mp3", "\\\\server\\share\\x.mp3"},
        {"http://host/a.mp3", "http://host/a.mp3"},
        {"HTTP://host/a.mp3", "HTTP://host/a.mp3"},
        {"D:x.mp3", "C:\\Music\\D:x.mp3"},
        {"a.mp3;Title;80;5000", "C:\\Music\\a.mp3;Title;80;5000"},
    };
    for (const Case& c : cases) EXPECT_EQ(ResolveEntry(folder, c.entry), c.expected) << c.entry;
}

TEST(M3uText, EveryLineIsAnEntryExceptComments) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> entries;
    };
    const Case cases[] = {
        {"LF", "a.mp3\nb.mp3\n", {"a.mp3", "b.mp3"}},
        {"CR-LF", "a.mp3\r\nb.mp3\r\n", {"a.mp3", "b.mp3"}},
        {"no final line end", "a.mp3\nb.mp3", {"a.mp3", "b.mp3"}},
        {"empty", "", {}},
        {"plain list keeps empty lines", "a.mp3\n\nb.mp3\n", {"a.mp3", "", "b.mp3"}},
        {"comments are not entries", "# my list\na.mp3\n#b.mp3\n", {"a.mp3"}},
        {"UTF-8 mark", "\xEF\xBB\xBF" "a.mp3\n", {"a.mp3"}},
        {"extended list skips empty lines", "#EXTM3U\r\n\r\n#EXTINF:5,A\r\na.mp3\r\n\r\nb.mp3\r\n", {"a.mp3", "b.mp3"}},
        {"only comments", "#EXTM3U\n#EXTINF:1,x\n", {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> got;
        for (const M3uLine& line : ParseM3u(c.text)) got.push_back(line.text);
        EXPECT_EQ(got, c.entries) << c.name;
    }
}

TEST(M3uText, ExtinfGivesTheNextEntrysTitleAndDuration) {
    const auto lines = ParseM3u(
        "#EXTM3U\n"
        "#EXTINF:123,Artist - Title\n"
        "a.mp3\n"
        "b.mp3\n"
        "#EXTINF:-1,Live stream\n"
        "http://host/live\n"
        "#EXTINF:7.5 , Spaced \n"
        "#EXTINF:9,Replaces the one before\n"
        "c.mp3\n"
        "#extinf:99999999999,Huge\n"
        "d.mp3\n"
        "#EXTINF:garbage\n"
        "e.mp3\n");
    struct Expected {
        const char* text;
        const char* title;
        int32_t durationMs;
    };
    const Expected expected[] = {
        {"a.mp3", "Artist - Title", 123000},
        {"b.mp3", "", 0},
        {"http://host/live", "Live stream", 0},
        {"c.mp3", "Replaces the one before", 9000},
        {"d.mp3", "Huge", INT32_MAX},
        {"e.mp3", "", 0},
    };
    ASSERT_EQ(lines.size(), std::size(expected));
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].text, expected[i].text);
        EXPECT_EQ(lines[i].title, expected[i].title) << expected[i].text;
        EXPECT_EQ(lines[i].durationMs, expected[i].durationMs) << expected[i].text;
    }
    const auto spaced = ParseM3u("#EXTINF:7.5 , Spaced \nx\n");
    ASSERT_EQ(spaced.size(), 1u);
    EXPECT_EQ(spaced[0].title, "Spaced");
    EXPECT_EQ(spaced[0].durationMs, 7000);
}

TEST(M3uText, ReadingStopsAtTheLargestList) {
    std::string text;
    for (int i = 0; i < 20; ++i) text += "x.mp3\n";
    EXPECT_EQ(ParseM3u(text, 7).size(), 7u);
}

TEST(PlaylistFileReading, PlsEntriesAreCompletedAndReadByNumber) {
    TestFolder folder;
    const std::string name = folder.Write("list.pls",
                                          "[playlist]\r\n"
                                          "NumberOfEntries=4\r\n"
                                          "File1=a.mp3\r\n"
                                          "File2=sub\\b.mp3;Song;80;5000\r\n"
                                          "File3=D:\\x.mp3\r\n"
                                          "File4=http://host/stream\r\n");
    PlaylistFile list;
    ASSERT_EQ(list.Load(name), LoadResult::kLoaded);
    EXPECT_EQ(list.Kind(), PlaylistKind::kPls);
    EXPECT_EQ(list.Name(), name);
    EXPECT_EQ(list.Folder(), folder.Folder());
    EXPECT_EQ(Entries(list), (std::vector<std::string>{folder.Folder() + "a.mp3",
                                                       folder.Folder() + "sub\\b.mp3;Song;80;5000",
                                                       "D:\\x.mp3", "http://host/stream"}));
    std::string entry = "untouched";
    EXPECT_EQ(list.GetEntry(0, entry), EntryStatus::kMissing);
    EXPECT_EQ(entry, "");
    EXPECT_EQ(list.GetEntry(5, entry), EntryStatus::kMissing);
}

TEST(PlaylistFileReading, M3uEntriesCarryTheirExtinfFields) {
    TestFolder folder;
    const std::string name = folder.Write("list.m3u",
                                          "#EXTM3U\r\n"
                                          "#EXTINF:200,Artist; Title\r\n"
                                          "a.mp3\r\n"
                                          "#EXTINF:5,Title of a record with its own\r\n"
                                          "b.mp3;Own;70;4000\r\n"
                                          "C:\\c.mp3\r\n");
    PlaylistFile list;
    ASSERT_EQ(list.Load(name), LoadResult::kLoaded);
    EXPECT_EQ(list.Kind(), PlaylistKind::kM3u);
    EXPECT_EQ(Entries(list),
              (std::vector<std::string>{folder.Folder() + "a.mp3;Artist, Title;;200000",
                                        folder.Folder() + "b.mp3;Own;70;4000", "C:\\c.mp3"}));
}

TEST(PlaylistFileReading, LongEntriesAreRefusedNotCut) {
    TestFolder folder;
    const std::string longName(300, 'n');
    // Fits alone, but not behind the folder: refused as well.
    const std::string fitsAlone(kMaxEntryLength - 4, 'f');
    const std::string longTitle(400, 't');
    const std::string name = folder.Write(
        "long.m3u", "#EXTM3U\n" + longName + ".mp3\n" + fitsAlone + ".mp3\n#EXTINF:10," + longTitle + "\nok.mp3\n");
    PlaylistFile list;
    ASSERT_EQ(list.Load(name), LoadResult::kLoaded);
    ASSERT_EQ(list.Count(), 3);
    std::string entry = "untouched";
    EXPECT_EQ(list.GetEntry(1, entry), EntryStatus::kTooLong);
    EXPECT_EQ(entry, "");
    EXPECT_EQ(list.GetEntry(2, entry), EntryStatus::kTooLong);
    // A long title is cut to fit; the file and its duration stay.
    ASSERT_EQ(list.GetEntry(3, entry), EntryStatus::kRead);
    EXPECT_EQ(entry.size(), kMaxEntryLength);
    EXPECT_EQ(EntryField(entry, kEntryPath), folder.Folder() + "ok.mp3");
    EXPECT_EQ(EntryNumber(entry, kEntryDuration), 10000);

    const std::string pls = folder.Write("long.pls", "[playlist]\nNumberOfEntries=2\nFile1=" + longName +
                                                         "\nFile2=C:\\" + std::string(252, 'x') + "\n");
    PlaylistFile plsList;
    ASSERT_EQ(plsList.Load(pls), LoadResult::kLoaded);
    EXPECT_EQ(plsList.GetEntry(1, entry), EntryStatus::kTooLong);
    ASSERT_EQ(plsList.GetEntry(2, entry), EntryStatus::kRead);
    EXPECT_EQ(entry.size(), kMaxEntryLength);
}

// Bad list files: each has one clear result, and nothing is read out of range.
TEST(PlaylistFileReading, BadListFilesGiveClearResults) {
    TestFolder folder;
    std::string binary = "\xFF\xFB\x90\x64";
    for (int i = 0; i < 2000; ++i) binary += static_cast<char>((i * 37) & 0xFF);
    std::string manyPls = "[playlist]\nNumberOfEntries=10000\n";
    std::string manyM3u;
    for (int i = 1; i <= 10000; ++i) {
        manyPls += "File" + std::to_string(i) + "=" + std::to_string(i) + ".mp3\n";
        manyM3u += std::to_string(i) + ".mp3\n";
    }
    std::filesystem::create_directories(folder.Path("folder.m3u"));

    struct Case {
        const char* name;
        std::string file;  // written unless empty and `write` is false
        bool write;
        LoadResult result;
        int count;
    };
    const Case cases[] = {
        {"missing.pls", "", false, LoadResult::kCannotOpen, 0},
        {"missing.m3u", "", false, LoadResult::kCannotOpen, 0},
        {"folder.m3u", "", false, LoadResult::kCannotOpen, 0},
        {"empty.pls", "", true, LoadResult::kLoaded, 0},
        {"empty.m3u", "", true, LoadResult::kLoaded, 0},
        {"x.pls.mp3", binary, true, LoadResult::kNotAList, 0},
        {"x.m3u.mp3", binary, true, LoadResult::kNotAList, 0},
        {"no-count.pls", "[playlist]\nFile1=a.mp3\n", true, LoadResult::kLoaded, 0},
        {"zero.pls", "[playlist]\nNumberOfEntries=0\nFile1=a.mp3\n", true, LoadResult::kLoaded, 0},
        {"negative.pls", "[playlist]\nNumberOfEntries=-3\nFile1=a.mp3\n", true, LoadResult::kLoaded, 0},
        {"huge.pls", "[playlist]\nNumberOfEntries=2147483647\nFile1=a.mp3\nFile2=b.mp3\n", true,
         LoadResult::kLoaded, 2},
        {"beyond.pls", "[playlist]\nNumberOfEntries=9\nFile1=a.mp3\nFile3=c.mp3\nFile012=x\n", true,
         LoadResult::kLoaded, 3},
        {"fewer.pls", "[playlist]\nNumberOfEntries=1\nFile1=a.mp3\nFile2=b.mp3\n", true, LoadResult::kLoaded, 1},
        {"other-section.pls", "[list]\nNumberOfEntries=1\nFile1=a.mp3\n", true, LoadResult::kNotAList, 0},
        {"many.pls", manyPls, true, LoadResult::kLoaded, 10000},
        {"many.m3u", manyM3u, true, LoadResult::kLoaded, 10000},
        {"not-a-list.mp3", "a.mp3\n", true, LoadResult::kNotAPlaylistName, 0},
    };
    for (const Case& c : cases) {
        const std::string path = c.write ? folder.Write(c.name, c.file) : folder.Path(c.name);
        PlaylistFile list;
        EXPECT_EQ(list.Load(path), c.result) << c.name;
        EXPECT_EQ(list.Count(), c.count) << c.name;
        if (c.result != LoadResult::kLoaded) {
            EXPECT_EQ(list.Kind(), PlaylistKind::kNone) << c.name;
        }
        std::string entry;
        EXPECT_EQ(list.GetEntry(c.count + 1, entry), EntryStatus::kMissing) << c.name;
    }

    // A hole in the numbering reads as a missing entry.
    PlaylistFile beyond;
    ASSERT_EQ(beyond.Load(folder.Path("beyond.pls")), LoadResult::kLoaded);
    std::string entry;
    EXPECT_EQ(beyond.GetEntry(2, entry), EntryStatus::kMissing);
    EXPECT_EQ(beyond.GetEntry(3, entry), EntryStatus::kRead);

    PlaylistFile many;
    ASSERT_EQ(many.Load(folder.Path("many.m3u")), LoadResult::kLoaded);
    ASSERT_EQ(many.GetEntry(10000, entry), EntryStatus::kRead);
    EXPECT_EQ(entry, folder.Folder() + "10000.mp3");
}

TEST(PlaylistFileReading, APlainListKeepsItsEmptyLinesAsMissingEntries) {
    TestFolder folder;
    const std::string name = folder.Write("plain.m3u", "a.mp3\r\n\r\nb.mp3\r\n");
    PlaylistFile list;
    ASSERT_EQ(list.Load(name), LoadResult::kLoaded);
    ASSERT_EQ(list.Count(), 3);
    std::string entry;
    EXPECT_EQ(list.GetEntry(2, entry), EntryStatus::kMissing);
    EXPECT_EQ(list.GetEntry(3, entry), EntryStatus::kRead);
    EXPECT_EQ(entry, folder.Folder() + "b.mp3");
}

TEST(DroppedFileList, NamesAreTakenAsTheyAre) {
    DroppedFiles dropped({"C:\\a.mp3", "rel.mp3", "", std::string(300, 'x')});
    EXPECT_EQ(dropped.Count(), 4);
    std::string entry;
    EXPECT_EQ(dropped.GetEntry(1, entry), EntryStatus::kRead);
    EXPECT_EQ(entry, "C:\\a.mp3");
    EXPECT_EQ(dropped.GetEntry(2, entry), EntryStatus::kRead);
    EXPECT_EQ(entry, "rel.mp3");
    EXPECT_EQ(dropped.GetEntry(3, entry), EntryStatus::kMissing);
    EXPECT_EQ(dropped.GetEntry(4, entry), EntryStatus::kTooLong);
    EXPECT_EQ(entry, "");
    EXPECT_EQ(dropped.GetEntry(5, entry), EntryStatus::kMissing);
}

}  // namespace
}  // namespace plyvane
