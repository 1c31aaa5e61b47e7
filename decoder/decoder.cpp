#include "decoder.h"

#include <cstring>

#include "decoder_core.h"
#include "first_frame_search.h"
#include "layer2_decoder.h"
#include "layer3_decoder.h"
#include "stream_extent.h"
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

const StreamExtent& Decoder::Extent() const { return core_->Extent(); }

int Decoder::ProbeStream(StreamInfo& info, BitstreamBuffer& buffer, FrameHeader* firstHeader, StreamExtent* extent) {
    FrameHeader header;
    const char* message = nullptr;
    ITunesGapless itunes;
    if (!FindFirstFrame(buffer, header, message, &itunes)) {
        if (message != nullptr) core_->SetError("%s", message);
        return 0;
    }
    if (!IsSupportedDivisor(info.divisor)) info.divisor = 1;
    FillStreamFields(info, header, header.Layer());
    FillOutputFields(info, buffer);
    StreamExtent measured;
    MeasureStream(buffer, header, itunes, measured);
    ApplyExtent(info, measured);
    if (firstHeader != nullptr) *firstHeader = header;
    if (extent != nullptr) *extent = measured;
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
    ITunesGapless itunes;
    if (!FindFirstFrame(core_->stream, header, message, &itunes)) {
        if (message != nullptr) core_->SetError("%s", message);
        return 0;
    }
    // A seek still pending belongs to the stream it was asked for: a reopening
    // of that stream starts at its target, any other stream at its beginning.
    bool seekHere = false;
    if (core_->SeekPending()) {
        const char* name = core_->stream.SourceOpen() ? core_->stream.Source()->Name() : nullptr;
        seekHere = name != nullptr && std::strcmp(name, core_->current.name) == 0;
        if (!seekHere) core_->CancelSeek();
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
    ApplyExtent(info, core_->BeginStream(header, itunes, info.divisor));
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
    if (seekHere) core_->CarryOutSeek();
    return 1;
}

uint32_t Decoder::DecodeFrame(uint8_t* out) {
    core_->lastPcmBytes = 0;
    if (active_ == nullptr) return 0;
    // Before this unit: the sound after a seek is the target's from its
    // first sample, also when the seek was asked for after the data ended.
    if (core_->SeekPending()) core_->CarryOutSeek();
    // Units that lie wholly before what plays (the frames a seek decodes
    // before its target, a long encoder delay) go no further.
    for (;;) {
        core_->window.StartUnit();
        const UnitResult result = active_->DecodeUnit();
        if (result == UnitResult::kEnd) return 0;
        core_->lastPcmBytes = core_->FinishUnit(out, result == UnitResult::kDecoded);
        if (core_->lastPcmBytes != 0 || !core_->window.UnitBeforeStart()) break;
    }
    return core_->TakeFrameNumber();
}

int Decoder::RequestSeek(int32_t milliseconds) { return core_->RequestSeekTime(milliseconds) ? 1 : 0; }

int Decoder::RefreshStreamInfo(StreamInfo& info) {
    info = core_->current;
    info.bitratePerChannel = core_->bitratePerChannel;
    info.length = core_->stream.Length();
    info.duration = DurationMs(info.length, info.streamChannels, info.bitratePerChannel);
    ApplyExtent(info, core_->Extent());
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
