// The editor's list: what each command does to the entries, the selection
// that follows it and the modified flag; how rows are shown; which files the
// file-type filter takes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "default_volume_field.h"
#include "editor_file_types.h"
#include "editor_list.h"
#include "memory_settings_store.h"
#include "settings_store.h"

namespace plyvane {
namespace {

EditorList ListOf(const std::vector<std::string>& entries) {
    EditorList list;
    for (const std::string& entry : entries) list.Append(entry);
    list.SetModified(false);
    return list;
}

TEST(EditorList, CommandsMoveEntriesAndTheSelection) {
    const std::vector<std::string> five = {"a", "b", "c", "d", "e"};
    struct Case {
        const char* what;
        int (EditorList::*command)(int);
        int row;
        std::vector<std::string> entries;
        int selected;
        bool modified;
    };
    const std::vector<Case> cases = {
        {"move row 3 to the top", &EditorList::MoveToTop, 2, {"c", "a", "b", "d", "e"}, 2, true},
        {"move the first to the top", &EditorList::MoveToTop, 0, five, 0, true},
        {"move row 2 to the bottom", &EditorList::MoveToBottom, 1, {"a", "c", "d", "e", "b"}, 1, true},
        {"remove a middle row", &EditorList::Remove, 2, {"a", "b", "d", "e"}, 2, true},
        {"remove the last row", &EditorList::Remove, 4, {"a", "b", "c", "d"}, 3, true},
        {"no selection", &EditorList::Remove, -1, five, -1, false},
        {"a row beyond the list", &EditorList::MoveToTop, 5, five, -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditorList list = ListOf(five);
        EXPECT_EQ((list.*c.command)(c.row), c.selected);
        EXPECT_EQ(list.Entries(), c.entries);
        EXPECT_EQ(list.Modified(), c.modified);
    }
}

TEST(EditorList, DraggingPutsAnEntryInFrontOfTheRowItIsDroppedOn) {
    struct Case {
        int from, onto;
        std::vector<std::string> entries;
        int selected;
    };
    const std::vector<Case> cases = {
        {3, 0, {"d", "a", "b", "c", "e"}, 0},
        {0, 3, {"b", "c", "a", "d", "e"}, 2},
        {0, 4, {"b", "c", "d", "a", "e"}, 3},  // never behind the last: that is Move to bottom
        {4, 1, {"a", "e", "b", "c", "d"}, 1},
        {2, 2, {"a", "b", "c", "d", "e"}, -1},  // its own row
        {2, 3, {"a", "b", "c", "d", "e"}, -1},  // the row just below it
        {2, 5, {"a", "b", "c", "d", "e"}, -1},  // outside any row
        {2, -1, {"a", "b", "c", "d", "e"}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " onto " + std::to_string(c.onto));
        EditorList list = ListOf({"a", "b", "c", "d", "e"});
        EXPECT_EQ(list.MoveBefore(c.from, c.onto), c.selected);
        EXPECT_EQ(list.Entries(), c.entries);
        EXPECT_EQ(list.Modified(), c.selected >= 0);
    }
}

TEST(EditorList, TheModifiedFlag) {
    EditorList list;
    EXPECT_FALSE(list.Modified());
    EXPECT_TRUE(list.Append("a.mp3"));
    EXPECT_TRUE(list.Modified());
    // Deleting the only entry of a new list leaves nothing to save.
    EXPECT_EQ(list.Remove(0), -1);
    EXPECT_FALSE(list.Modified());

    // A list loaded from a file and emptied differs from the file.
    list.Append("a.mp3");
    list.SetCurrentName("C:\\Music\\list.pls");
    list.SetModified(false);
    list.Remove(0);
    EXPECT_TRUE(list.Modified());

    // Properties with OK sets it even without a change.
    list = ListOf({"a.mp3"});
    EXPECT_TRUE(list.Replace(0, "a.mp3"));
    EXPECT_TRUE(list.Modified());
    EXPECT_FALSE(list.Replace(1, "b.mp3"));

    list.SetCurrentName("x.pls");
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.CurrentName(), "");
    EXPECT_FALSE(list.Modified());
}

TEST(EditorList, RecordsNoListFileCouldHoldAreRefused) {
    EditorList list = ListOf({"a.mp3"});
    EXPECT_FALSE(list.Append(""));
    EXPECT_FALSE(list.Append("a.mp3;Two\nlines"));
    EXPECT_FALSE(list.Append("a.mp3;\r"));
    EXPECT_FALSE(list.Replace(0, "x\ny"));
    EXPECT_EQ(list.Entries(), std::vector<std::string>{"a.mp3"});
    EXPECT_FALSE(list.Modified());
}

TEST(EditorList, RowsShowTheirNumberAndTitleOrName) {
    EditorList list = ListOf({"C:\\Music\\Song.mp3", "D:\\x\\Other.mp2;A Title;80;5000", "http://host/live.mp3",
                              "/home/me/unix name.mp3", "C:\\dots.in\\noext"});
    struct Case {
        bool path, extension;
        std::vector<std::string> shown;
    };
    const std::vector<Case> cases = {
        {false, false, {"1. Song", "2. A Title", "3. live", "4. unix name", "5. noext"}},
        {false, true, {"1. Song.mp3", "2. A Title", "3. live.mp3", "4. unix name.mp3", "5. noext"}},
        {true, false,
         {"1. C:\\Music\\Song", "2. A Title", "3. http://host/live", "4. /home/me/unix name", "5. C:\\dots.in\\noext"}},
    };
    for (const Case& c : cases) {
        list.SetShowPath(c.path);
        list.SetShowExtension(c.extension);
        for (int row = 0; row < list.Count(); ++row) EXPECT_EQ(list.DisplayText(row), c.shown[row]);
    }
    EXPECT_EQ(list.DisplayText(5), "");
}

TEST(ExtensionFilter, TheMpegTypeTakesAudioEndingsInAnyCase) {
    ExtensionFilter filter;
    struct Case {
        const char* name;
        bool taken;
    };
    const std::vector<Case> cases = {
        {"C:\\Music\\a.mp2", true},      {"C:\\Music\\a.mp3", true},       {"C:\\Music\\a.l2", true},
        {"C:\\Music\\A.L3", true},       {"C:\\Music\\a.MP3", true},       {"C:\\Music\\a.wav", false},
        {"C:\\Music\\a.mp3.txt", false}, {"C:\\Music\\a.pls", false},      {"C:\\Music\\mp3", false},
        // The first occurrence must be the ending: a folder named like an
        // audio file hides the ending of the files in it.
        {"C:\\Album.mp3\\a.mp3", false}, {"C:\\Album.mp3\\a.mp2", true},   {"a.mp3a.mp3", false},
    };
    for (const Case& c : cases) EXPECT_EQ(filter.Accepts(c.name), c.taken) << c.name;

    filter.Choose(AcceptedFileType::kAllFiles);
    EXPECT_TRUE(filter.Accepts("C:\\Album.mp3\\a.mp3"));
    EXPECT_TRUE(filter.Accepts("readme"));
    filter.Choose(AcceptedFileType::kMpegAudio);
    EXPECT_FALSE(filter.Accepts("readme"));

    EXPECT_TRUE(filter.SetExtensions({".OGG"}));
    EXPECT_TRUE(filter.Accepts("x.ogg"));
    EXPECT_FALSE(filter.SetExtensions(std::vector<std::string>(33, ".x")));
    EXPECT_EQ(filter.Extensions(), std::vector<std::string>{".ogg"});
}

TEST(EditorFileTypes, TheTextsOfTheListAndTheDialogs) {
    EXPECT_EQ(FileTypeListItems(),
              (std::vector<std::string>{"MPEG audio file (*.mp2;*.mp3;*.l2;*.l3)", "All files (*.*)"}));
    EXPECT_EQ(LoadDialogFilter(),
              "MPEG Audio Files (*.mp2;*.mp3;*.l2;*.l3)|*.mp2;*.mp3;*.l2;*.l3|Playlist Files (*.pls;*.m3u)|"
              "*.pls;*.m3u|All Files (*.*)|*.*|");
    EXPECT_EQ(PlaylistDialogFilter(), "Playlist Files (*.pls;*.m3u)|*.pls;*.m3u|All Files (*.*)|*.*|");
}

TEST(DefaultVolumeField, ValuesOutsideOneToHundredBecomeHundred) {
    MemorySettingsStore store;
    ScopedSettingsStore installed(store);
    struct Case {
        const char* typed;
        int32_t value;
        bool valid;
    };
    const std::vector<Case> cases = {
        {"50", 50, true},  {"1", 1, true},      {"100", 100, true}, {" 7", 7, true},   {"80%", 80, true},
        {"0", 100, false}, {"101", 100, false}, {"-5", 100, false}, {"abc", 100, false}, {"", 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const DefaultVolumeInput input = TakeDefaultVolume(c.typed);
        EXPECT_EQ(input.value, c.value);
        EXPECT_EQ(input.valid, c.valid);
        EXPECT_EQ(input.text, std::to_string(c.value));
        uint32_t stored = 0;
        ASSERT_EQ(ReadDwordSetting(kConfigurationKey, "DefaultVolume", stored), 1);
        EXPECT_EQ(stored, static_cast<uint32_t>(c.value));
    }
}

}  // namespace
}  // namespace plyvane
