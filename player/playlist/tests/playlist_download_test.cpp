#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "memory_byte_source.h"
#include "playlist_download.h"
#include "playlist_file.h"
#include "playlist_test_support.h"

namespace plyvane {
namespace {

using testing::TestFolder;

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A stream that never ends, or never opens.
class EndlessSource : public ByteSource {
public:
    explicit EndlessSource(bool opens) : opens_(opens) {}
    int Open(const char*) override { return opens_ ? 1 : 0; }
    int Close() override { return 1; }
    uint32_t Read(void* destination, uint32_t count) override {
        std::memset(destination, 'x', count);
        return count;
    }
    int Seek(uint32_t) override { return 0; }
    uint32_t Tell() override { return 0; }
    uint32_t Length() override { return 0; }
    const char* Name() override { return "endless"; }

private:
    bool opens_;
};

TEST(PlaylistDownload, TheCopyIsNamedAfterTheLastPathSegment) {
    struct Case {
        const char* address;
        const char* name;
    };
    const Case cases[] = {
        {"http://host/lists/list.pls", "list.pls"},
        {"http://host/list.m3u?user=1&x=/y", "list.m3u"},
        {"http://host/get.php?name=list.m3u", "get.php.m3u"},
        {"http://host/list.pls#top", "list.pls"},
        {"http://host/..\\..\\evil.pls", ".._.._evil.pls"},
        {"http://host/a:b*c?.pls", "a_b_c.pls"},
        {"http://host/list.m3u/", "playlist.m3u"},
        {"http://host/..", "playlist"},
        {"http://host/x.pls/...", "playlist.pls"},
    };
    for (const Case& c : cases) EXPECT_EQ(DownloadNameOf(c.address), c.name) << c.address;
}

TEST(PlaylistDownload, TheStreamIsCopiedWholeIntoTheTemporaryFolder) {
    TestFolder folder;
    std::string text = "#EXTM3U\r\n";
    for (int i = 0; i < 500; ++i) text += "song" + std::to_string(i) + ".mp3\r\n";
    MemoryByteSource source(std::vector<uint8_t>(text.begin(), text.end()));
    // The same source may come with new-stream marks; they are not data.
    source.AddStreamStart(4096);

    const std::string copy = DownloadPlaylist(source, "http://host/dir/list.m3u", folder.Folder());
    ASSERT_EQ(copy, folder.Path("list.m3u"));
    EXPECT_EQ(Contents(copy), text);

    PlaylistFile list;
    ASSERT_EQ(list.Load(copy), LoadResult::kLoaded);
    EXPECT_EQ(list.Count(), 500);
    std::string entry;
    list.GetEntry(1, entry);
    EXPECT_EQ(entry, folder.Folder() + "song0.mp3");
}

TEST(PlaylistDownload, FailuresLeaveNoCopyBehind) {
    TestFolder folder;
    EndlessSource closed(false);
    EXPECT_EQ(DownloadPlaylist(closed, "http://host/a.pls", folder.Folder()), "");
    EXPECT_FALSE(std::filesystem::exists(folder.Path("a.pls")));

    EndlessSource endless(true);
    EXPECT_EQ(DownloadPlaylist(endless, "http://host/b.pls", folder.Folder()), "");
    EXPECT_FALSE(std::filesystem::exists(folder.Path("b.pls")));

    MemoryByteSource source(std::vector<uint8_t>{'x'});
    EXPECT_EQ(DownloadPlaylist(source, "http://host/c.pls", folder.Path("no-such-folder/")), "");
}

}  // namespace
}  // namespace plyvane
