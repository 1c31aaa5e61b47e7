// The scan through the real engine and decoder: what the window's scan does
// with real files and with entries that name anything but a stream.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine_entry_prober.h"
#include "memory_settings_store.h"
#include "playlist_file.h"
#include "playlist_scan.h"
#include "playlist_test_support.h"
#include "recording_message_box.h"
#include "settings_store.h"
#include "simulated_engine.h"

namespace plyvane {
namespace {

namespace fs = std::filesystem;
using testing::RecordingProgress;
using testing::TestFolder;

std::string Stream(const std::string& relative) {
    return (fs::path(PLYVANE_SOURCE_DIR) / "tests" / "data" / relative).make_preferred().string();
}

TEST(PlaylistScanThroughTheEngine, StreamsGetTheirLengthAndEverythingElseIsExcluded) {
    MemorySettingsStore store;
    ScopedSettingsStore storeInstalled(store);
    RecordingMessageBox boxes;
    ScopedMessageBox boxesInstalled(boxes);
    TestFolder folder;
    SimulatedEngine probe;
    EngineEntryProber prober(probe.engine);

    fs::create_directories(folder.Path("a folder.mp3"));
    const std::string other = folder.Write("other.m3u", Stream("layer2/mpeg1_44k_stereo_128k.mp2") + "\n");
    const std::string text = folder.Write("notes.txt", "just some text, no frames at all\n");
    struct Case {
        std::string entry;
        bool playable;
    };
    const std::vector<Case> cases = {
        {Stream("layer2/mpeg1_44k_stereo_128k.mp2"), true},
        {Stream("layer3/mpeg1_44k_joint_128k.mp3"), true},
        {folder.Path("missing.mp3"), false},
        {folder.Path("a folder.mp3"), false},
        {other, false},
        {folder.Path("list.m3u"), false},  // the list itself
        {text, false},
        {Stream("damaged/empty.mp2"), false},
        {Stream("damaged/layer1_nocrc.mp1"), false},
        {folder.Folder() + std::string(270, 'y') + ".mp3", false},
        {"", false},
    };
    std::string list;
    for (const Case& c : cases) list += c.entry + "\n";
    PlaylistFile file;
    ASSERT_EQ(file.Load(folder.Write("list.m3u", list)), LoadResult::kLoaded);
    ASSERT_EQ(file.Count(), static_cast<int>(cases.size()));

    PlaylistQueue queue;
    ASSERT_EQ(queue.Allocate(file.Count()), PlaylistQueue::TableFailure::kNone);
    RecordingProgress progress;
    const auto lines = ScanEntries(file, queue, prober, progress, ScanOptions{});
    ASSERT_EQ(lines.size(), cases.size());
    int failures = 0;
    for (size_t i = 0; i < cases.size(); ++i) {
        const int entry = static_cast<int>(i) + 1;
        EXPECT_EQ(queue.IsPlayable(entry), cases[i].playable) << cases[i].entry;
        EXPECT_EQ(queue.IsPlayed(entry), !cases[i].playable) << cases[i].entry;
        if (cases[i].playable) {
            EXPECT_GT(queue.Duration(entry), 1000) << cases[i].entry;
            EXPECT_NE(lines[i], kEntryErrorLine);
        } else {
            EXPECT_EQ(lines[i], kEntryErrorLine) << cases[i].entry;
            ++failures;
        }
    }
    EXPECT_EQ(lines[0], "mpeg1_44k_stereo_128k");
    // The engine reports each file it could not read in its error box; the
    // too-long and empty entries never reach it.
    EXPECT_EQ(boxes.Count(), static_cast<size_t>(failures - 2));
}

}  // namespace
}  // namespace plyvane
