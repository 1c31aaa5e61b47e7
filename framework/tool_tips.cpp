#include "tool_tips.h"

#include <commctrl.h>

namespace plyvane {

namespace {
TOOLINFOA BaseInfo(HWND owner) {
    TOOLINFOA info{};
    // The structure size of the version-4 controls works on every comctl32.
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.hwnd = owner;
    info.hinst = ::GetModuleHandleA(nullptr);
    return info;
}
}  // namespace

ToolTips::~ToolTips() {
    if (tips_ != nullptr && ::IsWindow(tips_)) ::DestroyWindow(tips_);
}

bool ToolTips::Create(HWND owner, bool relayedByOwner) {
    owner_ = owner;
    listenFlag_ = relayedByOwner ? 0 : TTF_SUBCLASS;
    tips_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                              ::GetModuleHandleA(nullptr), nullptr);
    if (tips_ == nullptr) return false;
    ::SendMessageA(tips_, TTM_SETMAXTIPWIDTH, 0, 320);
    return true;
}

void ToolTips::AddControl(HWND control, const char* text) {
    if (tips_ == nullptr || control == nullptr) return;
    TOOLINFOA info = BaseInfo(owner_);
    info.uFlags = TTF_IDISHWND | listenFlag_;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = const_cast<char*>(text);
    ::SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void ToolTips::AddArea(UINT_PTR key, const RECT& area, const char* text) {
    if (tips_ == nullptr) return;
    TOOLINFOA info = BaseInfo(owner_);
    info.uFlags = listenFlag_;
    info.uId = key;
    info.rect = area;
    info.lpszText = const_cast<char*>(text);
    ::SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void ToolTips::MoveArea(UINT_PTR key, const RECT& area) {
    if (tips_ == nullptr) return;
    TOOLINFOA info = BaseInfo(owner_);
    info.uId = key;
    info.rect = area;
    ::SendMessageA(tips_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
}

void ToolTips::SetControlText(HWND control, const char* text) {
    if (tips_ == nullptr || control == nullptr) return;
    TOOLINFOA info = BaseInfo(owner_);
    info.uFlags = TTF_IDISHWND;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = const_cast<char*>(text);
    ::SendMessageA(tips_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void ToolTips::RelayEvent(MSG* message) {
    if (tips_ == nullptr || message == nullptr) return;
    if (message->message < WM_MOUSEFIRST || message->message > WM_MOUSELAST) return;
    ::SendMessageA(tips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(message));
}

}  // namespace plyvane
