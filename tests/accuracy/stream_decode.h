// Decodes a whole stream file with our decoder into memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "stream_info.h"

namespace plyvane::test {

struct DecodeSettings {
    int divisor = 1;
    int quality = 1;
    int bits = 16;
    int channels = 2;
};

struct DecodedStream {
    bool opened = false;
    std::string error;       // LastError when the open failed
    StreamInfo info;         // as OpenStream filled it
    int channels = 0;        // output channels
    uint32_t units = 0;      // DecodeFrame calls that returned a frame number
    uint32_t firstFrameNumber = 0; // what the first DecodeFrame returned
    uint32_t emptyUnits = 0; // of those, units that wrote no PCM (no main data yet)
    uint32_t overlongUnits = 0; // units that claimed more than PCM bytes per frame
    uint32_t trimSkip = 0;   // samples of the decoded timeline left out at the start (encoder delay)
    std::vector<uint8_t> pcm;

    // The 16-bit output as samples (interleaved).
    std::vector<int16_t> Samples16() const;
};

// Reads the file into memory and decodes it to the end. A stream that keeps
// producing frames beyond maxUnits stops there (a hang guard); with 0 only
// the first unit is decoded, for its frame number.
DecodedStream DecodeFile(const std::string& path, const DecodeSettings& settings,
                         uint32_t maxUnits = 200000);
// The same for a stream already in memory (a part of a file, say).
DecodedStream DecodeBytes(std::vector<uint8_t> bytes, const std::string& name, const DecodeSettings& settings,
                          uint32_t maxUnits = 200000);

std::vector<uint8_t> ReadFileBytes(const std::string& path);

}  // namespace plyvane::test
