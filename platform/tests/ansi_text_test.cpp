// Windows-1252 against an outside truth: the C library's converter natively,
// the system's own tables under Windows.
#include <gtest/gtest.h>

#include <string>

#include "ansi_text.h"
#include "windows1252.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace plyvane {
namespace {

// The character of one byte by the outside truth; false when it has none.
bool Reference(unsigned char byte, char32_t& character) {
#ifdef _WIN32
    wchar_t wide = 0;
    if (::MultiByteToWideChar(1252, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(&byte), 1, &wide, 1) != 1)
        return false;
    character = wide;
    return true;
#else
    iconv_t converter = ::iconv_open("UTF-32LE", "WINDOWS-1252");
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    char in = static_cast<char>(byte);
    unsigned char out[4] = {};
    char* inAt = &in;
    char* outAt = reinterpret_cast<char*>(out);
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof out;
    const bool converted = ::iconv(converter, &inAt, &inLeft, &outAt, &outLeft) != static_cast<std::size_t>(-1);
    ::iconv_close(converter);
    character = out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<char32_t>(out[3]) << 24);
    return converted && outLeft == 0;
#endif
}

TEST(Windows1252, EveryByteMeansWhatTheSystemSaysAndComesBack) {
    int compared = 0;
    for (int value = 0; value < 256; ++value) {
        const unsigned char byte = static_cast<unsigned char>(value);
        SCOPED_TRACE(value);
        const char32_t character = Windows1252ToUnicode(byte);
        char32_t reference = 0;
        // The C library leaves the five open bytes undefined; Windows maps
        // them to the control characters of the same number, as we do.
        if (Reference(byte, reference)) {
            EXPECT_EQ(character, reference);
            ++compared;
        }
        unsigned char back = 0;
        ASSERT_TRUE(UnicodeToWindows1252(character, back));
        EXPECT_EQ(back, byte);
    }
    EXPECT_GE(compared, 251);
}

TEST(Windows1252, WhatTheCodePageCannotHoldBecomesAQuestionMark) {
    EXPECT_EQ(EncodeWindows1252(U"Caf\u00e9 \u20ac \u0141\u00f3d\u017a \u65e5 \U0001F600"),
              "Caf\xE9 \x80 ?\xF3" "d? ? ?");
    unsigned char byte = 0;
    EXPECT_FALSE(UnicodeToWindows1252(0x0080, byte));  // a control character Windows-1252 replaced
    EXPECT_FALSE(UnicodeToWindows1252(0xFFFD, byte));
}

TEST(AnsiText, TheSystemsCodePageTheSameWay) {
#ifdef _WIN32
    if (::GetACP() != 1252) GTEST_SKIP() << "the system's code page is not Windows-1252";
#endif
    EXPECT_EQ(UnicodeToAnsi(U"Caf\u00e9 \u20ac \u0141\u00f3d\u017a \u65e5 \U0001F600 \u2018q\u2019"),
              "Caf\xE9 \x80 ?\xF3" "d? ? ? \x91q\x92");
    // No look-alike substitutes.
    EXPECT_EQ(UnicodeToAnsi(U"\u0100\u2260\u221e"), "???");
    EXPECT_EQ(UnicodeToAnsi(U""), "");
}

}  // namespace
}  // namespace plyvane
