// The search for the first frame of a stream, shared by OpenStream and
// ProbeStream.
#include "decoder.h"
#include "frame_header.h"

namespace plyvane {
namespace {

constexpr char kNotValid[] = "This is not a valid audiofile!";
constexpr char kNotSupported[] = "This type of audiofile is currently not supported!";

// Makes at least four bytes readable; false when the data has ended.
bool RefillForWord(BitstreamBuffer& buffer) {
    while (buffer.Available() < 4) {
        if (!buffer.RefillPermitted() || !buffer.Refill()) return false;
    }
    return true;
}

// Size of an ID3v2 tag at the read position, 0 when there is none. Its
// embedded pictures are full of false sync words, so the search starts
// after it.
uint32_t Id3v2TagSize(const uint8_t* p) {
    if (p[0] != 'I' || p[1] != 'D' || p[2] != '3') return 0;
    if (p[3] == 0xFF || p[4] == 0xFF) return 0;
    if ((p[6] | p[7] | p[8] | p[9]) & 0x80) return 0;  // sizes are syncsafe
    uint32_t size = (static_cast<uint32_t>(p[6]) << 21) | (static_cast<uint32_t>(p[7]) << 14) |
                    (static_cast<uint32_t>(p[8]) << 7) | p[9];
    const bool hasFooter = (p[5] & 0x10) != 0;
    return 10 + size + (hasFooter ? 10 : 0);
}

// Moves past count bytes of the stream, reading through the buffer so that
// sources that cannot seek work too.
bool SkipStreamBytes(BitstreamBuffer& buffer, uint32_t count) {
    while (count > 0) {
        int available = buffer.Available();
        uint32_t step = available > 0 ? static_cast<uint32_t>(available) : 0;
        if (step > count) step = count;
        buffer.SkipBytes(static_cast<int>(step));
        count -= step;
        if (count > 0 && (!buffer.RefillPermitted() || !buffer.Refill() || buffer.Available() <= 0)) return false;
    }
    return true;
}

// From the read position, the first sync word that is not the 16 one-bits
// of filler; leaves the read pointer on it. False when the data ends first.
bool SearchSyncWord(BitstreamBuffer& buffer, FrameHeader& header) {
    buffer.AlignToByte();
    for (;;) {
        while (buffer.Available() >= 4 && !HasSyncWord(buffer.PeekWordAtByte())) buffer.SkipBytes(1);
        if (buffer.Available() < 4) {
            if (!RefillForWord(buffer)) return false;
            continue;
        }
        uint32_t word = buffer.PeekWordAtByte();
        // Sync, MPEG-1, Layer I and no CRC: the 16 one-bits that fill bytes of
        // pictures and padding; never a stream this decoder plays.
        if ((word >> 16) == 0xFFFF) {
            buffer.SkipBytes(1);
            continue;
        }
        header.bits = word & 0xFFFFF;
        return true;
    }
}

}  // namespace

int FindFirstFrame(BitstreamBuffer& buffer, FrameHeader& header, const char*& message) {
    message = nullptr;
    buffer.Reset(0);
    if (buffer.Available() < 4 && (!buffer.RefillPermitted() || !buffer.Refill())) return 0;
    bool found = false;
    if (buffer.Available() >= 10) {
        uint32_t tagSize = Id3v2TagSize(buffer.ReadPointer());
        found = tagSize > 0 && SkipStreamBytes(buffer, tagSize) && SearchSyncWord(buffer, header);
        // A tag whose size is damaged may hide the whole stream: search it
        // as if it were not there.
        if (tagSize > 0 && !found) {
            buffer.Reset(0);
            if (buffer.RefillPermitted()) buffer.Refill();
        }
    }
    if (!found && !SearchSyncWord(buffer, header)) {
        message = kNotValid;
        return 0;
    }
    // Free format and the reserved sampling frequency would make every frame
    // size a division by zero; such streams are refused here.
    if (header.BitrateIndex() == 0 || header.SampleRateIndex() == 3) {
        message = kNotSupported;
        return 0;
    }
    return 1;
}

}  // namespace plyvane
