// The settings file of the native build: where it lives, what it looks like,
// and that neither a crash, a full disk nor a damaged file loses settings.
#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <vector>

#include "file_settings_store.h"
#include "recording_message_box.h"
#include "store_fixtures.h"

namespace plyvane {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::vector<std::string> FolderContent(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

const char kKey[] = "Brindlex\\Plyvane\\Playback\\Configuration";

class FileSettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(folder_.Path().empty()); }
    std::string Folder() const { return folder_.Path() + "/plyvane"; }
    std::string FilePath() const { return Folder() + "/settings"; }
    void MakeFolder() { ASSERT_EQ(::mkdir(Folder().c_str(), 0700), 0); }

    testing::TemporaryFolder folder_;
    RecordingMessageBox boxes_;
    ScopedMessageBox installed_{boxes_};
};

TEST_F(FileSettingsStoreTest, WritesAReadableFileOnlyTheUserCanRead) {
    FileSettingsStore store(FilePath());
    ASSERT_EQ(store.WriteString(kKey, "", "Configuration for Plyvane MPEG-audio player"),
              StoreWriteResult::kWritten);
    ASSERT_EQ(store.WriteDword(kKey, "FrequencyDivisor", 1), StoreWriteResult::kWritten);
    ASSERT_EQ(store.WriteDword(kKey, "WaveOutDevice", 0xFFFFFFFF), StoreWriteResult::kWritten);
    ASSERT_EQ(store.WriteString("Brindlex\\Plyvane\\Playback", "Version", "0.1 \"beta\"\n"),
              StoreWriteResult::kWritten);

    std::string text = ReadFile(FilePath());
    EXPECT_NE(text.find("\n[Brindlex\\Plyvane\\Playback\\Configuration]\n"
                        "@=\"Configuration for Plyvane MPEG-audio player\"\n"
                        "\"FrequencyDivisor\"=dword:00000001\n"
                        "\"WaveOutDevice\"=dword:ffffffff\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\n[Brindlex\\Plyvane\\Playback]\n\"Version\"=\"0.1 \\\"beta\\\"\\n\"\n"),
              std::string::npos)
        << text;

    struct stat info;
    ASSERT_EQ(::stat(FilePath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    // Only the file and the writers' lock file; no temporary file is left.
    EXPECT_EQ(FolderContent(Folder()), (std::vector<std::string>{"settings", "settings.lock"}));
}

TEST_F(FileSettingsStoreTest, AnotherProcessesWritesAreSeen) {
    // Two stores on one file stand for two instances of the program (the
    // second hands its command line to the first through the settings).
    FileSettingsStore first(FilePath()), second(FilePath());
    ASSERT_EQ(first.WriteDword(kKey, "RunningWindow", 0x1234), StoreWriteResult::kWritten);
    uint32_t window = 0;
    ASSERT_TRUE(second.ReadDword(kKey, "RunningWindow", window));
    EXPECT_EQ(window, 0x1234u);
    ASSERT_EQ(second.WriteString(kKey, "CommandLine", "/P song.mp3"), StoreWriteResult::kWritten);
    std::string line;
    ASSERT_TRUE(first.ReadString(kKey, "CommandLine", line));
    EXPECT_EQ(line, "/P song.mp3");
    // And the first's next write keeps the second's value.
    ASSERT_EQ(first.WriteDword(kKey, "RunningWindow", 0), StoreWriteResult::kWritten);
    ASSERT_TRUE(second.ReadString(kKey, "CommandLine", line));
    EXPECT_EQ(line, "/P song.mp3");
}

TEST_F(FileSettingsStoreTest, AFailedWriteLeavesTheOldFileWhole) {
    FileSettingsStore store(FilePath());
    ASSERT_EQ(store.WriteDword(kKey, "Buffers", 4), StoreWriteResult::kWritten);
    ASSERT_EQ(store.WriteString(kKey, "RecentFile", "/music/a.mp3"), StoreWriteResult::kWritten);
    const std::string before = ReadFile(FilePath());

    // The disk fills up after a few bytes of the new file, then in the middle.
    for (long cut : {0L, 10L, static_cast<long>(before.size() / 2)}) {
        store.FailWritesAfter(cut);
        EXPECT_EQ(store.WriteDword(kKey, "Buffers", 64), StoreWriteResult::kValueNotWritten);
        EXPECT_EQ(ReadFile(FilePath()), before) << "cut after " << cut;
        EXPECT_EQ(FolderContent(Folder()),
                  (std::vector<std::string>{"settings", "settings.lock"}));
    }
    store.FailWritesAfter(-1);

    uint32_t buffers = 0;
    ASSERT_TRUE(store.ReadDword(kKey, "Buffers", buffers));
    EXPECT_EQ(buffers, 4u);
    FileSettingsStore fresh(FilePath());
    ASSERT_TRUE(fresh.ReadDword(kKey, "Buffers", buffers));
    EXPECT_EQ(buffers, 4u);
    EXPECT_EQ(boxes_.Count(), 0u);
}

TEST_F(FileSettingsStoreTest, TheOperationsReportAFailedWriteAsFailure) {
    FileSettingsStore store(FilePath());
    ScopedSettingsStore installed(store);
    store.FailWritesAfter(3);
    EXPECT_EQ(WriteDwordSetting(kKey, "Buffers", 8), 0);
    store.FailWritesAfter(-1);
    EXPECT_EQ(WriteDwordSetting(kKey, "Buffers", 8), 1);
}

TEST_F(FileSettingsStoreTest, ATemporaryFileLeftByACrashIsIgnored) {
    {
        FileSettingsStore store(FilePath());
        ASSERT_EQ(store.WriteDword(kKey, "Quality", 1), StoreWriteResult::kWritten);
    }
    // A writer died between writing its temporary file and the rename.
    WriteFile(FilePath() + ".tmp.99999", "[Brindlex\\Plyvane\\Playback\\Configuration]\n\"Qual");
    FileSettingsStore store(FilePath());
    uint32_t quality = 0;
    ASSERT_TRUE(store.ReadDword(kKey, "Quality", quality));
    EXPECT_EQ(quality, 1u);
    EXPECT_EQ(boxes_.Count(), 0u);
}

TEST_F(FileSettingsStoreTest, ADamagedFileGivesItsGoodValuesIsReportedOnceAndIsKept) {
    MakeFolder();
    const std::string damaged =
        "[Brindlex\\Plyvane\\Playback\\Configuration]\n"
        "\"Buffers\"=dword:00000008\n"
        "\"Quality\"=dword:zz\n"
        "garbage \x01\x02\n"
        "\"Proxy\"=\"proxy.example\"\n"
        "\"Channels\"=dword:0000";  // cut short: no newline
    WriteFile(FilePath(), damaged);

    FileSettingsStore store(FilePath());
    uint32_t buffers = 0, quality = 2, channels = 2;
    std::string proxy;
    EXPECT_TRUE(store.ReadDword(kKey, "Buffers", buffers));
    EXPECT_EQ(buffers, 8u);
    EXPECT_FALSE(store.ReadDword(kKey, "Quality", quality));
    EXPECT_EQ(quality, 2u);
    EXPECT_FALSE(store.ReadDword(kKey, "Channels", channels));
    EXPECT_EQ(channels, 2u);
    EXPECT_TRUE(store.ReadString(kKey, "Proxy", proxy));

    auto messages = boxes_.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Plyvane settings");
    EXPECT_NE(messages[0].text.find("line 3"), std::string::npos) << messages[0].text;
    EXPECT_EQ(ReadFile(FilePath()), damaged);  // reading never rewrites

    ASSERT_EQ(store.WriteDword(kKey, "Volume", 30000), StoreWriteResult::kWritten);
    EXPECT_EQ(ReadFile(FilePath() + ".bad"), damaged);
    FileSettingsStore fresh(FilePath());
    uint32_t volume = 0;
    EXPECT_TRUE(fresh.ReadDword(kKey, "Buffers", buffers));
    EXPECT_TRUE(fresh.ReadString(kKey, "Proxy", proxy));
    EXPECT_EQ(proxy, "proxy.example");
    EXPECT_TRUE(fresh.ReadDword(kKey, "Volume", volume));
    EXPECT_EQ(volume, 30000u);

    // Later writes neither report again nor make more copies.
    ASSERT_EQ(store.WriteDword(kKey, "Volume", 1), StoreWriteResult::kWritten);
    EXPECT_EQ(boxes_.Count(), 1u);
    EXPECT_EQ(FolderContent(Folder()),
              (std::vector<std::string>{"settings", "settings.bad", "settings.lock"}));
}

TEST_F(FileSettingsStoreTest, AnEarlierCopyOfADamagedFileIsNotOverwritten) {
    MakeFolder();
    WriteFile(FilePath() + ".bad", "first damage\n");
    WriteFile(FilePath(), "second damage\n");
    FileSettingsStore store(FilePath());
    ASSERT_EQ(store.WriteDword(kKey, "Volume", 1), StoreWriteResult::kWritten);
    EXPECT_EQ(ReadFile(FilePath() + ".bad"), "first damage\n");
    EXPECT_EQ(ReadFile(FilePath() + ".bad.1"), "second damage\n");
}

TEST_F(FileSettingsStoreTest, AFailedWriteAfterDamageLosesNothing) {
    MakeFolder();
    const std::string damaged = "[Brindlex\\Plyvane\\Playback\\Configuration]\n???\n";
    WriteFile(FilePath(), damaged);
    FileSettingsStore store(FilePath());
    store.FailWritesAfter(5);
    EXPECT_NE(store.WriteDword(kKey, "Volume", 1), StoreWriteResult::kWritten);
    EXPECT_EQ(ReadFile(FilePath()), damaged);
    store.FailWritesAfter(-1);
    ASSERT_EQ(store.WriteDword(kKey, "Volume", 1), StoreWriteResult::kWritten);
    EXPECT_EQ(ReadFile(FilePath() + ".bad"), damaged);
}

TEST_F(FileSettingsStoreTest, AnUnreadableFileMeansDefaultsAndIsMovedAsideBeforeAWrite) {
    // A folder where the file should be cannot be read as settings (and, as
    // root, neither file modes nor anything else would stop a read).
    MakeFolder();
    ASSERT_EQ(::mkdir(FilePath().c_str(), 0700), 0);
    WriteFile(FilePath() + "/precious", "data");

    FileSettingsStore store(FilePath());
    uint32_t buffers = 4;
    EXPECT_FALSE(store.ReadDword(kKey, "Buffers", buffers));
    EXPECT_FALSE(store.ReadDword(kKey, "Buffers", buffers));
    EXPECT_EQ(buffers, 4u);
    ASSERT_EQ(boxes_.Count(), 1u);
    EXPECT_NE(boxes_.Messages()[0].text.find("cannot be read"), std::string::npos);

    ASSERT_EQ(store.WriteDword(kKey, "Buffers", 6), StoreWriteResult::kWritten);
    EXPECT_EQ(ReadFile(FilePath() + ".bad/precious"), "data");
    ASSERT_TRUE(store.ReadDword(kKey, "Buffers", buffers));
    EXPECT_EQ(buffers, 6u);
    EXPECT_EQ(boxes_.Count(), 1u);
}

TEST_F(FileSettingsStoreTest, AFolderThatCannotBeMadeMeansTheKeyCannotBeCreated) {
    WriteFile(folder_.Path() + "/plyvane", "a file, not a folder");
    FileSettingsStore store(FilePath());
    ScopedSettingsStore installed(store);
    EXPECT_EQ(store.WriteDword(kKey, "Buffers", 4), StoreWriteResult::kKeyNotCreated);
    EXPECT_EQ(WriteStringSetting(kKey, "Proxy", "x"), 0);
    ASSERT_EQ(boxes_.Count(), 1u);
    EXPECT_EQ(boxes_.Messages()[0].text, "Cannot create registry entry");
    // Keys the file cannot hold are refused the same way.
    EXPECT_EQ(FileSettingsStore(folder_.Path() + "/x/settings").WriteDword("a\\\\b", "n", 1),
              StoreWriteResult::kKeyNotCreated);
}

TEST(FileSettingsStorePath, FollowsTheXdgRules) {
    const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
    const char* savedHome = std::getenv("HOME");
    std::string config = savedConfig ? savedConfig : "", home = savedHome ? savedHome : "";

    setenv("HOME", "/home/someone", 1);
    setenv("XDG_CONFIG_HOME", "/xdg/config", 1);
    EXPECT_EQ(FileSettingsStore::DefaultPath(), "/xdg/config/plyvane/settings");
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(FileSettingsStore::DefaultPath(), "/home/someone/.config/plyvane/settings");
    setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(FileSettingsStore::DefaultPath(), "/home/someone/.config/plyvane/settings");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(FileSettingsStore::DefaultPath(), "/home/someone/.config/plyvane/settings");

    if (savedConfig) setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    if (savedHome) setenv("HOME", home.c_str(), 1); else unsetenv("HOME");
}

}  // namespace
}  // namespace plyvane
