// Builds Layer II frames bit by bit, so that tests control every field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plyvane::test {

class BitWriter {
public:
    void Put(uint32_t value, int bits);
    void PadToBytes(size_t size);
    std::vector<uint8_t>& Bytes() { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    int used_ = 8;  // bits used of the last byte
};

struct Layer2Frame {
    int id = 1;                // 1 = MPEG-1, 0 = MPEG-2
    int layerField = 2;        // 2 = Layer II, 3 = Layer I, 1 = Layer III
    int bitrateIndex = 8;      // 128 kbit/s for MPEG-1
    int sampleRateIndex = 0;   // 44100 / 22050
    int padding = 0;
    int mode = 0;              // stereo
    int modeExtension = 0;
    bool crc = false;
    // Allocation value of every subband and channel (below sblimit).
    int allocation[2][32] = {};
    int scaleFactorIndex[2] = {3, 3};  // one index for all three parts
    // The code written for every sample (or group) of an allocated subband.
    uint32_t code = 0;
};

// Header word of the frame (sync included).
uint32_t HeaderWord(const Layer2Frame& frame);
// Bytes of one frame of the standard length for its bit rate; the decoder's
// allocation table for the frame's rate decides the field widths.
std::vector<uint8_t> BuildLayer2Frame(const Layer2Frame& frame);
// count frames one after the other.
std::vector<uint8_t> BuildLayer2Stream(const Layer2Frame& frame, int count);

}  // namespace plyvane::test
