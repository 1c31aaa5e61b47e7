#include "position_scale.h"

#include <limits>

namespace plyvane {

namespace {
constexpr uint32_t kLongestTrack = static_cast<uint32_t>(std::numeric_limits<int32_t>::max());
}

uint32_t TrackMilliseconds(double length) {
    if (!(length > 0.0)) return 0;  // unknown, and NaN
    if (length >= static_cast<double>(kLongestTrack)) return kLongestTrack;
    return static_cast<uint32_t>(length);
}

int SliderUnits(uint32_t milliseconds) {
    uint32_t units = milliseconds / kSliderUnitMilliseconds;
    constexpr auto kMostUnits = static_cast<uint32_t>(std::numeric_limits<int>::max());
    return static_cast<int>(units > kMostUnits ? kMostUnits : units);
}

uint32_t SliderMilliseconds(int units) {
    constexpr int kMostUnits =
        static_cast<int>(std::numeric_limits<uint32_t>::max() / kSliderUnitMilliseconds);
    if (units <= 0) return 0;
    return static_cast<uint32_t>(units > kMostUnits ? kMostUnits : units) * kSliderUnitMilliseconds;
}

int SeekUnits(int units, int maximum) {
    if (units < 0) return 0;
    return units == maximum && units > 0 ? units - 1 : units;
}

int SliderTickUnits(double totalMilliseconds) {
    static const int kIntervals[] = {100,    200,    500,    1000,   2000,   5000,    10000,
                                     20000,  30000,  60000,  75000,  90000,  120000,  180000,
                                     240000, 300000, 600000, 1200000, 1800000, 3600000};
    for (int interval : kIntervals) {
        if (totalMilliseconds / interval <= 10.0) {
            return interval / static_cast<int>(kSliderUnitMilliseconds);
        }
    }
    return 0;
}

int SliderTickFrequency(int tickUnits, int maximum) {
    if (tickUnits > 0) return tickUnits;
    return maximum / 10 > 0 ? maximum / 10 : 1;
}

int WindStepMilliseconds(int tickUnits) {
    return tickUnits * static_cast<int>(kSliderUnitMilliseconds) / 10;
}

}  // namespace plyvane
