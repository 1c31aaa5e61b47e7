#include "synthesis_windowing.h"

#include "simd.h"

namespace plyvane {
namespace {

using simd::Double2;

// Accumulating on top of 1.5 x 2^23, where floats are spaced 1.0 apart,
// makes every rounding to single precision a rounding to an integer.
constexpr double kRoundingBase = 12582912.0;

// Tap t weighs history values 64t + 32 (t & 1) + j.
inline Double2 Product(const double* history, const double* window, int tap, int j) {
    return Double2::Load(history + 64 * tap + 32 * (tap & 1) + j) * Double2::Load(window + 32 * tap + j);
}

// Window rows kFirstRow..kLastRow (two taps each), in pairs of rows: the
// accumulator and the pair's four products are summed in double, left to
// right, then rounded to single precision. Four outputs at a time, so that
// two independent chains of additions overlap.
template <int kFirstRow, int kLastRow>
void WindowRowPairs(const double* history, const double* window, int16_t* pcm) {
    alignas(16) double out[32];
    const Double2 base = Double2::Splat(kRoundingBase);
    for (int j = 0; j < 32; j += 4) {
        Double2 accumulator[2] = {base, base};
        PLYVANE_UNROLL
        for (int row = kFirstRow; row < kLastRow; row += 2) {
            PLYVANE_UNROLL
            for (int half = 0; half < 2; ++half) {
                Double2 sum = accumulator[half];
                PLYVANE_UNROLL
                for (int tap = 2 * row; tap < 2 * row + 4; ++tap) sum = sum + Product(history, window, tap, j + 2 * half);
                accumulator[half] = sum.RoundedToFloat();
            }
        }
        (accumulator[0] - base).Store(out + j);
        (accumulator[1] - base).Store(out + j + 2);
    }
    simd::RoundToInt16(out, pcm, 32);
}

// All 16 taps in double, in four partial sums, rounded once.
void WindowAllTaps(const double* history, const double* window, int16_t* pcm) {
    alignas(16) double out[32];
    for (int j = 0; j < 32; j += 2) {
        Double2 part[4] = {Double2::Zero(), Double2::Zero(), Double2::Zero(), Double2::Zero()};
        PLYVANE_UNROLL
        for (int tap = 0; tap < 16; ++tap) part[tap & 3] = part[tap & 3] + Product(history, window, tap, j);
        ((part[0] + part[1]) + (part[2] + part[3])).Store(out + j);
    }
    simd::RoundToInt16(out, pcm, 32);
}

}  // namespace

WindowFunction WindowFunctionFor(int quality) {
    switch (quality) {
        case 0: return &WindowAllTaps;
        case 1: return &WindowRowPairs<1, 6>;
        case 2: return &WindowRowPairs<2, 5>;
        case 3: return &WindowRowPairs<3, 4>;
        default: return nullptr;
    }
}

}  // namespace plyvane
