// What of a Layer III stream plays. Its header frame and the iTunSMPB
// comment of its ID3v2 tag tell how many samples the encoder put before and
// after the signal and how many frames there are; this checks them against
// the file, and counts the frames where a header does not describe the whole
// file (a truncated file, one made of several encodings, a damaged count).
//
// A stream made of several encodings is a row of segments, each a header
// frame and the audio frames it describes; each segment is trimmed by its
// own delay and padding.
#pragma once

#include <cstdint>

#include "bitstream_buffer.h"
#include "frame_header.h"
#include "header_frame.h"
#include "id3v2_gapless.h"

namespace plyvane {

// The samples a Layer III decoder puts before what the encoder was given,
// beyond the encoder's own delay: LAME's encoder delay does not count them.
constexpr uint32_t kDecoderDelay = 529;

struct SegmentTrim {
    // Samples of the segment's decoded timeline before the first one to play.
    uint32_t skip = 0;
    // Samples to play from there on; -1: up to the end of the data.
    int64_t play = -1;
};

struct StreamExtent {
    HeaderFrame header;  // the first frame's (kind kNone when it is audio)
    int headerBytes = 0;  // its length: the decoder passes over it
    SegmentTrim trim;    // of the first segment
    // Audio frames of the first segment when they are known, else 0.
    uint32_t segmentFrames = 0;
    // Samples the whole stream plays; -1 when that is not known.
    int64_t totalSamples = -1;
};

// With the buffer's read position on the stream's first frame (first): what
// plays. Only a Layer III stream can have a header frame. Reads the file
// around through the buffer's source when it must, and leaves the source and
// the buffer as they were.
void MeasureStream(BitstreamBuffer& buffer, FrameHeader first, const ITunesGapless& itunes, StreamExtent& out);

// The trim of a segment whose header frame (parsed as header) a decoder meets
// later in a stream, with the read position on it: the next file of a list,
// or the next encoding of a file made of several. Its padding is trusted
// only when the file shows where the segment ends.
SegmentTrim LaterSegmentTrim(BitstreamBuffer& buffer, FrameHeader frame, const HeaderFrame& header);

}  // namespace plyvane
