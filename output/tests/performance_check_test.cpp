// The performance warning: when it appears, what it says, and what each
// answer does to this start and to later ones.
#include <gtest/gtest.h>

#include "memory_settings_store.h"
#include "output_settings.h"
#include "performance_check.h"
#include "recording_message_box.h"
#include "settings_store.h"

namespace plyvane {
namespace {

class PerformanceCheckTest : public ::testing::Test {
protected:
    void SetUp() override { SetOutputSettingsKey(kConfigurationKey); }
    uint32_t StoredCheck() {
        uint32_t check = 99;
        ReadDwordSetting(kConfigurationKey, "CheckSystemPerformance", check);
        return check;
    }

    MemorySettingsStore store_;
    RecordingMessageBox boxes_;
    ScopedSettingsStore installedStore_{store_};
    ScopedMessageBox installedBoxes_{boxes_};
};

TEST_F(PerformanceCheckTest, AFastEnoughSystemIsNotAsked) {
    EXPECT_EQ(RunPerformanceCheck(nullptr, 417, 416), PerformanceVerdict::kGoOn);
    EXPECT_EQ(RunPerformanceCheck(nullptr, 417, 0), PerformanceVerdict::kGoOn);
    EXPECT_EQ(boxes_.Count(), 0u);
}

TEST_F(PerformanceCheckTest, ExactlyTheBlockDurationIsTooSlowAndTheTextSaysSo) {
    int owner = 0;
    EXPECT_EQ(RunPerformanceCheck(&owner, 417, 417), PerformanceVerdict::kGoOn);
    auto messages = boxes_.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].owner, &owner);
    EXPECT_EQ(messages[0].caption, "Plyvane performance");
    EXPECT_EQ(messages[0].buttons, MessageButtons::kYesNoCancel);
    EXPECT_EQ(messages[0].text,
              "Our preformance test result shows that your system is not\n"
              "fast enough to play audio at the given playback parameters.\n"
              "We need less than 417ms processing time per audioblock,\n"
              "but your system needs 417ms per audioblock!\n\n"
              "Your system will not react till the whole audio stream is decoded!\n"
              "This can cause disortion during audio playback. If so try to\n"
              "reduce playback quality and/or playback frequency used.\n"
              "If you want to cancel playback press the CANCEL button.\n\n\n"
              "Should this message be displayed again?");
    EXPECT_EQ(StoredCheck(), 99u);  // Yes changes nothing
}

TEST_F(PerformanceCheckTest, NoSilencesLaterStartsUntilTheConfigurationIsSaved) {
    boxes_.Answer(MessageAnswer::kNo);
    EXPECT_EQ(RunPerformanceCheck(nullptr, 100, 250), PerformanceVerdict::kGoOn);
    EXPECT_EQ(StoredCheck(), 0u);
    EXPECT_EQ(RunPerformanceCheck(nullptr, 100, 250), PerformanceVerdict::kGoOn);
    EXPECT_EQ(boxes_.Count(), 1u);

    WriteOutputSettings(OutputSettings());
    EXPECT_EQ(RunPerformanceCheck(nullptr, 100, 250), PerformanceVerdict::kGoOn);
    EXPECT_EQ(boxes_.Count(), 2u);
}

TEST_F(PerformanceCheckTest, CancelStopsThisStartOnly) {
    boxes_.Answer(MessageAnswer::kCancel);
    EXPECT_EQ(RunPerformanceCheck(nullptr, 100, 100), PerformanceVerdict::kCancel);
    EXPECT_EQ(StoredCheck(), 99u);
    EXPECT_EQ(RunPerformanceCheck(nullptr, 100, 100), PerformanceVerdict::kGoOn);
}

TEST_F(PerformanceCheckTest, AnyStoredValueButZeroKeepsTheWarningOn) {
    ASSERT_EQ(WriteDwordSetting(kConfigurationKey, "CheckSystemPerformance", 5), 1);
    RunPerformanceCheck(nullptr, 10, 20);
    EXPECT_EQ(boxes_.Count(), 1u);
}

TEST(MeasuredTimePerBlock, TheFirstBlockIsSpreadOverTheOthers) {
    EXPECT_EQ(MeasuredTimePerBlock(300, 4), 100u);
    EXPECT_EQ(MeasuredTimePerBlock(301, 4), 100u);  // unsigned integer division
    EXPECT_EQ(MeasuredTimePerBlock(90, 2), 90u);    // two blocks: the whole sum
    EXPECT_EQ(MeasuredTimePerBlock(1270, 128), 10u);
    EXPECT_EQ(MeasuredTimePerBlock(50, 1), 50u);    // never divides by zero
    EXPECT_EQ(MeasuredTimePerBlock(50, 0), 50u);
}

}  // namespace
}  // namespace plyvane
