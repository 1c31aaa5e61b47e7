// The message-box port on Windows: MessageBoxA over the owner window, which is
// brought to the foreground first so the box is not hidden behind others.
#include <windows.h>

#include "message_box.h"

namespace plyvane {

namespace {
UINT ButtonStyle(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::kOk: return MB_OK;
    case MessageButtons::kOkCancel: return MB_OKCANCEL;
    case MessageButtons::kYesNo: return MB_YESNO;
    case MessageButtons::kYesNoCancel: return MB_YESNOCANCEL;
    }
    return MB_OK;
}

UINT IconStyle(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::kNone: return 0;
    // Error and warning boxes are task-modal: they block every window of the
    // program, whichever thread reports.
    case MessageIcon::kError: return MB_ICONERROR | MB_TASKMODAL;
    case MessageIcon::kWarning: return MB_ICONWARNING | MB_TASKMODAL;
    case MessageIcon::kQuestion: return MB_ICONQUESTION;
    case MessageIcon::kInformation: return MB_ICONINFORMATION;
    }
    return 0;
}

class Win32MessageBox : public MessageBoxPort {
public:
    MessageAnswer Show(WindowHandle owner, const char* caption, const char* text,
                       MessageButtons buttons, MessageIcon icon) override {
        HWND window = static_cast<HWND>(owner);
        if (window != nullptr) SetForegroundWindow(window);
        int answer = MessageBoxA(window, text, caption, ButtonStyle(buttons) | IconStyle(icon));
        switch (answer) {
        case IDYES: return MessageAnswer::kYes;
        case IDNO: return MessageAnswer::kNo;
        case IDCANCEL: return MessageAnswer::kCancel;
        default: return MessageAnswer::kOk;
        }
    }
};
}  // namespace

MessageBoxPort& PlatformMessageBox() {
    static Win32MessageBox port;
    return port;
}

}  // namespace plyvane
