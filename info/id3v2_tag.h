// The ID3v2 tag (versions 2.2, 2.3 and 2.4): a 10-byte header "ID3", the
// frames, padding, and in 2.4 an optional footer "3DI". Read from the start
// of a file, or from its end when a 2.4 tag is appended there with a footer.
// Title, artist, album, year and comment come from their text frames. No
// size field is trusted: every one is checked against the tag and the file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "id3_fields.h"
#include "input_file.h"

namespace plyvane {

inline constexpr std::size_t kId3v2HeaderSize = 10;
// More than this of a tag is not read (pictures make tags big; the text
// frames come first in practice).
inline constexpr std::size_t kMaxId3v2ReadSize = 16 * 1024 * 1024;

struct Id3v2Header {
    int majorVersion = 0;    // 2, 3 or 4
    uint8_t flags = 0;
    uint32_t size = 0;       // after the header, without a footer
    bool hasFooter = false;  // 2.4 only
};

// The header or footer at `data` ("ID3", or "3DI" when `footer`): false
// unless it is one of a version this reader knows, with a valid size.
bool ParseId3v2Header(const uint8_t* data, std::size_t size, Id3v2Header& header, bool footer = false);

// Parses a whole tag, beginning with its header; `size` is what is at hand
// (a tag cut short keeps the frames that are whole). True when the tag holds
// at least one of the fields; `fields` receives what it holds.
bool ParseId3v2Tag(const uint8_t* data, std::size_t size, Id3Fields& fields);

// The tag at the start of the file, or else one appended at its end (before
// an ID3v1 tag, if any). False when there is none or the file is unreadable.
bool ReadId3v2Tag(const char* fileName, Id3Fields& fields);
bool ReadId3v2Tag(InputFile& file, Id3Fields& fields);

}  // namespace plyvane
