// plyvane-cli: inspects and decodes MPEG audio streams with Plyvane's decoder.
#include <cstdio>
#include <string>

#include "cli_options.h"
#include "commands.h"
#include "version.h"

int main(int argc, char** argv) {
    using namespace plyvane::cli;
    CommandLine commandLine;
    std::string error;
    if (!ParseCommandLine(argc, argv, commandLine, error)) {
        std::fprintf(stderr, "plyvane-cli: %s\n%s", error.c_str(), UsageText());
        return 2;
    }
    switch (commandLine.command) {
        case Command::kInfo: return RunInfo(commandLine.info);
        case Command::kDecode: return RunDecode(commandLine.decode);
        case Command::kPlay: return RunPlay(commandLine.play);
        case Command::kVersion:
            std::printf("plyvane-cli %s\n", PLYVANE_VERSION_STRING);
            return 0;
        case Command::kHelp: break;
    }
    std::fputs(UsageText(), stdout);
    return 0;
}
