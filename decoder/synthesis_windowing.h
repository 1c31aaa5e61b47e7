// The windowing of the synthesis filterbank at each quality level: the 32
// output samples of one channel and slot, from the channel's history.
#pragma once

#include <cstdint>

namespace plyvane {

// history: the channel's 1024 history values from the ring index on (the
// ring is stored twice in a row, so they are consecutive), 32-byte aligned;
// window: SynthesisTables::window. Writes 32 samples, rounded and clipped to 16 bits.
using WindowFunction = void (*)(const double* history, const double* window, int16_t* pcm);

// Quality 0 sums all 16 taps of the window and rounds once per sample.
// Qualities 1, 2 and 3 sum the central 12, 8 or 4 taps (window rows 1..6,
// 2..5, 3..4) and round the accumulator to single precision after each pair
// of rows. Any other quality sums nothing: nullptr, the caller writes
// silence. The fastest windowing this processor runs.
WindowFunction WindowFunctionFor(int quality);
// The same with SSE2 (or without vectors where the target has no SSE2).
WindowFunction PortableWindowFunctionFor(int quality);

}  // namespace plyvane
