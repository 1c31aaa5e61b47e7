#include "synthesis_tables.h"

#include <cmath>

#include "synthesis_window.h"

namespace plyvane {
namespace {

constexpr double kPi = 3.14159265358979323846;

SynthesisTables Build() {
    SynthesisTables t{};
    int next = 0;
    for (int n = 32; n >= 2; n /= 2) {
        for (int i = 0; i < n / 2; ++i, ++next) {
            const float factor = static_cast<float>(0.5 / std::cos((2 * i + 1) * kPi / (2 * n)));
            for (float& lane : t.dctFactors[next]) lane = factor;
        }
    }
    for (int n = 0; n < 512; ++n) {
        const int tap = n / 32;
        const int j = n % 32;
        // Stored with flipped signs: the second half of every 64 history
        // values, and positions 16..31 of the first half.
        const bool flipped = (tap & 1) != 0 || j >= 16;
        const double value = 0.5 * static_cast<double>(kSynthesisWindowInt[n]);
        t.window[n] = flipped ? -value : value;
    }
    return t;
}

}  // namespace

const SynthesisTables& SynthesisTables::Get() {
    static const SynthesisTables tables = Build();
    return tables;
}

}  // namespace plyvane
