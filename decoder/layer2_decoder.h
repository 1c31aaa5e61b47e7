// Layer II decoding (ISO/IEC 11172-3 and the low sampling rates of
// ISO/IEC 13818-3): frames into subband samples for the synthesis.
#pragma once

#include <cstdint>

#include "decoder_core.h"
#include "layer2_tables.h"
#include "layer_decoder.h"

namespace plyvane {

class Layer2Decoder : public LayerDecoder {
public:
    explicit Layer2Decoder(DecoderCore& core) : core_(core) {}

    int Setup(StreamInfo& info, FrameHeader header) override;
    UnitResult DecodeUnit() override;
    void ResetState() override;

    const Layer2AllocationTable* AllocationTable() const { return table_; }

private:
    void SelectTable(FrameHeader header);
    void ReadAllocation(int bound, int channels);
    void ReadScaleFactors(int channels);
    void ReadSamples(int bound, int channels);

    DecoderCore& core_;
    const Layer2AllocationTable* table_ = &kLayer2AllocationTables[kTableA];
    const Layer2AllocationTable* setupTable_ = table_;
    int allocation_[2][32] = {};
    uint8_t selection_[2][32] = {};
    float scaleFactor_[2][32][3] = {};
};

}  // namespace plyvane
