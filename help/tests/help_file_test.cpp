#include "help_file.h"

#include <gtest/gtest.h>

#include <set>

namespace plyvane {
namespace {

TEST(HelpFile, IsFoundBesideTheProgram) {
    const std::set<std::string> files = {
        "C:\\Program Files\\Plyvane\\plyvane.html",
        "D:\\Music Tools\\Plyvane 0.1\\plyvane.html",
        "C:\\plyvane.html",
        "C:/Portable/plyvane.html",
        "/opt/plyvane/plyvane.html",
    };
    auto exists = [&](const std::string& path) { return files.count(path) != 0; };
    struct Case {
        const char* program;
        const char* help;  // "" when there is none
    };
    const Case cases[] = {
        {"C:\\Program Files\\Plyvane\\plyvane.exe", "C:\\Program Files\\Plyvane\\plyvane.html"},
        {"D:\\Music Tools\\Plyvane 0.1\\plyvane.exe", "D:\\Music Tools\\Plyvane 0.1\\plyvane.html"},
        {"C:\\plyvane.exe", "C:\\plyvane.html"},
        {"C:/Portable/plyvane.exe", "C:/Portable/plyvane.html"},
        {"/opt/plyvane/plyvane-cli", "/opt/plyvane/plyvane.html"},
        // Not beside it: the help of another folder is not this program's.
        {"C:\\Program Files\\Other\\plyvane.exe", ""},
        {"C:\\Program Files\\Plyvane\\bin\\plyvane.exe", ""},
        // No folder at all: the current folder is nobody's guess.
        {"plyvane.exe", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindHelpFile(c.program, exists), c.help) << c.program;
    }
}

}  // namespace
}  // namespace plyvane
