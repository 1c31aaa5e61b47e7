// The position slider's scale: one slider unit is 500 ms. Portable, so the
// conversions are tested natively.
#pragma once

#include <cstdint>

namespace plyvane {

inline constexpr uint32_t kSliderUnitMilliseconds = 500;

// The track length the displays and the slider use: whole ms, 0 when the
// engine does not know it (negative). A length beyond what a slider or a
// time display can hold (about 24 days, only from a damaged header) is
// taken as that much.
uint32_t TrackMilliseconds(double length);

// Whole slider units in `milliseconds` (rounded down); at most what the
// slider's int range holds.
int SliderUnits(uint32_t milliseconds);
// The time at the start of a slider unit; no unit below 0, nor beyond the
// last whole unit a time holds.
uint32_t SliderMilliseconds(int units);

// The unit a seek goes to for the thumb at `units` on a slider of
// 0..`maximum`: the last unit would seek to the very end, so one before it.
int SeekUnits(int units, int maximum);

// The tick interval for a track, in slider units: the first of the standard
// intervals that cuts the track into at most 10 parts (0 for the 100 and
// 200 ms intervals and for tracks over 10 hours).
int SliderTickUnits(double totalMilliseconds);
// The slider's tick frequency: the tick, or without a usable tick one tick
// per tenth of the range (at least every unit) to keep the scale readable.
int SliderTickFrequency(int tickUnits, int maximum);
// The fast-forward and rewind step in ms for a tick in slider units.
int WindStepMilliseconds(int tickUnits);

}  // namespace plyvane
