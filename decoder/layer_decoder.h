// What each layer (II and III) provides to the decoder.
#pragma once

#include <cstdint>

#include "frame_header.h"
#include "stream_info.h"

namespace plyvane {

// What decoding one unit (one frame, or two MPEG-2 Layer III frames) came
// to. Both layers report it; the decoder turns it into PCM and a frame number.
enum class UnitResult {
    kDecoded,   // the unit's subband samples are ready for the synthesis
    kNoOutput,  // a unit without output: its Layer III main data never arrived
    kEnd,       // no further unit
};

class LayerDecoder {
public:
    virtual ~LayerDecoder() = default;
    // The layer's set-up at OpenStream, for a header that the first-frame
    // search found playable: fills the stream fields of info,
    // stores the reference header and channel count in the core and clears
    // the decoding state. 0 with LastError set on failure.
    virtual int Setup(StreamInfo& info, FrameHeader header) = 0;
    // Decodes the next unit into the core's subband samples.
    virtual UnitResult DecodeUnit() = 0;
    // Forgets everything carried from frame to frame (set-up and seeks).
    virtual void ResetState() = 0;
};

}  // namespace plyvane
