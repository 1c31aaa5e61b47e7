// The file port's contract: the same tests run against the POSIX adapter
// natively and against the Win32 adapter under Wine.
#include "input_file.h"

#include <gtest/gtest.h>

#include "temp_files.h"

namespace plyvane {
namespace {

using testing::Pattern;
using testing::TempFiles;

TEST(InputFile, ReadsSeeksAndReportsSize) {
    TempFiles temp;
    std::string path = temp.Write("a.bin", Pattern(1000, 0));
    InputFile file;
    ASSERT_TRUE(file.Open(path.c_str()));
    EXPECT_EQ(file.Size(), 1000u);
    EXPECT_EQ(file.Position(), 0u);

    uint8_t bytes[600];
    EXPECT_EQ(file.Read(bytes, 600), 600u);
    EXPECT_EQ(bytes[599], 599 & 0xFF);
    EXPECT_EQ(file.Position(), 600u);
    // Short count at the end, then 0.
    EXPECT_EQ(file.Read(bytes, 600), 400u);
    EXPECT_EQ(bytes[0], 600 & 0xFF);
    EXPECT_EQ(file.Read(bytes, 600), 0u);

    ASSERT_TRUE(file.SeekTo(10));
    EXPECT_EQ(file.Position(), 10u);
    EXPECT_EQ(file.Read(bytes, 1), 1u);
    EXPECT_EQ(bytes[0], 10);
    // Both systems allow a position past the end; reading there gives nothing.
    EXPECT_TRUE(file.SeekTo(5000));
    EXPECT_EQ(file.Read(bytes, 10), 0u);
}

TEST(InputFile, RefusesWhatIsNotAnExistingFile) {
    TempFiles temp;
    InputFile file;
    EXPECT_FALSE(file.Open(temp.Missing("none.mp2").c_str()));
    EXPECT_FALSE(file.Open(temp.Folder().c_str()));
    EXPECT_FALSE(file.Open(nullptr));
    EXPECT_FALSE(file.IsOpen());
    uint8_t byte;
    EXPECT_EQ(file.Read(&byte, 1), 0u);
    EXPECT_EQ(file.Size(), 0u);
    EXPECT_EQ(file.Position(), 0u);
    EXPECT_FALSE(file.SeekTo(0));
}

TEST(InputFile, EmptyFileAndReopening) {
    TempFiles temp;
    std::string empty = temp.Write("empty.bin", "");
    std::string other = temp.Write("other.bin", "xyz");
    InputFile file;
    ASSERT_TRUE(file.Open(empty.c_str()));
    uint8_t bytes[4];
    EXPECT_EQ(file.Read(bytes, 4), 0u);
    EXPECT_EQ(file.Size(), 0u);
    // Opening another closes the first.
    ASSERT_TRUE(file.Open(other.c_str()));
    EXPECT_EQ(file.Read(bytes, 4), 3u);
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    // A failed open leaves nothing open.
    ASSERT_TRUE(file.Open(other.c_str()));
    EXPECT_FALSE(file.Open(temp.Missing("gone").c_str()));
    EXPECT_FALSE(file.IsOpen());
}

}  // namespace
}  // namespace plyvane
