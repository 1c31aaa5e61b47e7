// Layer III frames for tests, bit by bit: frames of silence, and the header
// frame an encoder writes first (Xing/Info with LAME's tag, or VBRI).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame_header.h"

namespace plyvane::test {

class Bits {
public:
    void Put(uint32_t value, int count);
    std::vector<uint8_t> bytes;

private:
    int used_ = 0;
};

struct FrameSpec {
    bool mpeg1 = true;
    int bitrateIndex = 9;     // 128 kbit/s (MPEG-1), 80 (MPEG-2)
    int sampleRateIndex = 0;  // 44100 / 22050 Hz
    int mode = kSingleChannel;
    int mainDataBegin = 0;
};

// A frame of silence: side information with every length 0, then zeroed
// main data up to the frame length.
std::vector<uint8_t> SilentFrame(const FrameSpec& f);

struct XingLayout {
    FrameSpec frame;
    std::string tag = "Xing";  // or "Info"
    uint32_t flags = 15;       // frames, bytes, seek table, quality
    uint32_t frames = 0;
    uint32_t bytes = 0;
    bool lameTag = true;
    uint16_t delay = 576;
    uint16_t padding = 1000;
    bool goodCrc = true;
};

// A Xing/Info header frame (silent side information, the tag after it, then
// LAME's tag with its checksum), with a seek table rising evenly.
std::vector<uint8_t> XingFrame(const XingLayout& layout);

// A VBRI header frame: frames in runs of framesPerEntry, each run's bytes
// (entrySize bytes each) in the table.
std::vector<uint8_t> VbriFrame(const FrameSpec& frame, uint32_t frames, uint32_t bytes, int framesPerEntry,
                               const std::vector<uint32_t>& runBytes, int entrySize = 2, int version = 1);

// A stream as lame writes it: the header frame and `frames` frames of
// silence, the counts filled in.
std::vector<uint8_t> TaggedSilence(const FrameSpec& frame, int frames, uint16_t delay, uint16_t padding,
                                   const std::string& tag = "Xing");

std::vector<uint8_t> Concat(const std::vector<std::vector<uint8_t>>& parts);

// Samples in one frame of the layout's version.
inline int SamplesPerFrame(const FrameSpec& f) { return f.mpeg1 ? 1152 : 576; }

}  // namespace plyvane::test
