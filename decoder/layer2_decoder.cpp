#include "layer2_decoder.h"

#include <algorithm>
#include <cstring>

#include "layer2_samples.h"

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

void Layer2Decoder::ReadSamples(int bound, int channels) {
    ReadLayer2Samples(core_.stream, *table_, bound, channels, allocation_, scaleFactor_, core_.subbands);
}

UnitResult Layer2Decoder::DecodeUnit() {
    BitstreamBuffer& bits = core_.stream;
    FrameHeader header;
    // Only whole frames are decoded: the last one of a file too, but not one
    // that the file cuts off.
    if (core_.NextAudioFrame(header, 0) != DecoderCore::FrameSearch::kFound) return UnitResult::kEnd;
    const int frameStart = bits.ReadOffset();
    bits.Skip(32);
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
