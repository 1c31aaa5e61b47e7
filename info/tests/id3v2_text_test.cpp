// Texts of ID3v2 frames in their four encodings, converted to the ANSI code
// page; whatever is not valid becomes "?", never more than the frame holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "id3_test_support.h"
#include "id3v2_text.h"

namespace plyvane {
namespace {

using testing::Utf16;

std::string Value(uint8_t encoding, const std::string& bytes, bool several = false) {
    return Id3TextValue(encoding, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), several);
}

TEST(Id3v2Text, EachEncodingDecodesToTheAnsiCodePage) {
    if (!testing::AnsiIsWindows1252()) GTEST_SKIP() << "the expectations are Windows-1252 texts";
    struct Case {
        const char* what;
        uint8_t encoding;
        std::string bytes;
        bool several;
        std::string expected;
    };
    const std::string bom = "\xFF\xFE";
    const std::string bigBom = "\xFE\xFF";
    const std::vector<Case> cases = {
        {"ISO-8859-1", 0, "Caf\xE9", false, "Caf\xE9"},
        {"ISO-8859-1 as written by Windows taggers (Windows-1252)", 0, "\x80 \x93q\x94", false, "\x80 \x93q\x94"},
        {"ISO-8859-1 ended by a zero byte", 0, std::string("abc\0junk", 8), false, "abc"},
        {"UTF-16 little-endian mark", 1, bom + Utf16(u"Caf\u00e9 \u20ac"), false, "Caf\xE9 \x80"},
        {"UTF-16 big-endian mark", 1, bigBom + Utf16(u"Zo\u00eb", true), false, "Zo\xEB"},
        {"UTF-16 without a mark is taken as little-endian", 1, Utf16(u"abc"), false, "abc"},
        {"UTF-16BE", 2, Utf16(u"\u00c7a", true), false, "\xC7" "a"},
        {"UTF-16BE with a mark after all", 2, bom + Utf16(u"ok"), false, "ok"},
        {"characters beyond the code page", 1, bom + Utf16(u"\u0141\u00f3d\u017a"), false, "?\xF3" "d?"},
        {"a surrogate pair is one character", 1, bom + Utf16(u"a\U0001F600b"), false, "a?b"},
        {"an unpaired surrogate", 1, bom + Utf16(u"a") + std::string("\x00\xD8", 2) + Utf16(u"b"), false, "a?b"},
        {"half a character at the end", 1, bom + Utf16(u"ab") + "c", false, "ab?"},
        {"UTF-8", 3, "Cr\xC3\xA8me \xE2\x98\x95", false, "Cr\xE8me ?"},
        {"UTF-8 mark skipped", 3, "\xEF\xBB\xBF" "abc", false, "abc"},
        {"UTF-8 overlong form", 3, "a\xC0\x80z", false, "a??z"},
        {"UTF-8 lone continuation byte", 3, "a\x80z", false, "a?z"},
        {"UTF-8 sequence cut short", 3, "a\xE2\x98", false, "a?"},
        {"UTF-8 encoded surrogate", 3, "a\xED\xA0\x80z", false, "a?z"},
        {"UTF-8 beyond Unicode", 3, "a\xF5\x80z", false, "a??z"},
        {"several values joined (2.4)", 3, std::string("One\0Two\0\0Three\0", 16), true, "One/Two/Three"},
        {"several UTF-16 values, each with its mark", 1,
         bom + Utf16(u"A") + std::string(2, '\0') + bigBom + Utf16(u"B", true) + std::string(2, '\0') +
             Utf16(u"C", true),
         true, "A/B/C"},
        {"before 2.4 only the first string counts", 0, std::string("One\0Two", 7), false, "One"},
        {"an unknown encoding", 4, "abc", false, ""},
        {"nothing", 1, "", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Value(c.encoding, c.bytes, c.several), c.expected);
    }
}

TEST(Id3v2Text, AnEndlessTextIsCut) {
    const std::string huge(100000, 'x');
    EXPECT_EQ(Value(0, huge).size(), kMaxId3TextLength);
    std::string many;
    for (int i = 0; i < 2000; ++i) many += std::string("value") + '\0';
    EXPECT_EQ(Value(0, many, true).size(), kMaxId3TextLength);
    EXPECT_EQ(Value(1, "\xFF\xFE" + Utf16(std::u16string(5000, u'y'))).size(), kMaxId3TextLength);
}

}  // namespace
}  // namespace plyvane
