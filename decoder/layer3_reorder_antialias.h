// Layer III short-block reordering and aliasing reduction (ISO/IEC 11172-3
// 2.4.3.4.10 and 2.4.3.4.11).
#pragma once

#include "layer3_side_info.h"
#include "layer3_tables.h"

namespace plyvane {

// Rearranges short bands so that the three windows' values of each frequency
// line follow one another; long blocks are left as they are.
void ReorderShortBlocks(const GranuleChannelInfo& gc, const ScaleFactorBands& bands, float* xr);

// The butterflies between neighbouring subbands: none for pure short
// blocks, only between subbands 0 and 1 for mixed blocks. Subbands from
// subbandLimit on are all zero before and need none.
void ReduceAliasing(const GranuleChannelInfo& gc, int subbandLimit, float* xr);

}  // namespace plyvane
