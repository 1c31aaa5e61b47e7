#include "progress_window.h"

#include <commctrl.h>

#include "progress_steps.h"
#include "resource_ids.h"

namespace plyvane {

CProgressWindow::CProgressWindow(int captionId)
    : Dialog(IDD_PROGRESS), captionId_(captionId != 0 ? captionId : IDS_PROGRESS_INDICATOR) {}

CProgressWindow::~CProgressWindow() { Close(); }

bool CProgressWindow::Create(HWND owner) {
    owner_ = owner;
    if (owner != nullptr && ::IsWindow(owner) && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        ownerDisabled_ = true;
    }
    cancelled_ = false;
    if (CreateModeless(owner) != nullptr) return true;
    if (ownerDisabled_) {
        ::EnableWindow(owner, TRUE);
        ownerDisabled_ = false;
    }
    return false;
}

BOOL CProgressWindow::OnInitDialog() {
    HWND bar = Item(IDC_PROGRESS_BAR);
    // The 32-bit range: a list of more than 65535 entries still fits.
    ::SendMessageA(bar, PBM_SETRANGE32, static_cast<WPARAM>(low_), static_cast<LPARAM>(high_));
    ::SendMessageA(bar, PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
    ::SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(low_), 0);
    char caption[128];
    if (::LoadStringA(::GetModuleHandleA(nullptr), static_cast<UINT>(captionId_), caption, sizeof caption) > 0)
        ::SetWindowTextA(Handle(), caption);
    return TRUE;
}

void CProgressWindow::SetRange(int low, int high) {
    low_ = low;
    high_ = high;
    if (Handle() != nullptr)
        ::SendMessageA(Item(IDC_PROGRESS_BAR), PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void CProgressWindow::SetStep(int step) {
    step_ = step;
    if (Handle() != nullptr) ::SendMessageA(Item(IDC_PROGRESS_BAR), PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void CProgressWindow::ShowItem(const char* text) {
    if (Handle() != nullptr) ::SetDlgItemTextA(Handle(), IDC_PROGRESS_ITEM, text != nullptr ? text : "");
}

void CProgressWindow::LetMessagesThrough() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Not ours to take: leave it for the loop that runs the program.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (Handle() != nullptr && ::IsDialogMessageA(Handle(), &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

void CProgressWindow::Step() {
    LetMessagesThrough();
    if (Handle() == nullptr) return;
    const int previous = static_cast<int>(::SendMessageA(Item(IDC_PROGRESS_BAR), PBM_STEPIT, 0, 0));
    const std::string text = ProgressPercentText(ProgressPercent(previous, step_, low_, high_));
    char shown[32];
    ::GetDlgItemTextA(Handle(), IDC_PROGRESS_PERCENT, shown, sizeof shown);
    if (text != shown) ::SetDlgItemTextA(Handle(), IDC_PROGRESS_PERCENT, text.c_str());
}

bool CProgressWindow::PollCancel() {
    LetMessagesThrough();
    const bool cancelled = cancelled_;
    cancelled_ = false;
    return cancelled;
}

void CProgressWindow::OnCommand(int id, int code, HWND control) {
    (void)code;
    (void)control;
    // The Cancel button, Escape and the close box: the operation decides.
    if (id == IDCANCEL) cancelled_ = true;
}

void CProgressWindow::Close() {
    // The owner first, so the system activates it and not another program.
    if (ownerDisabled_) {
        ::EnableWindow(owner_, TRUE);
        ownerDisabled_ = false;
    }
    if (Handle() != nullptr) ::DestroyWindow(Handle());
}

}  // namespace plyvane
