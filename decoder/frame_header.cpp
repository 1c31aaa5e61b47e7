#include "frame_header.h"

namespace plyvane {

// Bit rates of ISO/IEC 11172-3 2.4.2.3 and ISO/IEC 13818-3 2.4.2.3, kbit/s.
const int32_t kBitrateKbps[2][2][16] = {
    {
        // MPEG-2 low sampling rates: Layers II and III share one column.
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1},
    },
    {
        // MPEG-1
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, -1},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1},
    },
};

// Sampling frequencies, Hz; index 3 is reserved.
const int32_t kSampleRateHz[2][4] = {
    {22050, 24000, 16000, 0},
    {44100, 48000, 32000, 0},
};

int FrameHeader::BitrateKbps(int layer) const {
    return kBitrateKbps[Id()][layer == 3 ? 1 : 0][BitrateIndex()];
}

int FrameHeader::SampleRate() const { return kSampleRateHz[Id()][SampleRateIndex()]; }

int FrameHeader::CodedBytes(int layer) const {
    const int kbps = BitrateKbps(layer);
    const int rate = SampleRate();
    if (kbps <= 0 || rate == 0) return 0;
    const int samplesPerByte = layer == 3 && Id() == 0 ? 72000 : 144000;
    return samplesPerByte * kbps / rate + Padding();
}

int FrameHeader::BitratePerChannel(int layer) const {
    int kbps = BitrateKbps(layer);
    if (Mode() == kSingleChannel) return kbps;
    return static_cast<int>(static_cast<uint32_t>(kbps) >> 1);
}

}  // namespace plyvane
