// Files tagged by other programs (lame, ffmpeg; see data/README.md): the tag
// that describes each, and the title a playlist entry takes from it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "id3_test_support.h"
#include "stream_tag.h"

namespace plyvane {
namespace {

using testing::TaggedFile;
using namespace std::string_literals;

TEST(TaggedFiles, TheTagOfEachFile) {
    if (!testing::AnsiIsWindows1252()) GTEST_SKIP() << "the expectations are Windows-1252 texts";
    struct Case {
        const char* file;
        StreamTagKind kind;
        Id3Fields expected;
    };
    const std::vector<Case> cases = {
        {"untagged.mp3", StreamTagKind::kNone, {}},
        {"lame_v1.mp3", StreamTagKind::kId3v1, {"Five", "Lame Artist", "Lame Album", "1999", "v1 comment"}},
        {"lame_v1_full.mp3", StreamTagKind::kId3v1,
         {"Thirty characters in the title", "Thirty characters of an artist", "", "", ""}},
        {"lame_v23.mp3", StreamTagKind::kId3v2,
         {"Lame v2 title", "Lame v2 artist", "Lame v2 album", "2004", "Lame v2 comment"}},
        {"lame_v23_latin1.mp3", StreamTagKind::kId3v2,
         {"Caf\xE9 M\xFCller", "Se\xF1or \xD1" "and\xFA", "Gr\xF6\xDF" "e", "1987", "\xC7" "a va"}},
        {"ffmpeg_v23_utf16_western.mp3", StreamTagKind::kId3v2,
         {"Caf\xE9 M\xFCller", "Se\xF1or \xD1" "and\xFA", "Gr\xF6\xDF" "e", "1987", "\xC7" "a va"}},
        {"ffmpeg_v23_utf16_other.mp3", StreamTagKind::kId3v2,
         {"?\xF3" "d? \x80 5", "????????", "\x8C" "uvre \x96 \x93quoted\x94", "2001", ""}},
        {"ffmpeg_v24_utf8.mp3", StreamTagKind::kId3v2,
         {"Cr\xE8me br\xFBl\xE9" "e ?", "Zo\xEB", "??", "2010", "UTF-8 comment"}},
        {"ffmpeg_v1_and_v24.mp3", StreamTagKind::kId3v1,
         {"A title longer than the thirty", "Both tags", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Id3Fields fields;
        EXPECT_EQ(ReadStreamTag(TaggedFile(c.file).c_str(), fields), c.kind);
        testing::ExpectFields(fields, c.expected);
    }
}

TEST(TaggedFiles, TheTitleOfAnEntry) {
    struct Case {
        std::string file;
        bool found;
        std::string title;
    };
    testing::TempFolder folder;
    const std::vector<Case> cases = {
        {TaggedFile("lame_v1.mp3"), true, "Five"},
        {TaggedFile("lame_v23.mp3"), true, "Lame v2 title"},
        {TaggedFile("ffmpeg_v1_and_v24.mp3"), true, "A title longer than the thirty"},
        {TaggedFile("untagged.mp3"), false, ""},
        // A blank ID3v1 title gives way to the ID3v2 one.
        {folder.Write("blank-v1.mp3", "ID3\4\0\0\0\0\0\x0D" "TIT2\0\0\0\3\0\0\3v2"s + std::string(500, 'x') +
                                          "TAG" + std::string(30, ' ') + std::string(95, '\0')),
         true, "v2"},
        {folder.Write("blank-both.mp3", "ID3\4\0\0\0\0\0\x0D" "TIT2\0\0\0\3\0\0\3  "s + std::string(500, 'x') +
                                            "TAG" + std::string(30, ' ') + std::string(95, '\0')),
         false, ""},
        {"http://example.com/a.mp3", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string title = "unchanged";
        EXPECT_EQ(ReadTagTitle(c.file.c_str(), title), c.found);
        EXPECT_EQ(title, c.found ? c.title : "unchanged");
    }
}

}  // namespace
}  // namespace plyvane
