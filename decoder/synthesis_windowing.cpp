#include "synthesis_windowing.h"

#include "simd.h"
#include "synthesis_window_kernels.h"
#include "synthesis_windowing_avx.h"

namespace plyvane {
namespace {

using simd::Double2;

// Chains of additions side by side: as many as the registers hold (16 on
// x86-64, 8 on i686).
constexpr int kChains = sizeof(void*) == 8 ? 4 : 2;

template <int kFirstRow, int kLastRow>
void WindowRowPairsSse2(const double* history, const double* window, int16_t* pcm) {
    alignas(16) double out[32];
    WindowRowPairs<Double2, kFirstRow, kLastRow, kChains>(history, window, out);
    simd::RoundToInt16(out, pcm, 32);
}

void WindowAllTapsSse2(const double* history, const double* window, int16_t* pcm) {
    alignas(16) double out[32];
    WindowAllTaps<Double2>(history, window, out);
    simd::RoundToInt16(out, pcm, 32);
}

}  // namespace

bool AvxWindowingAvailable() {
#if defined(PLYVANE_AVX_WINDOWING)
    static const bool available = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    return available;
#else
    return false;
#endif
}

WindowFunction WindowFunctionFor(int quality) {
    if (AvxWindowingAvailable()) return AvxWindowFunctionFor(quality);
    return PortableWindowFunctionFor(quality);
}

WindowFunction PortableWindowFunctionFor(int quality) {
    switch (quality) {
        case 0: return &WindowAllTapsSse2;
        case 1: return &WindowRowPairsSse2<1, 6>;
        case 2: return &WindowRowPairsSse2<2, 5>;
        case 3: return &WindowRowPairsSse2<3, 4>;
        default: return nullptr;
    }
}

}  // namespace plyvane
