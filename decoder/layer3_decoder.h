// Layer III decoding of MPEG-1 (two granules per frame) and MPEG-2 low
// sampling rates (one granule per frame, two frames per unit): the frame
// loop, the main-data reservoir and its recovery rules, and the stages from
// side information to the hybrid synthesis.
#pragma once

#include <cstdint>

#include "bitstream_buffer.h"
#include "decoder_core.h"
#include "layer3_imdct.h"
#include "layer3_scale_factors.h"
#include "layer3_side_info.h"
#include "layer_decoder.h"

namespace plyvane {

class Layer3Decoder : public LayerDecoder {
public:
    static constexpr int kReservoirCapacity = 4096;

    explicit Layer3Decoder(DecoderCore& core) : core_(core) {}

    int Setup(StreamInfo& info, FrameHeader header) override;
    UnitResult DecodeUnit() override;
    void ResetState() override;
    // Frees the Huffman tables at program end; a later Layer III stream
    // loads them again.
    void ReleaseTables();

private:
    // One frame's granules into the subband samples from slotOffset on.
    UnitResult DecodeOneFrame(int slotOffset);
    // Appends this frame's main data to the reservoir; returns the bytes
    // that arrived.
    int AppendMainData(int slots);
    void DecodeGranule(FrameHeader header, int granule, int slotOffset);

    DecoderCore& core_;
    BitstreamBuffer reservoir_{kReservoirCapacity, 0};
    // Main-data bytes appended since the reset, and bits consumed of them.
    int64_t appendedBytes_ = 0;
    int64_t consumedBits_ = 0;

    SideInfo sideInfo_;
    ScaleFactors scaleFactors_[2];
    alignas(16) float xr_[2][576] = {};
    alignas(16) ImdctOverlap overlap_[2] = {};
};

}  // namespace plyvane
