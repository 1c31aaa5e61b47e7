#include "layer3_scale_factors.h"

#include "layer3_tables.h"

namespace plyvane {
namespace {

// Long-band groups that one scfsi bit covers.
constexpr int kScfsiFirstBand[5] = {0, 6, 11, 16, 21};

int ReadBits(BitstreamBuffer& bits, int count) {
    return count == 0 ? 0 : static_cast<int>(bits.Read(count));
}

}  // namespace

void ReadScaleFactorsMpeg1(BitstreamBuffer& bits, const GranuleChannelInfo& gc, const int* scfsi,
                           int granule, ScaleFactors& sf) {
    const int slen1 = kSlenMpeg1[gc.scalefac_compress & 15][0];
    const int slen2 = kSlenMpeg1[gc.scalefac_compress & 15][1];
    if (gc.ShortBlocks()) {
        int firstShort = 0;
        if (gc.mixed_block_flag) {
            for (int band = 0; band < 8; ++band) sf.l[band] = ReadBits(bits, slen1);
            firstShort = 3;
        }
        for (int band = firstShort; band < 12; ++band) {
            const int slen = band < 6 ? slen1 : slen2;
            for (int w = 0; w < 3; ++w) sf.s[w][band] = ReadBits(bits, slen);
        }
        for (int w = 0; w < 3; ++w) sf.s[w][12] = 0;
        return;
    }
    for (int group = 0; group < 4; ++group) {
        if (granule == 1 && scfsi[group]) continue;  // kept from granule 0
        const int slen = group < 2 ? slen1 : slen2;
        for (int band = kScfsiFirstBand[group]; band < kScfsiFirstBand[group + 1]; ++band)
            sf.l[band] = ReadBits(bits, slen);
    }
    sf.l[21] = sf.l[22] = 0;
}

void ReadScaleFactorsMpeg2(BitstreamBuffer& bits, GranuleChannelInfo& gc, bool intensityChannel,
                           ScaleFactors& sf) {
    const int sfc = gc.scalefac_compress;
    int slen[4] = {0, 0, 0, 0};
    int row = 0;
    gc.preflag = 0;
    if (!intensityChannel) {
        if (sfc < 400) {
            row = 0;
            slen[0] = (sfc >> 4) / 5;
            slen[1] = (sfc >> 4) % 5;
            slen[2] = (sfc % 16) >> 2;
            slen[3] = sfc % 4;
        } else if (sfc < 500) {
            const int t = sfc - 400;
            row = 1;
            slen[0] = (t >> 2) / 5;
            slen[1] = (t >> 2) % 5;
            slen[2] = t % 4;
        } else {
            const int t = sfc - 500;
            row = 2;
            slen[0] = t / 3;
            slen[1] = t % 3;
            gc.preflag = 1;
        }
    } else {
        const int i = sfc >> 1;
        if (i < 180) {
            row = 3;
            slen[0] = i / 36;
            slen[1] = (i % 36) / 6;
            slen[2] = (i % 36) % 6;
        } else if (i < 244) {
            const int t = i - 180;
            row = 4;
            slen[0] = (t % 64) >> 4;
            slen[1] = (t % 16) >> 2;
            slen[2] = t % 4;
        } else {
            const int t = i - 244;
            row = 5;
            slen[0] = t / 3;
            slen[1] = t % 3;
        }
    }
    const int block = !gc.ShortBlocks() ? 0 : gc.mixed_block_flag ? 2 : 1;
    const int* counts = kScaleFactorPartitions[row][block];

    // The values run through the bands in order: long bands; or short bands
    // window by window; or, for mixed blocks, six long bands and then short
    // bands from 3 on.
    int n = 0;
    for (int part = 0; part < 4; ++part) {
        const int illegal = (1 << slen[part]) - 1;
        for (int k = 0; k < counts[part]; ++k, ++n) {
            const int value = ReadBits(bits, slen[part]);
            if (block == 0) {
                if (n < 22) {
                    sf.l[n] = value;
                    sf.illegalLong[n] = illegal;
                }
            } else if (block == 2 && n < 6) {
                sf.l[n] = value;
                sf.illegalLong[n] = illegal;
            } else {
                const int index = block == 2 ? n - 6 : n;
                const int band = index / 3 + (block == 2 ? 3 : 0);
                if (band < 12) {
                    sf.s[index % 3][band] = value;
                    sf.illegalShort[band] = illegal;
                }
            }
        }
    }
    if (block == 0) {
        for (int band = n; band < 23; ++band) sf.l[band] = 0;
        // Band 21 carries no scale factor; intensity repeats band 20.
        sf.illegalLong[21] = sf.illegalLong[20];
    } else {
        for (int w = 0; w < 3; ++w) sf.s[w][12] = 0;
        sf.illegalShort[12] = sf.illegalShort[11];
    }
}

}  // namespace plyvane
