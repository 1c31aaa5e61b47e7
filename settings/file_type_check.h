// The check at start-up whether the shell opens the program's six file types
// with this program, and their registration. The dialog that asks the user is
// a thin shell around this (check_extensions_dialog.h).
#pragma once

#include <string>
#include <utility>

#include "file_types.h"
#include "message_box.h"
#include "shell_classes.h"

namespace plyvane {

// How a type key stands against this program.
enum class TypeKeyState {
    kMissing,
    kOurs,        // its commands and icon are this program's, quoted
    kOursLegacy,  // this program's, in the unquoted form of earlier versions
    kForeign,     // another program, or another copy of this one
};

struct FileTypeFindings {
    bool missing[kRegisteredExtensionCount] = {};
    bool foreign[kRegisteredExtensionCount] = {};  // points at another type
    TypeKeyState types[2] = {TypeKeyState::kMissing, TypeKeyState::kMissing};

    bool AllMissing() const;
};

FileTypeFindings InspectFileTypes(ShellClasses& classes, const std::string& programPath);

enum class FileTypeAction {
    kNothing,          // all six are ours
    kRegisterQuietly,  // nothing is registered yet, or only our own old form
    kAsk,
};

FileTypeAction DecideFileTypeAction(const FileTypeFindings& findings);

struct RegistrationResult {
    int written = 0;
    int failed = 0;
    bool Complete() const { return failed == 0 && written > 0; }
};

// Points the six extensions at our types and writes every type key tree that
// is not already ours (a foreign or old one is overwritten, so Yes takes the
// types back from a moved copy too). A key that can't be written is skipped
// and counted.
RegistrationResult RegisterFileTypes(ShellClasses& classes, const FileTypeFindings& findings,
                                     const std::string& programPath);

// "CheckExtentions": absent or non-zero checks at every start; 0 never.
bool FileTypeCheckWanted();
// The box "Do not display this message again.": checked stores 0.
void SetDoNotAskAgain(bool checked);

inline constexpr char kFileTypeCheckCaption[] = "Plyvane Configuration check";
inline constexpr char kRegistrationFailed[] =
    "Plyvane could not associate itself with the file types: the system refused to store "
    "the registration.";

// The check as the dialog runs it. Results are the dialog's: 0 when it closes
// before it is seen, 1 (OK) when the types were registered, 2 (Cancel) when
// the user said No or the registration failed.
class FileTypeCheck {
public:
    static constexpr int kClosedUnseen = 0;
    static constexpr int kRegistered = 1;
    static constexpr int kNotRegistered = 2;

    FileTypeCheck(ClassesTree& classesRoot, ClassesTree& userClasses, std::string programPath)
        : classes_(classesRoot, userClasses), programPath_(std::move(programPath)) {}

    // The set-up step: true when the question must be shown; otherwise
    // `result` is what the dialog ends with. A registration without asking
    // that fails asks after all, so the user learns of it and may opt out.
    bool NeedsQuestion(int& result);
    // "Yes": registers; a failure is shown in the error box over `owner`.
    int AnswerYes(WindowHandle owner);

    bool RootRefused() const { return classes_.RootRefused(); }

private:
    ShellClasses classes_;
    std::string programPath_;
    FileTypeFindings findings_;
};

}  // namespace plyvane
