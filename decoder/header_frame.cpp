#include "header_frame.h"

#include <cstring>

#include "big_endian.h"
#include "layer3_side_info.h"

namespace plyvane {
namespace {

// More frames than any file holds (four days at 48 kHz): a count beyond is damage.
constexpr uint32_t kMaxFrames = 1u << 24;

// Xing flags: which fields follow.
constexpr uint32_t kXingFrames = 1;
constexpr uint32_t kXingBytes = 2;
constexpr uint32_t kXingToc = 4;
constexpr uint32_t kXingQuality = 8;

// LAME's tag: 9 bytes of encoder version, then its fields; the delay and
// padding (12 bits each) at 21, the checksum of everything before it at 34.
constexpr int kLameTagBytes = 36;
constexpr int kLameDelayAt = 21;
constexpr int kLameCrcAt = 34;

// Fraunhofer's header sits 32 bytes after the frame header, whatever the
// side information's size; its fixed part is 26 bytes, the table follows.
constexpr int kVbriAt = 36;
constexpr int kVbriFixedBytes = 26;

// The checksum LAME keeps of its tag frame: CRC-16 with the polynomial
// 0x8005, bits reflected, starting from 0.
uint16_t Crc16(const uint8_t* bytes, int count) {
    uint32_t crc = 0;
    for (int i = 0; i < count; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001u : crc >> 1;
    }
    return static_cast<uint16_t>(crc);
}

// Keeps the frame and byte counts only when they agree with each other: the
// frames of the stream can be neither smaller nor larger than its rates allow.
void CheckCounts(FrameHeader header, int frameBytes, HeaderFrame& out) {
    if (out.frames > kMaxFrames || (out.bytes != 0 && out.bytes < static_cast<uint32_t>(frameBytes))) {
        out.frames = 0;
        out.bytes = 0;
    }
    if (out.frames == 0 || out.bytes == 0) return;
    FrameHeader smallest = header;
    smallest.bits = (header.bits & ~(0xFu << 12 | 1u << 9)) | 1u << 12;
    FrameHeader largest = header;
    largest.bits = (header.bits & ~(0xFu << 12)) | 14u << 12 | 1u << 9;
    const uint64_t least = static_cast<uint64_t>(out.frames) * static_cast<uint64_t>(smallest.CodedBytes(3));
    const uint64_t most = static_cast<uint64_t>(out.frames + 1) * static_cast<uint64_t>(largest.CodedBytes(3));
    // A constant bit rate ("Info") leaves no room: every frame is as long
    // as this one, give or take its padding byte.
    const uint64_t nominal = static_cast<uint64_t>(header.CodedBytes(3) - header.Padding());
    const uint64_t frames = uint64_t{out.frames} + 1;
    const bool constant = out.kind == HeaderFrameKind::kInfo;
    if (out.bytes < least || out.bytes > most ||
        (constant && (out.bytes + nominal < frames * nominal || out.bytes > frames * (nominal + 1) + nominal))) {
        out.frames = 0;
        out.bytes = 0;
    }
}

bool IsAscending(const uint8_t* table, int count) {
    for (int i = 1; i < count; ++i)
        if (table[i] < table[i - 1]) return false;
    return true;
}

// LAME's tag at tag, when it is whole within the frame and its checksum
// holds; the delay and padding must leave samples to play.
void ReadLameTag(const uint8_t* frame, int frameBytes, int tag, FrameHeader header, HeaderFrame& out) {
    if (tag + kLameTagBytes > frameBytes) return;
    const uint8_t* p = frame + tag;
    if (Crc16(frame, tag + kLameCrcAt) != BigEndian(p + kLameCrcAt, 2)) return;
    const uint32_t packed = BigEndian(p + kLameDelayAt, 3);
    const uint32_t delay = packed >> 12;
    const uint32_t padding = packed & 0xFFF;
    if (out.frames != 0 &&
        delay + padding >= static_cast<uint64_t>(out.frames) * static_cast<uint32_t>(Layer3SamplesPerFrame(header)))
        return;
    out.hasEncoderDelay = true;
    out.encoderDelay = static_cast<uint16_t>(delay);
    out.encoderPadding = static_cast<uint16_t>(padding);
}

bool ParseXing(const uint8_t* frame, int frameBytes, FrameHeader header, HeaderFrame& out) {
    const int at = 4 + SideInfoBytes(header.Id(), header.Channels());
    if (at + 8 > frameBytes) return false;
    const uint8_t* p = frame + at;
    if (std::memcmp(p, "Xing", 4) == 0) {
        out.kind = HeaderFrameKind::kXing;
    } else if (std::memcmp(p, "Info", 4) == 0) {
        out.kind = HeaderFrameKind::kInfo;
    } else {
        return false;
    }
    const uint32_t flags = BigEndian(p + 4, 4);
    int next = at + 8;
    auto field = [&](uint32_t flag, int size) -> const uint8_t* {
        if (!(flags & flag)) return nullptr;
        const int start = next;
        next += size;
        return next <= frameBytes ? frame + start : nullptr;
    };
    if (const uint8_t* frames = field(kXingFrames, 4)) out.frames = BigEndian(frames, 4);
    if (const uint8_t* bytes = field(kXingBytes, 4)) out.bytes = BigEndian(bytes, 4);
    const uint8_t* toc = field(kXingToc, 100);
    field(kXingQuality, 4);
    CheckCounts(header, frameBytes, out);
    if (toc != nullptr && out.frames != 0 && out.bytes != 0 && IsAscending(toc, 100)) {
        out.hasToc = true;
        std::memcpy(out.toc, toc, 100);
    }
    if (next <= frameBytes) ReadLameTag(frame, frameBytes, next, header, out);
    return true;
}

// Fraunhofer's table gives the bytes of each run of frames; it becomes a
// table by percent of the time, as the Xing header has it.
void ConvertVbriTable(const uint8_t* table, int entries, int entrySize, uint32_t scale, uint32_t framesPerEntry,
                      HeaderFrame& out) {
    uint64_t runStart = 0;  // bytes before the current run
    int entry = 0;
    for (int percent = 0; percent < 100; ++percent) {
        const uint64_t frame = static_cast<uint64_t>(out.frames) * static_cast<uint64_t>(percent) / 100;
        uint64_t runBytes = entry < entries ? BigEndian(table + entry * entrySize, entrySize) * uint64_t{scale} : 0;
        while (entry < entries && frame >= (static_cast<uint64_t>(entry) + 1) * framesPerEntry) {
            runStart += runBytes;
            ++entry;
            runBytes = entry < entries ? BigEndian(table + entry * entrySize, entrySize) * uint64_t{scale} : 0;
        }
        const uint64_t intoRun = frame - static_cast<uint64_t>(entry) * framesPerEntry;
        const uint64_t position = runStart + (entry < entries ? runBytes * intoRun / framesPerEntry : 0);
        if (position > out.bytes) return;  // the runs claim more than the stream holds
        const uint64_t scaled = position * 256 / out.bytes;
        out.toc[percent] = static_cast<uint8_t>(scaled > 255 ? 255 : scaled);
    }
    out.hasToc = true;
}

bool ParseVbri(const uint8_t* frame, int frameBytes, FrameHeader header, HeaderFrame& out) {
    if (kVbriAt + kVbriFixedBytes > frameBytes) return false;
    const uint8_t* p = frame + kVbriAt;
    if (std::memcmp(p, "VBRI", 4) != 0) return false;
    out.kind = HeaderFrameKind::kVbri;
    if (BigEndian(p + 4, 2) != 1) return true;  // a version we do not know: nothing of it is trusted
    out.bytes = BigEndian(p + 10, 4);
    out.frames = BigEndian(p + 14, 4);
    CheckCounts(header, frameBytes, out);
    const int entries = static_cast<int>(BigEndian(p + 18, 2));
    const uint32_t scale = BigEndian(p + 20, 2);
    const int entrySize = static_cast<int>(BigEndian(p + 22, 2));
    const uint32_t framesPerEntry = BigEndian(p + 24, 2);
    if (out.frames == 0 || out.bytes == 0 || entries == 0 || scale == 0 || entrySize < 1 || entrySize > 4 ||
        framesPerEntry == 0 || kVbriAt + kVbriFixedBytes + entries * entrySize > frameBytes)
        return true;
    ConvertVbriTable(p + kVbriFixedBytes, entries, entrySize, scale, framesPerEntry, out);
    if (out.hasToc && !IsAscending(out.toc, 100)) out.hasToc = false;
    return true;
}

}  // namespace

bool LooksLikeHeaderFrame(const uint8_t* frame, int frameBytes) {
    if (frameBytes < 4) return false;
    const FrameHeader header{BigEndian(frame, 4) & 0xFFFFF};
    const int at = 4 + SideInfoBytes(header.Id(), header.Channels());
    if (at + 4 <= frameBytes && (std::memcmp(frame + at, "Xing", 4) == 0 || std::memcmp(frame + at, "Info", 4) == 0))
        return true;
    return kVbriAt + 4 <= frameBytes && std::memcmp(frame + kVbriAt, "VBRI", 4) == 0;
}

bool ParseHeaderFrame(const uint8_t* frame, int frameBytes, HeaderFrame& out) {
    out = HeaderFrame{};
    if (frame == nullptr || frameBytes < 4) return false;
    const uint32_t word = BigEndian(frame, 4);
    if (!HasSyncWord(word)) return false;
    const FrameHeader header{word & 0xFFFFF};
    if (header.Layer() != 3 || header.CodedBytes(3) <= 0) return false;
    if (ParseXing(frame, frameBytes, header, out) || ParseVbri(frame, frameBytes, header, out)) return true;
    out = HeaderFrame{};
    return false;
}

uint32_t TocByteOffset(const HeaderFrame& header, double fraction) {
    if (!header.hasToc || header.bytes == 0) return 0;
    if (!(fraction > 0.0)) return 0;
    if (fraction > 1.0) fraction = 1.0;
    const double percent = fraction * 100.0;
    int lower = static_cast<int>(percent);
    if (lower > 99) lower = 99;
    const double from = header.toc[lower];
    const double to = lower < 99 ? header.toc[lower + 1] : 256.0;
    const double position = (from + (to - from) * (percent - lower)) / 256.0 * header.bytes;
    return position >= header.bytes ? header.bytes : static_cast<uint32_t>(position);
}

}  // namespace plyvane
