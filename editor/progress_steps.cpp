#include "progress_steps.h"

#include <cstdint>
#include <cstdio>

namespace plyvane {

int SteppedBarPosition(int position, int step, int low, int high) {
    if (high <= low) return position;
    int64_t next = static_cast<int64_t>(position) + step;
    const int64_t span = static_cast<int64_t>(high) - low;
    if (next > high) next = (next - low) % span + low;
    if (next < low) next = (next - low) % span + high;
    return static_cast<int>(next);
}

int ProgressPercent(int previous, int step, int low, int high) {
    if (high <= low) return 0;
    const int64_t value = static_cast<int64_t>(previous) + step;
    const int64_t percent = (value - low) * 100 / (static_cast<int64_t>(high) - low);
    return static_cast<int>(percent == 100 ? 100 : percent % 100);
}

std::string ProgressPercentText(int percent) {
    char text[16];
    std::snprintf(text, sizeof text, "%d%c", percent, '%');
    return text;
}

}  // namespace plyvane
