// Filling the editor's list: completing entries, the filter, folder scans
// (deep, big, looping, with files that cannot be read) and playlist files
// read by the editor's rules. Real files in a test folder; the probe and
// the progress windows are fakes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "editor_test_support.h"
#include "entry_import.h"
#include "memory_settings_store.h"
#include "playlist_entry.h"
#include "recording_message_box.h"
#include "settings_store.h"

namespace plyvane {
namespace {

namespace fs = std::filesystem;
using testing::EditorFolder;

// An ID3v1 tag with the title (zero-padded) and nothing else.
std::string TaggedBytes(const std::string& title) {
    std::string tag = "TAG" + title;
    tag.resize(128, '\0');
    return std::string(1000, '\x55') + tag;
}

class EntryImportTest : public ::testing::Test {
protected:
    EntryImportTest() : storeInstalled_(store), boxesInstalled_(boxes) {}

    EditorImport Import() {
        return EditorImport(list, EditorServices{PlatformFileSystem(), PlatformIniProfile(), prober, windows, nullptr});
    }
    std::set<std::string> Paths() const {
        std::set<std::string> paths;
        for (const std::string& entry : list.Entries()) paths.insert(EntryField(entry, kEntryPath));
        return paths;
    }

    MemorySettingsStore store;
    RecordingMessageBox boxes;
    EditorFolder folder;
    testing::ProbeTable prober;
    testing::RecordingWindows windows;
    EditorList list;

private:
    ScopedSettingsStore storeInstalled_;
    ScopedMessageBox boxesInstalled_;
};

TEST_F(EntryImportTest, CompletionFillsWhatTheRecordLeavesOpen) {
    const std::string tagged = folder.Write("tagged.mp3", TaggedBytes("Five!"));
    const std::string plain = folder.Write("plain.mp3", std::string(500, '\x55'));
    const std::string broken = folder.Write("broken.mp3", TaggedBytes("Broken"));
    const std::string unknownLength = folder.Write("unknown.mp3", "x");
    const std::string odd = folder.Write("odd.mp3", TaggedBytes("Tab\there;semi\x7F"));
    prober.Add(tagged, 61234);
    prober.Add(plain, 1000);
    prober.Add(unknownLength, -1);
    prober.Add(odd, 5);
    prober.Add("http://host/stream.mp3", -1);
    struct Case {
        std::string record;
        bool completed;
        std::string expected;
        bool probed;
    };
    const std::vector<Case> cases = {
        {tagged, true, tagged + ";Five!;75;61234", true},
        {tagged + ";Mine", true, tagged + ";Mine;75;61234", true},
        {tagged + ";;;7000", true, tagged + ";Five!;75;7000", false},
        {tagged + ";;90", true, tagged + ";Five!;90;61234", true},
        {tagged + ";;abc", true, tagged + ";Five!;75;61234", true},  // not a number: not set
        {plain, true, plain + ";;75;1000", true},
        {broken, false, broken + ";Broken", true},  // no duration, so no volume either
        {unknownLength, true, unknownLength + ";;75;-1", true},
        {odd, true, odd + ";Tab here,semi ;75;5", true},
        {folder.Path("missing.mp3"), false, folder.Path("missing.mp3"), true},
        {"http://host/stream.mp3", true, "http://host/stream.mp3;;75;-1", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        prober.probed.clear();
        std::string record = c.record;
        EXPECT_EQ(Import().CompleteEntry(record), c.completed);
        EXPECT_EQ(record, c.expected);
        EXPECT_EQ(!prober.probed.empty(), c.probed);
    }
    // Each completion shows its record in a window of its own.
    ASSERT_EQ(windows.windows.size(), cases.size());
    EXPECT_EQ(windows.windows[0]->items, std::vector<std::string>{tagged});
    EXPECT_EQ(windows.windows[0]->low, 1);
    EXPECT_EQ(windows.windows[0]->high, 100);
    EXPECT_EQ(windows.windows[0]->step, 1);
    EXPECT_TRUE(windows.windows[0]->closed);
}

TEST_F(EntryImportTest, SettingsOfCompletion) {
    const std::string file = folder.Write("a.mp3");
    prober.Add(file, 1000);
    struct Case {
        int defaultVolume;  // -1: absent
        std::string volume;
    };
    for (const Case& c : std::vector<Case>{{-1, "75"}, {40, "40"}, {100, "100"}, {0, "100"}, {250, "100"}}) {
        if (c.defaultVolume >= 0) store.WriteDword(kConfigurationKey, "DefaultVolume", c.defaultVolume);
        std::string record = file;
        ASSERT_TRUE(Import().CompleteEntry(record));
        EXPECT_EQ(EntryField(record, kEntryVolume), c.volume) << c.defaultVolume;
    }

    // "SkipHTTPFileScan" keeps the editor from reading addresses.
    store.DeleteValue(kConfigurationKey, "DefaultVolume");
    store.WriteDword(kConfigurationKey, "SkipHTTPFileScan", 1);
    prober.probed.clear();
    std::string address = "HTTP://host/a.mp3";
    EXPECT_FALSE(Import().CompleteEntry(address));
    EXPECT_EQ(address, "HTTP://host/a.mp3");
    EXPECT_TRUE(prober.probed.empty());
    address = "http://host/a.mp3;;;5000";
    EXPECT_TRUE(Import().CompleteEntry(address));
    EXPECT_EQ(address, "http://host/a.mp3;;75;5000");
}

TEST_F(EntryImportTest, ATagTitleIsCutToKeepTheRecordReadable) {
    // A path of 240 characters and a 30-character title: the record would
    // be longer than the 255 characters the player reads.
    std::string name = "n";
    name.resize(240 - folder.Folder().size() - 4, 'n');
    const std::string path = folder.Write(name + ".mp3", TaggedBytes(std::string(30, 'T')));
    ASSERT_EQ(path.size(), 240u);
    prober.Add(path, 123456);
    std::string record = path;
    ASSERT_TRUE(Import().CompleteEntry(record));
    EXPECT_EQ(record.size(), kMaxEntryLength);
    EXPECT_EQ(EntryField(record, kEntryDuration), "123456");
    // path ";" title ";75;123456"
    EXPECT_EQ(EntryField(record, kEntryTitle), std::string(255 - 240 - 1 - 10, 'T'));

    // Also when the stream cannot be read: the title alone is cut to fit.
    std::string unreadable = folder.Write(name + ".mp2", TaggedBytes(std::string(30, 'U')));
    EXPECT_FALSE(Import().CompleteEntry(unreadable));
    EXPECT_EQ(unreadable.size(), kMaxEntryLength);
    EXPECT_EQ(EntryField(unreadable, kEntryTitle), std::string(255 - 240 - 1, 'U'));
}

TEST_F(EntryImportTest, AFolderScanTakesWhatTheFilterTakes) {
    for (const char* name : {"a.mp3", "B.MP2", "c.txt", "d.L3", "sub/e.mp3", "sub/deeper/f.l2", "sub/g.wav",
                             "Album.mp3/h.mp3", "Album.mp3/i.mp2"})
        folder.Write(name);
    struct Case {
        const char* what;
        AcceptedFileType type;
        bool subfolders;
        std::set<std::string> added;
    };
    const std::vector<Case> cases = {
        {"audio files, subfolders", AcceptedFileType::kMpegAudio, true,
         {"a.mp3", "B.MP2", "d.L3", "sub/e.mp3", "sub/deeper/f.l2", "Album.mp3/i.mp2"}},
        {"audio files, this folder only", AcceptedFileType::kMpegAudio, false, {"a.mp3", "B.MP2", "d.L3"}},
        {"every file, subfolders", AcceptedFileType::kAllFiles, true,
         {"a.mp3", "B.MP2", "c.txt", "d.L3", "sub/e.mp3", "sub/deeper/f.l2", "sub/g.wav", "Album.mp3/h.mp3",
          "Album.mp3/i.mp2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        list.Clear();
        list.Filter().Choose(c.type);
        list.SetIncludeSubfolders(c.subfolders);
        Import().AddPath(folder.Path(""));
        std::set<std::string> expected;
        for (const std::string& name : c.added) expected.insert(folder.Path(name));
        EXPECT_EQ(Paths(), expected);
        EXPECT_EQ(list.Count(), static_cast<int>(expected.size()));
        EXPECT_TRUE(list.Modified());
    }

    // A dropped file goes through the filter too; a missing path adds nothing.
    list.Clear();
    list.Filter().Choose(AcceptedFileType::kMpegAudio);
    Import().AddPath(folder.Path("c.txt"));
    Import().AddPath(folder.Path("missing"));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(list.Modified());
    Import().AddPath(folder.Path("a.mp3"));
    EXPECT_EQ(list.Entries(), std::vector<std::string>{folder.Path("a.mp3")});
}

TEST_F(EntryImportTest, AScanShowsEachFileAndNoErrorBoxes) {
    const std::string a = folder.Write("a.mp3");
    folder.Write("b.mp3", "not a stream");
    prober.Add(a, 1000);
    prober.reportFailures = true;
    Import().AddPath(folder.Path(""));
    EXPECT_EQ(list.Count(), 2);  // the file that is no stream is added all the same
    EXPECT_EQ(boxes.Count(), 0u);
    // The folder's window: range 1 to 100, step 10, each file shown and stepped.
    std::vector<std::shared_ptr<testing::RecordingWindows::Window>> folders;
    for (const auto& window : windows.windows) {
        if (window->step == 10) folders.push_back(window);
    }
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0]->low, 1);
    EXPECT_EQ(folders[0]->high, 100);
    EXPECT_EQ(folders[0]->steps, 2);
    EXPECT_EQ(std::set<std::string>(folders[0]->items.begin(), folders[0]->items.end()),
              (std::set<std::string>{a, folder.Path("b.mp3")}));
    EXPECT_TRUE(folders[0]->closed);

    // A single file added by hand shows the probe's box.
    Import().AddEntry(folder.Path("b.mp3"));
    EXPECT_EQ(boxes.Count(), 1u);
}

TEST_F(EntryImportTest, DeepAndBigFolders) {
    // Twenty levels, one file on each.
    std::string level;
    for (int depth = 1; depth <= 20; ++depth) {
        level += "level" + std::to_string(depth) + "/";
        folder.Write("deep/" + level + "f" + std::to_string(depth) + ".mp3");
    }
    Import().AddPath(folder.Path("deep"));
    EXPECT_EQ(list.Count(), 20);

    list.Clear();
    for (int i = 0; i < 5000; ++i) folder.Write("big/t" + std::to_string(i) + ".mp3");
    Import().AddPath(folder.Path("big"));
    EXPECT_EQ(list.Count(), 5000);
    EXPECT_EQ(Paths().size(), 5000u);

}

TEST_F(EntryImportTest, AFolderThatLinksBackToItselfIsScannedOnce) {
    const std::string links = testing::FolderLinks();
    if (links.empty()) GTEST_SKIP() << "the folders with links are made by the tests' set-up (ctest)";
    const std::string loop = links + "loop";
    Import().AddPath(loop);
    EXPECT_EQ(Paths(), (std::set<std::string>{JoinPath(loop, "a.mp3"), JoinPath(JoinPath(loop, "sub"), "b.mp3")}));
}

TEST_F(EntryImportTest, FilesThatCannotBeReadOrListedAreSkipped) {
    const std::string good = folder.Write("scan/good.mp3");
    // The longest name Windows knows (259 characters) is more than the 255
    // characters the player reads from a list.
    const std::string base = folder.Path("scan/");
    const std::string tooLong = base + std::string(259 - base.size() - 4, 'L') + ".mp3";
    const std::string longest = base + std::string(255 - base.size() - 4, 'k') + ".mp3";
    folder.Write("scan/" + tooLong.substr(base.size()));
    folder.Write("scan/" + longest.substr(base.size()));
    ASSERT_EQ(tooLong.size(), 259u);
#ifdef _WIN32
    // A file another program holds without sharing it.
    const std::string locked = folder.Write("scan/locked.mp3");
    HANDLE holder = ::CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
#else
    // A link to nothing, and a pipe (opening it would wait for a writer).
    ASSERT_EQ(::symlink(folder.Path("nowhere.mp3").c_str(), folder.Path("scan/dangling.mp3").c_str()), 0);
    ASSERT_EQ(::mkfifo(folder.Path("scan/pipe.mp3").c_str(), 0600), 0);
#endif
    Import().AddPath(folder.Path("scan"));
#ifdef _WIN32
    ::CloseHandle(holder);
#endif
    EXPECT_EQ(Paths(), (std::set<std::string>{good, longest}));
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(EntryImportTest, CancelEndsAScan) {
    for (int i = 0; i < 10; ++i) folder.Write("many/sub/t" + std::to_string(i) + ".mp3");
    for (int i = 0; i < 10; ++i) folder.Write("many/u" + std::to_string(i) + ".mp3");
    windows.cancelAfterSteps = 3;
    Import().AddPath(folder.Path("many"));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(windows.mostOpenAtOnce >= 1, true);
    for (const auto& window : windows.windows) EXPECT_TRUE(window->closed);
}

TEST_F(EntryImportTest, APlsFileByTheEditorsRules) {
    const std::string a = folder.Write("a.mp3");
    const std::string b = folder.Write("sub/b.mp3");
    prober.Add(a, 1000);
    prober.Add(b, 2000);
    prober.Add("http://host/live", -1);
    const std::string list1 = folder.Write("list.pls", "[playlist]\r\nNumberOfEntries=6\r\nFile1=a.mp3\r\nFile2=\r\n"
                                                      "File3=sub" + std::string(1, kPathSeparator) +
                                                          "b.mp3;Named;50;9000\r\nFile4=http://host/live\r\n"
                                                          "File6=" + a + "\r\n");
    Import().AppendPlaylistFile(list1);
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{a + ";;75;1000", b + ";Named;50;9000",
                                                         "http://host/live;;75;-1", a + ";;75;1000"}));
    EXPECT_FALSE(list.Modified());  // a .pls leaves the flag alone
    // Its window: range 0 to the count, the default step; a step for every number.
    ASSERT_FALSE(windows.windows.empty());
    const auto& window = *std::find_if(windows.windows.begin(), windows.windows.end(),
                                       [](const auto& w) { return w->step == 10; });
    EXPECT_EQ(window->low, 0);
    EXPECT_EQ(window->high, 6);
    EXPECT_EQ(window->steps, 6);

    // Any name that is not an .m3u is read in the .pls form; a missing one
    // has no entries and no message.
    list.Clear();
    Import().AppendPlaylistFile(folder.Write("saved.lst", "[playlist]\r\nNumberOfEntries=1\r\nFile1=a.mp3\r\n"));
    EXPECT_EQ(list.Entries(), std::vector<std::string>{a + ";;75;1000"});
    list.Clear();
    EXPECT_TRUE(Import().AppendPlaylistFile(folder.Path("missing.pls")));
    EXPECT_TRUE(Import().AppendPlaylistFile(folder.Write("song.mp3.pls", std::string(100, '\xFF'))));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(EntryImportTest, AnM3uFileByTheEditorsRules) {
    const std::string a = folder.Write("a.mp3");
    prober.Add(a, 1000);
    const std::string m3u = folder.Write("list.m3u", "#EXTM3U\r\n#EXTINF:42,Tagged in the list\r\na.mp3\r\n\r\n"
                                                     "# a comment\r\n" + a + "\r\n");
    Import().AppendPlaylistFile(m3u);
    // Comments are not entries (they would each fail and ask); an extended
    // entry brings its title and length, so it is not probed.
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{a + ";Tagged in the list;75;42000", a + ";;75;1000"}));
    EXPECT_TRUE(list.Modified());
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(prober.probed, std::vector<std::string>{a});
    const auto& window = *std::find_if(windows.windows.begin(), windows.windows.end(),
                                       [](const auto& w) { return w->low == 0; });
    EXPECT_EQ(window->high, 100);
    EXPECT_EQ(window->step, 1);

    // One that cannot be opened ends with a message; the list keeps its entries.
    EXPECT_FALSE(Import().AppendPlaylistFile(folder.Path("missing.m3u")));
    EXPECT_FALSE(Import().AppendPlaylistFile(folder.Write("binary.m3u", std::string("a\0b", 3))));
    EXPECT_EQ(list.Count(), 2);
    const auto messages = boxes.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].caption, kErrorCaption);
    EXPECT_EQ(messages[0].text, "Unable to open the playlist file " + folder.Path("missing.m3u") + "!");
    EXPECT_EQ(messages[1].text, "The file " + folder.Path("binary.m3u") + " is not a playlist!");
}

TEST_F(EntryImportTest, AFailedCompletionAsksWhetherToStop) {
    const std::string a = folder.Write("a.mp3");
    prober.Add(a, 1000);
    const std::string m3u = folder.Write("list.m3u", "missing1.mp3\nmissing2.mp3\na.mp3\nmissing3.mp3\n");
    boxes.Answer(MessageAnswer::kNo);
    boxes.Answer(MessageAnswer::kYes);
    Import().AppendPlaylistFile(m3u);
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{folder.Path("missing1.mp3"), folder.Path("missing2.mp3")}));
    const auto messages = boxes.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].caption, "Abort import");
    EXPECT_EQ(messages[0].text, "Do you want to cancel the actual import process?");
    EXPECT_EQ(messages[0].buttons, MessageButtons::kYesNo);

    // With "SkipHTTPFileScan" every address without a length asks; No reads on.
    store.WriteDword(kConfigurationKey, "SkipHTTPFileScan", 1);
    list.Clear();
    boxes.Clear();
    for (int i = 0; i < 3; ++i) boxes.Answer(MessageAnswer::kNo);
    Import().AppendPlaylistFile(folder.Write("live.pls", "[playlist]\nNumberOfEntries=3\nFile1=http://a/1\n"
                                                         "File2=http://a/2;;;5000\nFile3=http://a/3\n"));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(boxes.Count(), 2u);
}

TEST_F(EntryImportTest, AListThatNamesItselfIsReadOnce) {
    const std::string a = folder.Write("a.mp3");
    prober.Add(a, 1000);
    const std::string self = folder.Write("self.m3u", "self.m3u\na.mp3\n");
    boxes.Answer(MessageAnswer::kNo);
    Import().AppendPlaylistFile(self);
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{self, a + ";;75;1000"}));
    EXPECT_EQ(boxes.Count(), 1u);
}

TEST_F(EntryImportTest, AHundredThousandLines) {
    std::string text;
    for (int i = 0; i < 100000; ++i) text += "t" + std::to_string(i % 10) + ".mp3;Title;80;1000\n";
    // Lines the player could not read back are left out.
    text += std::string(300, 'x') + ".mp3\n";
    Import().AppendPlaylistFile(folder.Write("huge.m3u", text));
    EXPECT_EQ(list.Count(), 100000);
    EXPECT_EQ(list.Entry(99999), folder.Path("t9.mp3") + ";Title;80;1000");
    EXPECT_TRUE(prober.probed.empty());
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(EntryImportTest, CancelEndsAnImport) {
    std::string text;
    for (int i = 0; i < 10; ++i) text += "t.mp3;;80;1000\n";
    windows.cancelAfterSteps = 4;
    Import().AppendPlaylistFile(folder.Write("list.m3u", text));
    EXPECT_EQ(list.Count(), 4);
}

TEST_F(EntryImportTest, LoadImportAndDropOfPlaylistFiles) {
    const std::string a = folder.Write("a.mp3");
    prober.Add(a, 1000);
    const std::string pls = folder.Write("list.pls", "[playlist]\nNumberOfEntries=1\nFile1=a.mp3\n");
    const std::string m3u = folder.Write("list.m3u", "a.mp3\n");

    // Load replaces the list; a .pls leaves it unmodified, an .m3u modified.
    list.Append("old.mp3");
    Import().LoadPlaylist(pls);
    EXPECT_EQ(list.Entries(), std::vector<std::string>{a + ";;75;1000"});
    EXPECT_EQ(list.CurrentName(), pls);
    EXPECT_FALSE(list.Modified());
    std::string recent;
    ASSERT_EQ(ReadStringSetting(kConfigurationKey, "RecentPlaylistFile", recent), 1);
    EXPECT_EQ(recent, pls);
    Import().LoadPlaylist(m3u);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_TRUE(list.Modified());

    // Import appends, and the list is modified after it.
    list.SetModified(false);
    Import().ImportPlaylist(pls);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.CurrentName(), pls);
    EXPECT_TRUE(list.Modified());

    // A drop: playlists are imported, the rest scanned.
    list.Clear();
    folder.Write("dropped/b.mp3");
    Import().AddDroppedFiles({folder.Path("dropped"), m3u, folder.Path("dropped/b.mp3")});
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.CurrentName(), m3u);
    EXPECT_TRUE(list.Modified());
}

}  // namespace
}  // namespace plyvane
