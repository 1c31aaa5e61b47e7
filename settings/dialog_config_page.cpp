#include "dialog_config_page.h"

#include "resource_ids.h"

namespace plyvane {

CDialogConfig::CDialogConfig(CommandSink post)
    : PropertyPage(IDD_PAGE_CONTROLS, "Controls"), post_(std::move(post)) {}

BOOL CDialogConfig::OnInitDialog() {
    for (const char* name : kDialogSizeNames) {
        ::SendDlgItemMessageA(Handle(), IDC_DIALOG_SIZE, CB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(name));
    }
    ShowSettings();
    return TRUE;
}

void CDialogConfig::ShowSettings() {
    settings_ = ReadControlsSettings();
    changed_ = false;
    ::CheckDlgButton(Handle(), IDC_TASKBAR_CONTROLS,
                     settings_.taskBar ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(Handle(), IDC_SCROLL_CAPTION,
                     settings_.scrollCaption ? BST_CHECKED : BST_UNCHECKED);
    ::SendDlgItemMessageA(Handle(), IDC_DIALOG_SIZE, CB_SETCURSEL,
                          static_cast<WPARAM>(settings_.dialogState), 0);
}

void CDialogConfig::MarkChanged() {
    changed_ = true;
    if (Initialised()) SetModified(true);
}

void CDialogConfig::OnCommand(int id, int code, HWND control) {
    (void)control;
    if ((id == IDC_TASKBAR_CONTROLS || id == IDC_SCROLL_CAPTION) && code == BN_CLICKED) {
        bool checked = ::IsDlgButtonChecked(Handle(), id) == BST_CHECKED;
        (id == IDC_TASKBAR_CONTROLS ? settings_.taskBar : settings_.scrollCaption) = checked;
        MarkChanged();
    } else if (id == IDC_DIALOG_SIZE && code == CBN_SELCHANGE) {
        LRESULT entry = ::SendDlgItemMessageA(Handle(), IDC_DIALOG_SIZE, CB_GETCURSEL, 0, 0);
        if (entry == CB_ERR) return;
        settings_.dialogState = static_cast<int32_t>(entry);
        MarkChanged();
    }
}

bool CDialogConfig::OnApply() {
    if (changed_) {
        ApplyControlsSettings(settings_, post_);
        changed_ = false;
    }
    return true;
}

void CDialogConfig::OnReset() {
    ShowSettings();
}

}  // namespace plyvane
