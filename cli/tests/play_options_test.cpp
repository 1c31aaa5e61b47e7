// The command line of plyvane-cli play.
#include <gtest/gtest.h>

#include <vector>

#include "cli_options.h"

namespace plyvane::cli {
namespace {

bool Parse(std::vector<const char*> args, CommandLine& out, std::string& error) {
    args.insert(args.begin(), "plyvane-cli");
    return ParseCommandLine(static_cast<int>(args.size()), args.data(), out, error);
}

TEST(PlayOptions, DefaultsAreThePlayersAndEveryOptionIsTaken) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(Parse({"play", "a.mp3"}, line, error)) << error;
    EXPECT_EQ(line.command, Command::kPlay);
    EXPECT_EQ(line.play.files, std::vector<std::string>{"a.mp3"});
    EXPECT_EQ(line.play.method, 1);
    EXPECT_EQ(line.play.buffers, 4);
    EXPECT_EQ(line.play.framesPerBuffer, 16);
    EXPECT_EQ(line.play.divisor, 1);
    EXPECT_EQ(line.play.quality, 2);
    EXPECT_EQ(line.play.bits, 16);
    EXPECT_EQ(line.play.channels, 2);
    EXPECT_EQ(line.play.device, -1);

    ASSERT_TRUE(Parse({"play", "--method", "thread", "--buffers=128", "--frames", "1", "--divisor", "4",
                       "--quality=3", "--bits", "8", "--channels", "1", "--device", "0", "a.mp3", "b.mp2",
                       "--", "--c.mp3"},
                      line, error))
        << error;
    EXPECT_EQ(line.play.files, (std::vector<std::string>{"a.mp3", "b.mp2", "--c.mp3"}));
    EXPECT_EQ(line.play.method, 2);
    EXPECT_EQ(line.play.buffers, 128);
    EXPECT_EQ(line.play.framesPerBuffer, 1);
    EXPECT_EQ(line.play.divisor, 4);
    EXPECT_EQ(line.play.quality, 3);
    EXPECT_EQ(line.play.bits, 8);
    EXPECT_EQ(line.play.channels, 1);
    EXPECT_EQ(line.play.device, 0);
    ASSERT_TRUE(Parse({"play", "--method=3", "x"}, line, error)) << error;
    EXPECT_EQ(line.play.method, 3);
    ASSERT_TRUE(Parse({"play", "--quality", "0", "x"}, line, error)) << error;
    EXPECT_EQ(line.play.quality, 0) << "reference quality";
}

TEST(PlayOptions, ValuesOutOfRangeAreRefusedWithAReason) {
    const std::vector<std::vector<const char*>> refused = {
        {"play"},
        {"play", "--method", "callback", "a"},
        {"play", "--buffers", "1", "a"},
        {"play", "--buffers", "129", "a"},
        {"play", "--frames", "0", "a"},
        {"play", "--divisor", "3", "a"},
        {"play", "--quality", "4", "a"},
        {"play", "--quality", "-1", "a"},
        {"play", "--divisor", "0", "a"},
        {"play", "--bits", "24", "a"},
        {"play", "--channels", "0", "a"},
        {"play", "--device", "-2", "a"},
        {"play", "--buffers", "4x", "a"},
        {"play", "--buffers", "-", "a"},
        {"play", "--volume", "5", "a"},
        {"play", "a", "--frames"},
        {"play", ""},
    };
    for (const auto& args : refused) {
        CommandLine line;
        std::string error;
        EXPECT_FALSE(Parse(args, line, error)) << args.size();
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace plyvane::cli
