// A stand-in for the player that the shell tests register as the program of
// the file types: it reads its command line as the player's start-up does and
// writes what it found to the file named by PLYVANE_ECHO_OUT.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "command_line.h"

int main() {
    char module[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, module, sizeof module);
    plyvane::CommandLine line =
        plyvane::ParseCommandLine(plyvane::ArgumentsAfterProgram(::GetCommandLineA(), module));
    const char* out = std::getenv("PLYVANE_ECHO_OUT");
    if (out == nullptr) return 2;
    FILE* file = std::fopen(out, "w");
    if (file == nullptr) return 3;
    std::fprintf(file, "play=%d\nfile=%s\n", line.playNow ? 1 : 0, line.fileName.c_str());
    return std::fclose(file) == 0 ? 0 : 4;
}
