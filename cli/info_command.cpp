// plyvane-cli info: the probe result of a stream, as text or JSON.
#include <cstdio>
#include <cstring>
#include <string>

#include "bitstream_buffer.h"
#include "commands.h"
#include "console_message_box.h"
#include "decoder.h"
#include "frame_header.h"
#include "header_frame.h"
#include "json_writer.h"
#include "stream_extent.h"
#include "stream_info.h"
#include "stream_sources.h"

namespace plyvane::cli {

namespace {

// The probe's private buffer, as the player's probe wrapper sizes it.
constexpr int kProbeCapacity = 8192;
constexpr int kProbeRefillThreshold = 1152;

const char* ModeName(int mode) {
    switch (mode) {
        case kStereo: return "stereo";
        case kJointStereo: return "joint stereo";
        case kDualChannel: return "dual channel";
        case kSingleChannel: return "single channel";
    }
    return "unknown";
}

const char* LayerName(int layer) { return layer == 2 ? "II" : layer == 3 ? "III" : "?"; }

const char* HeaderName(HeaderFrameKind kind) {
    switch (kind) {
        case HeaderFrameKind::kXing: return "Xing";
        case HeaderFrameKind::kInfo: return "Info";
        case HeaderFrameKind::kVbri: return "VBRI";
        case HeaderFrameKind::kNone: break;
    }
    return "none";
}

void PrintText(const StreamInfo& info, const char* mode, const StreamExtent& extent) {
    std::printf("name:            %s\n", info.name);
    std::printf("version:         MPEG-%d\n", info.version);
    std::printf("layer:           %s\n", LayerName(info.layer));
    std::printf("sample rate:     %d Hz\n", info.sampleRate);
    std::printf("mode:            %s\n", mode);
    std::printf("stream channels: %d\n", info.streamChannels);
    if (info.bitratePerChannel == 0) {
        std::printf("bit rate:        variable\n");
    } else {
        std::printf("bit rate:        %d kbit/s per channel\n", info.bitratePerChannel);
    }
    std::printf("packratio:       1/%.2f\n", info.packratio);
    if (info.duration < 0) {
        std::printf("duration:        unknown\n");
    } else {
        double seconds = info.duration / 1000.0;
        int minutes = static_cast<int>(seconds / 60);
        std::printf("duration:        %d:%06.3f (%.0f ms)\n", minutes, seconds - minutes * 60.0,
                    info.duration);
    }
    std::printf("length:          %lu bytes\n", static_cast<unsigned long>(info.length));
    const HeaderFrame& header = extent.header;
    std::printf("header frame:    %s", HeaderName(header.kind));
    if (header.frames != 0) std::printf(", %lu frames", static_cast<unsigned long>(header.frames));
    if (header.hasEncoderDelay)
        std::printf(", encoder delay %u, padding %u", header.encoderDelay, header.encoderPadding);
    std::printf("\n");
    if (extent.totalSamples >= 0)
        std::printf("samples:         %lld (%lu before the first at the start)\n",
                    static_cast<long long>(extent.totalSamples), static_cast<unsigned long>(extent.trim.skip));
}

void PrintJson(const StreamInfo& info, const char* mode, const StreamExtent& extent) {
    JsonObject json;
    json.Add("version", info.version)
        .Add("layer", info.layer)
        .Add("sample_rate", info.sampleRate)
        .Add("stream_channels", info.streamChannels)
        .Add("mode", mode)
        .Add("bitrate_per_channel", info.bitratePerChannel)
        .Add("packratio", static_cast<double>(info.packratio))
        .Add("duration_ms", static_cast<double>(info.duration))
        .Add("length", info.length)
        .Add("header_frame", HeaderName(extent.header.kind))
        .Add("header_frames", extent.header.frames)
        .Add("encoder_delay", extent.header.hasEncoderDelay ? static_cast<int>(extent.header.encoderDelay) : -1)
        .Add("encoder_padding", extent.header.hasEncoderDelay ? static_cast<int>(extent.header.encoderPadding) : -1)
        .Add("samples", static_cast<int64_t>(extent.totalSamples))
        .Add("skipped_at_start", extent.trim.skip)
        .Add("name", info.name);
    std::printf("%s\n", json.Text().c_str());
}

}  // namespace

int RunInfo(const InfoOptions& options) {
    ConsoleMessageBox boxes;
    ScopedMessageBox installedBoxes(boxes);
    StreamSources sources;
    ByteSource& source = sources.For(options.file);
    if (!source.Open(options.file.c_str())) {
        std::fprintf(stderr, "plyvane-cli: cannot open '%s'\n", options.file.c_str());
        return 1;
    }
    BitstreamBuffer buffer(kProbeCapacity, kProbeRefillThreshold);
    buffer.Attach(&source);
    buffer.SetRefillPermitted(true);

    Decoder& decoder = TheDecoder();
    StreamInfo info;  // the probe's inputs: divisor 1, quality 1, 2 channels, 16 bits
    // The probe's record has no mode: the first header has it.
    FrameHeader header;
    StreamExtent extent;
    if (!decoder.ProbeStream(info, buffer, &header, &extent)) {
        std::fprintf(stderr, "plyvane-cli: %s: %s\n", options.file.c_str(), decoder.LastError());
        return 1;
    }
    const char* mode = ModeName(header.Mode());

    if (options.json) {
        PrintJson(info, mode, extent);
    } else {
        PrintText(info, mode, extent);
    }
    buffer.Close();
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace plyvane::cli
