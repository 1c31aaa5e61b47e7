#include "layer2_tables.h"

#include <cmath>
#include <cstring>

namespace plyvane {
namespace {

float FloatFromBits(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

template <int kCodes>
void BuildDegroup(uint8_t (&table)[kCodes][3], int levels) {
    std::memset(table, 0, sizeof table);
    for (int code = 0; code < levels * levels * levels; ++code) {
        table[code][0] = static_cast<uint8_t>(code % levels);
        table[code][1] = static_cast<uint8_t>(code / levels % levels);
        table[code][2] = static_cast<uint8_t>(code / (levels * levels) % levels);
    }
}

Layer2Tables Build() {
    Layer2Tables t{};
    // Requantization constants of ISO/IEC 11172-3 Table 3-B.4, pre-scaled by
    // 32768 so that the integer code is used directly. The grouped and 7-level
    // classes keep the exact single-precision patterns of C / 32768.
    t.classes[0] = {5, 2, 3, true, 16384.0f, FloatFromBits(0x382AAAABu)};
    t.classes[1] = {7, 3, 5, true, 16384.0f, FloatFromBits(0x384CCCCDu)};
    t.classes[2] = {3, 3, 7, false, 8192.0f, FloatFromBits(0x38124925u)};
    t.classes[3] = {10, 4, 9, true, 16384.0f, FloatFromBits(0x38638E39u)};
    for (int n = 4; n <= 16; ++n) {
        double steps = std::ldexp(1.0, n);
        t.classes[n] = {n, n, static_cast<int>(steps) - 1, false, static_cast<float>(65536.0 / steps),
                        static_cast<float>(steps / ((steps - 1.0) * 32768.0))};
    }
    for (int i = 0; i < 64; ++i) t.scaleFactor[i] = static_cast<float>(2.0 / std::pow(2.0, i / 3.0));
    BuildDegroup(t.degroup3, 3);
    BuildDegroup(t.degroup5, 5);
    BuildDegroup(t.degroup9, 9);
    return t;
}

}  // namespace

const Layer2Tables& Layer2Tables::Get() {
    static const Layer2Tables tables = Build();
    return tables;
}

int SelectLayer2Table(int id, int sampleRate, int bitratePerChannel) {
    if (id == 0) return kTableLsf;
    switch (bitratePerChannel) {
        case 32:
        case 48:
            return sampleRate == 32000 ? kTableD : kTableC;
        case 56:
        case 64:
        case 80:
            return kTableA;
        case 96:
        case 112:
        case 128:
        case 160:
        case 192:
            return sampleRate == 48000 ? kTableA : kTableB;
        default:
            return -1;
    }
}

}  // namespace plyvane
