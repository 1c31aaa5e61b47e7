// CUrlEntryDialog: "Internet streaming", the address of a stream to play.
// It opens with an initial address (the caller's "RecentURL") and hands
// back on OK the address TakeEnteredUrl accepts; an address of another
// scheme is refused with the URL check and the dialog stays open.
#pragma once

#include <string>

#include "dialog.h"

namespace plyvane {

class CUrlEntryDialog : public Dialog {
public:
    explicit CUrlEntryDialog(std::string initialUrl);

    // IDOK with Url() holding the address, or IDCANCEL (Url() unchanged).
    INT_PTR Show(HWND owner) { return DoModal(owner); }
    const std::string& Url() const { return url_; }

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;

private:
    void OnOk();

    std::string url_;
};

}  // namespace plyvane
