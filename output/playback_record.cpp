#include "playback_record.h"

#include "stream_titles.h"

namespace plyvane {

void DescribeStream(PlaybackInfo& info, const StreamInfo& stream) {
    TitleOf(stream.name, info.title, sizeof info.title);
    ReadDescription(stream.name, info.description, sizeof info.description);
    info.sourceSize = stream.length;
    info.length = stream.duration;
    info.position = 0.0f;
    info.compressionRatio = stream.packratio;
    info.layer = static_cast<uint16_t>(stream.layer);
    info.version = static_cast<uint16_t>(stream.version);
    info.bitratePerChannel = static_cast<uint16_t>(stream.bitratePerChannel);
    info.streamSampleRate = static_cast<uint16_t>(stream.sampleRate);
    info.streamChannels = static_cast<uint16_t>(stream.streamChannels);
}

void DescribeStreamAndOutput(PlaybackInfo& info, const StreamInfo& stream, int32_t bits, int32_t quality) {
    DescribeStream(info, stream);
    info.outputSampleRate = static_cast<uint16_t>(stream.outputSampleRate);
    // The decoder's channel count: a one-channel stream plays as mono even
    // when stereo output is configured.
    info.outputChannels = static_cast<uint16_t>(stream.outputChannels);
    info.outputBits = static_cast<uint16_t>(bits);
    info.quality = static_cast<uint16_t>(quality);
}

}  // namespace plyvane
