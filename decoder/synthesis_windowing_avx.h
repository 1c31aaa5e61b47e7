// The windowing with AVX (four doubles an operation), for processors that
// have it. It gives the same samples as the SSE2 windowing.
#pragma once

#include "synthesis_windowing.h"

namespace plyvane {

// True when this build has the AVX windowing and the processor and the
// operating system support AVX.
bool AvxWindowingAvailable();

// As WindowFunctionFor; only to be called when AvxWindowingAvailable().
WindowFunction AvxWindowFunctionFor(int quality);

}  // namespace plyvane
