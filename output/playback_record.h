// Filling the PlaybackInfo record from the decoder's stream record.
#pragma once

#include <cstdint>

#include "playback_info.h"
#include "stream_info.h"

namespace plyvane {

// Title and description from the source name, the stream's own fields, and
// the position back at 0: what changes when the next file of a list begins.
void DescribeStream(PlaybackInfo& info, const StreamInfo& stream);
// DescribeStream and the output in use: at every open and probe.
void DescribeStreamAndOutput(PlaybackInfo& info, const StreamInfo& stream, int32_t bits, int32_t quality);

// A position never passes the length; an unknown length (-1) keeps counting.
inline float ClampedToLength(float position, float length) {
    return length >= 0.0f && position > length ? length : position;
}

}  // namespace plyvane
