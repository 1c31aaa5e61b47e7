// The record that describes the stream being played (and, as a second
// instance, a probed one). The player window reads it when it is notified.
#pragma once

#include <cstdint>

namespace plyvane {

struct PlaybackInfo {
    char title[256];          // source name without folder and extension
    char description[256];    // the file's line in "descript.ion", or empty
    uint32_t sourceSize;      // bytes, as the byte source reports them
    float length;             // ms; -1.0 when unknown
    float position;           // ms
    float compressionRatio;   // uncompressed / compressed size
    uint16_t layer;
    uint16_t version;
    uint16_t bitratePerChannel;  // kbit/s; 0 means variable
    uint16_t outputSampleRate;
    uint16_t streamSampleRate;   // output rate x divisor
    uint16_t outputChannels;
    uint16_t streamChannels;
    uint16_t outputBits;
    uint16_t quality;
    int32_t playing;             // also while paused
    int32_t paused;
    uintptr_t deviceHandle;      // the open wave-out handle (for the mixer)
    uint16_t volumeLeft;         // device volume saved at the last stop
    uint16_t volumeRight;
};

}  // namespace plyvane
