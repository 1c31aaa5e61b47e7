#include "property_sheet.h"

#include <commctrl.h>
#include <prsht.h>

namespace plyvane {

PropertyPage::PropertyPage(int templateId, const char* title)
    : Dialog(templateId), title_(title != nullptr ? title : "") {}

HWND PropertyPage::SheetHandle() const {
    return Handle() != nullptr ? ::GetParent(Handle()) : nullptr;
}

void PropertyPage::SetModified(bool changed) {
    HWND sheet = SheetHandle();
    if (sheet == nullptr) return;
    ::SendMessageA(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED,
                   reinterpret_cast<WPARAM>(Handle()), 0);
}

LRESULT PropertyPage::QuerySiblings(WPARAM code) {
    HWND sheet = SheetHandle();
    if (sheet == nullptr) return 0;
    return ::SendMessageA(sheet, PSM_QUERYSIBLINGS, code, reinterpret_cast<LPARAM>(this));
}

LRESULT PropertyPage::OnNotify(NMHDR* header) {
    switch (header->code) {
    case PSN_SETACTIVE:
        OnSetActive();
        return 0;
    case PSN_KILLACTIVE:
        return FALSE;  // leaving the page is always allowed
    case PSN_APPLY: {
        if (!OnApply()) return PSNRET_INVALID_NOCHANGEPAGE;
        // lParam is set when the apply comes from OK rather than Apply.
        if (sheet_ != nullptr) sheet_->Applied(reinterpret_cast<PSHNOTIFY*>(header)->lParam != 0);
        return PSNRET_NOERROR;
    }
    case PSN_RESET:
        OnReset();
        return 0;
    default:
        return 0;
    }
}

bool PropertyPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != PSM_QUERYSIBLINGS) return false;
    // Our pages send themselves as lParam; a query from elsewhere has no sender.
    PropertyPage* sender = nullptr;
    if (sheet_ != nullptr) {
        for (PropertyPage* page : sheet_->pages_) {
            if (reinterpret_cast<LPARAM>(page) == lParam) sender = page;
        }
    }
    result = OnQuerySiblings(wParam, sender);
    return true;
}

INT_PTR CALLBACK PropertyPage::PageProc(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
    if (message != WM_INITDIALOG) return DialogProc(window, message, wParam, lParam);
    // The sheet passes its copy of the page description; ours is in lParam.
    auto* page = reinterpret_cast<PropertyPage*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
    INT_PTR result = DialogProc(window, message, wParam, reinterpret_cast<LPARAM>(page));
    page->initialised_ = true;
    return result;
}

void PropertySheet::AddPage(PropertyPage& page) {
    page.sheet_ = this;
    pages_.push_back(&page);
}

INT_PTR PropertySheet::DoModal(HWND owner) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    std::vector<PROPSHEETPAGEA> descriptions;
    for (PropertyPage* page : pages_) {
        page->initialised_ = false;
        PROPSHEETPAGEA description{};
        description.dwSize = sizeof description;
        description.dwFlags = PSP_USETITLE;
        description.hInstance = instance;
        description.pszTemplate = MAKEINTRESOURCEA(page->TemplateId());
        description.pszTitle = page->title_.c_str();
        description.pfnDlgProc = &PropertyPage::PageProc;
        description.lParam = reinterpret_cast<LPARAM>(page);
        descriptions.push_back(description);
    }
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOCONTEXTHELP;
    header.hwndParent = owner;
    header.hInstance = instance;
    header.pszCaption = caption_.c_str();
    header.nPages = static_cast<UINT>(descriptions.size());
    header.nStartPage = 0;
    header.ppsp = descriptions.data();
    endedWithOk_ = false;
    INT_PTR shown = ::PropertySheetA(&header);
    for (PropertyPage* page : pages_) page->initialised_ = false;
    return shown >= 0 && endedWithOk_ ? IDOK : IDCANCEL;
}

}  // namespace plyvane
