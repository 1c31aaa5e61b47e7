#include "id3v2_gapless.h"

#include <cstring>

#include "big_endian.h"

namespace plyvane {
namespace {

constexpr int kTagHeaderBytes = 10;
// The most a gapless comment can need; longer comments are passed over.
constexpr uint32_t kMaxCommentBytes = 512;
// FFmpeg's limit for the priming, and ours for the padding: more is damage.
constexpr uint32_t kMaxTrimSamples = 16384;
constexpr uint64_t kMaxSamples = uint64_t{1} << 40;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One text of a frame body in the given ID3v2 encoding, as ASCII into out
// (NUL-terminated, at most outSize - 1 characters): from *at up to its
// terminator, or to end. False for text that is not plain ASCII or does not
// fit. Leaves *at after the terminator.
bool ReadAsciiText(const uint8_t* body, size_t end, size_t* at, int encoding, char* out, size_t outSize) {
    const bool wide = encoding == 1 || encoding == 2;
    bool bigEndian = encoding == 2;
    size_t i = *at;
    if (encoding == 1 && i + 2 <= end) {
        if (body[i] == 0xFF && body[i + 1] == 0xFE) {
            bigEndian = false;
            i += 2;
        } else if (body[i] == 0xFE && body[i + 1] == 0xFF) {
            bigEndian = true;
            i += 2;
        }
    }
    size_t length = 0;
    const size_t step = wide ? 2 : 1;
    for (; i + step <= end; i += step) {
        const unsigned unit = wide ? (bigEndian ? body[i] << 8 | body[i + 1] : body[i + 1] << 8 | body[i]) : body[i];
        if (unit == 0) {
            i += step;
            break;
        }
        if (unit >= 0x80 || length + 1 >= outSize) return false;
        out[length++] = static_cast<char>(unit);
    }
    out[length] = '\0';
    *at = i;
    return true;
}

}  // namespace

uint32_t Id3v2TagSize(const uint8_t* p) {
    if (p[0] != 'I' || p[1] != 'D' || p[2] != '3') return 0;
    if (p[3] == 0xFF || p[4] == 0xFF) return 0;
    if ((p[6] | p[7] | p[8] | p[9]) & 0x80) return 0;  // sizes are syncsafe
    const bool hasFooter = (p[5] & 0x10) != 0;
    return kTagHeaderBytes + SyncSafe(p + 6) + (hasFooter ? 10 : 0);
}

bool ParseITunSMPB(const char* text, size_t size, ITunesGapless& out) {
    uint64_t fields[4] = {};
    int count = 0;
    size_t i = 0;
    while (count < 4) {
        while (i < size && (text[i] == ' ' || text[i] == '\t')) ++i;
        if (i >= size || HexDigit(text[i]) < 0) return false;
        int digits = 0;
        uint64_t value = 0;
        for (; i < size && HexDigit(text[i]) >= 0; ++i) {
            if (++digits > 16) return false;
            value = value << 4 | static_cast<uint64_t>(HexDigit(text[i]));
        }
        fields[count++] = value;
    }
    if (fields[1] > kMaxTrimSamples || fields[2] > kMaxTrimSamples || fields[3] == 0 || fields[3] >= kMaxSamples)
        return false;
    out.present = true;
    out.priming = static_cast<uint32_t>(fields[1]);
    out.padding = static_cast<uint32_t>(fields[2]);
    out.samples = fields[3];
    return true;
}

bool ParseGaplessFrame(const uint8_t* body, size_t size, bool isComment, ITunesGapless& out) {
    if (size < 1) return false;
    const int encoding = body[0];
    if (encoding > 3) return false;
    size_t at = isComment ? 4 : 1;  // the encoding, and a comment's language
    if (at > size) return false;
    char description[16];
    char value[128];
    if (!ReadAsciiText(body, size, &at, encoding, description, sizeof description)) return false;
    if (std::strcmp(description, "iTunSMPB") != 0) return false;
    if (!ReadAsciiText(body, size, &at, encoding, value, sizeof value)) return false;
    return ParseITunSMPB(value, std::strlen(value), out);
}

bool SkipId3v2Tag(BitstreamBuffer& buffer, uint32_t tagSize, ITunesGapless* gapless) {
    if (tagSize < kTagHeaderBytes || !buffer.MakeReadable(kTagHeaderBytes)) return buffer.SkipStreamBytes(tagSize);
    uint8_t head[kTagHeaderBytes];
    std::memcpy(head, buffer.ReadPointer(), sizeof head);
    const int version = head[3];
    const int flags = head[5];
    const uint32_t footer = (flags & 0x10) ? 10 : 0;
    if (tagSize < kTagHeaderBytes + footer) return buffer.SkipStreamBytes(tagSize);
    uint32_t remaining = tagSize - kTagHeaderBytes - footer;
    if (!buffer.SkipStreamBytes(kTagHeaderBytes)) return false;

    // Frames are read only where their sizes can be trusted: not through a
    // version 2.2/2.3 tag's unsynchronisation, not past an extended header of
    // a version we cannot read.
    bool readFrames = gapless != nullptr && version >= 2 && version <= 4 && !(version < 4 && (flags & 0x80));
    if (readFrames && version >= 3 && (flags & 0x40)) {
        readFrames = false;
        if (remaining >= 4 && buffer.MakeReadable(4)) {
            const uint8_t* p = buffer.ReadPointer();
            const uint32_t extended = version == 4 ? SyncSafe(p) : 4 + BigEndian(p, 4);
            if (extended >= 4 && extended <= remaining && buffer.SkipStreamBytes(extended)) {
                remaining -= extended;
                readFrames = true;
            }
        }
    }
    const uint32_t frameHeaderBytes = version == 2 ? 6 : 10;
    while (readFrames && remaining >= frameHeaderBytes && buffer.MakeReadable(static_cast<int>(frameHeaderBytes))) {
        const uint8_t* p = buffer.ReadPointer();
        if (p[0] == 0) break;  // padding
        uint32_t size;
        bool isComment, isUserText, plain;
        if (version == 2) {
            size = BigEndian(p + 3, 3);
            isComment = std::memcmp(p, "COM", 3) == 0;
            isUserText = std::memcmp(p, "TXX", 3) == 0;
            plain = true;
        } else {
            size = version == 4 ? SyncSafe(p + 4) : BigEndian(p + 4, 4);
            isComment = std::memcmp(p, "COMM", 4) == 0;
            isUserText = std::memcmp(p, "TXXX", 4) == 0;
            // Compressed, encrypted, unsynchronised or with a data length
            // indicator (v2.4), or compressed or encrypted (v2.3): not plain text.
            plain = (p[9] & (version == 4 ? 0x0F : 0xC0)) == 0;
        }
        if (size > remaining - frameHeaderBytes) break;
        if ((isComment || isUserText) && plain && size <= kMaxCommentBytes &&
            buffer.MakeReadable(static_cast<int>(frameHeaderBytes + size))) {
            ITunesGapless found;
            if (ParseGaplessFrame(buffer.ReadPointer() + frameHeaderBytes, size, isComment, found)) {
                *gapless = found;
                readFrames = false;
            }
        }
        if (!buffer.SkipStreamBytes(frameHeaderBytes + size)) return false;
        remaining -= frameHeaderBytes + size;
    }
    return buffer.SkipStreamBytes(remaining + footer);
}

}  // namespace plyvane
