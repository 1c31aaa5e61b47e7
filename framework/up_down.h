// The spin (up-down) control tied to a number field, with the acceleration
// the program's spins share: one step at a time, two after 4 seconds held,
// five after 7 seconds.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace plyvane {

// After 1 s: step 1; after 4 s: step 2; after 7 s: step 5.
inline constexpr UDACCEL kSpinAcceleration[] = {{1, 1}, {4, 2}, {7, 5}};

// Ties `upDown` to its buddy field, sets range and position (clamped to the
// range) and the acceleration table, and enables it.
void SetUpSpin(HWND upDown, HWND buddy, int low, int high, int position);

// The spin's position (what its buddy shows), clamped to its range.
int SpinPosition(HWND upDown);
void SetSpinPosition(HWND upDown, int position);

}  // namespace plyvane
