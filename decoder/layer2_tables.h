// Tables of Layer II decoding: the stored allocation tables and the
// requantization tables built once per process.
#pragma once

#include <cstdint>

namespace plyvane {

constexpr uint8_t kNoSamples = 255;

struct Layer2AllocationTable {
    int sblimit;
    uint8_t nbal[32];             // bits of each subband's allocation field
    uint8_t quantClass[32][16];   // class of each allocation value
};

// In the order: 3-B.2a, 3-B.2b, 3-B.2c, 3-B.2d (ISO/IEC 11172-3), B.1 (13818-3).
extern const Layer2AllocationTable kLayer2AllocationTables[5];
enum Layer2TableId { kTableA = 0, kTableB = 1, kTableC = 2, kTableD = 3, kTableLsf = 4 };

struct Layer2QuantClass {
    int codeBits;     // bits of one code in the stream
    int sampleBits;   // nb: bits of one sample value
    int levels;       // for the grouped classes, the base of the group code
    bool grouped;     // three samples in one code
    float offset;     // D x 32768
    float factor;     // C / 32768
};

struct Layer2Tables {
    static constexpr int kClasses = 17;
    Layer2QuantClass classes[kClasses];
    // Scale-factor multipliers 2 / 2^(i/3) of ISO/IEC 11172-3 Table 3-B.1; the
    // invalid index 63 continues the series.
    float scaleFactor[64];
    // Group codes split into their three sample values, for 3, 5 and 9 levels;
    // entries past levels^3 (only damaged streams use them) hold zeros.
    uint8_t degroup3[32][3];
    uint8_t degroup5[128][3];
    uint8_t degroup9[1024][3];

    static const Layer2Tables& Get();
};

// Selects the allocation table of a stream; -1 when the bit rate has none.
int SelectLayer2Table(int id, int sampleRate, int bitratePerChannel);

}  // namespace plyvane
