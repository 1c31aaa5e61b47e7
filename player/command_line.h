// The player's command line: switches /C /E /P /R (or with "-", either case)
// and one file name or address that runs to the end of the text.
#pragma once

#include <string>

namespace plyvane {

// The longest name the player keeps: any path Windows allows (MAX_PATH
// with its terminating zero).
inline constexpr size_t kMaxNameLength = 259;
// The longest command line Windows passes; a handed-over text is cut there.
inline constexpr size_t kMaxCommandLineLength = 32767;

struct CommandLine {
    bool closeAtEnd = false;  // /C
    bool endless = false;     // /E
    bool playNow = false;     // /P ("/play" from the shell reads as /P)
    bool random = false;      // /R
    std::string fileName;     // empty when none; one pair of quotes removed
};

CommandLine ParseCommandLine(const char* text);

// What follows the program's own name on the process's whole command line
// (GetCommandLineA). The name is quoted when the shell starts the program
// through the verbs registered now; the verbs that earlier versions
// registered start it with the name unquoted even when it holds blanks
// ("C:\Program Files\Plyvane\plyvane.exe /play x.mp3"): then `modulePath`,
// the program's full path, tells where the name ends.
const char* ArgumentsAfterProgram(const char* commandLine, const char* modulePath);

}  // namespace plyvane
