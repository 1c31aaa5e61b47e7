// One tool-tip control for a window's controls and areas. An owner with its
// own message loop relays the mouse messages through RelayEvent before
// handling them; otherwise the tip control listens in on the windows itself.
#pragma once

#include <windows.h>

namespace plyvane {

class ToolTips {
public:
    ToolTips() = default;
    ~ToolTips();
    ToolTips(const ToolTips&) = delete;
    ToolTips& operator=(const ToolTips&) = delete;

    bool Create(HWND owner, bool relayedByOwner = false);
    // A tip over a whole control (the tip tracks the control's window).
    void AddControl(HWND control, const char* text);
    // A tip over a rectangle of the owner's client area; `key` names it.
    void AddArea(UINT_PTR key, const RECT& area, const char* text);
    void MoveArea(UINT_PTR key, const RECT& area);
    void SetControlText(HWND control, const char* text);
    void RelayEvent(MSG* message);
    HWND Handle() const { return tips_; }

private:
    HWND tips_ = nullptr;
    HWND owner_ = nullptr;
    UINT listenFlag_ = 0;  // TTF_SUBCLASS unless the owner relays
};

}  // namespace plyvane
