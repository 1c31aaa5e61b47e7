// The search for the first frame of a stream, shared by OpenStream and
// ProbeStream.
#pragma once

#include "bitstream_buffer.h"
#include "frame_header.h"
#include "id3v2_gapless.h"

namespace plyvane {

// Finds the first frame from byte 0 (past an ID3v2 tag, whose iTunSMPB
// comment goes to gapless when not null) and leaves the read pointer on it:
// a header that another of its kind follows. Refuses a stream of a kind that
// cannot be played. 0 on failure, with message pointing to the text to
// report, or null when the search failed without one.
int FindFirstFrame(BitstreamBuffer& buffer, FrameHeader& header, const char*& message,
                   ITunesGapless* gapless = nullptr);

}  // namespace plyvane
