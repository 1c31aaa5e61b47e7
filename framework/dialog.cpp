#include "dialog.h"

namespace plyvane {

namespace {
// Messages whose result is the dialog procedure's return value itself
// rather than DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: case WM_COMPAREITEM: case WM_VKEYTOITEM:
    case WM_CHARTOITEM: case WM_QUERYDRAGICON: case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}
}  // namespace

Dialog::~Dialog() {
    if (window_ != nullptr && ::IsWindow(window_)) {
        ::SetWindowLongPtrA(window_, DWLP_USER, 0);
        ::DestroyWindow(window_);
    }
}

INT_PTR Dialog::DoModal(HWND owner) {
    modal_ = true;
    ended_ = false;
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner,
                             &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

HWND Dialog::CreateModeless(HWND owner) {
    modal_ = false;
    ended_ = false;
    return ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner,
                                &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR Dialog::RunModalLoop(HWND owner) {
    ownLoop_ = true;
    result_ = -1;
    if (CreateModeless(owner) == nullptr) return -1;
    bool ownerWasEnabled = owner != nullptr && ::IsWindowEnabled(owner);
    if (ownerWasEnabled) ::EnableWindow(owner, FALSE);
    MSG message;
    while (!ended_) {
        BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT: hand it on to the outer loop.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0) break;
        if (PreTranslateMessage(&message)) continue;
        if (window_ != nullptr && ::IsDialogMessageA(window_, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
    if (window_ != nullptr) ::DestroyWindow(window_);
    ownLoop_ = false;
    return result_;
}

void Dialog::EndDialog(INT_PTR result) {
    result_ = result;
    ended_ = true;
    if (modal_) {
        ::EndDialog(window_, result);
    } else if (ownLoop_) {
        ::PostMessageA(window_, WM_NULL, 0, 0);  // wake the loop
    } else if (window_ != nullptr) {
        ::DestroyWindow(window_);
    }
}

Dialog* Dialog::FromHandle(HWND window) {
    if (window == nullptr) return nullptr;
    return reinterpret_cast<Dialog*>(::GetWindowLongPtrA(window, DWLP_USER));
}

void Dialog::OnCommand(int id, int code, HWND control) {
    (void)code;
    (void)control;
    if (id == IDOK || id == IDCANCEL) EndDialog(id);
}

bool Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    (void)message;
    (void)wParam;
    (void)lParam;
    (void)result;
    return false;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->window_ = window;
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
    } else {
        self = FromHandle(window);
    }
    if (self == nullptr) return FALSE;
    INT_PTR handled = self->Dispatch(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, DWLP_USER, 0);
        self->window_ = nullptr;
    }
    return handled;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_NOTIFY:
        ::SetWindowLongPtrA(window_, DWLP_MSGRESULT,
                            OnNotify(reinterpret_cast<NMHDR*>(lParam)));
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return TRUE;
    default:
        break;
    }
    LRESULT result = 0;
    if (!OnMessage(message, wParam, lParam, result)) return FALSE;
    if (ReturnsDirectly(message)) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace plyvane
