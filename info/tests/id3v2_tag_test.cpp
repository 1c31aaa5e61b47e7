// ID3v2 tags of versions 2.2 to 2.4 built byte by byte: frames, flags,
// extended headers, unsynchronisation, and sizes that lie.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "id3_test_support.h"
#include "id3v1_tag.h"
#include "id3v2_tag.h"

namespace plyvane {
namespace {

using namespace testing;
using namespace std::string_literals;

struct Parsed {
    bool found = false;
    Id3Fields fields;
};

Parsed Parse(const std::string& tag) {
    Parsed parsed;
    parsed.found = ParseId3v2Tag(reinterpret_cast<const uint8_t*>(tag.data()), tag.size(), parsed.fields);
    return parsed;
}

std::string Comment(int major, const std::string& description, const std::string& text,
                    const char* id = nullptr) {
    return Frame(major, id != nullptr ? id : (major == 2 ? "COM" : "COMM"),
                 std::string("\0eng", 4) + description + std::string(1, '\0') + text);
}

TEST(Id3v2Tag, FramesOfEveryVersionGiveTheFields) {
    struct Case {
        const char* what;
        std::string tag;
        Id3Fields expected;
    };
    const std::string v22 = TextFrame(2, "TT2", "Title 2.2") + TextFrame(2, "TP1", "Artist") +
                            TextFrame(2, "TAL", "Album") + TextFrame(2, "TYE", "1998") +
                            Comment(2, "", "Comment 2.2");
    const std::string v23 = TextFrame(3, "TIT2", "Title 2.3") + TextFrame(3, "TPE1", "Artist") +
                            TextFrame(3, "TALB", "Album") + TextFrame(3, "TYER", "2003") +
                            Comment(3, "", "Comment 2.3");
    const std::string v24 = TextFrame(4, "TIT2", "Title 2.4", 3) + TextFrame(4, "TPE1", "Artist", 3) +
                            TextFrame(4, "TALB", "Album", 3) + TextFrame(4, "TDRC", "2004-05-06T12:00", 3) +
                            Comment(4, "", "Comment 2.4");
    const std::string longTitle(300, 't');  // a sync-safe size above 127
    const std::vector<Case> cases = {
        {"2.2", Tag(2, v22), {"Title 2.2", "Artist", "Album", "1998", "Comment 2.2"}},
        {"2.3", Tag(3, v23), {"Title 2.3", "Artist", "Album", "2003", "Comment 2.3"}},
        {"2.4, the year of a time stamp", Tag(4, v24), {"Title 2.4", "Artist", "Album", "2004", "Comment 2.4"}},
        {"2.4 with padding after the frames", Tag(4, v24 + std::string(500, '\0')),
         {"Title 2.4", "Artist", "Album", "2004", "Comment 2.4"}},
        {"2.4, a long frame", Tag(4, TextFrame(4, "TIT2", longTitle) + TextFrame(4, "TPE1", "After")),
         {longTitle, "After", "", "", ""}},
        {"2.3, frames we do not want in between",
         Tag(3, Frame(3, "APIC", std::string(2000, '\xFF')) + TextFrame(3, "TIT2", "After a picture")),
         {"After a picture", "", "", "", ""}},
        {"the first of two titles", Tag(3, TextFrame(3, "TIT2", "First") + TextFrame(3, "TIT2", "Second")),
         {"First", "", "", "", ""}},
        {"2.4, several artists", Tag(4, TextFrame(4, "TPE1", std::string("A\0B", 3), 3)), {"", "A/B", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Parsed parsed = Parse(c.tag);
        EXPECT_TRUE(parsed.found);
        testing::ExpectFields(parsed.fields, c.expected);
    }
}

TEST(Id3v2Tag, CommentsWithoutADescriptionWin) {
    struct Case {
        const char* what;
        std::string frames;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"players' data first", Comment(3, "iTunNORM", " 0000 1234") + Comment(3, "", "Plain"), "Plain"},
        {"only a described one", Comment(3, "Ripped by", "someone"), "someone"},
        {"only players' data", Comment(3, "iTunSMPB", " 00000000"), ""},
        {"a user text frame named comment", TextFrame(3, "TXXX", std::string("comment\0Here", 12)), "Here"},
        {"other user text frames", TextFrame(3, "TXXX", std::string("MusicBrainz\0id", 14)), ""},
        {"a comment without text", Frame(3, "COMM", std::string("\0eng", 4) + "only a description"), ""},
        {"a comment too short for its language", Frame(3, "COMM", std::string("\0en", 3)), ""},
        {"UTF-16, a mark for each string",
         Frame(3, "COMM", std::string("\1eng", 4) + "\xFF\xFE" + std::string(2, '\0') + "\xFF\xFE" + Utf16(u"Hi")),
         "Hi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Parse(Tag(3, c.frames)).fields.comment, c.expected);
    }
}

TEST(Id3v2Tag, FlagsAndUnsynchronisation) {
    const std::string title = "\xFF\xE0\xFF";  // needs unsynchronisation (ISO-8859-1 "ÿàÿ")
    const std::string frame3 = TextFrame(3, "TIT2", title) + TextFrame(3, "TPE1", "Artist");
    struct Case {
        const char* what;
        std::string tag;
        std::string title;
    };
    // 2.3: the whole tag is unsynchronised, the frame sizes count the bytes before.
    const std::string unsync3 = Unsynchronised(frame3);
    // 2.4: frame by frame, with the frame's flag; the size counts the bytes after.
    const std::string body4 = Unsynchronised(std::string(1, '\0') + title);
    const std::string extended3 = BigEndianBytes(6) + std::string(6, '\0');
    const std::string extended4 = SyncSafeBytes(6) + std::string("\x01\x00", 2);
    const std::vector<Case> cases = {
        {"2.3 tag unsynchronised", TagHeader(3, 0x80, static_cast<uint32_t>(unsync3.size())) + unsync3, title},
        {"2.2 tag unsynchronised", Tag(2, Unsynchronised(TextFrame(2, "TT2", title)), 0x80), title},
        {"2.4 frame unsynchronised", Tag(4, Frame(4, "TIT2", body4, 0x0002)), title},
        {"2.4 tag unsynchronised", Tag(4, Frame(4, "TIT2", body4), 0x80), title},
        {"2.4 data length indicator",
         Tag(4, Frame(4, "TIT2", SyncSafeBytes(static_cast<uint32_t>(title.size() + 1)) + body4, 0x0003)), title},
        {"2.4 grouping byte", Tag(4, Frame(4, "TIT2", std::string("\x05\x00", 2) + "Grouped", 0x0040)), "Grouped"},
        {"2.3 grouping byte", Tag(3, Frame(3, "TIT2", std::string("\x05\x00", 2) + "Grouped", 0x0020)), "Grouped"},
        {"2.3 extended header", Tag(3, extended3 + frame3, 0x40), title},
        {"2.3 extended header with CRC",
         Tag(3, BigEndianBytes(10) + std::string(10, '\0') + TextFrame(3, "TIT2", "CRC"), 0x40), "CRC"},
        {"2.4 extended header", Tag(4, extended4 + TextFrame(4, "TIT2", "Extended"), 0x40), "Extended"},
        {"2.4 footer flag", Tag(4, TextFrame(4, "TIT2", "Footer"), 0x10), "Footer"},
        {"2.3 compressed title skipped", Tag(3, Frame(3, "TIT2", "xyz", 0x0080) + TextFrame(3, "TIT2", "Next")),
         "Next"},
        {"2.3 encrypted title skipped", Tag(3, Frame(3, "TIT2", "xyz", 0x0040)), ""},
        {"2.4 compressed title skipped", Tag(4, Frame(4, "TIT2", "xyz", 0x0009)), ""},
        {"2.4 encrypted title skipped", Tag(4, Frame(4, "TIT2", "xyz", 0x0004)), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Parse(c.tag).fields.title, c.title);
    }
}

TEST(Id3v2Tag, PlainNumbersWhereSyncSafeOnesBelong) {
    // Some writers put plain 32-bit sizes into 2.4 frames. A size whose
    // bytes cannot be sync-safe is plain; an ambiguous one is read the way
    // after which the next frame begins.
    const std::string title200(199, 'a');
    const std::string title255(255, 'b');
    const std::string next = TextFrame(4, "TPE1", "Next");
    const std::string plain200 = "TIT2" + BigEndianBytes(200) + std::string(2, '\0') + '\0' + title200;
    const std::string plain256 = "TIT2" + BigEndianBytes(256) + std::string(2, '\0') + '\0' + title255;
    EXPECT_EQ(Parse(Tag(4, plain200 + next)).fields.title, title200);
    EXPECT_EQ(Parse(Tag(4, plain200 + next)).fields.artist, "Next");
    EXPECT_EQ(Parse(Tag(4, plain256 + next)).fields.title, title255);
    EXPECT_EQ(Parse(Tag(4, plain256 + next)).fields.artist, "Next");
    // A correct sync-safe 256 keeps its reading.
    EXPECT_EQ(Parse(Tag(4, TextFrame(4, "TIT2", title255) + next)).fields.artist, "Next");
}

TEST(Id3v2Tag, SizesAreNeverTrusted) {
    struct Case {
        const char* what;
        std::string tag;
        bool found;
        std::string title;
    };
    const std::string title = TextFrame(3, "TIT2", "Kept");
    const std::string lying = "TPE1" + BigEndianBytes(0x7FFFFFF0) + std::string(2, '\0') + "\0abc"s;
    const std::string full = Tag(3, title + TextFrame(3, "TPE1", "Artist"));
    const std::vector<Case> cases = {
        {"a frame larger than the tag ends the frames", Tag(3, title + lying), true, "Kept"},
        {"the tag larger than what is at hand", TagHeader(3, 0, 100000) + title, true, "Kept"},
        {"a tag cut inside its second frame", full.substr(0, full.size() - 3), true, "Kept"},
        {"a tag cut inside its first frame", full.substr(0, 14), false, ""},
        {"a header alone", TagHeader(3, 0, 0), false, ""},
        {"less than a header", std::string("ID3\3\0", 5), false, ""},
        {"garbage after the frames ends them", Tag(3, title + "\x01garbage" + TextFrame(3, "TPE1", "x")), true,
         "Kept"},
        {"an empty frame", Tag(3, Frame(3, "TIT2", "") + TextFrame(3, "TPE1", "A")), true, ""},
        {"an unknown text encoding", Tag(3, TextFrame(3, "TIT2", "x", 9)), true, ""},
        {"a size byte with its high bit set", "ID3\3\0\0\0\0\0\x80"s + title, false, ""},
        {"version 2.5", Tag(5, title), false, ""},
        {"version 2.1", Tag(1, title), false, ""},
        {"revision 0xFF", "ID3\3\xFF\0"s + SyncSafeBytes(static_cast<uint32_t>(title.size())) + title, false, ""},
        {"2.2 compression", Tag(2, TextFrame(2, "TT2", "x"), 0x40), false, ""},
        {"2.3 extended header beyond the tag", Tag(3, BigEndianBytes(500) + title, 0x40), false, ""},
        {"2.4 extended header beyond the tag", Tag(4, SyncSafeBytes(500) + TextFrame(4, "TIT2", "x"), 0x40), false,
         ""},
        {"2.4 extended header smaller than itself", Tag(4, SyncSafeBytes(2) + TextFrame(4, "TIT2", "x"), 0x40),
         false, ""},
        {"2.4 data length indicator without room", Tag(4, Frame(4, "TIT2", "ab", 0x0001)), false, ""},
        {"a footer instead of a header", TagHeader(4, 0, 0, "3DI") + TextFrame(4, "TIT2", "x"), false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Parsed parsed = Parse(c.tag);
        EXPECT_EQ(parsed.found, c.found);
        EXPECT_EQ(parsed.fields.title, c.title);
    }
}

TEST(Id3v2Tag, FilesWithTheTagAtTheirStartOrEnd) {
    const std::string audio(4000, '\x55');
    const std::string tag4 = TextFrame(4, "TIT2", "Appended");
    const std::string appended = TagHeader(4, 0x10, static_cast<uint32_t>(tag4.size())) + tag4 +
                                 TagHeader(4, 0x10, static_cast<uint32_t>(tag4.size()), "3DI");
    struct Case {
        const char* what;
        std::string bytes;
        bool found;
        std::string title;
    };
    const std::vector<Case> cases = {
        {"at the start", Tag(3, TextFrame(3, "TIT2", "Start")) + audio, true, "Start"},
        {"its size beyond the end of the file", TagHeader(3, 0, 1000000) + TextFrame(3, "TIT2", "Short"), true,
         "Short"},
        {"appended with a footer", audio + appended, true, "Appended"},
        {"appended before an ID3v1 tag", audio + appended + Id3v1("v1"), true, "Appended"},
        {"a footer whose tag would begin before the file",
         audio.substr(0, 20) + TagHeader(4, 0x10, 1000, "3DI"), false, ""},
        {"a footer without its tag", audio + TagHeader(4, 0x10, 20, "3DI"), false, ""},
        {"no tag", audio, false, ""},
        {"less than a header", "ID3", false, ""},
        {"nothing", "", false, ""},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = folder.Write("tagged.mp3", c.bytes);
        Id3Fields fields;
        EXPECT_EQ(ReadId3v2Tag(file.c_str(), fields), c.found);
        EXPECT_EQ(fields.title, c.title);
    }
    Id3Fields fields;
    EXPECT_FALSE(ReadId3v2Tag(folder.Path("missing.mp3").c_str(), fields));
}

}  // namespace
}  // namespace plyvane
