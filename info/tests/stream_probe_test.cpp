// The sheet's probe through the real engine and decoder: one probe however
// often the pages ask, through the sheet's own sources, addresses only when
// the settings allow and a source for them is at hand.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "audio_engine.h"
#include "engine_harness.h"
#include "memory_byte_source.h"
#include "memory_settings_store.h"
#include "recording_message_box.h"
#include "settings_store.h"
#include "simulated_engine.h"
#include "stream_probe.h"

namespace plyvane {
namespace {

const std::string kLayer2 = std::string(PLYVANE_SOURCE_DIR) + "/tests/data/layer2/mpeg1_48k_stereo_192k.mp2";
const std::string kLayer3 = std::string(PLYVANE_SOURCE_DIR) + "/tests/data/layer3/mpeg2_22k_joint_64k_short.mp3";
constexpr char kAddress[] = "http://radio.example/stream.mp2";

std::vector<uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class SheetProbe : public ::testing::Test {
protected:
    SheetProbe() : storeInstalled_(store), boxesInstalled_(boxes) {}

    // Counts the address sources made; each reads the Layer II file.
    StreamProbe::AddressSourceMaker CountingMaker() {
        return [this](WindowHandle) {
            ++sourcesMade;
            return std::make_unique<MemoryByteSource>(Bytes(kLayer2), kAddress);
        };
    }

    MemorySettingsStore store;
    RecordingMessageBox boxes;
    SimulatedEngine simulated;
    AudioEngine& engine = simulated.engine;
    int sourcesMade = 0;

private:
    ScopedSettingsStore storeInstalled_;
    ScopedMessageBox boxesInstalled_;
};

TEST_F(SheetProbe, AFileIsProbedOnceForAllPages) {
    StreamProbe probe(engine);
    const std::string record = kLayer2 + ";A title;80;1500";
    const PlaybackInfo* first = probe.Result(nullptr, record);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->version, 1);
    EXPECT_EQ(first->layer, 2);
    EXPECT_EQ(first->streamSampleRate, 48000);
    EXPECT_EQ(first->bitratePerChannel * first->streamChannels, 192);
    EXPECT_EQ(StreamProbe::LengthMs(first), 2016);
    // The engine's own record is overwritten by its next probe; the sheet's
    // copy is not.
    ASSERT_NE(engine.ProbeFileInfo(nullptr, kLayer3.c_str(), nullptr), nullptr);
    const PlaybackInfo* again = probe.Result(nullptr, record);
    EXPECT_EQ(again, first);
    EXPECT_EQ(again->layer, 2);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(SheetProbe, AMissingFileShowsItsErrorOnce) {
    StreamProbe probe(engine);
    const std::string record = "/nowhere/missing.mp2;Missing";
    const WindowHandle sheet = reinterpret_cast<WindowHandle>(static_cast<uintptr_t>(0x42));
    EXPECT_EQ(probe.Result(sheet, record), nullptr);
    EXPECT_EQ(probe.Result(sheet, record), nullptr);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Messages()[0].text, "File /nowhere/missing.mp2 does not exist!");
    EXPECT_EQ(boxes.Messages()[0].owner, sheet);
    EXPECT_EQ(StreamProbe::LengthMs(nullptr), -1);
}

TEST_F(SheetProbe, AFileThatIsNoStreamGivesNoResult) {
    StreamProbe probe(engine);
    EXPECT_EQ(probe.Result(nullptr, std::string(PLYVANE_SOURCE_DIR) + "/README.md"), nullptr);
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(probe.Result(nullptr, ""), nullptr);
    EXPECT_EQ(boxes.Count(), 1u);  // an entry without a path asks nothing
}

TEST_F(SheetProbe, AnAddressIsReadThroughOneSourceOfTheSheet) {
    StreamProbe probe(engine, CountingMaker());
    const PlaybackInfo* info = probe.Result(nullptr, std::string(kAddress) + ";Radio");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->layer, 2);
    EXPECT_NE(probe.Result(nullptr, std::string(kAddress) + ";Radio"), nullptr);
    EXPECT_EQ(sourcesMade, 1);
}

TEST_F(SheetProbe, AnAddressIsLeftAloneWhenTheSettingsSaySo) {
    WriteDwordSetting(kConfigurationKey, "SkipHTTPFileScan", 1);
    StreamProbe probe(engine, CountingMaker());
    EXPECT_EQ(probe.Result(nullptr, kAddress), nullptr);
    EXPECT_EQ(sourcesMade, 0);
    // Local files are probed all the same.
    EXPECT_NE(probe.Result(nullptr, kLayer2), nullptr);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(SheetProbe, WithoutAnAddressSourceAnAddressHasNoResult) {
    StreamProbe probe(engine);
    EXPECT_EQ(probe.Result(nullptr, kAddress), nullptr);
    EXPECT_EQ(boxes.Count(), 0u);
}

// The sheet is opened while a stream plays: its probes of other streams
// leave every sample of the playing one as it was.
TEST(SheetProbeWhilePlaying, ThePlayingStreamIsUndisturbed) {
    EngineHarness h;
    OutputChoice output;
    output.method = kMethodThread;
    h.Configure(output);
    const std::vector<uint8_t> expected = DecodeAll(kLayer3, output);
    ASSERT_EQ(h.Open(kLayer3), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.Run(300);
    StreamProbe probe(h.engine);
    ASSERT_NE(probe.Result(nullptr, kLayer2), nullptr);
    h.Run(200);
    StreamProbe missing(h.engine);
    EXPECT_EQ(missing.Result(nullptr, "/nowhere/missing.mp2"), nullptr);
    ASSERT_TRUE(h.RunUntilEnded(10000));
    EXPECT_TRUE(h.device.Played() == expected) << "played " << h.device.PlayedBytes() << " of " << expected.size();
    EXPECT_EQ(h.MessageTexts(), std::vector<std::string>{"Error!: File /nowhere/missing.mp2 does not exist!"});
}

TEST_F(SheetProbe, LengthsAreWholeMilliseconds) {
    PlaybackInfo info{};
    info.length = 1234.9f;
    EXPECT_EQ(StreamProbe::LengthMs(&info), 1234);
    info.length = -1.0f;
    EXPECT_EQ(StreamProbe::LengthMs(&info), -1);
    info.length = 5.0e9f;
    EXPECT_EQ(StreamProbe::LengthMs(&info), INT32_MAX);
}

}  // namespace
}  // namespace plyvane
