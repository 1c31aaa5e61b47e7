// Layer III hybrid synthesis (ISO/IEC 11172-3 2.4.3.4.12): the IMDCT of each
// subband with the four block windows, the overlap-add with the previous
// granule, and the frequency inversion, into the subband samples.
#pragma once

#include <cstddef>

#include "layer3_side_info.h"
#include "subband_samples.h"

namespace plyvane {

// The second half of the previous granule's IMDCT output: [line][subband]
// (16-byte aligned), so that four neighbouring subbands lie side by side.
using ImdctOverlap = float[18][32];

// Turns the 576 lines of one granule and channel (xr, 16-byte aligned) into
// slots slotOffset to slotOffset + 17 of the subband samples, and updates
// the overlap.
void HybridSynthesis(const GranuleChannelInfo& gc, const float* xr, ImdctOverlap& overlap, SubbandSamples& samples,
                     int channel, int slotOffset);

// The size of the hybrid synthesis's tables (static storage, built once).
std::size_t HybridSynthesisTableBytes();

}  // namespace plyvane
