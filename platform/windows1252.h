// Windows-1252, the ANSI code page of Western Windows systems: what tag text
// becomes where the system's own code page is not at hand.
#pragma once

#include <string>
#include <string_view>

namespace plyvane {

// The character of a Windows-1252 byte. The five bytes the code page leaves
// open (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of
// the same number, as Windows maps them.
char32_t Windows1252ToUnicode(unsigned char byte);

// The Windows-1252 byte of a character; false when the code page has none.
bool UnicodeToWindows1252(char32_t character, unsigned char& byte);

// The text in Windows-1252, "?" for each character it cannot hold.
std::string EncodeWindows1252(std::u32string_view text);

}  // namespace plyvane
