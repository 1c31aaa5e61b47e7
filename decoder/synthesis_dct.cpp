#include "synthesis_dct.h"

#include "simd.h"
#include "synthesis_tables.h"

namespace plyvane {
namespace {

using simd::Float4;

// Where the factors of each transform size start in SynthesisTables::dctFactors.
template <int N>
constexpr int FactorOffset() {
    if constexpr (N == 32) return 0;
    else return FactorOffset<N * 2>() + N;
}

// In-place DCT-II of size N by Lee's recursion: the sums of mirrored inputs
// give the even outputs, their differences (scaled by 1 / (2 cos)) the odd
// outputs as sums of neighbouring values of a half-size transform.
template <int N>
#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline void Dct(Float4* x, const float (*factors)[4]) {
    if constexpr (N == 1) {
        return;
    } else {
        constexpr int kHalf = N / 2;
        Float4 sums[kHalf], differences[kHalf];
        PLYVANE_UNROLL
        for (int i = 0; i < kHalf; ++i) {
            sums[i] = x[i] + x[N - 1 - i];
            differences[i] = (x[i] - x[N - 1 - i]) * Float4::Load(factors[FactorOffset<N>() + i]);
        }
        Dct<kHalf>(sums, factors);
        Dct<kHalf>(differences, factors);
        PLYVANE_UNROLL
        for (int k = 0; k < kHalf - 1; ++k) {
            x[2 * k] = sums[k];
            x[2 * k + 1] = differences[k] + differences[k + 1];
        }
        x[N - 2] = sums[kHalf - 1];
        x[N - 1] = differences[kHalf - 1];
    }
}

}  // namespace

void DctOfFourSlots(const float* slots, float (*dct)[36]) {
    Float4 x[32];
    PLYVANE_UNROLL
    for (int block = 0; block < 8; ++block) {
        Float4* column = x + 4 * block;
        for (int lane = 0; lane < 4; ++lane) column[lane] = Float4::Load(slots + 32 * lane + 4 * block);
        simd::Transpose(column[0], column[1], column[2], column[3]);
    }
    Dct<32>(x, SynthesisTables::Get().dctFactors);
    PLYVANE_UNROLL
    for (int block = 0; block < 8; ++block) {
        Float4* column = x + 4 * block;
        simd::Transpose(column[0], column[1], column[2], column[3]);
        for (int lane = 0; lane < 4; ++lane) column[lane].Store(dct[lane] + 4 * block);
    }
    for (int lane = 0; lane < 4; ++lane) dct[lane][32] = 0.0f;
}

}  // namespace plyvane
