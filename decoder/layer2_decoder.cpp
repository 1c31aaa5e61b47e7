#include "layer2_decoder.h"

#include <algorithm>
#include <cstring>

namespace plyvane {
namespace {

// Joint-stereo bound by mode extension.
constexpr int kJointStereoBound[4] = {4, 8, 12, 16};

}  // namespace

void Layer2Decoder::ResetState() {
    std::memset(allocation_, 0, sizeof allocation_);
    std::memset(selection_, 0, sizeof selection_);
    std::memset(scaleFactor_, 0, sizeof scaleFactor_);
}

int Layer2Decoder::Setup(StreamInfo& info, FrameHeader header) {
    Layer2Tables::Get();
    ResetState();
    core_.AdoptStream(info, header, 2);
    int selected = SelectLayer2Table(header.Id(), info.sampleRate, info.bitratePerChannel);
    if (selected < 0) {
        core_.SetError("Layer II: Bitrate %d not supported!\n", info.bitratePerChannel);
        return 0;
    }
    table_ = &kLayer2AllocationTables[selected];
    setupTable_ = table_;
    return 1;
}

void Layer2Decoder::SelectTable(FrameHeader header) {
    // The bit rate, and with it the table, may change from frame to frame:
    // always at the start of the next file of a continuous list, and in
    // streams that switch rates. A rate without a table keeps the stream's.
    const int selected = SelectLayer2Table(header.Id(), header.SampleRate(), header.BitratePerChannel(2));
    const Layer2AllocationTable* table = selected >= 0 ? &kLayer2AllocationTables[selected] : setupTable_;
    // Subbands that the new table no longer covers must fall silent.
    for (int ch = 0; ch < 2; ++ch) {
        for (int slot = 0; slot < SubbandSamples::kSlots; ++slot) {
            float* samples = core_.subbands.Slot(ch, slot);
            for (int sb = table->sblimit; sb < table_->sblimit; ++sb) samples[sb] = 0.0f;
        }
    }
    table_ = table;
}

void Layer2Decoder::ReadAllocation(int bound, int channels) {
    BitstreamBuffer& bits = core_.stream;
    for (int sb = 0; sb < bound; ++sb) {
        for (int ch = 0; ch < channels; ++ch) allocation_[ch][sb] = static_cast<int>(bits.Read(table_->nbal[sb]));
    }
    for (int sb = bound; sb < table_->sblimit; ++sb) {
        int value = static_cast<int>(bits.Read(table_->nbal[sb]));
        allocation_[0][sb] = value;
        allocation_[1][sb] = value;
    }
}

void Layer2Decoder::ReadScaleFactors(int channels) {
    BitstreamBuffer& bits = core_.stream;
    const float* multiplier = Layer2Tables::Get().scaleFactor;
    const int sblimit = table_->sblimit;
    for (int sb = 0; sb < sblimit; ++sb) {
        for (int ch = 0; ch < channels; ++ch) {
            if (allocation_[ch][sb] != 0) selection_[ch][sb] = static_cast<uint8_t>(bits.Read(2));
        }
    }
    for (int sb = 0; sb < sblimit; ++sb) {
        for (int ch = 0; ch < channels; ++ch) {
            float* part = scaleFactor_[ch][sb];
            if (allocation_[ch][sb] == 0) {
                part[0] = part[1] = part[2] = 0.0f;
                continue;
            }
            switch (selection_[ch][sb]) {
                case 0:
                    part[0] = multiplier[bits.Read(6)];
                    part[1] = multiplier[bits.Read(6)];
                    part[2] = multiplier[bits.Read(6)];
                    break;
                case 1:
                    part[0] = part[1] = multiplier[bits.Read(6)];
                    part[2] = multiplier[bits.Read(6)];
                    break;
                case 2:
                    part[0] = part[1] = part[2] = multiplier[bits.Read(6)];
                    break;
                default:
                    part[0] = multiplier[bits.Read(6)];
                    part[1] = part[2] = multiplier[bits.Read(6)];
                    break;
            }
        }
    }
}

void Layer2Decoder::ReadTriple(int quantClass, float (&values)[3]) {
    const Layer2Tables& tables = Layer2Tables::Get();
    const Layer2QuantClass& q = tables.classes[quantClass];
    BitstreamBuffer& bits = core_.stream;
    uint32_t codes[3];
    if (q.grouped) {
        uint32_t group = bits.Read(q.codeBits);
        const uint8_t* split = q.levels == 3   ? tables.degroup3[group]
                               : q.levels == 5 ? tables.degroup5[group]
                                               : tables.degroup9[group];
        codes[0] = split[0];
        codes[1] = split[1];
        codes[2] = split[2];
    } else {
        codes[0] = bits.Read(q.codeBits);
        codes[1] = bits.Read(q.codeBits);
        codes[2] = bits.Read(q.codeBits);
    }
    for (int i = 0; i < 3; ++i) {
        // The code, left-aligned in 16 bits with its top bit inverted, read
        // as a two's complement fraction.
        int16_t s = static_cast<int16_t>(static_cast<uint16_t>((codes[i] << (16 - q.sampleBits)) ^ 0x8000u));
        values[i] = (static_cast<float>(s) + q.offset) * q.factor;
    }
}

void Layer2Decoder::ReadSamples(int bound, int channels) {
    const int sblimit = table_->sblimit;
    for (int granule = 0; granule < 12; ++granule) {
        const int part = granule / 4;
        const int slot = 3 * granule;
        for (int sb = 0; sb < sblimit; ++sb) {
            const int shared = sb >= bound;
            for (int ch = 0; ch < (shared ? 1 : channels); ++ch) {
                const int alloc = allocation_[ch][sb];
                const uint8_t quantClass = table_->quantClass[sb][alloc];
                float values[3] = {0.0f, 0.0f, 0.0f};
                if (alloc != 0 && quantClass != kNoSamples) ReadTriple(quantClass, values);
                // Above the joint-stereo bound one set of values serves both
                // channels, each with its own scale factor.
                const int last = shared ? channels - 1 : ch;
                for (int target = ch; target <= last; ++target) {
                    const float scale = scaleFactor_[target][sb][part];
                    for (int i = 0; i < 3; ++i) core_.subbands.Slot(target, slot + i)[sb] = values[i] * scale;
                }
            }
        }
    }
}

UnitResult Layer2Decoder::DecodeUnit() {
    BitstreamBuffer& bits = core_.stream;
    FrameHeader header;
    // Only whole frames are decoded: the last one of a file too, but not one
    // that the file cuts off.
    if (core_.NextFrame(header) != DecoderCore::FrameSearch::kFound) return UnitResult::kEnd;
    const int frameStart = bits.ReadOffset();
    bits.Skip(32);
    core_.CheckStreamMarker(header);
    if (header.HasCrc()) bits.Skip(16);
    SelectTable(header);

    const int channels = core_.streamChannels;
    const int sblimit = table_->sblimit;
    const int bound = header.Mode() == kJointStereo
                          ? std::min(kJointStereoBound[header.ModeExtension()], sblimit)
                          : sblimit;
    ReadAllocation(bound, channels);
    ReadScaleFactors(channels);
    ReadSamples(bound, channels);
    // The next frame begins where this one ends, whatever its ancillary data
    // holds and however far damaged allocations made the decoding read.
    bits.AlignToByte();
    bits.SkipBytes(frameStart + header.CodedBytes(2) - bits.ReadOffset());
    return UnitResult::kDecoded;
}

}  // namespace plyvane
