// What the decoder reads of an ID3v2 tag before the audio: its size, and
// the gapless information that iTunes keeps in a comment described
// "iTunSMPB" (encoder delay, padding and the number of samples to play).
// Everything else in the tag is passed over.
#pragma once

#include <cstddef>
#include <cstdint>

#include "bitstream_buffer.h"

namespace plyvane {

struct ITunesGapless {
    bool present = false;
    // Samples to skip at the start (the decoder's delay included), samples
    // to drop at the end, samples to play.
    uint32_t priming = 0;
    uint32_t padding = 0;
    uint64_t samples = 0;
};

// Size of the ID3v2 tag whose 10-byte header is at p (footer included), or
// 0 when p holds no tag header.
uint32_t Id3v2TagSize(const uint8_t* p);

// Parses the value of an iTunSMPB comment: hexadecimal fields separated by
// blanks, the second the priming, the third the padding, the fourth the
// number of samples. False for anything implausible.
bool ParseITunSMPB(const char* text, size_t size, ITunesGapless& out);

// The body of a comment frame (isComment: "COMM", or "COM" in ID3v2.2; it has
// a language) or of a user text frame ("TXXX", "TXX"): true with out filled
// when its description is iTunSMPB and its value parses.
bool ParseGaplessFrame(const uint8_t* body, size_t size, bool isComment, ITunesGapless& out);

// With the read position on the first byte of a tag of tagSize bytes (as
// Id3v2TagSize gives it): moves past the tag through the buffer, reading
// the iTunSMPB comment into gapless (when not null) on the way. False when
// the data ends inside the tag.
bool SkipId3v2Tag(BitstreamBuffer& buffer, uint32_t tagSize, ITunesGapless* gapless);

}  // namespace plyvane
