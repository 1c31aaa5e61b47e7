// The integers of frame headers, header frames and ID3v2 tags: most
// significant byte first. The caller has made sure the bytes are there.
#pragma once

#include <cstdint>

namespace plyvane {

// count bytes (at most 4) as one number.
constexpr uint32_t BigEndian(const uint8_t* p, int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = value << 8 | p[i];
    return value;
}

// Four bytes of seven bits each (an ID3v2 "sync-safe" size); the top bits
// are not looked at.
constexpr uint32_t SyncSafe(const uint8_t* p) {
    return uint32_t{p[0]} << 21 | uint32_t{p[1]} << 14 | uint32_t{p[2]} << 7 | p[3];
}

}  // namespace plyvane
