// The record through which the caller hands the output configuration to the
// decoder and receives the stream's parameters.
#pragma once

#include <cstdint>

namespace plyvane {

struct StreamInfo {
    int32_t divisor = 1;            // in: 1, 2 or 4
    int32_t quality = 1;            // in: 0 reference, 1 best, 2 better, 3 good
    int32_t outputChannels = 2;     // in/out: 1 or 2; 1 for a one-channel stream
    int32_t streamChannels = 0;     // out
    int32_t bitsPerSample = 16;     // in: 8 or 16
    int32_t outputSampleRate = 0;   // out: sample rate / divisor
    int32_t sampleRate = 0;         // out: Hz
    int32_t decodedSampleBits = 0;  // out: always 16
    int32_t layer = 0;              // out: 2 or 3
    int32_t version = 0;            // out: 1 for MPEG-1, 2 for MPEG-2
    int32_t pcmBytesPerFrame = 0;   // out
    int32_t samplesPerFrame = 0;    // out: 1152
    int32_t subbands = 0;           // out: 32 (OpenStream only)
    int32_t slots = 0;              // out: 36 (OpenStream only)
    int32_t bitratePerChannel = 0;  // out: kbit/s
    float packratio = 0.0f;         // out
    float duration = 0.0f;          // out: ms, -1.0 when unknown
    uint32_t length = 0;            // out: bytes, as the source reports it
    char name[512] = {};            // out: NUL-terminated, cut to fit
};

// The decoder's active output format, fixed by OpenStream.
struct OutputFormat {
    int32_t divisor = 1;
    int32_t quality = 1;
    uint16_t sampleRate = 0;
    uint16_t channels = 2;
    uint16_t bitsPerSample = 16;
    uint16_t bytesPerSample = 2;
    // The frame size estimate: coded (compressed) bytes of one unit of 1152
    // samples, truncated and as a float. PCM sizes carry "pcm" in their names.
    int32_t codedFrameBytes = 0;
    float codedFrameSize = 0.0f;
};

}  // namespace plyvane
