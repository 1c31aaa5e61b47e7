// The matrixing of the synthesis filterbank as a fast 32-point DCT-II,
// computed for four slots at once (one slot per vector lane).
#pragma once

namespace plyvane {

// dct[l][k] = sum over i of slots[32 l + i] cos((2i + 1) k pi / 64), for the
// four consecutive slots l = 0..3 of 32 subband samples at slots (16-byte
// aligned); dct[l][32] is set to 0. Every rounding is single precision.
void DctOfFourSlots(const float* slots, float (*dct)[36]);

}  // namespace plyvane
