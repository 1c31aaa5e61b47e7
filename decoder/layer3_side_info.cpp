#include "layer3_side_info.h"

#include "diagnostics.h"

namespace plyvane {
namespace {

// 576 lines hold 288 pairs.
constexpr int kMaxBigValues = 288;

void ReadGranuleChannel(BitstreamBuffer& bits, bool mpeg1, GranuleChannelInfo& gc) {
    gc.part2_3_length = static_cast<int>(bits.Read(12));
    gc.big_values = static_cast<int>(bits.Read(9));
    if (gc.big_values > kMaxBigValues) gc.big_values = kMaxBigValues;
    gc.global_gain = static_cast<int>(bits.Read(8));
    gc.scalefac_compress = static_cast<int>(bits.Read(mpeg1 ? 4 : 9));
    gc.window_switching_flag = static_cast<int>(bits.Read(1));
    if (gc.window_switching_flag) {
        gc.block_type = static_cast<int>(bits.Read(2));
        gc.mixed_block_flag = static_cast<int>(bits.Read(1));
        gc.table_select[0] = static_cast<int>(bits.Read(5));
        gc.table_select[1] = static_cast<int>(bits.Read(5));
        gc.table_select[2] = 0;
        for (int w = 0; w < 3; ++w) gc.subblock_gain[w] = static_cast<int>(bits.Read(3));
        if (gc.block_type == 0) {
            // Not a valid combination; the previous region0_count stays.
            Diagnostic(DiagnosticTo::kOutput, "Side info bad: block_type == 0 in split block.\n");
        } else {
            gc.region0_count = gc.block_type == 2 && !gc.mixed_block_flag ? 8 : 7;
        }
        gc.region1_count = 20 - gc.region0_count;
    } else {
        gc.block_type = 0;
        gc.mixed_block_flag = 0;
        for (int r = 0; r < 3; ++r) gc.table_select[r] = static_cast<int>(bits.Read(5));
        gc.subblock_gain[0] = gc.subblock_gain[1] = gc.subblock_gain[2] = 0;
        gc.region0_count = static_cast<int>(bits.Read(4));
        gc.region1_count = static_cast<int>(bits.Read(3));
    }
    gc.preflag = mpeg1 ? static_cast<int>(bits.Read(1)) : 0;
    gc.scalefac_scale = static_cast<int>(bits.Read(1));
    gc.count1table_select = static_cast<int>(bits.Read(1));
}

}  // namespace

int SideInfoBytes(int id, int channels) {
    if (id == 1) return channels == 1 ? 17 : 32;
    return channels == 1 ? 9 : 17;
}

void ReadSideInfo(BitstreamBuffer& bits, FrameHeader header, SideInfo& info) {
    const bool mpeg1 = header.Id() == 1;
    const int channels = header.Channels();
    if (mpeg1) {
        info.main_data_begin = static_cast<int>(bits.Read(9));
        info.private_bits = static_cast<int>(bits.Read(channels == 1 ? 5 : 3));
        for (int ch = 0; ch < channels; ++ch) {
            for (int band = 0; band < 4; ++band) info.scfsi[ch][band] = static_cast<int>(bits.Read(1));
        }
    } else {
        info.main_data_begin = static_cast<int>(bits.Read(8));
        info.private_bits = static_cast<int>(bits.Read(channels == 1 ? 1 : 2));
    }
    const int granules = mpeg1 ? 2 : 1;
    for (int gr = 0; gr < granules; ++gr) {
        for (int ch = 0; ch < channels; ++ch) ReadGranuleChannel(bits, mpeg1, info.granule[gr][ch]);
    }
}

}  // namespace plyvane
