// Layer III scale factors: MPEG-1 with scale-factor selection information
// (ISO/IEC 11172-3) and the MPEG-2 partitions of ISO/IEC 13818-3, including
// the variant for the intensity-coded second channel.
#pragma once

#include "bitstream_buffer.h"
#include "layer3_side_info.h"

namespace plyvane {

struct ScaleFactors {
    int l[23] = {};      // long bands; 21 and 22 carry none and stay 0
    int s[3][13] = {};   // [window][short band]; band 12 stays 0
    // MPEG-2 intensity-coded channel: the largest value each band's bit
    // length allows, which marks a band without intensity coding.
    int illegalLong[22] = {};
    int illegalShort[13] = {};
};

// MPEG-1: granule 1 copies the band groups whose scfsi bit is set.
void ReadScaleFactorsMpeg1(BitstreamBuffer& bits, const GranuleChannelInfo& gc, const int* scfsi,
                           int granule, ScaleFactors& sf);

// MPEG-2: intensityChannel is true for the second channel when the mode
// extension has its intensity bit. Sets gc.preflag from scalefac_compress.
void ReadScaleFactorsMpeg2(BitstreamBuffer& bits, GranuleChannelInfo& gc, bool intensityChannel,
                           ScaleFactors& sf);

}  // namespace plyvane
