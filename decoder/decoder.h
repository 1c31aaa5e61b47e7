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
struct StreamExtent;

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
    // the stream fields of info (and firstHeader and extent, when given):
    // the duration is exact where the stream's header frame and tags give
    // it. Touches no decoder state.
    int ProbeStream(StreamInfo& info, BitstreamBuffer& buffer, FrameHeader* firstHeader = nullptr,
                    StreamExtent* extent = nullptr);
    int OpenStream(StreamInfo& info);
    // Decodes the next unit (1152 samples per channel) into out, which must
    // hold PCM bytes per frame. Returns the frame number, or 0 at the end.
    // A header frame is no unit; the encoder's delay and padding and what
    // lies before a seek's target are left out.
    uint32_t DecodeFrame(uint8_t* out);
    // Bytes the last DecodeFrame left at out, contiguous from its start: at
    // most PCM bytes per frame; fewer where the unit was trimmed, 0 when a
    // Layer III unit's main data had not arrived yet.
    uint32_t LastPcmBytes() const;
    // Asks for a seek to the time (ms of what plays of the current file);
    // the next DecodeFrame carries it out. 0 when one is pending already.
    int RequestSeek(int32_t milliseconds);
    int RefreshStreamInfo(StreamInfo& info);
    const char* LastError() const;
    void ReleaseTables();

    const OutputFormat& Format() const;
    // What the stream being decoded plays, as measured at its start (or at
    // the start of the current file of a list).
    const StreamExtent& Extent() const;

private:
    std::unique_ptr<DecoderCore> core_;
    std::unique_ptr<Layer2Decoder> layer2_;
    std::unique_ptr<Layer3Decoder> layer3_;
    LayerDecoder* active_ = nullptr;
};

// The process-wide decoder.
Decoder& TheDecoder();

}  // namespace plyvane
