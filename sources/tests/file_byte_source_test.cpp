#include "file_byte_source.h"

#include <gtest/gtest.h>

#include <vector>

#include "temp_files.h"

namespace plyvane {
namespace {

using testing::Pattern;
using testing::TempFiles;

class FileByteSourceTest : public ::testing::Test {
protected:
    // Registers a list of files with the given contents ("" for an empty
    // file, nullptr for one that does not exist) and returns its name.
    std::string ListOf(std::vector<const char*> contents) {
        ContinuousList names;
        for (size_t i = 0; i < contents.size(); ++i) {
            std::string name = "entry" + std::to_string(files++) + ".mp2";
            names.push_back(contents[i] ? temp.Write(name, contents[i]) : temp.Missing(name));
        }
        paths = names;
        return ContinuousLists::ListName(lists.Register(names));
    }

    std::string Text(uint32_t count) { return std::string(buffer, count & ~kNewStreamFlag); }

    TempFiles temp;
    ContinuousLists lists;
    FileByteSource source{lists};
    ContinuousList paths;
    int files = 0;
    char buffer[256] = {};
};

TEST_F(FileByteSourceTest, PlainFileReadsShortThenZeroWithoutMarks) {
    std::string path = temp.Write("plain.mp2", Pattern(100, 0));
    ASSERT_EQ(source.Open(path.c_str()), 1);
    EXPECT_STREQ(source.Name(), path.c_str());
    EXPECT_EQ(source.Length(), 100u);
    EXPECT_EQ(source.Read(buffer, 60), 60u);
    EXPECT_EQ(source.Tell(), 60u);
    EXPECT_EQ(source.Read(buffer, 60), 40u);
    EXPECT_EQ(static_cast<uint8_t>(buffer[0]), 60);
    EXPECT_EQ(source.Read(buffer, 60), 0u);
    EXPECT_EQ(source.Seek(99), 1);
    EXPECT_EQ(source.Read(buffer, 60), 1u);
    EXPECT_EQ(source.Close(), 1);
    EXPECT_EQ(source.Read(buffer, 60), 0u);
    EXPECT_EQ(source.Tell(), 0u);
    EXPECT_EQ(source.Length(), 0u);

    EXPECT_EQ(source.Open(temp.Missing("none.mp2").c_str()), 0);
    EXPECT_EQ(source.Read(buffer, 60), 0u);
    EXPECT_EQ(source.Open(nullptr), 0);
}

TEST_F(FileByteSourceTest, ListPrefixInAnyCaseOpensTheFirstEntry) {
    std::string name = ListOf({"first", "second"});
    std::string number = name.substr(5);
    for (const char* prefix : {"list:", "LIST:", "List:", "lIsT:"}) {
        std::string spelled = prefix + number;
        ASSERT_EQ(source.Open(spelled.c_str()), 1) << spelled;
        EXPECT_STREQ(source.Name(), paths[0].c_str());
        EXPECT_EQ(source.Length(), 5u);
    }
}

TEST_F(FileByteSourceTest, ReadCrossingIntoTheNextEntryIsMarked) {
    ASSERT_EQ(source.Open(ListOf({"abcde", "fghijklmno"}).c_str()), 1);
    uint32_t got = source.Read(buffer, 8);
    EXPECT_EQ(got, 8u | kNewStreamFlag);
    EXPECT_EQ(Text(got), "abcdefgh");
    // The null read tells where the new file began inside those bytes.
    EXPECT_EQ(source.Read(nullptr, 0), 5u);
    EXPECT_STREQ(source.Name(), paths[1].c_str());
    EXPECT_EQ(source.Tell(), 3u);
    EXPECT_EQ(source.Length(), 10u);
    // Seeking works within the current entry.
    EXPECT_EQ(source.Seek(8), 1);
    EXPECT_EQ(Text(source.Read(buffer, 8)), "no");

    // A file that ends exactly with one read marks the next read at offset 0.
    ASSERT_EQ(source.Open(ListOf({"abcde", "fgh"}).c_str()), 1);
    EXPECT_EQ(source.Read(buffer, 5), 5u);
    EXPECT_EQ(source.Read(buffer, 2), 2u | kNewStreamFlag);
    EXPECT_EQ(source.Read(nullptr, 0), 0u);
    EXPECT_EQ(Text(2), "fg");
}

TEST_F(FileByteSourceTest, EmptyEntriesArePassedOverInTheSameRead) {
    ASSERT_EQ(source.Open(ListOf({"abc", "", "", "defgh", "ij"}).c_str()), 1);
    uint32_t got = source.Read(buffer, 10);
    EXPECT_EQ(got, 10u | kNewStreamFlag);
    EXPECT_EQ(Text(got), "abcdefghij");
    EXPECT_EQ(source.Read(nullptr, 0), 3u);
    EXPECT_STREQ(source.Name(), paths[4].c_str());

    // An empty first entry: the first read starts in it with 0 bytes.
    ASSERT_EQ(source.Open(ListOf({"", "xyz"}).c_str()), 1);
    EXPECT_EQ(source.Read(buffer, 3), 3u | kNewStreamFlag);
    EXPECT_EQ(source.Read(nullptr, 0), 0u);
}

// The stream ends after the last byte of the entry before it: the read that
// meets the missing entry still delivers what it took from that file.
TEST_F(FileByteSourceTest, EntryThatCannotBeOpenedEndsTheStreamAfterThePreviousFile) {
    ASSERT_EQ(source.Open(ListOf({"abc", nullptr, "def"}).c_str()), 1);
    EXPECT_EQ(source.Read(buffer, 2), 2u);
    uint32_t got = source.Read(buffer, 5);
    EXPECT_EQ(got, 1u);
    EXPECT_EQ(Text(got), "c");
    EXPECT_EQ(source.Read(buffer, 5), 0u);
    EXPECT_EQ(source.Tell(), 0u);

    // Entries read within the same request before the missing one are kept,
    // with the mark of the switch.
    ASSERT_EQ(source.Open(ListOf({"ab", "cd", nullptr}).c_str()), 1);
    got = source.Read(buffer, 10);
    EXPECT_EQ(got, 4u | kNewStreamFlag);
    EXPECT_EQ(Text(got), "abcd");
    EXPECT_EQ(source.Read(nullptr, 0), 2u);
    EXPECT_EQ(source.Read(buffer, 10), 0u);

    EXPECT_EQ(source.Open(ListOf({nullptr, "abc"}).c_str()), 0);
    EXPECT_EQ(source.Read(buffer, 5), 0u);
}

TEST_F(FileByteSourceTest, AfterTheLastEntryBehavesLikeAFileAtItsEnd) {
    ASSERT_EQ(source.Open(ListOf({"abc", "defg"}).c_str()), 1);
    EXPECT_EQ(source.Read(buffer, 5), 5u | kNewStreamFlag);
    uint32_t got = source.Read(buffer, 50);
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(Text(got), "fg");
    EXPECT_EQ(source.Read(buffer, 50), 0u);
    EXPECT_EQ(source.Read(nullptr, 0), 0u);
    EXPECT_STREQ(source.Name(), paths[1].c_str());

    // A request that runs over the last entry's end still reports the switch.
    ASSERT_EQ(source.Open(ListOf({"abc", "de"}).c_str()), 1);
    EXPECT_EQ(source.Read(buffer, 50), 5u | kNewStreamFlag);
    EXPECT_EQ(source.Read(nullptr, 0), 3u);
    EXPECT_EQ(source.Read(buffer, 50), 0u);
}

TEST_F(FileByteSourceTest, NamesOfNoRegisteredListFail) {
    std::string valid = ListOf({"abc"});
    long handle = 0;
    ASSERT_TRUE(ContinuousLists::ParseListName(valid.c_str(), handle));
    for (std::string name : {std::string("list:") + std::to_string(handle + 1), std::string("list:0"),
                             std::string("list:-1"), std::string("list:"), std::string("list:abc"),
                             std::string("list:99999999999999999999999"),
                             std::string("list:") + std::to_string(handle) + "x"}) {
        EXPECT_EQ(source.Open(name.c_str()), 0) << name;
        EXPECT_EQ(source.Read(buffer, 4), 0u) << name;
    }
    // An empty list has nothing to open.
    EXPECT_EQ(source.Open(ContinuousLists::ListName(lists.Register({})).c_str()), 0);

    // Unregistering stops new opens but not a source already reading.
    ASSERT_EQ(source.Open(valid.c_str()), 1);
    lists.Unregister(handle);
    EXPECT_EQ(Text(source.Read(buffer, 4)), "abc");
    FileByteSource other{lists};
    EXPECT_EQ(other.Open(valid.c_str()), 0);
}

TEST_F(FileByteSourceTest, ProcessWideTableIsTheDefault) {
    std::string path = temp.Write("only.mp2", "xyz");
    long handle = ContinuousLists::Instance().Register({path});
    FileByteSource shared;
    EXPECT_EQ(shared.Open(ContinuousLists::ListName(handle).c_str()), 1);
    EXPECT_EQ(shared.Read(buffer, 10), 3u);
    ContinuousLists::Instance().Unregister(handle);
}

}  // namespace
}  // namespace plyvane
