// The message boxes: captions, icons, formatting and the answers callers get.
#include <gtest/gtest.h>

#include <string>

#include "message_box.h"
#include "recording_message_box.h"

namespace plyvane {
namespace {

class MessageBoxes : public ::testing::Test {
protected:
    RecordingMessageBox boxes_;
    ScopedMessageBox installed_{boxes_};
};

TEST_F(MessageBoxes, EachKindShowsItsCaptionIconAndButtons) {
    int owner = 0;
    ShowError(&owner, "File %s does not exist!", "a.mp3");
    EXPECT_EQ(ShowWarning(&owner, "Plyvane audio playback", "%s", "in use"), MessageAnswer::kOk);
    EXPECT_EQ(AskQuestion(nullptr, "Playlist abort", MessageButtons::kYesNo, "Cancel?"),
              MessageAnswer::kYes);
    EXPECT_EQ(ShowMessage(nullptr, "Open audio file", "MPEG stream init faild!",
                          MessageButtons::kOk, MessageIcon::kNone),
              MessageAnswer::kOk);

    auto messages = boxes_.Messages();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].owner, &owner);
    EXPECT_EQ(messages[0].caption, "Error!");
    EXPECT_EQ(messages[0].text, "File a.mp3 does not exist!");
    EXPECT_EQ(messages[0].icon, MessageIcon::kError);
    EXPECT_EQ(messages[0].buttons, MessageButtons::kOk);
    EXPECT_EQ(messages[1].caption, "Plyvane audio playback");
    EXPECT_EQ(messages[1].icon, MessageIcon::kWarning);
    EXPECT_EQ(messages[2].icon, MessageIcon::kQuestion);
    EXPECT_EQ(messages[2].buttons, MessageButtons::kYesNo);
    EXPECT_EQ(messages[3].text, "MPEG stream init faild!");
}

TEST_F(MessageBoxes, PreparedAnswersAreGivenInOrder) {
    boxes_.Answer(MessageAnswer::kNo);
    boxes_.Answer(MessageAnswer::kCancel);
    EXPECT_EQ(AskWarning(nullptr, "Plyvane performance", MessageButtons::kYesNoCancel, "slow"),
              MessageAnswer::kNo);
    EXPECT_EQ(AskWarning(nullptr, "Plyvane performance", MessageButtons::kYesNoCancel, "slow"),
              MessageAnswer::kCancel);
    EXPECT_EQ(AskWarning(nullptr, "Plyvane performance", MessageButtons::kYesNoCancel, "slow"),
              MessageAnswer::kYes);
}

TEST_F(MessageBoxes, LongTextsAreCutNotOverrun) {
    const std::string huge(10000, 'n');
    ShowError(nullptr, "%s and more", huge.c_str());
    auto messages = boxes_.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_GE(messages[0].text.size(), 1000u);
    EXPECT_LT(messages[0].text.size(), huge.size());
    EXPECT_EQ(messages[0].text.find_first_not_of('n'), std::string::npos);
}

TEST(PlatformMessageBox, IsUsedWhenNothingIsInstalled) {
    SetMessageBoxPort(nullptr);
    EXPECT_EQ(&CurrentMessageBox(), &PlatformMessageBox());
    RecordingMessageBox boxes;
    {
        ScopedMessageBox installed(boxes);
        EXPECT_EQ(&CurrentMessageBox(), &boxes);
    }
    EXPECT_EQ(&CurrentMessageBox(), &PlatformMessageBox());
}

}  // namespace
}  // namespace plyvane
