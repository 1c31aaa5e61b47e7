// The stepping rule of the progress window: the bar's own step (it wraps
// past its high end, as the system's progress bar does) and the percentage
// the window shows for it. Portable, so the rule is tested natively; the
// window takes the positions from the real bar.
#pragma once

#include <string>

namespace plyvane {

// The bar's position after one step from `position`.
int SteppedBarPosition(int position, int step, int low, int high);

// The percentage shown for a step from `previous`: (previous + step - low)
// x 100 / (high - low), taken modulo 100 unless it is exactly 100. An empty
// range (high <= low) cannot be stepped: 0.
int ProgressPercent(int previous, int step, int low, int high);

// "%d%c" with "%": "10%".
std::string ProgressPercentText(int percent);

}  // namespace plyvane
