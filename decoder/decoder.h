// The decoder's outward interface: probing a stream, opening it, decoding it
// unit by unit into PCM, seeking, and the last error.
#pragma once

#include <cstdint>
#include <memory>

#include "bitstream_buffer.h"
#include "decoder_core.h"
#include "stream_info.h"

namespace plyvane {

class Layer2Decoder;
class Layer3Decoder;

class Decoder {
public:
    Decoder();
    ~Decoder();

    // The decoder's own stream buffer: attach or open a source here, then set
    // its refill permission, before OpenStream.
    BitstreamBuffer& Stream() { return core_.stream; }

    // Reads the first frame header of the source attached to buffer and fills
    // the stream fields of info; touches no decoder state.
    int ProbeStream(StreamInfo& info, BitstreamBuffer& buffer);
    int OpenStream(StreamInfo& info);
    // Decodes the next unit (1152 samples per channel) into out, which must
    // hold PCM bytes per frame. Returns the frame number, or 0 at the end.
    uint32_t DecodeFrame(uint8_t* out);
    // Bytes the last DecodeFrame wrote: PCM bytes per frame, or 0 when a
    // Layer III unit's main data had not arrived yet.
    uint32_t LastFrameBytes() const { return core_.lastFrameBytes; }
    int RequestSeek(int32_t milliseconds);
    int RefreshStreamInfo(StreamInfo& info);
    const char* LastError() const { return core_.LastError(); }
    void ReleaseTables();

    const OutputFormat& Format() const { return core_.format; }
    uint32_t TotalFrames() const { return core_.totalFrames; }

private:
    DecoderCore core_;
    std::unique_ptr<Layer2Decoder> layer2_;
    std::unique_ptr<Layer3Decoder> layer3_;
    LayerDecoder* active_ = nullptr;
};

// The process-wide decoder.
Decoder& TheDecoder();

// The first-frame search shared by OpenStream and ProbeStream: finds the
// first frame from byte 0, leaves the read pointer on it and refuses a
// stream of a kind that cannot be played.
// 0 on failure, with message pointing to the text to report, or null when
// the search failed without one.
int FindFirstFrame(BitstreamBuffer& buffer, FrameHeader& header, const char*& message);

// Fills the record fields that depend only on the header and the output
// request; shared by the probe and the layer set-ups.
void FillStreamFields(StreamInfo& info, FrameHeader header, int layer);

// Duration in ms from a byte length, or -1.0 when that comes out as 0.
float DurationMs(uint32_t length, int streamChannels, int bitratePerChannel);

// Copies name into a fixed field, cutting it to fit.
void CopyName(char* field, int fieldSize, const char* name);

}  // namespace plyvane
