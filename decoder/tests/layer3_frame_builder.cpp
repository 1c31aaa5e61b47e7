#include "layer3_frame_builder.h"

#include <cstring>

namespace plyvane::test {
namespace {

void PutBe(std::vector<uint8_t>& bytes, size_t at, uint64_t value, int count) {
    for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * (count - 1 - i)));
}

uint16_t Crc16(const uint8_t* bytes, size_t count) {
    uint32_t crc = 0;
    for (size_t i = 0; i < count; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001u : crc >> 1;
    }
    return static_cast<uint16_t>(crc);
}

int SideBytes(const FrameSpec& f) {
    const bool mono = f.mode == kSingleChannel;
    return f.mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
}

}  // namespace

void Bits::Put(uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
        if (used_ % 8 == 0) bytes.push_back(0);
        if (i < 32 && ((value >> i) & 1u)) bytes.back() |= static_cast<uint8_t>(0x80u >> (used_ % 8));
        ++used_;
    }
}

std::vector<uint8_t> SilentFrame(const FrameSpec& f) {
    Bits b;
    b.Put(0xFFF, 12);
    b.Put(f.mpeg1 ? 1 : 0, 1);
    b.Put(1, 2);  // Layer III
    b.Put(1, 1);  // no CRC
    b.Put(static_cast<uint32_t>(f.bitrateIndex), 4);
    b.Put(static_cast<uint32_t>(f.sampleRateIndex), 2);
    b.Put(0, 2);  // padding, private
    b.Put(static_cast<uint32_t>(f.mode), 2);
    b.Put(0, 6);
    b.Put(static_cast<uint32_t>(f.mainDataBegin), f.mpeg1 ? 9 : 8);
    // Everything else of the side information is 0: no bits, no gain.
    b.Put(0, SideBytes(f) * 8 - (f.mpeg1 ? 9 : 8));
    const int rate = kSampleRateHz[f.mpeg1 ? 1 : 0][f.sampleRateIndex];
    int length = kBitrateKbps[f.mpeg1 ? 1 : 0][1][f.bitrateIndex] * 144000 / rate;
    if (!f.mpeg1) length /= 2;
    b.bytes.resize(static_cast<size_t>(length), 0);
    return b.bytes;
}

std::vector<uint8_t> XingFrame(const XingLayout& layout) {
    std::vector<uint8_t> frame = SilentFrame(layout.frame);
    size_t at = 4 + static_cast<size_t>(SideBytes(layout.frame));
    std::memcpy(&frame[at], layout.tag.data(), 4);
    PutBe(frame, at + 4, layout.flags, 4);
    at += 8;
    if (layout.flags & 1) PutBe(frame, (at += 4) - 4, layout.frames, 4);
    if (layout.flags & 2) PutBe(frame, (at += 4) - 4, layout.bytes, 4);
    if (layout.flags & 4) {
        for (int i = 0; i < 100; ++i) frame[at + i] = static_cast<uint8_t>(i * 256 / 100);
        at += 100;
    }
    if (layout.flags & 8) PutBe(frame, (at += 4) - 4, 57, 4);
    if (layout.lameTag) {
        std::memcpy(&frame[at], "LAME3.100", 9);
        PutBe(frame, at + 21, static_cast<uint32_t>(layout.delay) << 12 | layout.padding, 3);
        PutBe(frame, at + 28, layout.bytes, 4);
        const uint16_t crc = Crc16(frame.data(), at + 34);
        PutBe(frame, at + 34, layout.goodCrc ? crc : crc ^ 1u, 2);
    }
    return frame;
}

std::vector<uint8_t> VbriFrame(const FrameSpec& frame, uint32_t frames, uint32_t bytes, int framesPerEntry,
                               const std::vector<uint32_t>& runBytes, int entrySize, int version) {
    std::vector<uint8_t> out = SilentFrame(frame);
    const size_t at = 36;
    std::memcpy(&out[at], "VBRI", 4);
    PutBe(out, at + 4, static_cast<uint32_t>(version), 2);
    PutBe(out, at + 6, 1105, 2);
    PutBe(out, at + 8, 75, 2);
    PutBe(out, at + 10, bytes, 4);
    PutBe(out, at + 14, frames, 4);
    PutBe(out, at + 18, static_cast<uint32_t>(runBytes.size()), 2);
    PutBe(out, at + 20, 1, 2);
    PutBe(out, at + 22, static_cast<uint32_t>(entrySize), 2);
    PutBe(out, at + 24, static_cast<uint32_t>(framesPerEntry), 2);
    for (size_t i = 0; i < runBytes.size(); ++i) {
        const size_t entry = at + 26 + i * static_cast<size_t>(entrySize);
        if (entry + static_cast<size_t>(entrySize) <= out.size()) PutBe(out, entry, runBytes[i], entrySize);
    }
    return out;
}

std::vector<uint8_t> TaggedSilence(const FrameSpec& frame, int frames, uint16_t delay, uint16_t padding,
                                   const std::string& tag) {
    const std::vector<uint8_t> silent = SilentFrame(frame);
    XingLayout layout;
    layout.frame = frame;
    layout.tag = tag;
    layout.frames = static_cast<uint32_t>(frames);
    layout.bytes = static_cast<uint32_t>(silent.size() * (static_cast<size_t>(frames) + 1));
    layout.delay = delay;
    layout.padding = padding;
    std::vector<std::vector<uint8_t>> parts{XingFrame(layout)};
    for (int i = 0; i < frames; ++i) parts.push_back(silent);
    return Concat(parts);
}

std::vector<uint8_t> Concat(const std::vector<std::vector<uint8_t>>& parts) {
    std::vector<uint8_t> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

}  // namespace plyvane::test
