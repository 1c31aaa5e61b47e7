// The windowing kernels of the synthesis, generic over the vector of doubles
// they run on. Included only by synthesis_windowing.cpp (SSE2) and
// synthesis_windowing_avx.cpp (AVX), which are compiled for different
// instruction sets: the anonymous namespace gives each its own copy, so the
// linker can never merge an AVX instance into code that must run without
// AVX. Every lane does the same operations in the same order whatever the
// vector width, so both give the same samples.
#pragma once

#include <cstdint>

namespace plyvane {
namespace {  // NOLINT(google-build-namespaces): one copy per instruction set, see above

// Accumulating on top of 1.5 x 2^23, where floats are spaced 1.0 apart,
// makes every rounding to single precision a rounding to an integer.
constexpr double kRoundingBase = 12582912.0;

// Tap t weighs history values 64t + 32 (t & 1) + j with window entry 32t + j.
template <class Vec>
inline Vec Product(const double* history, const double* window, int tap, int j) {
    return Vec::Load(history + 64 * tap + 32 * (tap & 1) + j) * Vec::Load(window + 32 * tap + j);
}

// Window rows kFirstRow..kLastRow (two taps each), in pairs of rows: the
// accumulator and the pair's four products are summed in double, left to
// right, then rounded to single precision. out[j] = accumulator - base.
// Each vector of outputs is a chain of dependent additions; kChains of them
// at a time let the processor overlap them.
template <class Vec, int kFirstRow, int kLastRow, int kChains>
void WindowRowPairs(const double* history, const double* window, double* out) {
    constexpr int kStep = kChains * Vec::kLanes;
    static_assert(32 % kStep == 0, "the chains must divide the 32 outputs");
    const Vec base = Vec::Splat(kRoundingBase);
    for (int j = 0; j < 32; j += kStep) {
        Vec accumulator[kChains];
        PLYVANE_UNROLL
        for (int chain = 0; chain < kChains; ++chain) accumulator[chain] = base;
        PLYVANE_UNROLL
        for (int row = kFirstRow; row < kLastRow; row += 2) {
            PLYVANE_UNROLL
            for (int chain = 0; chain < kChains; ++chain) {
                Vec sum = accumulator[chain];
                PLYVANE_UNROLL
                for (int tap = 2 * row; tap < 2 * row + 4; ++tap)
                    sum = sum + Product<Vec>(history, window, tap, j + chain * Vec::kLanes);
                accumulator[chain] = sum.RoundedToFloat();
            }
        }
        PLYVANE_UNROLL
        for (int chain = 0; chain < kChains; ++chain) (accumulator[chain] - base).Store(out + j + chain * Vec::kLanes);
    }
}

// All 16 taps in double, in four partial sums (taps 4m + k in sum k),
// rounded once by the caller.
template <class Vec>
void WindowAllTaps(const double* history, const double* window, double* out) {
    for (int j = 0; j < 32; j += Vec::kLanes) {
        Vec part[4] = {Vec::Splat(0.0), Vec::Splat(0.0), Vec::Splat(0.0), Vec::Splat(0.0)};
        PLYVANE_UNROLL
        for (int tap = 0; tap < 16; ++tap) part[tap & 3] = part[tap & 3] + Product<Vec>(history, window, tap, j);
        ((part[0] + part[1]) + (part[2] + part[3])).Store(out + j);
    }
}

}  // namespace
}  // namespace plyvane
