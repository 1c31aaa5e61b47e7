// The message-box port of the native tools: a box becomes a line on standard
// error. Nobody can answer, so a question takes its first button.
#include <cstdio>

#include "message_box.h"

namespace plyvane {

namespace {
class StderrMessageBox : public MessageBoxPort {
public:
    MessageAnswer Show(WindowHandle, const char* caption, const char* text,
                       MessageButtons buttons, MessageIcon) override {
        std::fprintf(stderr, "%s: %s\n", caption, text);
        std::fflush(stderr);
        switch (buttons) {
        case MessageButtons::kYesNo:
        case MessageButtons::kYesNoCancel: return MessageAnswer::kYes;
        case MessageButtons::kOk:
        case MessageButtons::kOkCancel: break;
        }
        return MessageAnswer::kOk;
    }
};
}  // namespace

MessageBoxPort& PlatformMessageBox() {
    static StderrMessageBox port;
    return port;
}

}  // namespace plyvane
