#include "decoder_core.h"

#include <cstdarg>
#include <cstdio>

#include "diagnostics.h"
#include "stream_fields.h"

namespace plyvane {

DecoderCore::DecoderCore() {
    std::snprintf(lastError_, sizeof lastError_, "No error occured!");
    subbands.Clear();
}

void DecoderCore::SetError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(lastError_, sizeof lastError_, format, args);
    va_end(args);
}

void DecoderCore::RegisterLayer(LayerDecoder* layerDecoder) {
    for (LayerDecoder*& slot : layers_) {
        if (slot == nullptr || slot == layerDecoder) {
            slot = layerDecoder;
            return;
        }
    }
}

bool DecoderCore::EnsureBytes(int count) {
    if (stream.Available() < count && stream.RefillPermitted()) stream.RefillBelow(count);
    return stream.Available() >= count;
}

DecoderCore::FrameSearch DecoderCore::NextFrame(FrameHeader& header) {
    stream.AlignToByte();
    const int searchLimit = format.codedFrameBytes * 256;
    for (int skipped = 0; skipped <= searchLimit; ++skipped) {
        // Near the end of the data a refill may bring nothing; the bytes that
        // are left are still searched.
        if (!EnsureBytes(format.codedFrameBytes) && stream.Available() < 4) return FrameSearch::kEnd;
        const uint32_t word = stream.PeekWordAtByte();
        if (HasSyncWord(word) && ((word ^ referenceHeader) & kFrameMatchMask) == 0) {
            header.bits = word & 0xFFFFF;
            const int bytes = header.CodedBytes(layer);
            if (bytes > 0) {
                if (!EnsureBytes(bytes)) return FrameSearch::kCutOff;
                if (header.Channels() == streamChannels) {
                    lastMode_ = header.Mode();
                    return FrameSearch::kFound;
                }
                switch (FollowerOf(header, bytes)) {
                    case Follower::kSameKind:
                        return FrameSearch::kChannelChange;
                    case Follower::kStreamFrame:
                        header.bits = (header.bits & ~kModeBits) | (static_cast<uint32_t>(lastMode_) << kModeShift);
                        return FrameSearch::kFound;
                    case Follower::kNone:
                        break;
                }
            }
            Diagnostic(DiagnosticTo::kOutput, "resync\n");
        }
        stream.SkipBytes(1);
    }
    return FrameSearch::kLost;
}

DecoderCore::Follower DecoderCore::FollowerOf(FrameHeader header, int codedBytes) {
    if (!EnsureBytes(codedBytes + 4)) return Follower::kNone;
    const uint32_t word = stream.PeekWordAtByte(codedBytes);
    if (FrameHeader{word & 0xFFFFF}.CodedBytes(layer) <= 0) return Follower::kNone;
    if (IsSameKind(word, header)) return Follower::kSameKind;
    if (IsSameKind(word, FrameHeader{referenceHeader | (static_cast<uint32_t>(lastMode_) << kModeShift)}))
        return Follower::kStreamFrame;
    return Follower::kNone;
}

void DecoderCore::AdoptStream(StreamInfo& info, FrameHeader header, int layerNumber) {
    synthesis.Reset();
    subbands.Clear();
    FillStreamFields(info, header, layerNumber);
    info.subbands = SubbandSamples::kSubbands;
    info.slots = SubbandSamples::kSlots;
    referenceHeader = header.bits & kReferenceHeaderMask;
    lastMode_ = header.Mode();
    layer = layerNumber;
    streamChannels = info.streamChannels;
    sampleRate = info.sampleRate;
    bitratePerChannel = info.bitratePerChannel;
}

void DecoderCore::UpdateFrameSize() {
    float fs = static_cast<float>(streamChannels * bitratePerChannel * kSamplesPerUnit * 1000.0 /
                                  (sampleRate * 8.0) + 1.0);
    format.codedFrameSize = fs;
    format.codedFrameBytes = static_cast<int32_t>(fs);
    totalFrames = static_cast<uint32_t>(stream.Length() / fs);
}

void DecoderCore::CheckStreamMarker(FrameHeader header) {
    if (!stream.MarkerReached()) return;
    stream.ClearMarker();
    frameCounter = 1;
    int kbps = header.BitrateKbps(layer);
    if (kbps <= 0) return;  // a damaged header keeps the previous estimate
    bitratePerChannel = streamChannels == 1 ? kbps : static_cast<int>(static_cast<uint32_t>(kbps) >> 1);
    UpdateFrameSize();
}

bool DecoderCore::RequestSeekOffset(uint32_t byteOffset) {
    if (seekPending_.load(std::memory_order_acquire)) return false;
    // The target first, the flag last: the decoding thread reads them in the
    // opposite order.
    seekOffset_.store(byteOffset, std::memory_order_relaxed);
    seekPending_.store(true, std::memory_order_release);
    return true;
}

void DecoderCore::CarryOutSeek() {
    uint32_t offset = seekOffset_.load(std::memory_order_relaxed);
    synthesis.Reset();
    subbands.Clear();
    for (LayerDecoder* layerDecoder : layers_) {
        if (layerDecoder != nullptr) layerDecoder->ResetState();
    }
    uint32_t frame = format.codedFrameSize > 0.0f ? static_cast<uint32_t>(offset / format.codedFrameSize) : 0;
    frameCounter = frame < 1 ? 1 : frame;
    seekPending_.store(false, std::memory_order_release);
    stream.Reset(offset);
}

uint32_t DecoderCore::FinishFrame(uint8_t* out, bool synthesize) {
    lastPcmBytes = synthesize ? synthesis.SynthesizeFrame(subbands, streamChannels, out) : 0;
    if (SeekPending()) CarryOutSeek();
    return frameCounter++;
}

}  // namespace plyvane
