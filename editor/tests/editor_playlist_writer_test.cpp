// Writing the editor's list, held against the player's own reader: what the
// editor writes the player resolves to the same files, and what the player
// reads the editor writes back so that it still does.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "editor_playlist_writer.h"
#include "editor_test_support.h"
#include "entry_import.h"
#include "memory_settings_store.h"
#include "playlist_entry.h"
#include "recording_message_box.h"
#include "settings_store.h"

namespace plyvane {
namespace {

using testing::EditorFolder;

const std::string kSep(1, kPathSeparator);

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every entry of the list as the player reads it.
std::vector<std::string> PlayerEntries(const std::string& name) {
    PlaylistFile list;
    EXPECT_EQ(list.Load(name), LoadResult::kLoaded) << name;
    std::vector<std::string> entries;
    for (int index = 1; index <= list.Count(); ++index) {
        std::string entry;
        EXPECT_EQ(list.GetEntry(index, entry), EntryStatus::kRead) << index;
        entries.push_back(entry);
    }
    return entries;
}

TEST(ListedEntry, EntriesAreWrittenRelativeToTheListsFolderWhenTheyReadBackTheSame) {
    const std::string folder = "C:\\Music\\";
    struct Case {
        std::string record;
        PlaylistKind form;
        std::string written;
    };
    const std::vector<Case> cases = {
        {"C:\\Music\\a.mp3", PlaylistKind::kPls, "a.mp3"},
        {"C:\\Music\\a.mp3;Title;80;5000", PlaylistKind::kPls, "a.mp3;Title;80;5000"},
        {"C:\\Music\\sub\\deeper\\b.mp3;;75", PlaylistKind::kPls, "sub\\deeper\\b.mp3;;75"},
        {"C:\\Other\\c.mp3", PlaylistKind::kPls, "C:\\Other\\c.mp3"},
        {"C:\\MusicBox\\c.mp3", PlaylistKind::kPls, "C:\\MusicBox\\c.mp3"},
        {"c:\\music\\a.mp3", PlaylistKind::kPls, "c:\\music\\a.mp3"},  // case counts
        {"C:\\Music\\ blank.mp3", PlaylistKind::kPls, "C:\\Music\\ blank.mp3"},  // INI values lose leading blanks
        {"C:\\Music\\'quoted'", PlaylistKind::kPls, "C:\\Music\\'quoted'"},
        {"C:\\Music\\#1.mp3", PlaylistKind::kPls, "#1.mp3"},
        {"C:\\Music\\#1.mp3", PlaylistKind::kM3u, "C:\\Music\\#1.mp3"},  // a comment line in .m3u
        {"C:\\Music\\a.mp3;T", PlaylistKind::kM3u, "a.mp3;T"},
        {"http://host/C:\\Music\\x", PlaylistKind::kPls, "http://host/C:\\Music\\x"},
        {"C:\\Music\\", PlaylistKind::kPls, "C:\\Music\\"},
        {"relative.mp3", PlaylistKind::kPls, "relative.mp3"},
    };
    for (const Case& c : cases) EXPECT_EQ(ListedEntry(c.record, folder, c.form), c.written) << c.record;
    EXPECT_EQ(ListedEntry("/music/a.mp3", "/music/", PlaylistKind::kPls), "a.mp3");
    EXPECT_EQ(ListedEntry("C:\\Music\\a.mp3", "", PlaylistKind::kPls), "C:\\Music\\a.mp3");
}

TEST(EditorPlaylistText, ThePlsFormKeepsTheOtherSectionsOfTheFile) {
    const std::vector<std::string> entries = {"C:\\Music\\a.mp3", "D:\\b.mp3;B"};
    EXPECT_EQ(EditorPlaylistText(entries, "C:\\Music\\list.pls"),
              "[playlist]\r\nNumberOfEntries=2\r\nFile1=a.mp3\r\nFile2=D:\\b.mp3;B\r\n");
    const std::string existing = "top=1\n\n[other]\nkey=1\n[Playlist]\nNumberOfEntries=5\nFile5=old.mp3\n"
                                 "[more]\r\nx=y\r\n";
    EXPECT_EQ(EditorPlaylistText(entries, "C:\\Music\\list.pls", existing),
              "top=1\r\n[playlist]\r\nNumberOfEntries=2\r\nFile1=a.mp3\r\nFile2=D:\\b.mp3;B\r\n\r\n"
              "[other]\r\nkey=1\r\n[more]\r\nx=y\r\n");
    EXPECT_EQ(EditorPlaylistText({}, "list.pls"), "[playlist]\r\nNumberOfEntries=0\r\n");
    // A name the player reads as .m3u gets that form.
    EXPECT_EQ(EditorPlaylistText(entries, "C:\\Music\\list.m3u", existing), "a.mp3\r\nD:\\b.mp3;B\r\n");
    EXPECT_EQ(EditorPlaylistText(entries, "C:\\Music\\list.m3u.pls"),
              "[playlist]\r\nNumberOfEntries=2\r\nFile1=a.mp3\r\nFile2=D:\\b.mp3;B\r\n");
}

class PlaylistRoundTrip : public ::testing::Test {
protected:
    PlaylistRoundTrip() : storeInstalled_(store), boxesInstalled_(boxes) {}

    MemorySettingsStore store;
    RecordingMessageBox boxes;
    EditorFolder folder;

private:
    ScopedSettingsStore storeInstalled_;
    ScopedMessageBox boxesInstalled_;
};

TEST_F(PlaylistRoundTrip, WhatTheEditorWritesThePlayerReadsAsTheSameFiles) {
    EditorFolder elsewhere;
    const std::vector<std::string> entries = {
        folder.Path("a.mp3") + ";Title;80;5000",
        folder.Path("sub/b.mp3"),
        folder.Path("sub/deeper/c d.mp3;;;1000"),
        elsewhere.Path("e.mp3;Elsewhere"),
        "http://host/live.mp3;Radio;;-1",
        folder.Path(" f.mp3"),
        folder.Path("#g.mp3"),
    };
    for (const char* name : {"list.pls", "list.m3u", "named.lst"}) {
        SCOPED_TRACE(name);
        const std::string list = folder.Path(name);
        ASSERT_TRUE(WriteEditorPlaylist(entries, list));
        if (PlaylistKindOf(list) != PlaylistKind::kNone) {
            EXPECT_EQ(PlayerEntries(list), entries);
        }
    }
    // Entries in the list's folder are bare names, those below it relative,
    // the others whole.
    const std::string text = Contents(folder.Path("list.pls"));
    EXPECT_NE(text.find("File1=a.mp3;Title;80;5000\r\n"), std::string::npos);
    EXPECT_NE(text.find("File2=sub" + kSep + "b.mp3\r\n"), std::string::npos);
    EXPECT_NE(text.find("File3=sub" + kSep + "deeper" + kSep + "c d.mp3;;;1000\r\n"), std::string::npos);
    EXPECT_NE(text.find("File4=" + elsewhere.Path("e.mp3;Elsewhere") + "\r\n"), std::string::npos);
    EXPECT_NE(text.find("File7=#g.mp3\r\n"), std::string::npos);
    EXPECT_EQ(Contents(folder.Path("list.m3u")).find("\r\n#"), std::string::npos);
}

TEST_F(PlaylistRoundTrip, WhatThePlayerReadsTheEditorWritesBackTheSame) {
    EditorFolder elsewhere;
    const std::string sep = kSep;
    const std::string original = folder.Write(
        "original.pls", "[playlist]\r\nNumberOfEntries=5\r\nFile1=a.mp3\r\nFile2=sub" + sep + "b.mp3;B;60;2000\r\n"
                        "File3=" + elsewhere.Path("c.mp3") + "\r\nFile4=http://host/d.mp3;;;3000\r\n"
                        "File5=sub" + sep + "deeper" + sep + "e.mp3\r\n");
    testing::ProbeTable prober;
    for (const std::string& entry : PlayerEntries(original)) prober.Add(EntryField(entry, kEntryPath), 1000);
    EditorList list;
    EditorImport(list, EditorServices{PlatformFileSystem(), PlatformIniProfile(), prober, NoProgressWindows()})
        .AppendPlaylistFile(original);
    ASSERT_EQ(list.Count(), 5);

    folder.MakeFolder("sub");
    for (const char* name : {"copy.pls", "sub/copy.pls", "copy.m3u"}) {
        SCOPED_TRACE(name);
        const std::string copy = folder.Path(name);
        ASSERT_TRUE(SaveEditorList(list, copy, PlatformFileSystem(), nullptr));
        const std::vector<std::string> before = PlayerEntries(original);
        const std::vector<std::string> after = PlayerEntries(copy);
        ASSERT_EQ(after.size(), before.size());
        for (std::size_t i = 0; i < before.size(); ++i)
            EXPECT_EQ(EntryField(after[i], kEntryPath), EntryField(before[i], kEntryPath));
        EXPECT_EQ(after, list.Entries());
    }
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(PlaylistRoundTrip, SavingSetsTheNameAndClearsTheFlagOnlyWhenWritten) {
    EditorList list;
    list.Append(folder.Path("a.mp3"));
    const std::string saved = folder.Path("saved.pls");
    ASSERT_TRUE(SaveEditorList(list, saved, PlatformFileSystem(), nullptr));
    EXPECT_EQ(list.CurrentName(), saved);
    EXPECT_FALSE(list.Modified());
    std::string recent;
    EXPECT_EQ(ReadStringSetting(kConfigurationKey, "RecentPlaylistFile", recent), 1);
    EXPECT_EQ(recent, saved);

    // A save that fails says so and changes nothing, on disk or in the list.
    list.Append(folder.Path("b.mp3"));
    const std::string blocked = folder.MakeFolder("blocked.pls");
    EXPECT_FALSE(SaveEditorList(list, blocked, PlatformFileSystem(), nullptr));
    EXPECT_TRUE(list.Modified());
    EXPECT_EQ(list.CurrentName(), saved);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Messages()[0].text, "Unable to save the playlist file " + blocked + "!");
    EXPECT_EQ(Contents(saved), "[playlist]\r\nNumberOfEntries=1\r\nFile1=a.mp3\r\n");
}

// The platform's file system with the temporary folder moved into the test's.
class TemporaryIn : public FileSystem {
public:
    explicit TemporaryIn(std::string folder) : folder_(std::move(folder)) {}
    PathKind KindOf(const std::string& path) override { return PlatformFileSystem().KindOf(path); }
    bool ListFolder(const std::string& f, std::vector<FolderItem>& items) override {
        return PlatformFileSystem().ListFolder(f, items);
    }
    bool IdentityOf(const std::string& f, FolderIdentity& identity) override {
        return PlatformFileSystem().IdentityOf(f, identity);
    }
    bool ReplaceFile(const std::string& path, std::string_view bytes) override {
        return PlatformFileSystem().ReplaceFile(path, bytes);
    }
    std::string TemporaryFolder() override { return folder_; }

private:
    std::string folder_;
};

TEST_F(PlaylistRoundTrip, OkWithoutSavingHandsOnATemporaryList) {
    EditorList list;
    list.Append(folder.Path("a.mp3;A;80;1000"));
    TemporaryIn files(folder.Folder());
    ASSERT_TRUE(SaveTemporaryList(list, files, nullptr));
    EXPECT_EQ(list.CurrentName(), folder.Path("list.pls"));
    EXPECT_FALSE(list.Modified());
    EXPECT_EQ(PlayerEntries(list.CurrentName()), list.Entries());
    // Not a file the user saved: the recent playlist stays as it was.
    std::string recent;
    EXPECT_EQ(ReadStringSetting(kConfigurationKey, "RecentPlaylistFile", recent), 0);
}

}  // namespace
}  // namespace plyvane
