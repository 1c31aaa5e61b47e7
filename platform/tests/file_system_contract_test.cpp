// What the editor's file-system port must do, the same way natively (POSIX
// calls) and under Windows (FindFirstFileA and its kin).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "file_system.h"

namespace plyvane {
namespace {

namespace fs = std::filesystem;

FileSystem& Files() { return PlatformFileSystem(); }

// A fresh folder of the test, removed afterwards. Relative names use "/" and
// come back with the system's separator.
class TestFolder {
public:
    TestFolder() {
        static int counter = 0;
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = fs::temp_directory_path() / ("plyvane-files-" + std::string(test->name()) + "-" +
                                             std::to_string(fs::file_time_type::clock::now().time_since_epoch().count() %
                                                            1000000007) +
                                             "-" + std::to_string(++counter));
        fs::remove_all(path_);
        fs::create_directories(path_);
        path_ = fs::canonical(path_);
    }
    ~TestFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string Folder() const { return JoinPath(path_.string(), ""); }
    std::string Path(std::string relative) const {
        for (char& c : relative) {
            if (c == '/') c = kPathSeparator;
        }
        return JoinPath(path_.string(), relative);
    }
    std::string Write(const std::string& relative, const std::string& bytes = "x") const {
        const std::string path = Path(relative);
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string MakeFolder(const std::string& relative) const {
        fs::create_directories(Path(relative));
        return Path(relative);
    }

private:
    fs::path path_;
};

// The folders with links the tests' set-up made (make_folder_links.cmake),
// with a separator at the end; empty when they are not there.
std::string FolderLinks() {
    const fs::path links = fs::path(PLYVANE_FOLDER_LINKS).make_preferred();
    std::error_code error;
    return fs::is_directory(links / "loop", error) ? JoinPath(links.string(), "") : std::string();
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Names(const std::vector<FolderItem>& items) {
    std::vector<std::string> names;
    for (const FolderItem& item : items) names.push_back(item.name);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FileSystemContract, WhatAPathIs) {
    TestFolder folder;
    const std::string file = folder.Write("a.mp3");
    const std::string sub = folder.MakeFolder("sub");
    EXPECT_EQ(Files().KindOf(file), PathKind::kFile);
    EXPECT_EQ(Files().KindOf(sub), PathKind::kFolder);
    EXPECT_EQ(Files().KindOf(folder.Folder()), PathKind::kFolder);
    EXPECT_EQ(Files().KindOf(folder.Path("missing.mp3")), PathKind::kMissing);
    EXPECT_EQ(Files().KindOf(""), PathKind::kMissing);
#ifndef _WIN32
    // A pipe would block whoever opens it for reading.
    const std::string pipe = folder.Path("pipe.mp3");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(Files().KindOf(pipe), PathKind::kOther);
#endif
}

TEST(FileSystemContract, AFolderListsItsEntriesWithoutDotAndDotDot) {
    TestFolder folder;
    folder.Write("a.mp3");
    folder.Write("B.MP2");
    folder.MakeFolder("sub");
    folder.Write("sub/inner.mp3");
    std::vector<FolderItem> items;
    ASSERT_TRUE(Files().ListFolder(folder.Path(""), items));
    EXPECT_EQ(Names(items), (std::vector<std::string>{"B.MP2", "a.mp3", "sub"}));
    for (const FolderItem& item : items)
        EXPECT_EQ(item.kind, item.name == "sub" ? PathKind::kFolder : PathKind::kFile) << item.name;

    // With or without a separator at the end.
    ASSERT_TRUE(Files().ListFolder(folder.Folder(), items));
    EXPECT_EQ(items.size(), 3u);

    ASSERT_TRUE(Files().ListFolder(folder.MakeFolder("empty"), items));
    EXPECT_TRUE(items.empty());
    EXPECT_FALSE(Files().ListFolder(folder.Path("missing"), items));
    EXPECT_FALSE(Files().ListFolder(folder.Path("a.mp3"), items));
}

TEST(FileSystemContract, ABigFolderIsListedWhole) {
    // Many times what one directory read of the system returns.
    TestFolder folder;
    for (int i = 0; i < 1500; ++i) folder.Write("track" + std::to_string(i) + ".mp3");
    std::vector<FolderItem> items;
    ASSERT_TRUE(Files().ListFolder(folder.Folder(), items));
    const std::vector<std::string> names = Names(items);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 1500u);
}

TEST(FileSystemContract, AFolderHasOneIdentityWhicheverWayItIsReached) {
    TestFolder folder;
    const std::string a = folder.MakeFolder("a");
    const std::string b = folder.MakeFolder("b");
    FolderIdentity first, again, other;
    ASSERT_TRUE(Files().IdentityOf(a, first));
    ASSERT_TRUE(Files().IdentityOf(JoinPath(a, ""), again));
    EXPECT_EQ(first, again);
    ASSERT_TRUE(Files().IdentityOf(folder.Path("a/../a"), again));
    EXPECT_EQ(first, again);
    ASSERT_TRUE(Files().IdentityOf(b, other));
    EXPECT_FALSE(first == other);
    EXPECT_FALSE(Files().IdentityOf(folder.Path("missing"), other));

}

TEST(FileSystemContract, ALinkToAFolderLeadsToItsIdentity) {
    const std::string links = FolderLinks();
    if (links.empty()) GTEST_SKIP() << "the folders with links are made by the tests' set-up (ctest)";
    FolderIdentity target, link;
    ASSERT_TRUE(Files().IdentityOf(links + "target", target));
    ASSERT_TRUE(Files().IdentityOf(links + "link", link));
    EXPECT_EQ(target, link);
    EXPECT_EQ(Files().KindOf(links + "link"), PathKind::kFolder);
    std::vector<FolderItem> items;
    ASSERT_TRUE(Files().ListFolder(links + "loop" + kPathSeparator + "sub", items));
    EXPECT_EQ(Names(items), (std::vector<std::string>{"b.mp3", "back"}));
    for (const FolderItem& item : items)
        EXPECT_EQ(item.kind, item.name == "back" ? PathKind::kFolder : PathKind::kFile) << item.name;
}

TEST(FileSystemContract, ReplacingAFileIsOneStepAndLeavesNothingBehind) {
    TestFolder folder;
    const std::string list = folder.Path("list.pls");
    ASSERT_TRUE(Files().ReplaceFile(list, "first\r\n"));
    EXPECT_EQ(Contents(list), "first\r\n");
    const std::string big(3 * 1024 * 1024 + 17, 'x');
    ASSERT_TRUE(Files().ReplaceFile(list, big));
    EXPECT_EQ(Contents(list), big);
    ASSERT_TRUE(Files().ReplaceFile(list, ""));
    EXPECT_EQ(Contents(list), "");
    std::vector<FolderItem> items;
    ASSERT_TRUE(Files().ListFolder(folder.Folder(), items));
    EXPECT_EQ(Names(items), std::vector<std::string>{"list.pls"});
}

TEST(FileSystemContract, AFailedReplacementLeavesWhatWasThere) {
    TestFolder folder;
    // A folder where the file should go: nothing can take its place.
    const std::string taken = folder.MakeFolder("taken.pls");
    folder.Write("taken.pls/inside.mp3", "kept");
    EXPECT_FALSE(Files().ReplaceFile(taken, "new"));
    EXPECT_EQ(Contents(folder.Path("taken.pls/inside.mp3")), "kept");
    // A folder that does not exist.
    EXPECT_FALSE(Files().ReplaceFile(folder.Path("missing/list.pls"), "new"));
    std::vector<FolderItem> items;
    ASSERT_TRUE(Files().ListFolder(folder.Folder(), items));
    EXPECT_EQ(Names(items), std::vector<std::string>{"taken.pls"});
}

TEST(FileSystemContract, TheTemporaryFolder) {
    const std::string temporary = Files().TemporaryFolder();
    ASSERT_FALSE(temporary.empty());
    EXPECT_TRUE(temporary.back() == kPathSeparator || temporary.back() == '/');
    EXPECT_EQ(Files().KindOf(temporary), PathKind::kFolder);
}

TEST(FileSystemContract, JoiningNamesToFolders) {
    const std::string s(1, kPathSeparator);
    EXPECT_EQ(JoinPath("music", "a.mp3"), "music" + s + "a.mp3");
    EXPECT_EQ(JoinPath("music" + s, "a.mp3"), "music" + s + "a.mp3");
    EXPECT_EQ(JoinPath("music/", "a.mp3"), "music/a.mp3");
    EXPECT_EQ(JoinPath("", "a.mp3"), "a.mp3");
}

}  // namespace
}  // namespace plyvane
