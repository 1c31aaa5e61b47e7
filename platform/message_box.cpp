// The process-wide message boxes over the installed port.
#include "message_box.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace plyvane {

namespace {
std::atomic<MessageBoxPort*> installedPort{nullptr};

// Long enough for the longest text of the program (the performance warning
// with its two numbers); a longer text is cut, never overflows.
constexpr std::size_t kMessageCapacity = 2048;

struct Formatted {
    char text[kMessageCapacity];
    Formatted(const char* format, va_list arguments) {
        if (format == nullptr) {
            text[0] = '\0';
            return;
        }
        int written = std::vsnprintf(text, sizeof text, format, arguments);
        if (written < 0) text[0] = '\0';
    }
};
}  // namespace

void SetMessageBoxPort(MessageBoxPort* port) { installedPort.store(port); }

MessageBoxPort& CurrentMessageBox() {
    MessageBoxPort* port = installedPort.load();
    return port != nullptr ? *port : PlatformMessageBox();
}

void ShowError(WindowHandle owner, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    Formatted message(format, arguments);
    va_end(arguments);
    CurrentMessageBox().Show(owner, kErrorCaption, message.text, MessageButtons::kOk,
                             MessageIcon::kError);
}

MessageAnswer ShowWarning(WindowHandle owner, const char* caption, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    Formatted message(format, arguments);
    va_end(arguments);
    return CurrentMessageBox().Show(owner, caption != nullptr ? caption : "", message.text,
                                    MessageButtons::kOk, MessageIcon::kWarning);
}

MessageAnswer AskWarning(WindowHandle owner, const char* caption, MessageButtons buttons,
                         const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    Formatted message(format, arguments);
    va_end(arguments);
    return CurrentMessageBox().Show(owner, caption != nullptr ? caption : "", message.text,
                                    buttons, MessageIcon::kWarning);
}

MessageAnswer AskQuestion(WindowHandle owner, const char* caption, MessageButtons buttons,
                          const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    Formatted message(format, arguments);
    va_end(arguments);
    return CurrentMessageBox().Show(owner, caption != nullptr ? caption : "", message.text,
                                    buttons, MessageIcon::kQuestion);
}

MessageAnswer ShowMessage(WindowHandle owner, const char* caption, const char* text,
                          MessageButtons buttons, MessageIcon icon) {
    return CurrentMessageBox().Show(owner, caption != nullptr ? caption : "",
                                    text != nullptr ? text : "", buttons, icon);
}

}  // namespace plyvane
