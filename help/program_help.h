// The Help command of the player and of the playlist editor: the help
// document beside the program, opened with the shell's program for it (the
// default browser); when there is none, or nothing opens it, a short help
// box over the owner instead.
#pragma once

#include <windows.h>

namespace plyvane {

inline constexpr char kHelpBoxCaption[] = "Plyvane help";

// Opens the help beside the running program. `owner` owns the fallback box.
void ShowProgramHelp(HWND owner);

}  // namespace plyvane
