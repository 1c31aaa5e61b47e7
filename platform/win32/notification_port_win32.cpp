#include "notification_port_win32.h"

#include <windows.h>

namespace plyvane {

bool PostMessageNotifications::Post(WindowHandle window, uint32_t commandId, const void* record) {
    return PostMessageA(static_cast<HWND>(window), WM_COMMAND, static_cast<WPARAM>(commandId),
                        reinterpret_cast<LPARAM>(record)) != 0;
}

}  // namespace plyvane
