#include "stream_extent.h"

#include <algorithm>

#include "big_endian.h"
#include "source_reader.h"

namespace plyvane {
namespace {

// What begins exactly where a header frame says its segment ends.
enum class Follower { kNothing, kHeaderFrame, kAudio };

// The length of the Layer III frame whose header is word, when it is one of
// the stream of reference (ID, layer and sampling frequency agree); else 0.
int StreamFrameLength(uint32_t word, FrameHeader reference) {
    if (!HasSyncWord(word) || ((word ^ reference.bits) & kFrameMatchMask) != 0) return 0;
    return FrameHeader{word & 0xFFFFF}.CodedBytes(3);
}

bool HeaderFrameAt(SourceReader& reader, uint32_t position, int length, HeaderFrame& out) {
    const int count = static_cast<int>(std::min<uint32_t>(static_cast<uint32_t>(length), reader.Length() - position));
    const uint8_t* frame = reader.At(position, count);
    return frame != nullptr && ParseHeaderFrame(frame, count, out);
}

Follower FollowerAt(SourceReader& reader, uint32_t position, FrameHeader reference) {
    const uint8_t* p = reader.At(position, 4);
    if (p == nullptr) return Follower::kNothing;
    const int length = StreamFrameLength(BigEndian(p, 4), reference);
    if (length <= 0) return Follower::kNothing;
    HeaderFrame header;
    return HeaderFrameAt(reader, position, length, header) ? Follower::kHeaderFrame : Follower::kAudio;
}

// The trim of a segment from its header (and, for a file's first segment,
// iTunes' comment); the padding counts only with a verified frame count.
SegmentTrim TrimOf(const HeaderFrame& header, const ITunesGapless* itunes, int samplesPerFrame, bool countVerified) {
    SegmentTrim trim;
    const int64_t decoded = countVerified ? int64_t{header.frames} * samplesPerFrame : -1;
    if (header.hasEncoderDelay) {
        trim.skip = header.encoderDelay + kDecoderDelay;
        // A padding shorter than the decoder's delay would end the segment
        // after its last decoded sample: it ends there.
        if (decoded >= 0)
            trim.play = std::max<int64_t>(
                0, std::min<int64_t>(decoded - header.encoderDelay - header.encoderPadding, decoded - trim.skip));
    } else if (itunes != nullptr && itunes->present &&
               (decoded < 0 || int64_t{itunes->priming} + itunes->padding + static_cast<int64_t>(itunes->samples) ==
                                   decoded)) {
        trim.skip = itunes->priming;
        trim.play = static_cast<int64_t>(itunes->samples);
    } else if (decoded >= 0) {
        trim.play = decoded;
    }
    return trim;
}

int64_t PlayedSamples(const SegmentTrim& trim, uint32_t frames, int samplesPerFrame) {
    if (trim.play >= 0) return trim.play;
    return std::max<int64_t>(0, int64_t{frames} * samplesPerFrame - trim.skip);
}

// A segment that the frame count below is walking through.
struct Segment {
    HeaderFrame header;
    uint32_t end = 0;  // where its header says it ends; 0 when it does not say
    Follower follower = Follower::kNothing;
    uint32_t frames = 0;  // audio frames counted

    // Later segments: trusted as the decoder trusts them when it meets them.
    int64_t Played(int samplesPerFrame) const {
        const bool verified = header.hasEncoderDelay && header.frames != 0 && end != 0 && follower != Follower::kAudio;
        return PlayedSamples(TrimOf(header, nullptr, samplesPerFrame, verified), frames, samplesPerFrame);
    }
};

// Walks the frames from the header frame at from to the end of the file, as
// the decoder finds them: the audio frames of the first segment into
// firstFrames, the samples the later segments play into laterPlayed, and
// whether an audio frame begins where the first header says it ends.
void CountFrames(SourceReader& reader, uint32_t from, FrameHeader reference, const HeaderFrame& firstHeader,
                 uint32_t& firstFrames, int64_t& laterPlayed, Follower& firstFollower) {
    const int samplesPerFrame = Layer3SamplesPerFrame(reference);
    const uint32_t length = reader.Length();
    Segment segment;
    segment.header = firstHeader;
    segment.end = firstHeader.bytes != 0 ? from + firstHeader.bytes : 0;
    bool first = true;
    auto finish = [&] {
        if (first) {
            firstFrames = segment.frames;
            firstFollower = segment.follower;
        } else {
            laterPlayed += segment.Played(samplesPerFrame);
        }
    };
    uint32_t position = from;
    while (length - position >= 4) {
        const uint8_t* p = reader.At(position, 4);
        if (p == nullptr) break;
        const int frameLength = StreamFrameLength(BigEndian(p, 4), reference);
        if (frameLength <= 0) {
            ++position;  // damage or a tag: on to the next sync word
            continue;
        }
        if (length - position < static_cast<uint32_t>(frameLength)) break;  // cut off: never decoded
        HeaderFrame header;
        const bool isHeader = position == from || HeaderFrameAt(reader, position, frameLength, header);
        if (position == segment.end) segment.follower = isHeader ? Follower::kHeaderFrame : Follower::kAudio;
        if (isHeader && position != from) {
            finish();
            first = false;
            segment = Segment{};
            segment.header = header;
            segment.end = header.bytes != 0 ? position + header.bytes : 0;
        } else if (!isHeader) {
            ++segment.frames;
        }
        position += static_cast<uint32_t>(frameLength);
    }
    finish();
}

}  // namespace

void MeasureStream(BitstreamBuffer& buffer, FrameHeader first, const ITunesGapless& itunes, StreamExtent& out) {
    out = StreamExtent{};
    if (first.Layer() != 3) return;
    const int samplesPerFrame = Layer3SamplesPerFrame(first);
    const int frameLength = first.CodedBytes(3);
    buffer.MakeReadable(frameLength);
    const int readable = std::min(frameLength, std::max(buffer.Available(), 0));
    if (!ParseHeaderFrame(buffer.ReadPointer(), readable, out.header)) {
        // iTunes' comment alone: its own count.
        if (itunes.present) {
            out.trim = TrimOf(out.header, &itunes, samplesPerFrame, false);
            out.totalSamples = out.trim.play;
        }
        return;
    }
    out.headerBytes = frameLength;
    const HeaderFrame& header = out.header;

    bool verified = false;
    bool counted = false;
    uint32_t firstFrames = 0;
    int64_t laterPlayed = 0;
    ByteSource* source = buffer.SourceOpen() ? buffer.Source() : nullptr;
    if (source == nullptr || buffer.SourceAhead() || buffer.Length() == 0) {
        // A stream of unknown length, or a list already reading its next
        // file: only a LAME tag's checksum vouches for the count.
        verified = header.hasEncoderDelay && header.frames != 0;
    } else {
        SourceReader reader(*source);
        const uint32_t position = std::min(buffer.FilePosition(), reader.Length());
        const bool fits = header.bytes != 0 && header.bytes <= reader.Length() - position;
        Follower follower = fits ? FollowerAt(reader, position + header.bytes, first) : Follower::kAudio;
        if (header.hasEncoderDelay && header.frames != 0 && fits && follower == Follower::kNothing) {
            // The usual file: one encoding whose tag's checksum holds, ending
            // where its header says.
            verified = true;
        } else {
            CountFrames(reader, position, first, header, firstFrames, laterPlayed, follower);
            counted = true;
            verified = header.frames != 0 && firstFrames == header.frames &&
                       (header.bytes == 0 || (fits && follower != Follower::kAudio));
        }
    }
    out.trim = TrimOf(header, &itunes, samplesPerFrame, verified);
    out.segmentFrames = verified ? header.frames : firstFrames;
    if (counted) {
        out.totalSamples = PlayedSamples(out.trim, firstFrames, samplesPerFrame) + laterPlayed;
    } else {
        out.totalSamples = out.trim.play;
    }
}

SegmentTrim LaterSegmentTrim(BitstreamBuffer& buffer, FrameHeader frame, const HeaderFrame& header) {
    const int samplesPerFrame = Layer3SamplesPerFrame(frame);
    bool verified = header.hasEncoderDelay && header.frames != 0;
    ByteSource* source = buffer.SourceOpen() ? buffer.Source() : nullptr;
    if (verified && source != nullptr && !buffer.SourceAhead() && buffer.Length() != 0) {
        SourceReader reader(*source);
        const uint32_t position = std::min(buffer.FilePosition(), reader.Length());
        verified = header.bytes != 0 && header.bytes <= reader.Length() - position &&
                   FollowerAt(reader, position + header.bytes, frame) != Follower::kAudio;
    }
    return TrimOf(header, nullptr, samplesPerFrame, verified);
}

}  // namespace plyvane
