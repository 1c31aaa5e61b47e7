// Entry completion through the real engine and decoder: tagged and untagged
// streams of both layers get their title and length, and a file that is no
// stream gets the engine's message.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor_test_support.h"
#include "engine_entry_prober.h"
#include "entry_import.h"
#include "memory_settings_store.h"
#include "playlist_entry.h"
#include "recording_message_box.h"
#include "settings_store.h"
#include "simulated_engine.h"

namespace plyvane {
namespace {

namespace fs = std::filesystem;
using testing::Stream;
using testing::TaggedStream;

class EngineCompletion : public ::testing::Test {
protected:
    EngineCompletion() : storeInstalled_(store), boxesInstalled_(boxes) {}
    EditorImport Import() {
        return EditorImport(list, EditorServices{PlatformFileSystem(), PlatformIniProfile(), prober,
                                                 NoProgressWindows(), nullptr});
    }
    int32_t EngineLength(const std::string& path) {
        const PlaybackInfo* info = probe.engine.ProbeFileInfo(nullptr, path.c_str(), nullptr);
        return info != nullptr ? static_cast<int32_t>(info->length) : -2;
    }

    MemorySettingsStore store;
    RecordingMessageBox boxes;
    SimulatedEngine probe;
    EngineEntryProber prober{probe.engine};
    EditorList list;

private:
    ScopedSettingsStore storeInstalled_;
    ScopedMessageBox boxesInstalled_;
};

TEST_F(EngineCompletion, StreamsGetTheirTitleAndLength) {
    struct Case {
        std::string path;
        std::string title;
    };
    const std::vector<Case> cases = {
        {TaggedStream("lame_v1.mp3"), "Five"},
        {TaggedStream("lame_v23.mp3"), "Lame v2 title"},
        {TaggedStream("ffmpeg_v1_and_v24.mp3"), "A title longer than the thirty"},
        {TaggedStream("untagged.mp3"), ""},
        {Stream("layer2/mpeg1_44k_stereo_128k.mp2"), ""},
        {Stream("layer3/id3v2_picture_44k_joint_128k.mp3"), "Test tones"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const int32_t length = EngineLength(c.path);
        ASSERT_GT(length, 0);
        std::string record = c.path;
        ASSERT_TRUE(Import().CompleteEntry(record));
        EXPECT_EQ(EntryField(record, kEntryPath), c.path);
        EXPECT_EQ(EntryField(record, kEntryTitle), c.title);
        EXPECT_EQ(EntryNumber(record, kEntryVolume), 75);
        EXPECT_EQ(EntryNumber(record, kEntryDuration), length);
    }
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(EngineCompletion, WhatIsNoStreamIsToldOnceAndKeepsNoLength) {
    testing::EditorFolder folder;
    const std::string text = folder.Write("notes.mp3", std::string(4000, 'n'));
    std::string record = text;
    EXPECT_FALSE(Import().CompleteEntry(record));
    EXPECT_EQ(record, text);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Messages()[0].caption, kErrorCaption);

    // A scanned folder adds it without a box.
    boxes.Clear();
    fs::copy_file(TaggedStream("lame_v1.mp3"), folder.Path("tagged.mp3"));
    Import().AddPath(folder.Folder());
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(boxes.Count(), 0u);
}

}  // namespace
}  // namespace plyvane
