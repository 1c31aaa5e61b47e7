#include "decoder.h"

#include <cstring>

#include "decoder_core.h"
#include "first_frame_search.h"
#include "layer2_decoder.h"
#include "layer3_decoder.h"
#include "stream_fields.h"

namespace plyvane {

namespace {

bool IsSupportedDivisor(int divisor) { return divisor == 1 || divisor == 2 || divisor == 4; }

}  // namespace

Decoder::Decoder()
    : core_(std::make_unique<DecoderCore>()),
      layer2_(std::make_unique<Layer2Decoder>(*core_)),
      layer3_(std::make_unique<Layer3Decoder>(*core_)) {
    core_->RegisterLayer(layer2_.get());
    core_->RegisterLayer(layer3_.get());
}

Decoder::~Decoder() = default;

BitstreamBuffer& Decoder::Stream() { return core_->stream; }

uint32_t Decoder::LastPcmBytes() const { return core_->lastPcmBytes; }

const char* Decoder::LastError() const { return core_->LastError(); }

const OutputFormat& Decoder::Format() const { return core_->format; }

int Decoder::ProbeStream(StreamInfo& info, BitstreamBuffer& buffer, FrameHeader* firstHeader) {
    FrameHeader header;
    const char* message = nullptr;
    if (!FindFirstFrame(buffer, header, message)) {
        if (message != nullptr) core_->SetError("%s", message);
        return 0;
    }
    if (!IsSupportedDivisor(info.divisor)) info.divisor = 1;
    FillStreamFields(info, header, header.Layer());
    FillOutputFields(info, buffer);
    if (firstHeader != nullptr) *firstHeader = header;
    return 1;
}

int Decoder::OpenStream(StreamInfo& info) {
    // A failure below leaves the state of the stream before half overwritten:
    // its layer decoder must not run on.
    active_ = nullptr;
    // A divisor outside 1, 2, 4 would make the output stage write more than
    // the block it was given.
    if (!IsSupportedDivisor(info.divisor)) {
        core_->SetError("Wrong frequency divisor (%d)!", info.divisor);
        return 0;
    }
    core_->synthesis.Reset();
    FrameHeader header;
    const char* message = nullptr;
    if (!FindFirstFrame(core_->stream, header, message)) {
        if (message != nullptr) core_->SetError("%s", message);
        return 0;
    }
    // A seek still pending belongs to the stream it was asked for: a reopening
    // of that stream starts at its target, any other stream at its beginning.
    if (core_->SeekPending()) {
        const char* name = core_->stream.SourceOpen() ? core_->stream.Source()->Name() : nullptr;
        if (name != nullptr && std::strcmp(name, core_->current.name) == 0) {
            core_->CarryOutSeek();
        } else {
            core_->CancelSeek();
        }
    }

    LayerDecoder* chosen = header.Layer() == 3 ? static_cast<LayerDecoder*>(layer3_.get()) : layer2_.get();
    if (!chosen->Setup(info, header)) return 0;

    FillOutputFields(info, core_->stream);
    OutputFormat& format = core_->format;
    format.divisor = info.divisor;
    format.quality = info.quality;
    format.sampleRate = static_cast<uint16_t>(info.outputSampleRate);
    format.channels = static_cast<uint16_t>(info.outputChannels);
    format.bitsPerSample = static_cast<uint16_t>(info.bitsPerSample);
    format.bytesPerSample = static_cast<uint16_t>(info.bitsPerSample / 8);
    core_->UpdateFrameSize();
    uint32_t frame = static_cast<uint32_t>(core_->stream.Position() / format.codedFrameSize);
    core_->frameCounter = frame < 1 ? 1 : frame;
    core_->current = info;

    if (info.outputChannels != 1 && info.outputChannels != 2) {
        core_->SetError("Wrong number of playback channels (%d)!", info.outputChannels);
        return 0;
    }
    if (info.bitsPerSample != 8 && info.bitsPerSample != 16) {
        core_->SetError("Wrong number of sample bits (%d)!", info.bitsPerSample);
        return 0;
    }
    core_->synthesis.Configure(format);
    active_ = chosen;
    return 1;
}

uint32_t Decoder::DecodeFrame(uint8_t* out) {
    core_->lastPcmBytes = 0;
    if (active_ == nullptr) return 0;
    UnitResult result = active_->DecodeUnit();
    // A seek asked for once the data has ended goes back into the stream
    // instead of waiting for a frame that never comes.
    if (result == UnitResult::kEnd && core_->SeekPending()) {
        core_->CarryOutSeek();
        result = active_->DecodeUnit();
    }
    if (result == UnitResult::kEnd) return 0;
    return core_->FinishFrame(out, result == UnitResult::kDecoded);
}

int Decoder::RequestSeek(int32_t milliseconds) {
    double offset = core_->streamChannels * core_->bitratePerChannel * (milliseconds * 0.125);
    if (offset < 0.0) offset = 0.0;
    if (offset > 4294967295.0) offset = 4294967295.0;
    return core_->RequestSeekOffset(static_cast<uint32_t>(offset)) ? 1 : 0;
}

int Decoder::RefreshStreamInfo(StreamInfo& info) {
    info = core_->current;
    info.bitratePerChannel = core_->bitratePerChannel;
    info.length = core_->stream.Length();
    info.duration = DurationMs(info.length, info.streamChannels, info.bitratePerChannel);
    CopySourceName(info, core_->stream);
    core_->current = info;
    return 1;
}

void Decoder::ReleaseTables() { layer3_->ReleaseTables(); }

Decoder& TheDecoder() {
    // Never destroyed: at exit its buffer would close a source that the
    // caller's own static objects may already have destroyed.
    static Decoder* const decoder = new Decoder;
    return *decoder;
}

}  // namespace plyvane
