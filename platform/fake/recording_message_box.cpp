#include "recording_message_box.h"

namespace plyvane {

MessageAnswer RecordingMessageBox::Show(WindowHandle owner, const char* caption,
                                        const char* text, MessageButtons buttons,
                                        MessageIcon icon) {
    std::function<void()> action;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back({owner, caption, text, buttons, icon});
        action = whileShown_;
    }
    if (action) action();
    std::lock_guard<std::mutex> lock(mutex_);
    if (!answers_.empty()) {
        MessageAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    bool yesFirst = buttons == MessageButtons::kYesNo || buttons == MessageButtons::kYesNoCancel;
    return yesFirst ? MessageAnswer::kYes : MessageAnswer::kOk;
}

void RecordingMessageBox::Answer(MessageAnswer answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.push_back(answer);
}

void RecordingMessageBox::WhileShown(std::function<void()> action) {
    std::lock_guard<std::mutex> lock(mutex_);
    whileShown_ = std::move(action);
}

std::vector<RecordedMessage> RecordingMessageBox::Messages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
}

std::size_t RecordingMessageBox::Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_.size();
}

void RecordingMessageBox::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.clear();
    answers_.clear();
}

}  // namespace plyvane
