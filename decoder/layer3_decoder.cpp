#include "layer3_decoder.h"

#include <cstring>

#include "diagnostics.h"
#include "huffman_tables.h"
#include "layer3_huffman.h"
#include "layer3_imdct.h"
#include "layer3_reorder_antialias.h"
#include "layer3_requantize.h"
#include "layer3_stereo.h"
#include "layer3_tables.h"

namespace plyvane {

void Layer3Decoder::ResetState() {
    reservoir_.ClearReadState();
    appendedBytes_ = 0;
    consumedBits_ = 0;
    std::memset(overlap_, 0, sizeof overlap_);
    sideInfo_ = SideInfo{};
    scaleFactors_[0] = ScaleFactors{};
    scaleFactors_[1] = ScaleFactors{};
}

void Layer3Decoder::ReleaseTables() { ReleaseHuffmanTables(); }

int Layer3Decoder::Setup(StreamInfo& info, FrameHeader header) {
    ResetState();
    core_.AdoptStream(info, header, 3);
    LoadHuffmanTables();
    // Build the stage tables now rather than inside the first frame.
    RequantizeTables::Get();
    return 1;
}

UnitResult Layer3Decoder::DecodeUnit() {
    const UnitResult first = DecodeOneFrame(0);
    const bool mpeg1 = ((core_.referenceHeader >> 19) & 1) != 0;
    if (mpeg1 || first != UnitResult::kDecoded) return first;
    // The second of two MPEG-2 frames. Without it (the data ended after an
    // odd number of frames, or its main data is lost) the first still plays;
    // a lost frame's half of the unit is silence.
    if (DecodeOneFrame(18) != UnitResult::kDecoded) core_.subbands.ClearFrom(18);
    return UnitResult::kDecoded;
}

int Layer3Decoder::AppendMainData(int slots) {
    BitstreamBuffer& stream = core_.stream;
    // The whole frame is buffered; a damaged header may still claim more.
    int count = stream.Available();
    if (count > slots) count = slots;
    if (count <= 0) return 0;
    reservoir_.Append(stream.ReadPointer(), count);
    stream.SkipBytes(count);
    return count;
}

UnitResult Layer3Decoder::DecodeOneFrame(int slotOffset) {
    BitstreamBuffer& stream = core_.stream;
    FrameHeader header;
    // Only whole frames are decoded (also those longer than the refill
    // threshold); a frame that the data cuts off ends the stream.
    switch (core_.NextAudioFrame(header, slotOffset)) {
        case DecoderCore::FrameSearch::kFound:
            break;
        case DecoderCore::FrameSearch::kEnd:
            Diagnostic(DiagnosticTo::kOutput, "EOF#1\n");
            return UnitResult::kEnd;
        case DecoderCore::FrameSearch::kCutOff:
            Diagnostic(DiagnosticTo::kOutput, "EOF#2\n");
            return UnitResult::kEnd;
        default:
            return UnitResult::kEnd;
    }
    stream.Skip(32);
    if (header.HasCrc()) stream.Skip(16);

    ReadSideInfo(stream, header, sideInfo_);

    const bool mpeg1 = header.Id() == 1;
    const int channels = core_.streamChannels;
    const int bitrate = header.BitrateKbps(3);
    const int sampleRate = header.SampleRate();
    // The frame search passed over headers without a bit rate, so every
    // frame has main data.
    int slots = static_cast<int>(static_cast<uint32_t>(bitrate) * 144000u / static_cast<uint32_t>(sampleRate));
    if (!mpeg1) slots /= 2;
    slots -= SideInfoBytes(header.Id(), channels);
    slots += header.Padding();
    slots -= 4;
    if (header.HasCrc()) slots -= 2;

    if (reservoir_.Available() < 0) {
        Diagnostic(DiagnosticTo::kOutput, "error: bytes in buffer < 0\n");
        reservoir_.ClearReadState();
        // Everything appended so far is gone: the next main data starts after it.
        consumedBits_ = appendedBytes_ * 8;
    }

    const int appended = AppendMainData(slots);
    if (consumedBits_ & 7) {
        const int pad = static_cast<int>(8 - (consumedBits_ & 7));
        reservoir_.Skip(pad);
        consumedBits_ += pad;
    }
    const int64_t discard = appendedBytes_ - sideInfo_.main_data_begin - consumedBits_ / 8;
    appendedBytes_ += appended;

    if (discard < 0) return UnitResult::kNoOutput;
    if (discard > reservoir_.Available()) {
        Diagnostic(DiagnosticTo::kOutput, "err1 %d,%d\n", static_cast<int>(discard), reservoir_.Available());
        reservoir_.ClearReadState();
        appendedBytes_ = 0;
        consumedBits_ = 0;
        return UnitResult::kNoOutput;
    }
    reservoir_.SkipBytes(static_cast<int>(discard));
    consumedBits_ += discard * 8;

    const int granules = mpeg1 ? 2 : 1;
    for (int gr = 0; gr < granules; ++gr) DecodeGranule(header, gr, slotOffset + 18 * gr);
    return UnitResult::kDecoded;
}

void Layer3Decoder::DecodeGranule(FrameHeader header, int gr, int slotOffset) {
    const bool mpeg1 = header.Id() == 1;
    const int channels = core_.streamChannels;
    const ScaleFactorBands& bands = kScaleFactorBands[header.Id()][header.SampleRateIndex() % 3];
    const bool jointStereo = channels == 2 && header.Mode() == kJointStereo;
    const int modeExtension = jointStereo ? header.ModeExtension() : 0;

    int nonZero[2] = {0, 0};
    for (int ch = 0; ch < channels; ++ch) {
        GranuleChannelInfo& gc = sideInfo_.granule[gr][ch];
        const int start = BitPosition(reservoir_);
        if (mpeg1) {
            ReadScaleFactorsMpeg1(reservoir_, gc, sideInfo_.scfsi[ch], gr, scaleFactors_[ch]);
        } else {
            ReadScaleFactorsMpeg2(reservoir_, gc, ch == 1 && (modeExtension & 1), scaleFactors_[ch]);
        }
        LineScales scales;
        ComputeLineScales(gc, scaleFactors_[ch], bands, scales);
        nonZero[ch] = DecodeSpectrum(reservoir_, gc, bands, start + gc.part2_3_length, scales, xr_[ch]);
        consumedBits_ += gc.part2_3_length;
    }

    if (modeExtension != 0) {
        int both = nonZero[0] > nonZero[1] ? nonZero[0] : nonZero[1];
        ProcessJointStereo(xr_, modeExtension, mpeg1, sideInfo_.granule[gr][1], scaleFactors_[1],
                           sideInfo_.granule[gr][1].scalefac_compress & 1, bands, both);
        nonZero[0] = nonZero[1] = both;
    }

    for (int ch = 0; ch < channels; ++ch) {
        const GranuleChannelInfo& gc = sideInfo_.granule[gr][ch];
        ReorderShortBlocks(gc, bands, xr_[ch]);
        ReduceAliasing(gc, (nonZero[ch] + 17) / 18, xr_[ch]);
        HybridSynthesis(gc, xr_[ch], overlap_[ch], core_.subbands, ch, slotOffset);
    }
}

}  // namespace plyvane
