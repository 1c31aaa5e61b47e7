// The stored output values: defaults, the group write with its order and
// hook, and the check at playback start with its exact messages.
#include <gtest/gtest.h>

#include "fake_wave_device_catalog.h"
#include "memory_settings_store.h"
#include "output_settings.h"
#include "recording_message_box.h"
#include "settings_store.h"

namespace plyvane {
namespace {

class OutputSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetOutputSettingsKey(kConfigurationKey);
        catalog_.AddDevice(0xFFF);
    }
    void TearDown() override { SetOutputFormatHook(nullptr); }
    void Store(const char* name, int32_t value) {
        ASSERT_EQ(WriteDwordSetting(kConfigurationKey, name, static_cast<uint32_t>(value)), 1);
    }

    MemorySettingsStore store_;
    RecordingMessageBox boxes_;
    ScopedSettingsStore installedStore_{store_};
    ScopedMessageBox installedBoxes_{boxes_};
    FakeWaveDeviceCatalog catalog_;
};

TEST_F(OutputSettingsTest, MissingValuesTakeTheirDefaults) {
    Store("Quality", 3);
    Store("WaveOutDevice", 1);
    OutputSettings read = ReadOutputSettings();
    EXPECT_EQ(read.FrequencyDivisor, 1);
    EXPECT_EQ(read.Quality, 3);
    EXPECT_EQ(read.Channels, 2);
    EXPECT_EQ(read.BitsPerSample, 16);
    EXPECT_EQ(read.Buffers, 4);
    EXPECT_EQ(read.FramesPerBuffer, 16);
    EXPECT_EQ(read.PlaybackMethode, 1);
    EXPECT_EQ(read.WaveOutDevice, 1);
    Store("WaveOutDevice", -1);
    EXPECT_EQ(ReadOutputSettings().WaveOutDevice, -1);
}

TEST_F(OutputSettingsTest, SavingWritesEveryValueInOrderAndReenablesTheCheck) {
    Store("CheckSystemPerformance", 0);
    store_.ClearWrittenNames();
    WriteOutputSettings(2, 3, 1, 8, 6, 20, 2, -1);

    EXPECT_EQ(store_.WrittenNames(),
              (std::vector<std::string>{"", "FrequencyDivisor", "Quality", "Channels",
                                        "BitsPerSample", "Buffers", "FramesPerBuffer",
                                        "PlaybackMethode", "WaveOutDevice",
                                        "CheckSystemPerformance"}));
    std::string text;
    ASSERT_EQ(ReadStringSetting(kConfigurationKey, "", text), 1);
    EXPECT_EQ(text, "Configuration for Plyvane MPEG-audio player");
    OutputSettings read = ReadOutputSettings();
    EXPECT_EQ(read.FrequencyDivisor, 2);
    EXPECT_EQ(read.Quality, 3);
    EXPECT_EQ(read.Channels, 1);
    EXPECT_EQ(read.BitsPerSample, 8);
    EXPECT_EQ(read.Buffers, 6);
    EXPECT_EQ(read.FramesPerBuffer, 20);
    EXPECT_EQ(read.PlaybackMethode, 2);
    EXPECT_EQ(read.WaveOutDevice, -1);
    uint32_t check = 0;
    ASSERT_EQ(ReadDwordSetting(kConfigurationKey, "CheckSystemPerformance", check), 1);
    EXPECT_EQ(check, 1u);
}

TEST_F(OutputSettingsTest, AFailingStoreReportsEachWriteAndStillTriesTheRest) {
    int hookCalls = 0;
    SetOutputFormatHook([&](const OutputSettings&) { ++hookCalls; });
    store_.FailKeyCreation(true);
    WriteOutputSettings(OutputSettings());
    auto messages = boxes_.Messages();
    EXPECT_EQ(messages.size(), 10u);
    for (const RecordedMessage& message : messages)
        EXPECT_EQ(message.text, "Cannot create registry entry");
    EXPECT_EQ(hookCalls, 1);
}

TEST_F(OutputSettingsTest, TheHookReceivesTheValuesWritten) {
    OutputSettings seen{};
    SetOutputFormatHook([&](const OutputSettings& written) { seen = written; });
    WriteOutputSettings(4, 1, 1, 8, 3, 5, 3, 0);
    EXPECT_EQ(seen.FrequencyDivisor, 4);
    EXPECT_EQ(seen.Quality, 1);
    EXPECT_EQ(seen.Channels, 1);
    EXPECT_EQ(seen.BitsPerSample, 8);
    EXPECT_EQ(seen.WaveOutDevice, 0);
}

TEST_F(OutputSettingsTest, TheKeyCanBeMoved) {
    SetOutputSettingsKey("Brindlex\\Plyvane\\Other");
    WriteOutputSettings(4, 1, 1, 8, 3, 5, 3, 0);
    EXPECT_EQ(ReadOutputSettings().FrequencyDivisor, 4);
    int32_t divisor = 0;
    EXPECT_EQ(ReadDwordSetting("Brindlex\\Plyvane\\Other", "FrequencyDivisor", divisor), 1);
    EXPECT_EQ(ReadDwordSetting(kConfigurationKey, "FrequencyDivisor", divisor), 0);
    SetOutputSettingsKey(kConfigurationKey);
    EXPECT_EQ(ReadOutputSettings().FrequencyDivisor, 1);
}

TEST_F(OutputSettingsTest, EveryInvalidValueIsRejectedWithItsOwnMessage) {
    struct Case {
        const char* name;
        int32_t value;
        const char* message;
    };
    const Case cases[] = {
        {"PlaybackMethode", 0, "Illegal playback methode selected!"},
        {"PlaybackMethode", 4, "Illegal playback methode selected!"},
        {"FrequencyDivisor", 3, "Illegal playback configuration: 3 FrequencyDivisor"},
        {"FrequencyDivisor", 0, "Illegal playback configuration: 0 FrequencyDivisor"},
        {"FrequencyDivisor", 8, "Illegal playback configuration: 8 FrequencyDivisor"},
        {"Quality", -1, "Illegal playback configuration: -1 Quality"},
        {"Quality", 4, "Illegal playback configuration: 4 Quality"},
        {"Channels", 0, "Illegal playback configuration: 0 Channels"},
        {"Channels", 3, "Illegal playback configuration: 3 Channels"},
        {"BitsPerSample", 12, "Illegal playback configuration: 12 BitsPerSample"},
        {"BitsPerSample", -16, "Illegal playback configuration: -16 BitsPerSample"},
        {"Buffers", 1, "Illegal playback configuration: 1 Buffers"},
        {"Buffers", 129, "Illegal playback configuration: 129 Buffers"},
        {"FramesPerBuffer", 0, "Illegal playback configuration: 0 FramesPerBuffer"},
        {"FramesPerBuffer", 129, "Illegal playback configuration: 129 FramesPerBuffer"},
    };
    for (const Case& c : cases) {
        store_.DeleteValue(kConfigurationKey, c.name);
        Store(c.name, c.value);
        boxes_.Clear();
        EXPECT_FALSE(ValidateOutputSettings(ReadOutputSettings(), catalog_)) << c.message;
        auto messages = boxes_.Messages();
        ASSERT_EQ(messages.size(), 1u) << c.message;
        EXPECT_EQ(messages[0].caption, "Error!");
        EXPECT_EQ(messages[0].text, c.message);
        store_.DeleteValue(kConfigurationKey, c.name);
    }
}

TEST_F(OutputSettingsTest, OnlyTheFirstFailureIsShownInTheFixedOrder) {
    // Everything is wrong: the method is named first, then each in turn.
    OutputSettings bad{3, -1, 0, 0, 0, 0, 0, -1};
    const char* expected[] = {
        "Illegal playback methode selected!",
        "Illegal playback configuration: 3 FrequencyDivisor",
        "Illegal playback configuration: -1 Quality",
        "Illegal playback configuration: 0 Channels",
        "Illegal playback configuration: 0 BitsPerSample",
        "Illegal playback configuration: 0 Buffers",
        "Illegal playback configuration: 0 FramesPerBuffer",
    };
    const OutputSettings good;
    int32_t OutputSettings::*fixes[] = {
        &OutputSettings::PlaybackMethode, &OutputSettings::FrequencyDivisor,
        &OutputSettings::Quality,         &OutputSettings::Channels,
        &OutputSettings::BitsPerSample,   &OutputSettings::Buffers,
        &OutputSettings::FramesPerBuffer,
    };
    for (int step = 0; step < 7; ++step) {
        boxes_.Clear();
        int owner = 0;
        EXPECT_FALSE(ValidateOutputSettings(bad, catalog_, &owner));
        auto messages = boxes_.Messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, expected[step]);
        EXPECT_EQ(messages[0].owner, &owner);
        bad.*fixes[step] = good.*fixes[step];
    }
    boxes_.Clear();
    EXPECT_TRUE(ValidateOutputSettings(bad, catalog_));
    EXPECT_EQ(boxes_.Count(), 0u);
}

TEST_F(OutputSettingsTest, TheLimitsThemselvesAreAccepted) {
    // Quality 0: reference quality.
    for (OutputSettings edge : {OutputSettings{4, 0, 1, 8, 2, 1, 3, -1},
                                OutputSettings{2, 3, 2, 16, 128, 128, 2, 7}}) {
        EXPECT_TRUE(ValidateOutputSettings(edge, catalog_));
    }
    EXPECT_EQ(boxes_.Count(), 0u);
}

TEST_F(OutputSettingsTest, NoDeviceAtAllIsTheLastCheck) {
    FakeWaveDeviceCatalog empty;
    EXPECT_FALSE(ValidateOutputSettings(OutputSettings(), empty));
    ASSERT_EQ(boxes_.Count(), 1u);
    EXPECT_EQ(boxes_.Messages()[0].text,
              "No wave audio device available. Please check your systemconfiguration or try "
              "again later.");
    boxes_.Clear();
    OutputSettings bad;
    bad.Buffers = 1;
    EXPECT_FALSE(ValidateOutputSettings(bad, empty));
    EXPECT_EQ(boxes_.Messages()[0].text, "Illegal playback configuration: 1 Buffers");
}

}  // namespace
}  // namespace plyvane
