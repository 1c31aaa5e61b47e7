#include "stream_fields.h"

#include <cstdio>

namespace plyvane {

void FillStreamFields(StreamInfo& info, FrameHeader header, int layer) {
    info.samplesPerFrame = kSamplesPerUnit;
    info.layer = layer;
    info.decodedSampleBits = 16;
    info.version = header.Version();
    info.sampleRate = header.SampleRate();
    info.streamChannels = header.Channels();
    info.bitratePerChannel = header.BitratePerChannel(layer);
}

void FillOutputFields(StreamInfo& info, BitstreamBuffer& buffer) {
    if (info.streamChannels == 1) info.outputChannels = 1;
    info.outputSampleRate = static_cast<uint16_t>(info.sampleRate & 0xFFFF) / info.divisor;
    info.pcmBytesPerFrame = info.bitsPerSample / 8 * kSamplesPerUnit * info.outputChannels / info.divisor;
    info.packratio = static_cast<float>(info.decodedSampleBits * info.sampleRate / (info.bitratePerChannel * 1000.0));
    info.length = buffer.Length();
    info.duration = DurationMs(info.length, info.streamChannels, info.bitratePerChannel);
    CopySourceName(info, buffer);
}

void ApplyExtent(StreamInfo& info, const StreamExtent& extent) {
    if (info.sampleRate <= 0) return;
    if (extent.totalSamples >= 0)
        info.duration = extent.totalSamples == 0 ? -1.0f
                                                 : static_cast<float>(extent.totalSamples * 1000.0 / info.sampleRate);
    if (!extent.header.IsVariableBitrate()) return;
    info.bitratePerChannel = 0;
    const uint32_t bytes = extent.header.bytes != 0 ? extent.header.bytes : info.length;
    if (extent.totalSamples > 0 && bytes > 0) {
        const double seconds = static_cast<double>(extent.totalSamples) / info.sampleRate;
        const double perChannel = bytes * 8.0 / seconds / (info.streamChannels == 1 ? 1 : 2);
        info.packratio = static_cast<float>(info.decodedSampleBits * info.sampleRate / perChannel);
    }
}

float DurationMs(uint32_t length, int streamChannels, int bitratePerChannel) {
    float duration = static_cast<float>(length * 8000.0 / (streamChannels * bitratePerChannel * 1000.0));
    return duration == 0.0f ? -1.0f : duration;
}

void CopySourceName(StreamInfo& info, BitstreamBuffer& buffer) {
    const char* name = buffer.SourceOpen() ? buffer.Source()->Name() : nullptr;
    std::snprintf(info.name, sizeof info.name, "%s", name != nullptr ? name : "");
}

}  // namespace plyvane
