// Our layer decoders' subband samples through a double-precision synthesis.
// With the full window an exact layer decoder comes to about 100 dB against
// a reference, so this shows the layer decoding alone; with only the window
// rows a quality level keeps it shows what that window allows for a stream
// (one whose output exceeds full scale, or a very quiet one, may stay below
// the general floor however exact the decoder is).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plyvane::test {

struct WindowModelPcm {
    bool opened = false;
    int channels = 0;                 // the stream's own
    std::vector<int16_t> full;        // all 8 window rows (16 taps), interleaved
    std::vector<int16_t> quality[3];  // quality q keeps rows q..7-q
};

// Decodes the stream file with the layer decoder its first header names
// (II or III) and synthesizes every unit that produced samples.
WindowModelPcm WindowModel(const std::string& path);

}  // namespace plyvane::test
