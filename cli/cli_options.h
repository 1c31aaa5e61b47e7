// The command line of plyvane-cli, parsed and checked before anything runs.
#pragma once

#include <string>
#include <vector>

namespace plyvane::cli {

enum class Command { kHelp, kVersion, kInfo, kDecode, kPlay };

struct InfoOptions {
    bool json = false;
    std::string file;
};

struct DecodeOptions {
    std::vector<std::string> files;  // several decode as one continuous list
    std::string output;  // "-" for raw PCM on the standard output
    int divisor = 1;
    int quality = 1;
    int bits = 16;
    int channels = 2;
};

// Plays through the engine as the player does; defaults are the player's.
struct PlayOptions {
    std::vector<std::string> files;  // several play back to back as one list
    int method = 1;                  // 1 Timer, 2 Thread, 3 Device
    int buffers = 4;
    int framesPerBuffer = 16;
    int divisor = 1;
    int quality = 2;
    int bits = 16;
    int channels = 2;
    int device = -1;  // -1 the default device (the wave mapper)
};

struct CommandLine {
    Command command = Command::kHelp;
    InfoOptions info;
    DecodeOptions decode;
    PlayOptions play;
};

// False with a one-line reason for anything unknown, missing, repeated or
// out of range.
bool ParseCommandLine(int argc, const char* const* argv, CommandLine& out, std::string& error);

const char* UsageText();

}  // namespace plyvane::cli
