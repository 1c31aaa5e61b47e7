#include "layer2_frame_builder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "frame_header.h"
#include "layer2_tables.h"

namespace plyvane::test {

void BitWriter::Put(uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
        if (used_ == 8) {
            bytes_.push_back(0);
            used_ = 0;
        }
        bytes_.back() |= static_cast<uint8_t>(((value >> i) & 1u) << (7 - used_));
        ++used_;
    }
}

void BitWriter::PadToBytes(size_t size) {
    if (bytes_.size() < size) bytes_.resize(size, 0);
    used_ = 8;
}

uint32_t HeaderWord(const Layer2Frame& f) {
    return 0xFFF00000u | static_cast<uint32_t>(f.id) << 19 | static_cast<uint32_t>(f.layerField) << 17 |
           static_cast<uint32_t>(f.crc ? 0 : 1) << 16 | static_cast<uint32_t>(f.bitrateIndex) << 12 |
           static_cast<uint32_t>(f.sampleRateIndex) << 10 | static_cast<uint32_t>(f.padding) << 9 |
           static_cast<uint32_t>(f.mode) << 6 | static_cast<uint32_t>(f.modeExtension) << 4;
}

std::vector<uint8_t> BuildLayer2Frame(const Layer2Frame& f) {
    FrameHeader header{HeaderWord(f) & 0xFFFFF};
    const int channels = header.Channels();
    const int table = SelectLayer2Table(f.id, header.SampleRate(), header.BitratePerChannel(2));
    const Layer2AllocationTable& t = kLayer2AllocationTables[table < 0 ? kTableA : table];
    const Layer2Tables& tables = Layer2Tables::Get();
    const int bound = f.mode == kJointStereo ? std::min(4 + 4 * f.modeExtension, t.sblimit) : t.sblimit;

    // An allocation is written in nbal bits: what does not fit is cut, as
    // the decoder will read it.
    auto allocation = [&](int ch, int sb) { return f.allocation[ch][sb] & ((1 << t.nbal[sb]) - 1); };
    BitWriter w;
    w.Put(HeaderWord(f), 32);
    if (f.crc) w.Put(0xBEEF, 16);
    for (int sb = 0; sb < t.sblimit; ++sb) {
        for (int ch = 0; ch < (sb < bound ? channels : 1); ++ch) w.Put(allocation(ch, sb), t.nbal[sb]);
    }
    auto allocated = [&](int ch, int sb) { return allocation(sb < bound ? ch : 0, sb) != 0; };
    for (int sb = 0; sb < t.sblimit; ++sb) {
        for (int ch = 0; ch < channels; ++ch) {
            if (allocated(ch, sb)) w.Put(2, 2);  // one scale factor for all parts
        }
    }
    for (int sb = 0; sb < t.sblimit; ++sb) {
        for (int ch = 0; ch < channels; ++ch) {
            if (allocated(ch, sb)) w.Put(f.scaleFactorIndex[ch], 6);
        }
    }
    for (int granule = 0; granule < 12; ++granule) {
        for (int sb = 0; sb < t.sblimit; ++sb) {
            for (int ch = 0; ch < (sb < bound ? channels : 1); ++ch) {
                const int alloc = allocation(ch, sb);
                if (alloc == 0) continue;
                const Layer2QuantClass& q = tables.classes[t.quantClass[sb][alloc]];
                for (int i = 0; i < (q.grouped ? 1 : 3); ++i) w.Put(f.code, q.codeBits);
            }
        }
    }
    const int bytes = 144000 * header.BitrateKbps(2) / header.SampleRate() + f.padding;
    // A frame longer than its header says is no valid frame: the test that
    // asked for it wants fewer allocations or a higher bit rate.
    if (w.Bytes().size() > static_cast<size_t>(bytes)) {
        std::fprintf(stderr, "BuildLayer2Frame: %zu bytes of data for a %d-byte frame\n", w.Bytes().size(), bytes);
        std::abort();
    }
    w.PadToBytes(static_cast<size_t>(bytes));
    return w.Bytes();
}

std::vector<uint8_t> BuildLayer2Stream(const Layer2Frame& frame, int count) {
    std::vector<uint8_t> stream;
    const std::vector<uint8_t> one = BuildLayer2Frame(frame);
    for (int i = 0; i < count; ++i) stream.insert(stream.end(), one.begin(), one.end());
    return stream;
}

}  // namespace plyvane::test
