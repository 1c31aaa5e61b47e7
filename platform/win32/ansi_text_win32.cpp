// The ANSI code page on Windows: WideCharToMultiByte with the user's code
// page, no best-fit substitutes, "?" for what it cannot hold.
#include <windows.h>

#include <string>

#include "ansi_text.h"

namespace plyvane {

namespace {
// Only the Unicode code pages hold characters beyond the first 65536; for
// the others one "?" stands for such a character, not one per half.
bool HoldsSupplementaryCharacters() {
    const UINT codePage = ::GetACP();
    return codePage == CP_UTF8 || codePage == 54936;  // UTF-8, GB 18030
}

std::wstring ToUtf16(std::u32string_view text) {
    const bool supplementary = HoldsSupplementaryCharacters();
    std::wstring wide;
    wide.reserve(text.size());
    for (char32_t c : text) {
        if (c >= 0x10000 && c <= 0x10FFFF && supplementary) {
            c -= 0x10000;
            wide += static_cast<wchar_t>(0xD800 + (c >> 10));
            wide += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
        } else if (c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            wide += L'?';
        } else {
            wide += static_cast<wchar_t>(c);
        }
    }
    return wide;
}

int Convert(const std::wstring& wide, char* out, int size, bool strict) {
    // Code pages such as UTF-8 take neither the flag nor a default character.
    return ::WideCharToMultiByte(CP_ACP, strict ? WC_NO_BEST_FIT_CHARS : 0, wide.data(),
                                 static_cast<int>(wide.size()), out, size, strict ? "?" : nullptr, nullptr);
}
}  // namespace

std::string UnicodeToAnsi(std::u32string_view text) {
    if (text.empty()) return std::string();
    const std::wstring wide = ToUtf16(text);
    bool strict = true;
    int size = Convert(wide, nullptr, 0, strict);
    if (size <= 0) {
        strict = false;
        size = Convert(wide, nullptr, 0, strict);
    }
    if (size <= 0) return std::string();
    std::string ansi(static_cast<std::size_t>(size), '\0');
    int written = Convert(wide, ansi.data(), size, strict);
    ansi.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return ansi;
}

}  // namespace plyvane
