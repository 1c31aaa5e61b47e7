// Text for the windows and the playlist files: the system's ANSI code page.
// Windows converts with its own tables (the user's code page); elsewhere the
// program takes Windows-1252.
#pragma once

#include <string>
#include <string_view>

namespace plyvane {

// The text in the ANSI code page, "?" for each character it cannot hold (no
// look-alike substitutes: "Ł" does not quietly become "L").
std::string UnicodeToAnsi(std::u32string_view text);

}  // namespace plyvane
