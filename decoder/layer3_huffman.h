// The Huffman-coded spectral values of one granule and channel: big values in
// three regions, then count1 quadruples, within part2_3_length; requantized
// as they are decoded.
#pragma once

#include "bitstream_buffer.h"
#include "layer3_requantize.h"
#include "layer3_side_info.h"
#include "layer3_tables.h"

namespace plyvane {

// Decodes the 576 lines of one granule and channel into xr[] (each value v
// as sign(v) |v|^(4/3) times its line's scale), reading from the reservoir,
// which stands at the start of the Huffman data. granuleEnd is the bit
// position (ReadOffset * 8 + BitOffset) where part2_3_length ends; the
// reservoir is left there. Returns the number of leading lines that may be
// non-zero; the rest are 0.
int DecodeSpectrum(BitstreamBuffer& reservoir, const GranuleChannelInfo& gc, const ScaleFactorBands& bands,
                   int granuleEnd, const LineScales& scales, float* xr);

// Bit position of a reader from the start of its storage.
inline int BitPosition(const BitstreamBuffer& reader) { return reader.ReadOffset() * 8 + reader.BitOffset(); }
// Moves a reader to a bit position from the start of its storage.
void MoveToBit(BitstreamBuffer& reader, int position);

}  // namespace plyvane
