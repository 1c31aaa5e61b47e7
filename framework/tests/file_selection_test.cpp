#include "file_selection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace plyvane {
namespace {

std::vector<std::string> Split(const std::string& buffer) {
    return SplitFileSelection(buffer.data(), buffer.size());
}

TEST(FileSelection, OneFileIsAFullPathSeveralAreAFolderAndNames) {
    using Paths = std::vector<std::string>;
    EXPECT_EQ(Split(std::string("C:\\Music\\a.mp3\0\0", 16)), Paths{"C:\\Music\\a.mp3"});
    EXPECT_EQ(Split(std::string("C:\\Music\0a.mp3\0b c.mp2\0\0", 25)),
              (Paths{"C:\\Music\\a.mp3", "C:\\Music\\b c.mp2"}));
    // A drive's root already ends with its separator.
    EXPECT_EQ(Split(std::string("D:\\\0x.l3\0y.pls\0\0", 16)), (Paths{"D:\\x.l3", "D:\\y.pls"}));
    EXPECT_TRUE(Split(std::string("\0\0", 2)).empty());
}

TEST(FileSelection, ANameCutOffByTheBufferEndIsDropped) {
    using Paths = std::vector<std::string>;
    EXPECT_EQ(Split(std::string("C:\\M\0a.mp3\0b.mp", 15)), Paths{"C:\\M\\a.mp3"});
    EXPECT_EQ(Split(std::string("C:\\M\0a.mp3\0b.mp3\0c.m", 20)), (Paths{"C:\\M\\a.mp3", "C:\\M\\b.mp3"}));
    EXPECT_TRUE(Split(std::string("C:\\Music", 8)).empty());
}

}  // namespace
}  // namespace plyvane
