// The message-box port: every error, warning and question the program shows
// goes through here (MessageBoxA on Windows, standard error in the native
// tools, a recorder in tests).
#pragma once

namespace plyvane {

// An HWND on Windows; null when there is no owner window.
using WindowHandle = void*;

enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class MessageIcon { kNone, kError, kWarning, kQuestion, kInformation };

// The button the user pressed; the values are Windows' IDOK, IDCANCEL, IDYES
// and IDNO.
enum class MessageAnswer { kOk = 1, kCancel = 2, kYes = 6, kNo = 7 };

// Caption of every error box.
inline constexpr char kErrorCaption[] = "Error!";

class MessageBoxPort {
public:
    virtual ~MessageBoxPort() = default;
    // Brings the owner (if any) to the foreground, shows the box task-modal and
    // returns the answer. An adapter that cannot ask answers with the first
    // button (OK or Yes).
    virtual MessageAnswer Show(WindowHandle owner, const char* caption, const char* text,
                               MessageButtons buttons, MessageIcon icon) = 0;
};

// Installs the port the functions below use; null restores the platform's own.
// The port must outlive its installation. Tests install a recorder.
void SetMessageBoxPort(MessageBoxPort* port);
MessageBoxPort& CurrentMessageBox();
MessageBoxPort& PlatformMessageBox();

// Installs a port for the life of a scope, then the platform's own again.
class ScopedMessageBox {
public:
    explicit ScopedMessageBox(MessageBoxPort& port) { SetMessageBoxPort(&port); }
    ~ScopedMessageBox() { SetMessageBoxPort(nullptr); }
    ScopedMessageBox(const ScopedMessageBox&) = delete;
    ScopedMessageBox& operator=(const ScopedMessageBox&) = delete;
};

#if defined(__clang__)
#define PLYVANE_PRINTF(format_index, first_arg) \
    __attribute__((format(printf, format_index, first_arg)))
#elif defined(__GNUC__)
#define PLYVANE_PRINTF(format_index, first_arg) \
    __attribute__((format(gnu_printf, format_index, first_arg)))
#else
#define PLYVANE_PRINTF(format_index, first_arg)
#endif

// printf-style texts are formatted into a bounded buffer of the caller's
// thread (longer texts are cut), so boxes may come from any thread.

// The error box: caption "Error!", error icon, OK.
void ShowError(WindowHandle owner, const char* format, ...) PLYVANE_PRINTF(2, 3);
// The warning box: the given caption, warning icon, OK.
MessageAnswer ShowWarning(WindowHandle owner, const char* caption, const char* format, ...)
    PLYVANE_PRINTF(3, 4);
// A warning with other buttons (the performance warning asks Yes/No/Cancel).
MessageAnswer AskWarning(WindowHandle owner, const char* caption, MessageButtons buttons,
                         const char* format, ...) PLYVANE_PRINTF(4, 5);
// A question box (Yes/No); only Yes acts.
MessageAnswer AskQuestion(WindowHandle owner, const char* caption, MessageButtons buttons,
                          const char* format, ...) PLYVANE_PRINTF(4, 5);
// A plain box without formatting (for example "MPEG stream init faild!", OK).
MessageAnswer ShowMessage(WindowHandle owner, const char* caption, const char* text,
                          MessageButtons buttons, MessageIcon icon);

}  // namespace plyvane
