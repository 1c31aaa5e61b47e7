// Layer III hybrid synthesis (ISO/IEC 11172-3 2.4.3.4.12): the IMDCT of each
// subband with the four block windows, the overlap-add with the previous
// granule, and the frequency inversion, into the subband samples.
#pragma once

#include "layer3_side_info.h"
#include "subband_samples.h"

namespace plyvane {

// Turns the 576 lines of one granule and channel into slots slotOffset to
// slotOffset + 17 of the subband samples. overlap holds the second half of
// the previous granule's IMDCT output per subband and is updated.
void HybridSynthesis(const GranuleChannelInfo& gc, const float* xr, float (&overlap)[32][18],
                     SubbandSamples& samples, int channel, int slotOffset);

}  // namespace plyvane
