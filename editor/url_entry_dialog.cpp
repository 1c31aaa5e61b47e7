#include "url_entry_dialog.h"

#include <vector>

#include "message_box.h"
#include "resource_ids.h"
#include "url_entry.h"

namespace plyvane {

namespace {
std::string FieldText(HWND field) {
    const int length = ::GetWindowTextLengthA(field);
    if (length <= 0) return std::string();
    std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(field, text.data(), length + 1);
    return std::string(text.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}
}  // namespace

CUrlEntryDialog::CUrlEntryDialog(std::string initialUrl)
    : Dialog(IDD_URL_ENTRY), url_(std::move(initialUrl)) {}

BOOL CUrlEntryDialog::OnInitDialog() {
    ::SetDlgItemTextA(Handle(), IDC_URL_EDIT, url_.c_str());
    ::SendDlgItemMessageA(Handle(), IDC_URL_EDIT, EM_SETMODIFY, FALSE, 0);
    return TRUE;
}

void CUrlEntryDialog::OnCommand(int id, int code, HWND control) {
    if (id == IDOK) {
        OnOk();
        return;
    }
    Dialog::OnCommand(id, code, control);
}

void CUrlEntryDialog::OnOk() {
    HWND field = Item(IDC_URL_EDIT);
    const bool modified = ::SendMessageA(field, EM_GETMODIFY, 0, 0) != 0;
    std::optional<std::string> url = TakeEnteredUrl(url_, FieldText(field), modified);
    if (!url) {
        ShowMessage(Handle(), kUrlCheckCaption, kUrlCheckMessage, MessageButtons::kOk, MessageIcon::kNone);
        ::SetFocus(field);
        return;
    }
    url_ = std::move(*url);
    EndDialog(IDOK);
}

}  // namespace plyvane
