// The StreamInfo fields that follow from a first header, from the requested
// output and from the source: shared by the probe, OpenStream, the layer
// set-ups and RefreshStreamInfo.
#pragma once

#include <cstdint>

#include "bitstream_buffer.h"
#include "frame_header.h"
#include "stream_extent.h"
#include "stream_info.h"

namespace plyvane {

// Samples per channel in one unit of every version and layer.
constexpr int kSamplesPerUnit = 1152;

// Samples per frame, layer, decoded sample bits, version, sample rate,
// stream channels and bit rate per channel, from the header.
void FillStreamFields(StreamInfo& info, FrameHeader header, int layer);

// Output channels and sample rate, PCM bytes per frame, packratio, length,
// duration and name, from the stream fields, the request and the source.
void FillOutputFields(StreamInfo& info, BitstreamBuffer& buffer);

// What a measured stream changes: the duration, exact when the samples it
// plays are known; and for a variable bit rate (a Xing or VBRI header) the
// bit rate per channel 0, "variable", with the packratio of the average.
void ApplyExtent(StreamInfo& info, const StreamExtent& extent);

// Duration in ms from a byte length, or -1.0 when that comes out as 0.
float DurationMs(uint32_t length, int streamChannels, int bitratePerChannel);

// The name field of info: the source's name, cut to fit.
void CopySourceName(StreamInfo& info, BitstreamBuffer& buffer);

}  // namespace plyvane
