// Message boxes of a console program: the caption and the text on the
// standard error; a question is answered with its first button.
#pragma once

#include <cstdio>

#include "message_box.h"

namespace plyvane::cli {

class ConsoleMessageBox : public MessageBoxPort {
public:
    MessageAnswer Show(WindowHandle, const char* caption, const char* text, MessageButtons buttons,
                       MessageIcon) override {
        std::fprintf(stderr, "%s: %s\n", caption, text);
        std::fflush(stderr);
        return buttons == MessageButtons::kYesNo || buttons == MessageButtons::kYesNoCancel ? MessageAnswer::kYes
                                                                                            : MessageAnswer::kOk;
    }
};

}  // namespace plyvane::cli
