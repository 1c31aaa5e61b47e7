// Tables of the synthesis filterbank, computed once per process.
#pragma once

namespace plyvane {

struct SynthesisTables {
    // Cosine factors of the 32 directly computed matrixing outputs, already
    // signed and ordered as the sums they multiply (see Synthesis::Matrix).
    float evenEven[8][8];   // k = 0, 4, ..., 12 and 36, ..., 48 over b[]
    float evenOdd[8][8];    // k = 2, 6, ..., 14 and 34, ..., 46 over c[]
    float odd[16][16];      // k = 1, 3, ..., 15 and 33, ..., 47 over d[]
    // Window D' = 0.5 x Dint: the standard window scaled by 32768.
    alignas(16) float window[512];

    static const SynthesisTables& Get();
};

}  // namespace plyvane
