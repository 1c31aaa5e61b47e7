#include "up_down.h"

namespace plyvane {

void SetUpSpin(HWND upDown, HWND buddy, int low, int high, int position) {
    if (upDown == nullptr) return;
    ::SendMessageA(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    ::SendMessageA(upDown, UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
    ::SendMessageA(upDown, UDM_SETACCEL, sizeof kSpinAcceleration / sizeof kSpinAcceleration[0],
                   reinterpret_cast<LPARAM>(kSpinAcceleration));
    SetSpinPosition(upDown, position);
    ::EnableWindow(upDown, TRUE);
}

int SpinPosition(HWND upDown) {
    if (upDown == nullptr) return 0;
    return static_cast<int>(::SendMessageA(upDown, UDM_GETPOS32, 0, 0));
}

void SetSpinPosition(HWND upDown, int position) {
    if (upDown == nullptr) return;
    int low = 0, high = 0;
    ::SendMessageA(upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                   reinterpret_cast<LPARAM>(&high));
    if (low > high) {
        int swap = low;
        low = high;
        high = swap;
    }
    if (position < low) position = low;
    if (position > high) position = high;
    ::SendMessageA(upDown, UDM_SETPOS32, 0, position);
}

}  // namespace plyvane
