#include "cli_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace plyvane::cli {
namespace {

bool Parse(std::vector<const char*> args, CommandLine& out, std::string& error) {
    args.insert(args.begin(), "plyvane-cli");
    return ParseCommandLine(static_cast<int>(args.size()), args.data(), out, error);
}

TEST(CliOptions, AcceptsTheDocumentedForms) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(Parse({"info", "--json", "a.mp2"}, line, error)) << error;
    EXPECT_EQ(line.command, Command::kInfo);
    EXPECT_TRUE(line.info.json);
    EXPECT_EQ(line.info.file, "a.mp2");

    ASSERT_TRUE(Parse({"info", "--", "--json"}, line, error)) << error;
    EXPECT_FALSE(line.info.json);
    EXPECT_EQ(line.info.file, "--json");

    ASSERT_TRUE(Parse({"decode", "in.mp2", "-o", "out.wav"}, line, error)) << error;
    EXPECT_EQ(line.command, Command::kDecode);
    EXPECT_EQ(line.decode.files, std::vector<std::string>{"in.mp2"});
    EXPECT_EQ(line.decode.output, "out.wav");
    EXPECT_EQ(line.decode.divisor, 1);
    EXPECT_EQ(line.decode.quality, 1);
    EXPECT_EQ(line.decode.bits, 16);
    EXPECT_EQ(line.decode.channels, 2);

    ASSERT_TRUE(Parse({"decode", "--divisor", "4", "--quality=3", "--bits", "8", "--channels=1",
                       "--output=-", "in.mp2"},
                      line, error))
        << error;
    EXPECT_EQ(line.decode.divisor, 4);
    EXPECT_EQ(line.decode.quality, 3);
    EXPECT_EQ(line.decode.bits, 8);
    EXPECT_EQ(line.decode.channels, 1);
    EXPECT_EQ(line.decode.output, "-");

    ASSERT_TRUE(Parse({"decode", "in.mp3", "-o", "out.wav", "--quality", "0"}, line, error)) << error;
    EXPECT_EQ(line.decode.quality, 0) << "reference quality";

    ASSERT_TRUE(Parse({"decode", "a.mp3", "b.mp3", "-o", "out.wav", "c.mp3"}, line, error)) << error;
    EXPECT_EQ(line.decode.files, (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"})) << "one continuous list";

    ASSERT_TRUE(Parse({"--help"}, line, error));
    EXPECT_EQ(line.command, Command::kHelp);
    ASSERT_TRUE(Parse({"--version"}, line, error));
    EXPECT_EQ(line.command, Command::kVersion);
}

TEST(CliOptions, RejectsEverythingElseWithAReason) {
    const std::vector<std::vector<const char*>> bad = {
        {},
        {"record", "a.mp2"},                             // no such command
        {"info"},
        {"info", "--jsn", "a.mp2"},
        {"info", "a.mp2", "b.mp2"},
        {"info", ""},
        {"decode", "a.mp2"},                             // no output
        {"decode", "-o", "x.wav"},                       // no input
        {"decode", "a.mp2", "", "-o", "x.wav"},
        {"decode", "a.mp2", "-o"},                       // missing value
        {"decode", "a.mp2", "-o", ""},
        {"decode", "a.mp2", "-o", "x.wav", "-o", "y.wav"},
        {"decode", "a.mp2", "-o", "x.wav", "--divisor", "3"},
        {"decode", "a.mp2", "-o", "x.wav", "--divisor", "0"},
        {"decode", "a.mp2", "-o", "x.wav", "--divisor", "-1"},
        {"decode", "a.mp2", "-o", "x.wav", "--divisor", "2x"},
        {"decode", "a.mp2", "-o", "x.wav", "--divisor", " 2"},
        {"decode", "a.mp2", "-o", "x.wav", "--divisor", "4294967298"},
        {"decode", "a.mp2", "-o", "x.wav", "--divisor="},
        {"decode", "a.mp2", "-o", "x.wav", "--quality", "4"},
        {"decode", "a.mp2", "-o", "x.wav", "--quality", "-1"},
        {"decode", "a.mp2", "-o", "x.wav", "--bits", "24"},
        {"decode", "a.mp2", "-o", "x.wav", "--bits", "0"},
        {"decode", "a.mp2", "-o", "x.wav", "--channels", "0"},
        {"decode", "a.mp2", "-o", "x.wav", "--channels", "6"},
        {"decode", "a.mp2", "-o", "x.wav", "--channels"},
        {"decode", "a.mp2", "-o", "x.wav", "--volume", "3"},
        {"decode", "a.mp2", "-ox.wav"},
    };
    for (const auto& args : bad) {
        CommandLine line;
        std::string error;
        std::string shown;
        for (const char* a : args) shown += std::string(a) + " ";
        EXPECT_FALSE(Parse(args, line, error)) << shown;
        EXPECT_FALSE(error.empty()) << shown;
    }
}

}  // namespace
}  // namespace plyvane::cli
