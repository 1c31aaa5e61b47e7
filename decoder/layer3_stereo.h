// Layer III joint stereo: intensity stereo (ISO/IEC 11172-3 2.4.3.4.9.3 and
// the MPEG-2 intensity factors of ISO/IEC 13818-3) and middle/side stereo.
#pragma once

#include "layer3_scale_factors.h"
#include "layer3_side_info.h"
#include "layer3_tables.h"

namespace plyvane {

// Processes one granule of a joint-stereo frame in place. right holds the
// second channel's side information and scale factors (which carry the
// intensity positions); intensityScale is the MPEG-2 intensity_scale bit.
// nonZero is the count of leading lines that may be non-zero in either
// channel; it is updated for the output.
void ProcessJointStereo(float (&xr)[2][576], int modeExtension, bool mpeg1, const GranuleChannelInfo& right,
                        const ScaleFactors& rightScaleFactors, int intensityScale, const ScaleFactorBands& bands,
                        int& nonZero);

// Intensity factors for a position, exposed for the tests: kL and kR.
void IntensityFactors(bool mpeg1, int intensityScale, int position, float& left, float& right);

}  // namespace plyvane
