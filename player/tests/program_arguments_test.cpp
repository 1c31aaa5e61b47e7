// The arguments after the program's name, for the verbs the shell runs: the
// quoted ones registered now and the unquoted ones of earlier versions.
#include <gtest/gtest.h>

#include <string>

#include "command_line.h"

namespace plyvane {
namespace {

TEST(ProgramArguments, QuotedAndUnquotedProgramNames) {
    const char* kModule = "C:\\Program Files\\Plyvane\\plyvane.exe";
    struct Case {
        const char* line;
        const char* arguments;
    } cases[] = {
        {"\"C:\\Program Files\\Plyvane\\plyvane.exe\" /play \"D:\\My Music\\a b.mp3\"",
         "/play \"D:\\My Music\\a b.mp3\""},
        {"\"C:\\Program Files\\Plyvane\\plyvane.exe\" \"D:\\a b.m3u\"", "\"D:\\a b.m3u\""},
        // The unquoted verbs of earlier versions: the name holds blanks.
        {"C:\\Program Files\\Plyvane\\plyvane.exe /play D:\\My Music\\a b.mp3",
         "/play D:\\My Music\\a b.mp3"},
        {"c:\\program files\\plyvane\\PLYVANE.EXE D:\\a.mp2", "D:\\a.mp2"},
        {"C:\\Program Files\\Plyvane\\plyvane.exe", ""},
        // Started some other way: the name ends at the first blank.
        {"plyvane.exe /P x.mp2", "/P x.mp2"},
        {"C:\\Program Files\\Plyvane\\plyvane.exe2 x", "Files\\Plyvane\\plyvane.exe2 x"},
        {"  \"unterminated", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::string(ArgumentsAfterProgram(c.line, kModule)), c.arguments) << c.line;
    }
    EXPECT_EQ(std::string(ArgumentsAfterProgram(nullptr, kModule)), "");
    EXPECT_EQ(std::string(ArgumentsAfterProgram("a.exe b", nullptr)), "b");
}

TEST(ProgramArguments, BothVerbFormsGiveTheSameFileToPlay) {
    const char* kModule = "C:\\Program Files\\Plyvane\\plyvane.exe";
    const char* lines[] = {
        "\"C:\\Program Files\\Plyvane\\plyvane.exe\" /play \"D:\\My Music\\a b.mp3\"",
        "C:\\Program Files\\Plyvane\\plyvane.exe /play D:\\My Music\\a b.mp3",
    };
    for (const char* line : lines) {
        CommandLine parsed = ParseCommandLine(ArgumentsAfterProgram(line, kModule));
        EXPECT_TRUE(parsed.playNow) << line;
        EXPECT_EQ(parsed.fileName, "D:\\My Music\\a b.mp3") << line;
    }
}

}  // namespace
}  // namespace plyvane
