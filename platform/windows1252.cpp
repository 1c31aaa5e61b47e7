#include "windows1252.h"

#include <cstdint>

namespace plyvane {

namespace {
// 0x80..0x9F, Windows' table (Microsoft's "bestfit1252" mapping file, the
// WHATWG encoding standard agrees); the rest of the code page is Latin-1.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98
};
}  // namespace

char32_t Windows1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
    return byte;
}

bool UnicodeToWindows1252(char32_t character, unsigned char& byte) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
        byte = static_cast<unsigned char>(character);
        return true;
    }
    for (unsigned i = 0; i < 32; ++i) {
        if (kHighControls[i] == character) {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

std::string EncodeWindows1252(std::u32string_view text) {
    std::string encoded;
    encoded.reserve(text.size());
    for (char32_t character : text) {
        unsigned char byte = '?';
        if (!UnicodeToWindows1252(character, byte)) byte = '?';
        encoded += static_cast<char>(byte);
    }
    return encoded;
}

}  // namespace plyvane
