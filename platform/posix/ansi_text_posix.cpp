// The ANSI code page where there is no system to ask: Windows-1252.
#include "ansi_text.h"

#include "windows1252.h"

namespace plyvane {

std::string UnicodeToAnsi(std::u32string_view text) { return EncodeWindows1252(text); }

}  // namespace plyvane
