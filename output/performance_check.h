// The performance check at playback start: after the ring was filled once,
// compares the decoding time per block with the playing time of a block and
// warns the user when this machine is too slow for the configured output.
#pragma once

#include <cstdint>

#include "message_box.h"

namespace plyvane {

inline constexpr char kPerformanceCaption[] = "Plyvane performance";

enum class PerformanceVerdict { kGoOn, kCancel };

// Decoding time per block from the ticks summed over the prefill of every
// block: the sum / (buffers - 1). The first block pays the start-up costs, so
// it is spread over the others. For buffers < 2 (never after the check at
// playback start) the sum itself.
uint32_t MeasuredTimePerBlock(uint32_t decodeTicksSum, int32_t buffers);

// Reads "CheckSystemPerformance" (1 when absent). When it is not 0 and
// measuredMs >= blockDurationMs, asks over `owner` (Yes/No/Cancel, caption
// "Plyvane performance"): Yes goes on, No stores CheckSystemPerformance = 0
// and goes on, Cancel cancels. Otherwise goes on without asking.
PerformanceVerdict RunPerformanceCheck(WindowHandle owner, int32_t blockDurationMs,
                                       uint32_t measuredMs);

}  // namespace plyvane
