// The MPEG audio frame header as the decoder keeps it: the 20 bits after the
// sync word, bit 19 being ID and bits 1-0 emphasis.
#pragma once

#include <cstdint>

namespace plyvane {

// Keeps ID, layer, sampling-frequency index, private bit, copyright, original
// and emphasis of the first frame: the stream's reference header.
constexpr uint32_t kReferenceHeaderMask = 0xE0D0F;
// What a later frame must repeat to be taken for one of the stream: ID,
// layer and sampling frequency. The private, copyright, original and
// emphasis bits may legally change from frame to frame (the ISO test stream
// hecommon does), and frames that change them are still the stream's.
constexpr uint32_t kFrameMatchMask = 0xE0C00;

enum ChannelMode { kStereo = 0, kJointStereo = 1, kDualChannel = 2, kSingleChannel = 3 };
// Where the mode lies in the 20-bit header.
constexpr int kModeShift = 6;
constexpr uint32_t kModeBits = 3u << kModeShift;

struct FrameHeader {
    uint32_t bits = 0;  // the low 20 bits of the header word

    int Id() const { return (bits >> 19) & 1; }  // 1 = MPEG-1, 0 = MPEG-2
    int Version() const { return Id() ? 1 : 2; }
    // Header layer field: 1 = Layer III, 2 = Layer II, 0 and 3 are refused.
    int LayerField() const { return (bits >> 17) & 3; }
    int Layer() const { return 4 - LayerField(); }
    bool HasCrc() const { return ((bits >> 16) & 1) == 0; }
    int BitrateIndex() const { return (bits >> 12) & 15; }
    int SampleRateIndex() const { return (bits >> 10) & 3; }
    int Padding() const { return (bits >> 9) & 1; }
    int Mode() const { return static_cast<int>((bits & kModeBits) >> kModeShift); }
    int ModeExtension() const { return (bits >> 4) & 3; }
    int Channels() const { return Mode() == kSingleChannel ? 1 : 2; }

    // kbit/s of the whole frame from the given layer's column (2 or 3);
    // -1 for the forbidden index 15, 0 for free format.
    int BitrateKbps(int layer) const;
    int SampleRate() const;
    // Coded bytes of this frame, header included; 0 for free format and damaged
    // headers. MPEG-2 Layer III frames hold half the samples of the others.
    int CodedBytes(int layer) const;
    // The table rate, halved unless the stream has one channel.
    int BitratePerChannel(int layer) const;
};

// Bit-rate table [ID][layer column: 0 = Layer II, 1 = Layer III][index].
extern const int32_t kBitrateKbps[2][2][16];
// Sample-rate table [ID][sampling-frequency index] in Hz.
extern const int32_t kSampleRateHz[2][4];

// The sync word of a 32-bit header word: its top 12 bits all ones.
inline bool HasSyncWord(uint32_t word) { return (word >> 20) == 0xFFF; }

// Whether a 32-bit word is a header of the same kind of stream as header:
// sync, ID, layer, sampling frequency and channel count agree.
inline bool IsSameKind(uint32_t word, FrameHeader header) {
    return HasSyncWord(word) && ((word ^ header.bits) & kFrameMatchMask) == 0 &&
           FrameHeader{word & 0xFFFFF}.Channels() == header.Channels();
}

}  // namespace plyvane
