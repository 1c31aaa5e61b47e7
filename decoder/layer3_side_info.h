// Layer III side information: ISO/IEC 11172-3 2.4.1.7 for MPEG-1 and the
// one-granule layout of ISO/IEC 13818-3 for the low sampling rates.
#pragma once

#include "bitstream_buffer.h"
#include "frame_header.h"

namespace plyvane {

// One granule of one channel.
struct GranuleChannelInfo {
    int part2_3_length = 0;
    int big_values = 0;
    int global_gain = 0;
    int scalefac_compress = 0;
    int window_switching_flag = 0;
    int block_type = 0;
    int mixed_block_flag = 0;
    int table_select[3] = {};
    int subblock_gain[3] = {};
    int region0_count = 0;
    int region1_count = 0;
    int preflag = 0;
    int scalefac_scale = 0;
    int count1table_select = 0;

    // Short windows (block type 2 with window switching), mixed or not.
    bool ShortBlocks() const { return window_switching_flag && block_type == 2; }
    bool MixedShortBlocks() const { return ShortBlocks() && mixed_block_flag; }
};

struct SideInfo {
    int main_data_begin = 0;
    int private_bits = 0;
    int scfsi[2][4] = {};
    GranuleChannelInfo granule[2][2];  // [granule][channel]
};

// Bytes of side information for the version and channel count.
int SideInfoBytes(int id, int channels);

// Reads the side information that follows the header (and CRC). Values that
// would take later stages outside their tables (big_values above 288) are
// limited here. Region counts of damaged granules stay within the bands.
void ReadSideInfo(BitstreamBuffer& bits, FrameHeader header, SideInfo& info);

}  // namespace plyvane
