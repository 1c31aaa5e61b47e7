// Stored Layer III tables shared by several stages: scale-factor bands,
// pretab, scale-factor bit lengths and partitions, antialias coefficients.
// decoder/tests/layer3_tables_test.cpp checks them against the reference
// tables.
#pragma once

#include <cstdint>

namespace plyvane {

// Scale-factor band boundaries: long bands l[0..22] (start lines, l[22] =
// 576), then short bands s[0..13] (start lines of one window, s[13] = 192).
struct ScaleFactorBands {
    int16_t l[23];
    int16_t s[14];
};
// ISO/IEC 11172-3 Table 3-B.8 (ID 1) and ISO/IEC 13818-3 Table B.2 (ID 0),
// indexed [ID][sampling-frequency index 0..2].
extern const ScaleFactorBands kScaleFactorBands[2][3];

// ISO/IEC 11172-3 Table 3-B.6, the preemphasis added to long bands 0..21.
extern const int kPretab[22];

// ISO/IEC 11172-3 scalefac_compress: slen1 and slen2.
extern const int kSlenMpeg1[16][2];

// ISO/IEC 13818-3 nr_of_sfb_block[row][block: long, short, mixed][partition].
extern const int kScaleFactorPartitions[6][3][4];

// ISO/IEC 11172-3 Table 3-B.9, antialias coefficients c[i].
extern const double kAntialiasC[8];

}  // namespace plyvane
