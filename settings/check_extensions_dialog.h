// CCheckExtensionsDialog: the file-type check of every start (dialog 176).
// Its set-up decides whether it is seen at all: with nothing to do it closes
// unseen, with nothing registered yet it registers without asking; otherwise
// it asks "Should Plyvane be associated with these files?". Its check box
// "Do not display this message again." is stored at once.
#pragma once

#include "dialog.h"
#include "file_type_check.h"

namespace plyvane {

class CCheckExtensionsDialog : public Dialog {
public:
    explicit CCheckExtensionsDialog(FileTypeCheck& check);

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;

private:
    FileTypeCheck& check_;
};

// The check as start-up runs it, for the program at `programPath` (the
// module path), against the registry: the classes root, and the current
// user's Software\Classes when the classes root refuses. The result is the
// dialog's (0 unseen, IDOK registered, IDCANCEL not); start-up ignores it.
INT_PTR RunFileTypeCheck(HWND owner, const char* programPath);

}  // namespace plyvane
