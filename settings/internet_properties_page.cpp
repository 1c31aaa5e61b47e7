#include "internet_properties_page.h"

#include <vector>

#include "resource_ids.h"

namespace plyvane {

namespace {
constexpr int kTextFields[] = {IDC_PROXY, IDC_PROXY_PORT, IDC_USER, IDC_PASSWORD};
}  // namespace

CInternetProperties::CInternetProperties() : PropertyPage(IDD_PAGE_INTERNET, "Internet") {}

BOOL CInternetProperties::OnInitDialog() {
    for (int id : kTextFields) {
        ::SendDlgItemMessageA(Handle(), id, EM_LIMITTEXT, kInternetFieldLimit, 0);
    }
    ShowSettings();
    return TRUE;
}

void CInternetProperties::ShowSettings() {
    InternetSettings settings = ReadInternetSettings();
    filling_ = true;
    ::SetDlgItemTextA(Handle(), IDC_PROXY, settings.proxy.c_str());
    ::SetDlgItemTextA(Handle(), IDC_PROXY_PORT, settings.port.c_str());
    ::SetDlgItemTextA(Handle(), IDC_USER, settings.user.c_str());
    ::SetDlgItemTextA(Handle(), IDC_PASSWORD, settings.password.c_str());
    filling_ = false;
    ::CheckRadioButton(Handle(), IDC_DOWNLOAD_ONLY, IDC_DOWNLOAD_AND_SAVE,
                       settings.playAndSave ? IDC_DOWNLOAD_AND_SAVE : IDC_DOWNLOAD_ONLY);
    ::CheckDlgButton(Handle(), IDC_SKIP_FILE_SCAN,
                     settings.skipFileScan ? BST_CHECKED : BST_UNCHECKED);
    changes_ = InternetChanges();
}

std::string CInternetProperties::FieldText(int id) const {
    HWND field = Item(id);
    int length = ::GetWindowTextLengthA(field);
    std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    ::GetWindowTextA(field, text.data(), static_cast<int>(text.size()));
    return text.data();
}

void CInternetProperties::OnCommand(int id, int code, HWND control) {
    (void)control;
    if (code == EN_CHANGE) {
        if (filling_) return;  // only the user's edits count
        if (id == IDC_PROXY || id == IDC_PROXY_PORT) {
            changes_.proxy = true;
        } else if (id == IDC_USER || id == IDC_PASSWORD) {
            changes_.account = true;
        } else {
            return;
        }
    } else if (code == BN_CLICKED && (id == IDC_DOWNLOAD_ONLY || id == IDC_DOWNLOAD_AND_SAVE)) {
        ::CheckRadioButton(Handle(), IDC_DOWNLOAD_ONLY, IDC_DOWNLOAD_AND_SAVE, id);
        changes_.download = true;
    } else {
        return;  // the scan box is read at every apply
    }
    if (Initialised()) SetModified(true);
}

bool CInternetProperties::OnApply() {
    InternetSettings settings;
    settings.proxy = FieldText(IDC_PROXY);
    settings.port = FieldText(IDC_PROXY_PORT);
    settings.user = FieldText(IDC_USER);
    settings.password = FieldText(IDC_PASSWORD);
    settings.playAndSave = ::IsDlgButtonChecked(Handle(), IDC_DOWNLOAD_AND_SAVE) == BST_CHECKED;
    settings.skipFileScan = ::IsDlgButtonChecked(Handle(), IDC_SKIP_FILE_SCAN) == BST_CHECKED;
    ApplyInternetSettings(settings, changes_);
    return true;
}

void CInternetProperties::OnReset() {
    ShowSettings();
}

}  // namespace plyvane
