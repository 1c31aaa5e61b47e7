#include "cli_options.h"

#include <cstring>

namespace plyvane::cli {

namespace {

// Ends a list of allowed values (0 is a quality).
constexpr int kEndOfChoices = -1;
// The output choices decode and play both offer.
constexpr int kDivisorChoices[] = {1, 2, 4, kEndOfChoices};
constexpr int kBitChoices[] = {8, 16, kEndOfChoices};

// A small decimal that must be one of the allowed values.

bool ParseChoice(const std::string& text, const int* allowed, int& value) {
    if (text.empty() || text.size() > 6) return false;
    int parsed = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        parsed = parsed * 10 + (c - '0');
    }
    for (const int* candidate = allowed; *candidate != kEndOfChoices; ++candidate) {
        if (parsed == *candidate) {
            value = parsed;
            return true;
        }
    }
    return false;
}

// A decimal in [low, high], optionally negative.
bool ParseRange(const std::string& text, int low, int high, int& value) {
    if (text.empty() || text.size() > 6) return false;
    size_t start = text[0] == '-' ? 1 : 0;
    if (start == text.size()) return false;
    int parsed = 0;
    for (size_t i = start; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        parsed = parsed * 10 + (text[i] - '0');
    }
    if (start == 1) parsed = -parsed;
    if (parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

// Walks the arguments after the command word, splitting "--name=value".
class ArgumentReader {
public:
    enum class Next { kOption, kEnd, kFailed };

    ArgumentReader(int argc, const char* const* argv) : argc_(argc), argv_(argv) {}

    bool Done() const { return next_ >= argc_; }
    std::string Take() { return argv_[next_++]; }
    // The option's value: the part after "=" or else the next argument.
    bool TakeValue(const std::string& option, std::string& value, std::string& error) {
        if (hadInline_) return true;
        if (Done()) {
            error = "option " + option + " needs a value";
            return false;
        }
        value = Take();
        return true;
    }
    // Splits "--name=value" into its parts; plain arguments stay whole.
    void Split(const std::string& argument, std::string& name, std::string& value) {
        hadInline_ = false;
        value.clear();
        name = argument;
        if (argument.rfind("--", 0) == 0) {
            auto equals = argument.find('=');
            if (equals != std::string::npos) {
                name = argument.substr(0, equals);
                value = argument.substr(equals + 1);
                hadInline_ = true;
            }
        }
    }
    // The next option, split into name and value; the file names before it
    // (what does not start with '-', "-" alone, anything after "--") go to
    // files. kEnd when the arguments are used up, kFailed on an empty name.
    Next NextOption(std::vector<std::string>& files, std::string& argument, std::string& name, std::string& value,
                    std::string& error) {
        while (!Done()) {
            argument = Take();
            if (optionsEnded_ || argument.size() < 2 || argument[0] != '-') {
                if (argument.empty()) {
                    error = "empty file name";
                    return Next::kFailed;
                }
                files.push_back(argument);
            } else if (argument == "--") {
                optionsEnded_ = true;
            } else {
                Split(argument, name, value);
                return Next::kOption;
            }
        }
        return Next::kEnd;
    }

private:
    int argc_;
    const char* const* argv_;
    int next_ = 2;
    bool hadInline_ = false;
    bool optionsEnded_ = false;
};

// An option that takes a number: one of a list of choices, or else any in
// [low, high].
struct NumericOption {
    const char* name;
    int* target;
    int low;
    int high;
    const int* allowed;  // or null for the range
    const char* shown;
};

// Sets the numeric option called `name` from its value; false, with the
// error, when the command has no such option or the value is not allowed.
template <std::size_t N>
bool SetNumeric(ArgumentReader& args, const NumericOption (&options)[N], const std::string& argument,
                const std::string& name, std::string& value, const char* command, std::string& error) {
    const NumericOption* match = nullptr;
    for (const NumericOption& option : options)
        if (name == option.name) match = &option;
    if (match == nullptr) {
        error = "unknown option '" + argument + "' for " + command;
        return false;
    }
    if (!args.TakeValue(name, value, error)) return false;
    const bool ok = match->allowed != nullptr ? ParseChoice(value, match->allowed, *match->target)
                                              : ParseRange(value, match->low, match->high, *match->target);
    if (!ok) {
        error = std::string(match->name) + " must be " + match->shown + ", not '" + value + "'";
        return false;
    }
    return true;
}

bool SetFile(std::string& file, const std::string& argument, std::string& error) {
    if (!file.empty()) {
        error = "more than one input file: '" + argument + "'";
        return false;
    }
    if (argument.empty()) {
        error = "empty file name";
        return false;
    }
    file = argument;
    return true;
}

bool ParseInfo(ArgumentReader& args, InfoOptions& info, std::string& error) {
    bool optionsEnded = false;
    while (!args.Done()) {
        std::string argument = args.Take();
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument == "--json") {
            info.json = true;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            error = "unknown option '" + argument + "' for info";
            return false;
        } else if (!SetFile(info.file, argument, error)) {
            return false;
        }
    }
    if (info.file.empty()) {
        error = "info needs a FILE";
        return false;
    }
    return true;
}

bool ParseDecode(ArgumentReader& args, DecodeOptions& decode, std::string& error) {
    static const int kQualities[] = {0, 1, 2, 3, kEndOfChoices};
    static const int kChannels[] = {1, 2, kEndOfChoices};
    const NumericOption numerics[] = {
        {"--divisor", &decode.divisor, 0, 0, kDivisorChoices, "1, 2 or 4"},
        {"--quality", &decode.quality, 0, 0, kQualities, "0, 1, 2 or 3"},
        {"--bits", &decode.bits, 0, 0, kBitChoices, "8 or 16"},
        {"--channels", &decode.channels, 0, 0, kChannels, "1 or 2"},
    };
    bool haveOutput = false;
    std::string argument, name, value;
    for (;;) {
        const ArgumentReader::Next next = args.NextOption(decode.files, argument, name, value, error);
        if (next == ArgumentReader::Next::kFailed) return false;
        if (next == ArgumentReader::Next::kEnd) break;
        if (name == "-o" || name == "--output") {
            if (haveOutput) {
                error = "more than one output";
                return false;
            }
            if (!args.TakeValue(name, value, error)) return false;
            if (value.empty()) {
                error = "empty output name";
                return false;
            }
            decode.output = value;
            haveOutput = true;
            continue;
        }
        if (!SetNumeric(args, numerics, argument, name, value, "decode", error)) return false;
    }
    if (decode.files.empty()) {
        error = "decode needs a FILE";
        return false;
    }
    if (!haveOutput) {
        error = "decode needs -o OUT.wav (or -o - for raw PCM)";
        return false;
    }
    return true;
}

bool ParsePlay(ArgumentReader& args, PlayOptions& play, std::string& error) {
    const NumericOption numerics[] = {
        {"--buffers", &play.buffers, 2, 128, nullptr, "2 to 128"},
        {"--frames", &play.framesPerBuffer, 1, 128, nullptr, "1 to 128"},
        {"--divisor", &play.divisor, 0, 0, kDivisorChoices, "1, 2 or 4"},
        {"--quality", &play.quality, 0, 3, nullptr, "0, 1, 2 or 3"},
        {"--bits", &play.bits, 0, 0, kBitChoices, "8 or 16"},
        {"--channels", &play.channels, 1, 2, nullptr, "1 or 2"},
        {"--device", &play.device, -1, 31, nullptr, "-1 to 31"},
    };
    std::string argument, name, value;
    for (;;) {
        const ArgumentReader::Next next = args.NextOption(play.files, argument, name, value, error);
        if (next == ArgumentReader::Next::kFailed) return false;
        if (next == ArgumentReader::Next::kEnd) break;
        if (name == "--method") {
            if (!args.TakeValue(name, value, error)) return false;
            if (value == "timer" || value == "1") {
                play.method = 1;
            } else if (value == "thread" || value == "2") {
                play.method = 2;
            } else if (value == "device" || value == "3") {
                play.method = 3;
            } else {
                error = "--method must be timer, thread or device, not '" + value + "'";
                return false;
            }
            continue;
        }
        if (!SetNumeric(args, numerics, argument, name, value, "play", error)) return false;
    }
    if (play.files.empty()) {
        error = "play needs a FILE";
        return false;
    }
    return true;
}

}  // namespace

bool ParseCommandLine(int argc, const char* const* argv, CommandLine& out, std::string& error) {
    out = CommandLine{};
    if (argc < 2 || argv == nullptr) {
        error = "no command given";
        return false;
    }
    std::string command = argv[1];
    ArgumentReader args(argc, argv);
    if (command == "help" || command == "--help" || command == "-h") {
        out.command = Command::kHelp;
        return true;
    }
    if (command == "version" || command == "--version") {
        out.command = Command::kVersion;
        return true;
    }
    if (command == "info") {
        out.command = Command::kInfo;
        return ParseInfo(args, out.info, error);
    }
    if (command == "decode") {
        out.command = Command::kDecode;
        return ParseDecode(args, out.decode, error);
    }
    if (command == "play") {
        out.command = Command::kPlay;
        return ParsePlay(args, out.play, error);
    }
    error = "unknown command '" + command + "'";
    return false;
}

const char* UsageText() {
    return "usage: plyvane-cli info [--json] FILE\n"
           "       plyvane-cli decode FILE... -o OUT.wav [--divisor 1|2|4] [--quality 0|1|2|3]\n"
           "                          [--bits 8|16] [--channels 1|2]\n"
           "       plyvane-cli play FILE... [--method timer|thread|device] [--buffers 2..128]\n"
           "                          [--frames 1..128] [--divisor 1|2|4] [--quality 0|1|2|3]\n"
           "                          [--bits 8|16] [--channels 1|2] [--device -1|N]\n"
           "       plyvane-cli --version\n"
           "  -o -  writes raw PCM (no WAV header) to the standard output.\n"
           "  decode: several files decode as one continuous list, as the player plays them.\n"
           "  play: several files play back to back; space pauses, left and right arrows\n"
           "        seek 5 s, q stops.\n";
}

}  // namespace plyvane::cli
