// Layer III decoding. Placeholder until the Layer III decoder lands: such
// streams are refused as unsupported.
#pragma once

#include "decoder_core.h"
#include "layer_decoder.h"

namespace plyvane {

class Layer3Decoder : public LayerDecoder {
public:
    explicit Layer3Decoder(DecoderCore& core) : core_(core) {}

    int Setup(StreamInfo& info, FrameHeader header) override;
    uint32_t DecodeFrame(uint8_t* out) override;
    void ResetState() override {}
    // Frees the Huffman tables at program end.
    void ReleaseTables() {}

private:
    DecoderCore& core_;
};

}  // namespace plyvane
