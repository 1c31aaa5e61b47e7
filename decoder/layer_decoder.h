// What each layer (II and III) provides to the decoder.
#pragma once

#include <cstdint>

#include "frame_header.h"
#include "stream_info.h"

namespace plyvane {

class LayerDecoder {
public:
    virtual ~LayerDecoder() = default;
    // The layer's set-up at OpenStream, for a header that the first-frame
    // search found playable: fills the stream fields of info,
    // stores the reference header and channel count in the core and clears
    // the decoding state. 0 with LastError set on failure.
    virtual int Setup(StreamInfo& info, FrameHeader header) = 0;
    // Decodes the next unit into PCM at out; the frame number, or 0 at the end.
    virtual uint32_t DecodeFrame(uint8_t* out) = 0;
    // Forgets everything carried from frame to frame (set-up and seeks).
    virtual void ResetState() = 0;
};

}  // namespace plyvane
