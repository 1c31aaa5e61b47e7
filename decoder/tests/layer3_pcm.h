// Decodes whole files through the decoder into 16-bit PCM, for the Layer III
// robustness tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plyvane::test {

std::vector<uint8_t> ReadFileBytes(const std::string& path);

struct DecodedPcm {
    bool opened = false;
    int channels = 0;
    std::vector<int16_t> samples;  // interleaved
    int units = 0;                 // DecodeFrame calls that returned a frame
    int silentUnits = 0;           // of them, units whose main data had not arrived
};

// Decodes every unit of bytes at the quality level; maxUnits bounds the run
// (a hang shows as reaching it).
DecodedPcm DecodeBytes(const std::vector<uint8_t>& bytes, int quality, int maxUnits = 100000);

}  // namespace plyvane::test
