// The frame an encoder writes first into a Layer III stream to describe it,
// instead of audio: the Xing header ("Xing" for variable, "Info" for constant
// bit rates) with the frame count, the byte count and a seek table, often
// followed by LAME's tag with the encoder delay and padding; or Fraunhofer's
// VBRI header. Only what survives the checks below is kept: a damaged header
// is ignored, never trusted.
#pragma once

#include <cstdint>

#include "frame_header.h"

namespace plyvane {

enum class HeaderFrameKind { kNone, kXing, kInfo, kVbri };

struct HeaderFrame {
    HeaderFrameKind kind = HeaderFrameKind::kNone;
    // Audio frames after this one (576 samples each in MPEG-2, 1152 in
    // MPEG-1); 0 when not given or not plausible.
    uint32_t frames = 0;
    // Bytes of the stream from this frame's first byte on; 0 when not given
    // or not plausible.
    uint32_t bytes = 0;
    // The seek table: toc[i] / 256 of the bytes is where i percent of the
    // time begins. Only with frames and bytes.
    bool hasToc = false;
    uint8_t toc[100] = {};
    // From a LAME tag whose checksum holds: samples the encoder put before
    // the signal and after it.
    bool hasEncoderDelay = false;
    uint16_t encoderDelay = 0;
    uint16_t encoderPadding = 0;

    bool IsVariableBitrate() const { return kind == HeaderFrameKind::kXing || kind == HeaderFrameKind::kVbri; }
};

// Samples per frame of a Layer III stream of this header's version.
inline int Layer3SamplesPerFrame(FrameHeader header) { return header.Id() == 1 ? 1152 : 576; }

// A quick look for the tags of a header frame in a Layer III frame of
// frameBytes bytes: ParseHeaderFrame decides.
bool LooksLikeHeaderFrame(const uint8_t* frame, int frameBytes);

// Whether the Layer III frame at frame (frameBytes bytes, its header first)
// is a header frame. Reads nothing outside the frame. Fills out with the
// fields that pass the checks (out.kind says which header it is).
bool ParseHeaderFrame(const uint8_t* frame, int frameBytes, HeaderFrame& out);

// The byte offset, from the header frame's first byte, where the given
// fraction (0..1) of the time begins according to the seek table.
uint32_t TocByteOffset(const HeaderFrame& header, double fraction);

}  // namespace plyvane
