// The decoder's outward interface: probing a stream, opening it, decoding it
// unit by unit into PCM, seeking, and the last error.
#pragma once

#include <cstdint>
#include <memory>

#include "bitstream_buffer.h"
#include "stream_info.h"

namespace plyvane {

class DecoderCore;
class LayerDecoder;
class Layer2Decoder;
class Layer3Decoder;
struct FrameHeader;

class Decoder {
public:
    Decoder();
    ~Decoder();
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    // The decoder's own stream buffer: attach or open a source here, then set
    // its refill permission, before OpenStream.
    BitstreamBuffer& Stream();

    // Reads the first frame header of the source attached to buffer and fills
    // the stream fields of info (and firstHeader, when given); touches no
    // decoder state.
    int ProbeStream(StreamInfo& info, BitstreamBuffer& buffer, FrameHeader* firstHeader = nullptr);
    int OpenStream(StreamInfo& info);
    // Decodes the next unit (1152 samples per channel) into out, which must
    // hold PCM bytes per frame. Returns the frame number, or 0 at the end.
    uint32_t DecodeFrame(uint8_t* out);
    // Bytes the last DecodeFrame wrote: PCM bytes per frame, or 0 when a
    // Layer III unit's main data had not arrived yet.
    uint32_t LastPcmBytes() const;
    int RequestSeek(int32_t milliseconds);
    int RefreshStreamInfo(StreamInfo& info);
    const char* LastError() const;
    void ReleaseTables();

    const OutputFormat& Format() const;

private:
    std::unique_ptr<DecoderCore> core_;
    std::unique_ptr<Layer2Decoder> layer2_;
    std::unique_ptr<Layer3Decoder> layer3_;
    LayerDecoder* active_ = nullptr;
};

// The process-wide decoder.
Decoder& TheDecoder();

}  // namespace plyvane
