// The player's icons in the taskbar's notification area. Every call goes
// through one function with Shell_NotifyIconA's signature, so a recorder
// can stand in (PLYVANE_TRAY_LOG names a file that receives one line per
// call, as the shell received it).
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace plyvane {

using NotifyIconFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA data);

// The longest tip: 63 characters and the terminating zero.
inline constexpr size_t kTrayTipSize = 64;

class TrayIcons {
public:
    void SetWindow(HWND window, UINT callbackMessage) {
        window_ = window;
        callbackMessage_ = callbackMessage;
    }
    // Icons are loaded for the call and destroyed after it; failures are
    // ignored by the callers (the player works without its icons).
    bool Add(UINT id, int iconResource, const char* tip);
    bool Modify(UINT id, int iconResource, const char* tip);
    bool Delete(UINT id);

    // The function the calls go through; null restores Shell_NotifyIconA.
    static void SetNotifyFunction(NotifyIconFunction function);
    // Installs the file recorder when PLYVANE_TRAY_LOG is set.
    static void InstallRecorderFromEnvironment();
    // The icon resource of the call in progress (for the recorder).
    static int IconResourceInCall();

private:
    bool Call(DWORD message, UINT id, int iconResource, const char* tip);

    HWND window_ = nullptr;
    UINT callbackMessage_ = 0;
};

}  // namespace plyvane
