// The ID3v1 tag: found only in the last 128 bytes behind "TAG", its texts up
// to their first zero byte and never beyond their width.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "id3_test_support.h"
#include "id3v1_tag.h"

namespace plyvane {
namespace {

using testing::Id3v1;
using testing::TempFolder;

const std::string kAudio(3000, '\x55');

TEST(Id3v1Tag, TextsEndAtTheirFirstZeroByteOrTheirWidth) {
    struct Case {
        const char* what;
        std::string tag;
        Id3Fields expected;
    };
    const std::string thirty = "123456789012345678901234567890";
    std::string full = "TAG" + thirty + thirty + thirty + "2024" + thirty + "\x01";
    std::string track = Id3v1("Song", "", "", "", std::string(28, 'c') + '\0' + '\x07');
    const std::vector<Case> cases = {
        {"five letters padded with zeros", Id3v1("Five!", "Artist", "Album", "1999", "Comment"),
         {"Five!", "Artist", "Album", "1999", "Comment"}},
        {"every field full, no zero anywhere", full, {thirty, thirty, thirty, "2024", thirty}},
        {"trailing blanks are kept", Id3v1("Padded   ", "   "), {"Padded   ", "   ", "", "", ""}},
        {"an ID3v1.1 track number ends the comment", track, {"Song", "", "", "", std::string(28, 'c')}},
        {"bytes above 127 stay as they are", Id3v1("Caf\xE9"), {"Caf\xE9", "", "", "", ""}},
        {"an empty tag", Id3v1(""), {"", "", "", "", ""}},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = folder.Write("tagged.mp3", kAudio + c.tag);
        unsigned char body[kId3v1BodySize];
        ASSERT_EQ(ReadID3Tag(file.c_str(), body), 1);
        const Id3Fields fields = Id3v1FieldsOf(body);
        testing::ExpectFields(fields, c.expected);
    }
}

TEST(Id3v1Tag, OnlyTheLast128BytesBeginningWithTagAreATag) {
    struct Case {
        const char* what;
        std::string bytes;
        int expected;
    };
    const std::vector<Case> cases = {
        {"no tag", kAudio, 0},
        {"lower-case marker", kAudio + "tag" + Id3v1("x").substr(3), 0},
        {"a tag followed by one more byte", kAudio + Id3v1("x") + "!", 0},
        {"a file of exactly one tag", Id3v1("only"), 1},
        {"a file shorter than a tag", Id3v1("short").substr(0, 127), 0},
        {"an empty file", "", 0},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = folder.Write("file.mp3", c.bytes);
        unsigned char body[kId3v1BodySize];
        EXPECT_EQ(ReadID3Tag(file.c_str(), body), c.expected);
    }
    unsigned char body[kId3v1BodySize];
    EXPECT_EQ(ReadID3Tag(folder.Path("missing.mp3").c_str(), body), 0);
    EXPECT_EQ(ReadID3Tag(folder.Path("").c_str(), body), 0);  // the folder itself
    EXPECT_EQ(ReadID3Tag("http://example.com/stream.mp3", body), 0);
}

}  // namespace
}  // namespace plyvane
