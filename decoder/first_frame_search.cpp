#include "first_frame_search.h"

#include <algorithm>

#include "id3v2_gapless.h"

namespace plyvane {
namespace {

constexpr char kNotValid[] = "This is not a valid audiofile!";
constexpr char kNotSupported[] = "This type of audiofile is currently not supported!";

// A first header whose frame length the decoder cannot tell (Layer I, free
// format, a forbidden or reserved field) must come again twice, each time
// within this many bytes (the longest frame fits), with the same ID, layer,
// bit-rate index, sampling frequency and mode.
constexpr int kRepeatReach = 3000;
constexpr int kRepeats = 2;
constexpr uint32_t kRepeatMask = 0xFFFEFCC0;

// Why a stream whose first header this is cannot be played, or null when it
// can: Layer I and the reserved layer, free format (whose frame size would
// be a division by zero) and the forbidden bit-rate index.
const char* UnsupportedStreamMessage(FrameHeader header) {
    const int layerField = header.LayerField();
    if (layerField != 1 && layerField != 2) return kNotSupported;
    if (header.BitrateIndex() == 0) return kNotSupported;
    if (header.BitrateIndex() == 15) {
        return layerField == 2 ? "Layer II: Forbidden bitrate used for encoding!"
                               : "Layer III: Forbidden bitrate used for encoding!";
    }
    return nullptr;
}

// From the read position, the first sync word that is not the 16 one-bits
// of filler; leaves the read pointer on it. False when the data ends first.
bool SearchSyncWord(BitstreamBuffer& buffer, FrameHeader& header) {
    buffer.AlignToByte();
    for (;;) {
        while (buffer.Available() >= 4 && !HasSyncWord(buffer.PeekWordAtByte())) buffer.SkipBytes(1);
        if (buffer.Available() < 4) {
            if (!buffer.MakeReadable(4)) return false;
            continue;
        }
        uint32_t word = buffer.PeekWordAtByte();
        header.bits = word & 0xFFFFF;
        // Sync, MPEG-1, Layer I and no CRC: the 16 one-bits that fill bytes of
        // pictures and padding; never a stream this decoder plays. Nor is a
        // header with the reserved sampling frequency, which no encoder writes.
        if ((word >> 16) == 0xFFFF || header.SampleRateIndex() == 3) {
            buffer.SkipBytes(1);
            continue;
        }
        return true;
    }
}

// Whether the sync word at the read position is followed, where its frame
// ends, by a header of the same kind: a lone header is damage, or a false
// sync in other data, and never the start of a stream. A whole frame that
// ends the data is a stream of one frame.
bool IsFollowedBySameKind(BitstreamBuffer& buffer, FrameHeader candidate) {
    const int layerField = candidate.LayerField();
    const int length = layerField == 1 || layerField == 2 ? candidate.CodedBytes(4 - layerField) : 0;
    if (length > 0) {
        if (!buffer.MakeReadable(length + 4)) return buffer.Available() >= length;
        const uint32_t word = buffer.PeekWordAtByte(length);
        return IsSameKind(word, candidate) && FrameHeader{word & 0xFFFFF}.CodedBytes(4 - layerField) > 0;
    }
    // A kind whose frame length is unknown: the same header must come again.
    const uint32_t expected = (0xFFFu << 20 | candidate.bits) & kRepeatMask;
    int previous = 0;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        buffer.MakeReadable(previous + kRepeatReach + 4);
        const int end = std::min(buffer.Available(), previous + kRepeatReach + 4);
        int at = previous + 4;
        while (at + 4 <= end && (buffer.PeekWordAtByte(at) & kRepeatMask) != expected) ++at;
        if (at + 4 > end) return false;
        previous = at;
    }
    return true;
}

// The first sync word from the read position that another header of its
// kind follows; leaves the read pointer on it.
bool SearchFirstFrame(BitstreamBuffer& buffer, FrameHeader& header) {
    while (SearchSyncWord(buffer, header)) {
        if (IsFollowedBySameKind(buffer, header)) return true;
        buffer.SkipBytes(1);
    }
    return false;
}

}  // namespace

int FindFirstFrame(BitstreamBuffer& buffer, FrameHeader& header, const char*& message, ITunesGapless* gapless) {
    message = nullptr;
    if (gapless != nullptr) *gapless = ITunesGapless{};
    buffer.Reset(0);
    if (buffer.Available() < 4 && (!buffer.RefillPermitted() || !buffer.Refill())) return 0;
    bool found = false;
    if (buffer.Available() >= 10) {
        // Its embedded pictures are full of false sync words, so the search
        // starts after it.
        uint32_t tagSize = Id3v2TagSize(buffer.ReadPointer());
        found = tagSize > 0 && SkipId3v2Tag(buffer, tagSize, gapless) && SearchFirstFrame(buffer, header);
        // A tag whose size is damaged may hide the whole stream: search it
        // as if it were not there.
        if (tagSize > 0 && !found) {
            if (gapless != nullptr) *gapless = ITunesGapless{};
            buffer.Reset(0);
            if (buffer.RefillPermitted()) buffer.Refill();
        }
    }
    if (!found && !SearchFirstFrame(buffer, header)) {
        message = kNotValid;
        return 0;
    }
    message = UnsupportedStreamMessage(header);
    return message == nullptr ? 1 : 0;
}

}  // namespace plyvane
