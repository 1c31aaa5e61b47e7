#include "decoder_core.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "diagnostics.h"
#include "header_frame.h"
#include "layer3_side_info.h"
#include "stream_fields.h"

namespace plyvane {

namespace {

// A seek walks the frames from this many before its target on, so that it
// knows where those the reservoir needs begin.
constexpr uint32_t kWalkLead = 64;
// The farthest back a Layer III frame's main data may begin (main_data_begin
// has 9 bits in MPEG-1, 8 in MPEG-2).
constexpr int kMaxMainDataBegin[2] = {255, 511};
// A frame number no frame index holds: where a seek by estimate leaves us.
constexpr uint32_t kUnknownFrame = 0x80000000u;

// The frames a seek's walk passed last: where each begins and how many
// bytes of main data it carries.
class RecentFrames {
public:
    void Add(uint32_t position, int mainDataBytes) {
        entries_[next_ % kWalkLead] = Entry{position, mainDataBytes};
        ++next_;
    }
    uint32_t Count() const { return next_ < kWalkLead ? next_ : kWalkLead; }
    // k frames before the last one added (0 is the last).
    uint32_t Position(uint32_t k) const { return entries_[(next_ - 1 - k) % kWalkLead].position; }
    int MainData(uint32_t k) const { return entries_[(next_ - 1 - k) % kWalkLead].mainDataBytes; }

private:
    struct Entry {
        uint32_t position;
        int mainDataBytes;
    };
    Entry entries_[kWalkLead] = {};
    uint32_t next_ = 0;
};

}  // namespace

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
        // The next file of a list may begin with an ID3v2 tag, whose pictures
        // are full of false sync words; its iTunSMPB is for that file.
        if (stream.AtMarker() && stream.MakeReadable(10)) {
            const uint32_t tagSize = Id3v2TagSize(stream.ReadPointer());
            if (tagSize > 0) {
                SkipId3v2Tag(stream, tagSize, &markerTagGapless_);
                continue;
            }
        }
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

bool DecoderCore::CheckStreamMarker(FrameHeader header) {
    if (!stream.MarkerReached()) return false;
    stream.PassMarker();
    frameCounter = 1;
    frameNumberAfterSeek_ = 0;
    int kbps = header.BitrateKbps(layer);
    if (kbps <= 0) return true;  // a damaged header keeps the previous estimate
    bitratePerChannel = streamChannels == 1 ? kbps : static_cast<int>(static_cast<uint32_t>(kbps) >> 1);
    UpdateFrameSize();
    return true;
}

int DecoderCore::SamplesPerFrame() const {
    return layer == 3 && ((referenceHeader >> 19) & 1) == 0 ? 576 : 1152;
}

DecoderCore::FrameSearch DecoderCore::NextAudioFrame(FrameHeader& header, int slotOffset) {
    for (;;) {
        const FrameSearch found = NextFrame(header);
        if (found != FrameSearch::kFound) return found;
        const int bytes = header.CodedBytes(layer);
        if (CheckStreamMarker(header)) {
            StreamExtent extent;
            MeasureStream(stream, header, markerTagGapless_, extent);
            markerTagGapless_ = ITunesGapless{};
            BeginFile(extent);
            if (extent.headerBytes > 0) continue;
        } else if (layer == 3 && LooksLikeHeaderFrame(stream.ReadPointer(), bytes)) {
            // Another encoding begins inside the file.
            HeaderFrame segment;
            if (ParseHeaderFrame(stream.ReadPointer(), bytes, segment)) {
                window.BeginSegment(LaterSegmentTrim(stream, header, segment), false);
                stream.SkipBytes(bytes);
                continue;
            }
        }
        index_.Note(audioFrame_++, stream.FilePosition());
        window.AddFrame(slotOffset, SamplesPerFrame());
        return FrameSearch::kFound;
    }
}

const StreamExtent& DecoderCore::BeginStream(FrameHeader first, const ITunesGapless& itunes, int divisor) {
    markerTagGapless_ = ITunesGapless{};
    frameNumberAfterSeek_ = 0;
    window.Reset(divisor);
    StreamExtent extent;
    MeasureStream(stream, first, itunes, extent);
    BeginFile(extent);
    return extent_;
}

void DecoderCore::BeginFile(const StreamExtent& extent) {
    extent_ = extent;
    index_.Clear();
    audioFrame_ = 0;
    window.BeginSegment(extent.trim, true);
    stream.SkipBytes(extent.headerBytes);
    firstAudioPosition_ = stream.FilePosition();
}

bool DecoderCore::RequestSeekTime(int32_t milliseconds) {
    if (seekPending_.load(std::memory_order_acquire)) return false;
    // The target first, the flag last: the decoding thread reads them in the
    // opposite order.
    seekMilliseconds_.store(milliseconds, std::memory_order_relaxed);
    seekPending_.store(true, std::memory_order_release);
    return true;
}

void DecoderCore::CarryOutSeek() {
    const int32_t milliseconds = seekMilliseconds_.load(std::memory_order_relaxed);
    synthesis.Reset();
    subbands.Clear();
    for (LayerDecoder* layerDecoder : layers_) {
        if (layerDecoder != nullptr) layerDecoder->ResetState();
    }
    seekPending_.store(false, std::memory_order_release);
    if (!SeekToFrame(milliseconds)) SeekByEstimate(milliseconds);
}

bool DecoderCore::SeekToFrame(int32_t milliseconds) {
    if (!stream.SourceOpen() || stream.Length() == 0 || sampleRate <= 0) return false;
    const int samplesPerFrame = SamplesPerFrame();
    window.ReturnToFileStart(extent_.trim);
    const int64_t played = int64_t{std::max(milliseconds, 0)} * sampleRate / 1000;
    const int64_t target = window.FirstPlayed() + played;
    const uint32_t frame = static_cast<uint32_t>(std::min<int64_t>(target / samplesPerFrame, kUnknownFrame - 1));

    uint32_t current = 0;
    uint32_t position = firstAudioPosition_;
    if (!index_.Lookup(frame > kWalkLead ? frame - kWalkLead : 0, current, position)) current = 0;
    if (!stream.ResetInFile(position)) return false;
    // Walk to the target, noting the frames on the way. Header frames of
    // further encodings are no audio; the next file of a list is beyond.
    RecentFrames recent;
    while (current < frame) {
        FrameHeader header;
        if (NextFrame(header) != FrameSearch::kFound || stream.MarkerReached()) break;
        const int bytes = header.CodedBytes(layer);
        HeaderFrame segment;
        if (!(layer == 3 && LooksLikeHeaderFrame(stream.ReadPointer(), bytes) &&
              ParseHeaderFrame(stream.ReadPointer(), bytes, segment))) {
            const uint32_t at = stream.FilePosition();
            index_.Note(current++, at);
            const int mainData = layer == 3 ? bytes - 4 - (header.HasCrc() ? 2 : 0) -
                                                  SideInfoBytes(header.Id(), header.Channels())
                                            : 0;
            recent.Add(at, mainData);
        }
        stream.SkipBytes(bytes);
    }
    // Unit k plays from (k - 1) units on: the target's unit, as the engine
    // counts the position.
    frameNumberAfterSeek_ = static_cast<uint32_t>(played / kSamplesPerUnit) + 1;
    const bool keepEnd = extent_.segmentFrames == 0 || frame < extent_.segmentFrames;
    if (current < frame) {
        // The data ends before the target, or the next file of a list
        // begins: decoding goes on from there.
        audioFrame_ = current;
        window.SeekTo(int64_t{current} * samplesPerFrame, target, keepEnd);
        return true;
    }
    // The synthesis filter bank's history and the IMDCT's overlap come from
    // the two granules before the target, which must be decoded whole: one
    // frame before it in MPEG-1, two in MPEG-2 (Layer II: one frame). With
    // Layer III, first the frames whose main data those may still use.
    const bool mpeg1 = ((referenceHeader >> 19) & 1) != 0;
    uint32_t lead = std::min<uint32_t>(recent.Count(), layer == 3 && !mpeg1 ? 2 : 1);
    if (layer == 3) {
        int mainData = 0;
        while (lead < recent.Count() && mainData < kMaxMainDataBegin[mpeg1 ? 1 : 0])
            mainData += recent.MainData(lead++);
    }
    if (lead > 0 && !stream.ResetInFile(recent.Position(lead - 1))) return false;
    audioFrame_ = frame - lead;
    window.SeekTo(int64_t{audioFrame_} * samplesPerFrame, target, keepEnd);
    return true;
}

void DecoderCore::SeekByEstimate(int32_t milliseconds) {
    const int64_t played = int64_t{std::max(milliseconds, 0)} * std::max(sampleRate, 0) / 1000;
    double offset = streamChannels * bitratePerChannel * (milliseconds * 0.125);
    const HeaderFrame& header = extent_.header;
    if (header.hasToc && extent_.totalSamples > 0) {
        offset = firstAudioPosition_ - extent_.headerBytes +
                 TocByteOffset(header, static_cast<double>(played) / static_cast<double>(extent_.totalSamples));
    }
    if (offset < 0.0) offset = 0.0;
    if (offset > 4294967295.0) offset = 4294967295.0;
    const uint32_t byteOffset = static_cast<uint32_t>(offset);
    const uint32_t frame = format.codedFrameSize > 0.0f ? static_cast<uint32_t>(byteOffset / format.codedFrameSize) : 0;
    frameNumberAfterSeek_ = frame < 1 ? 1 : frame;
    // Where in the timeline that lands is a guess: nothing is trimmed.
    audioFrame_ = kUnknownFrame;
    const int64_t position = (window.FirstPlayed() + played) / SamplesPerFrame() * SamplesPerFrame();
    window.SeekTo(position, position, false);
    stream.ResetInFile(byteOffset);
}

uint32_t DecoderCore::FinishUnit(uint8_t* out, bool synthesize) {
    if (!synthesize) return 0;
    synthesis.SynthesizeFrame(subbands, streamChannels, out);
    return window.Apply(out, format.channels * format.bytesPerSample);
}

uint32_t DecoderCore::TakeFrameNumber() {
    if (frameNumberAfterSeek_ != 0) {
        frameCounter = frameNumberAfterSeek_;
        frameNumberAfterSeek_ = 0;
    }
    return frameCounter++;
}

}  // namespace plyvane
