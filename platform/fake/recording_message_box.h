// A message-box port for tests: records every box and answers from a queue
// of prepared answers (the first button when the queue is empty). An action
// can run while a box is up, as a real box's message loop would deliver a
// posted command.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "message_box.h"

namespace plyvane {

struct RecordedMessage {
    WindowHandle owner = nullptr;
    std::string caption;
    std::string text;
    MessageButtons buttons = MessageButtons::kOk;
    MessageIcon icon = MessageIcon::kNone;
};

class RecordingMessageBox : public MessageBoxPort {
public:
    MessageAnswer Show(WindowHandle owner, const char* caption, const char* text,
                       MessageButtons buttons, MessageIcon icon) override;

    // The answers to give, in order.
    void Answer(MessageAnswer answer);
    // Runs inside every Show until replaced (an empty function removes it).
    void WhileShown(std::function<void()> action);
    std::vector<RecordedMessage> Messages() const;
    std::size_t Count() const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::vector<RecordedMessage> messages_;
    std::deque<MessageAnswer> answers_;
    std::function<void()> whileShown_;
};

}  // namespace plyvane
