// The command line of plyvane-cli, parsed and checked before anything runs.
#pragma once

#include <string>

namespace plyvane::cli {

enum class Command { kHelp, kInfo, kDecode };

struct InfoOptions {
    bool json = false;
    std::string file;
};

struct DecodeOptions {
    std::string file;
    std::string output;  // "-" for raw PCM on the standard output
    int divisor = 1;
    int quality = 1;
    int bits = 16;
    int channels = 2;
};

struct CommandLine {
    Command command = Command::kHelp;
    InfoOptions info;
    DecodeOptions decode;
};

// False with a one-line reason for anything unknown, missing, repeated or
// out of range.
bool ParseCommandLine(int argc, const char* const* argv, CommandLine& out, std::string& error);

const char* UsageText();

}  // namespace plyvane::cli
