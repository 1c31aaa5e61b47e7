// The samples of a Layer II frame: 12 granules of three samples per coded
// subband and channel, requantized and scaled into the subband samples.
#pragma once

#include "bitstream_buffer.h"
#include "layer2_tables.h"
#include "subband_samples.h"

namespace plyvane {

// Reads the sample codes that follow the scale factors and moves the stream
// past them. Subbands from bound on are coded once for both channels, each
// of which applies its own scale factor. Subbands from the table's sblimit on
// are left untouched.
void ReadLayer2Samples(BitstreamBuffer& stream, const Layer2AllocationTable& table, int bound, int channels,
                       const int (&allocation)[2][32], const float (&scaleFactor)[2][32][3],
                       SubbandSamples& samples);

}  // namespace plyvane
