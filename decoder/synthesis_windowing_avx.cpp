// Compiled with -mavx where the target is x86 (PLYVANE_AVX_WINDOWING): nothing
// here may run before AvxWindowingAvailable() has said yes, so this file has
// no static initialisation and includes no header with inline functions that
// other files share (the linker could pick this file's AVX copy for them).
#include "synthesis_windowing_avx.h"

#if defined(PLYVANE_AVX_WINDOWING)

#include <immintrin.h>

#include "unroll.h"
#include "synthesis_window_kernels.h"

namespace plyvane {
namespace {

struct Double4 {
    static constexpr int kLanes = 4;
    __m256d v;

    static Double4 Load(const double* p) { return {_mm256_load_pd(p)}; }  // 32-byte aligned
    static Double4 Splat(double x) { return {_mm256_set1_pd(x)}; }
    void Store(double* p) const { _mm256_store_pd(p, v); }

    friend Double4 operator+(Double4 a, Double4 b) { return {_mm256_add_pd(a.v, b.v)}; }
    friend Double4 operator-(Double4 a, Double4 b) { return {_mm256_sub_pd(a.v, b.v)}; }
    friend Double4 operator*(Double4 a, Double4 b) { return {_mm256_mul_pd(a.v, b.v)}; }
    Double4 RoundedToFloat() const { return {_mm256_cvtps_pd(_mm256_cvtpd_ps(v))}; }
};

// As simd::RoundToInt16, for the 32 outputs of a slot.
void RoundToInt16(const double* in, int16_t* out) {
    const __m256d low = _mm256_set1_pd(-32768.0);
    const __m256d high = _mm256_set1_pd(32767.0);
    for (int i = 0; i < 32; i += 8) {
        const __m128i a = _mm256_cvtpd_epi32(_mm256_min_pd(_mm256_max_pd(_mm256_load_pd(in + i), low), high));
        const __m128i b = _mm256_cvtpd_epi32(_mm256_min_pd(_mm256_max_pd(_mm256_load_pd(in + i + 4), low), high));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packs_epi32(a, b));
    }
}

template <int kFirstRow, int kLastRow>
void WindowRowPairsAvx(const double* history, const double* window, int16_t* pcm) {
    alignas(32) double out[32];
    // All 32 outputs as eight chains: eight accumulators and the products
    // fit the sixteen registers.
    WindowRowPairs<Double4, kFirstRow, kLastRow, 8>(history, window, out);
    RoundToInt16(out, pcm);
}

void WindowAllTapsAvx(const double* history, const double* window, int16_t* pcm) {
    alignas(32) double out[32];
    WindowAllTaps<Double4>(history, window, out);
    RoundToInt16(out, pcm);
}

}  // namespace

WindowFunction AvxWindowFunctionFor(int quality) {
    switch (quality) {
        case 0: return &WindowAllTapsAvx;
        case 1: return &WindowRowPairsAvx<1, 6>;
        case 2: return &WindowRowPairsAvx<2, 5>;
        case 3: return &WindowRowPairsAvx<3, 4>;
        default: return nullptr;
    }
}

}  // namespace plyvane

#else

namespace plyvane {

WindowFunction AvxWindowFunctionFor(int) { return nullptr; }

}  // namespace plyvane

#endif
