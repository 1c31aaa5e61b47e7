// The process-wide operations over whichever store is installed: the write
// failures the user sees and the results the callers get.
#include <gtest/gtest.h>

#include "memory_settings_store.h"
#include "recording_message_box.h"
#include "settings_store.h"

namespace plyvane {
namespace {

class SettingsOperations : public ::testing::Test {
protected:
    MemorySettingsStore store_;
    RecordingMessageBox boxes_;
    ScopedSettingsStore installedStore_{store_};
    ScopedMessageBox installedBoxes_{boxes_};
};

TEST_F(SettingsOperations, AKeyThatCannotBeCreatedIsReportedAndTheWriteSkipped) {
    store_.FailKeyCreation(true);
    EXPECT_EQ(WriteStringSetting(kConfigurationKey, "Proxy", "proxy"), 0);
    EXPECT_EQ(WriteDwordSetting(kConfigurationKey, "ProxyPort", 8080), 0);
    auto messages = boxes_.Messages();
    ASSERT_EQ(messages.size(), 2u);
    for (const RecordedMessage& message : messages) {
        EXPECT_EQ(message.caption, "Error!");
        EXPECT_EQ(message.text, "Cannot create registry entry");
        EXPECT_EQ(message.icon, MessageIcon::kError);
    }
    store_.FailKeyCreation(false);
    std::string text = "none";
    EXPECT_EQ(ReadStringSetting(kConfigurationKey, "Proxy", text), 0);
    EXPECT_EQ(text, "none");
}

TEST_F(SettingsOperations, AValueThatCannotBeStoredFailsSilently) {
    store_.FailValueWrites(true);
    EXPECT_EQ(WriteStringSetting(kPlaybackKey, "Version", "1.0"), 0);
    EXPECT_EQ(WriteDwordSetting(kPlaybackKey, "Buffers", 4), 0);
    EXPECT_EQ(boxes_.Count(), 0u);
    // The key itself was created, as the registry would have done.
    EXPECT_TRUE(store_.HasKey(kPlaybackKey));
    EXPECT_TRUE(store_.HasKey("Brindlex\\Plyvane"));
}

TEST_F(SettingsOperations, NullTextsAndDestinationsAreHarmless) {
    EXPECT_EQ(WriteStringSetting(kPlaybackKey, "Version", nullptr), 1);
    std::string text = "x";
    EXPECT_EQ(ReadStringSetting(kPlaybackKey, "Version", text), 1);
    EXPECT_EQ(text, "");
    EXPECT_EQ(ReadStringSetting(kPlaybackKey, "Version", nullptr, 10), 0);
    char none[1] = {'z'};
    EXPECT_EQ(ReadStringSetting(kPlaybackKey, "Version", none, 0), 0);
    EXPECT_EQ(none[0], 'z');
}

TEST_F(SettingsOperations, SignedAndUnsignedReadsShareTheBits) {
    ASSERT_EQ(WriteDwordSetting(kConfigurationKey, "WaveOutDevice", static_cast<uint32_t>(-1)), 1);
    int32_t device = 5;
    uint32_t raw = 5;
    EXPECT_EQ(ReadDwordSetting(kConfigurationKey, "WaveOutDevice", device), 1);
    EXPECT_EQ(ReadDwordSetting(kConfigurationKey, "WaveOutDevice", raw), 1);
    EXPECT_EQ(device, -1);
    EXPECT_EQ(raw, 0xFFFFFFFFu);
    EXPECT_EQ(DeleteSetting(kConfigurationKey, "WaveOutDevice"), 1);
    EXPECT_EQ(ReadDwordSetting(kConfigurationKey, "WaveOutDevice", device), 0);
    EXPECT_EQ(device, -1);
}

}  // namespace
}  // namespace plyvane
