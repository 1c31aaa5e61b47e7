// Tables of the synthesis filterbank, computed once per process.
#pragma once

namespace plyvane {

struct SynthesisTables {
    // Factors 1 / (2 cos((2i + 1) pi / 2N)) of the fast 32-point DCT, for
    // N = 32, 16, 8, 4 and 2 in turn (16 + 8 + 4 + 2 + 1 values), each
    // repeated in four lanes.
    alignas(16) float dctFactors[31][4];
    // The window D' = 0.5 x Dint (the standard window scaled by 32768), tap
    // by tap: tap t weighs history values 64t + 32 (t & 1) + j with entry
    // 32t + j. The matrixing stores some history values with their sign
    // flipped (see Synthesis); their window entries are flipped to match,
    // so every product keeps its value exactly.
    alignas(32) double window[512];

    static const SynthesisTables& Get();
};

}  // namespace plyvane
