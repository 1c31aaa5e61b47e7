// Tables of the synthesis filterbank, computed once per process.
#pragma once

namespace plyvane {

struct SynthesisTables {
    // Cosine factors of the 32 directly computed matrixing outputs, already
    // signed, indexed [input term][output] so that all outputs of a group
    // accumulate side by side (see Synthesis::Matrix).
    alignas(16) float evenEven[8][8];   // k = 0, 4, ..., 12 and 36, ..., 48 over b[]
    alignas(16) float evenOdd[8][8];    // k = 2, 6, ..., 14 and 34, ..., 46 over c[]
    alignas(16) float odd[16][16];      // k = 1, 3, ..., 15 and 33, ..., 47 over d[]
    // Window D' = 0.5 x Dint: the standard window scaled by 32768.
    alignas(16) float window[512];

    static const SynthesisTables& Get();
};

}  // namespace plyvane
