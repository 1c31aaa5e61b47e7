#include "synthesis_tables.h"

#include <cmath>

#include "synthesis_window.h"

namespace plyvane {
namespace {

// pi/16, pi/32 and pi/64 as the filterbank has always used them.
constexpr double kStepT = 0.1963495408493125;
constexpr double kStepU = 0.09817477042465625;
constexpr double kStepW = 0.049087385212328125;

float CosineOf(long n, double step) {
    return static_cast<float>(std::cos(static_cast<long double>(n) * step));
}

// cos(s (2i+1) pi/16) for s = 0..16, reduced to the table T[0..7][i] with
// its sign: cos((16 - s) x) = -cos(s x) over the odd multiples x.
float TEntry(int s, int i) {
    if (s <= 7) return CosineOf(static_cast<long>(s) * (2 * i + 1), kStepT);
    if (s == 8) return 0.0f;
    return -CosineOf(static_cast<long>(16 - s) * (2 * i + 1), kStepT);
}

// The direct value V[k] = sum S[i] cos((16 + k)(2i + 1) pi/64), folded: for
// k = 0 mod 4 a sum over b[0..7] with angle (16 + k)/4 of T, for k = 2 mod 4
// over c[0..7] with U, for odd k over d[0..15] with W. Angles past the first
// quarter period fold back with a sign change, so each factor is +-T, U or W.
float UEntry(int m, int i) {  // cos(m (2i+1) pi/32), m odd
    int reduced = m % 64;
    double sign = 1.0;
    if (reduced > 32) reduced = 64 - reduced;  // cos is even over the period
    if (reduced > 16) {
        reduced = 32 - reduced;
        sign = -1.0;
    }
    // reduced is odd, so (2j+1) = reduced gives U[j][i].
    return static_cast<float>(sign) * CosineOf(static_cast<long>(reduced) * (2 * i + 1), kStepU);
}

float WEntry(int m, int i) {  // cos(m (2i+1) pi/64), m odd
    int reduced = m % 128;
    double sign = 1.0;
    if (reduced > 64) reduced = 128 - reduced;
    if (reduced > 32) {
        reduced = 64 - reduced;
        sign = -1.0;
    }
    return static_cast<float>(sign) * CosineOf(static_cast<long>(reduced) * (2 * i + 1), kStepW);
}

int DirectK(int n) { return n < 4 ? 4 * n : 36 + 4 * (n - 4); }        // multiples of 4
int DirectK2(int n) { return n < 4 ? 2 + 4 * n : 34 + 4 * (n - 4); }   // remainder 2
int DirectKOdd(int n) { return n < 8 ? 1 + 2 * n : 33 + 2 * (n - 8); }  // odd

SynthesisTables Build() {
    SynthesisTables t{};
    for (int n = 0; n < 8; ++n) {
        for (int i = 0; i < 8; ++i) {
            t.evenEven[i][n] = TEntry((16 + DirectK(n)) / 4, i);
            t.evenOdd[i][n] = UEntry((16 + DirectK2(n)) / 2, i);
        }
    }
    for (int n = 0; n < 16; ++n) {
        for (int i = 0; i < 16; ++i) t.odd[i][n] = WEntry(16 + DirectKOdd(n), i);
    }
    for (int n = 0; n < 512; ++n) t.window[n] = 0.5f * static_cast<float>(kSynthesisWindowInt[n]);
    return t;
}

}  // namespace

const SynthesisTables& SynthesisTables::Get() {
    static const SynthesisTables tables = Build();
    return tables;
}

}  // namespace plyvane
