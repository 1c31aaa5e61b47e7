#include "window_model.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "decoder_core.h"
#include "first_frame_search.h"
#include "layer2_decoder.h"
#include "layer3_decoder.h"
#include "memory_byte_source.h"
#include "stream_decode.h"
#include "synthesis_window.h"

namespace plyvane::test {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr uint32_t kMaxUnits = 200000;  // a hang guard, as in DecodeFile

// The polyphase synthesis filterbank in double precision. The matrixed
// values do not depend on the window rows, so one history per channel
// serves every row range.
class ReferenceSynthesis {
public:
    ReferenceSynthesis() {
        for (int i = 0; i < 64; ++i)
            for (int k = 0; k < 32; ++k) cosine_[i][k] = std::cos((16 + i) * (2 * k + 1) * kPi / 64.0);
    }

    // Shifts the channel's history by one slot and matrixes 32 subband samples into it.
    void Push(int channel, const float* subbands) {
        double* v = v_[channel];
        std::memmove(v + 64, v, sizeof(double) * 960);
        for (int i = 0; i < 64; ++i) {
            double sum = 0.0;
            for (int k = 0; k < 32; ++k) sum += cosine_[i][k] * subbands[k];
            v[i] = sum;
        }
    }

    // Output sample j of the last slot from window rows firstRow..lastRow
    // (two taps each), rounded and clipped to 16 bits.
    int16_t Sample(int channel, int j, int firstRow, int lastRow) const {
        const double* v = v_[channel];
        double sum = 0.0;
        for (int tap = 2 * firstRow; tap < 2 * lastRow + 2; ++tap) {
            // Tap i reads U[32i + j]: the first and the last 32 of each 64
            // history values in turn.
            const double u = v[(tap / 2) * 128 + (tap % 2) * 96 + j];
            sum += u * kSynthesisWindowInt[32 * tap + j] / 65536.0;
        }
        return static_cast<int16_t>(std::clamp(std::nearbyint(sum * 32768.0), -32768.0, 32767.0));
    }

private:
    double cosine_[64][32];
    double v_[2][1024] = {};
};

}  // namespace

WindowModelPcm WindowModel(const std::string& path) {
    WindowModelPcm result;
    MemoryByteSource source(ReadFileBytes(path), path);
    source.Open(path.c_str());
    auto core = std::make_unique<DecoderCore>();
    core->stream.Attach(&source);
    core->stream.SetRefillPermitted(true);

    FrameHeader header;
    const char* message = nullptr;
    std::unique_ptr<LayerDecoder> layer;
    if (FindFirstFrame(core->stream, header, message)) {
        if (header.LayerField() == 1) layer = std::make_unique<Layer3Decoder>(*core);
        if (header.LayerField() == 2) layer = std::make_unique<Layer2Decoder>(*core);
    }
    StreamInfo info;
    if (layer == nullptr || !layer->Setup(info, header)) {
        core->stream.Attach(nullptr);
        return result;
    }
    result.opened = true;
    result.channels = info.streamChannels;
    core->UpdateFrameSize();

    auto synthesis = std::make_unique<ReferenceSynthesis>();
    for (uint32_t units = 0; units < kMaxUnits; ++units) {
        const UnitResult unit = layer->DecodeUnit();
        if (unit == UnitResult::kEnd) break;
        if (unit == UnitResult::kNoOutput) continue;  // a Layer III unit before its main data arrived
        for (int slot = 0; slot < SubbandSamples::kSlots; ++slot) {
            for (int ch = 0; ch < result.channels; ++ch) synthesis->Push(ch, core->subbands.Slot(ch, slot));
            for (int j = 0; j < SubbandSamples::kSubbands; ++j) {
                for (int ch = 0; ch < result.channels; ++ch) {
                    result.full.push_back(synthesis->Sample(ch, j, 0, 7));
                    for (int q = 1; q <= 3; ++q) result.quality[q - 1].push_back(synthesis->Sample(ch, j, q, 7 - q));
                }
            }
        }
    }
    core->stream.Attach(nullptr);
    return result;
}

}  // namespace plyvane::test
