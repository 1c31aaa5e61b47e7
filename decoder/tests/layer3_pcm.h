// Decodes whole files through the decoder into 16-bit PCM and compares PCM,
// for the Layer III accuracy and robustness tests.
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

struct PcmComparison {
    double snrDb = 0.0;
    int maxError = 0;
    size_t compared = 0;
};

// Compares at lag 0 over the shorter length.
PcmComparison ComparePcm(const std::vector<int16_t>& reference, const std::vector<int16_t>& decoded,
                         size_t referenceOffset = 0, size_t decodedOffset = 0);

}  // namespace plyvane::test
