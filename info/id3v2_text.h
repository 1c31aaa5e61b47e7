// The texts of ID3v2 frames: a leading encoding byte (0 ISO-8859-1, 1 UTF-16
// with a byte-order mark, 2 UTF-16 big-endian, 3 UTF-8), strings ended by a
// zero character (one zero byte, or two for UTF-16). Decoded to characters;
// what is not valid in its encoding becomes U+FFFD.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace plyvane {

enum class Id3Encoding : uint8_t { kLatin1 = 0, kUtf16 = 1, kUtf16BigEndian = 2, kUtf8 = 3 };

// The longest text kept of one field, in characters.
inline constexpr std::size_t kMaxId3TextLength = 1024;

// Walks the zero-ended strings of a frame's text, one after the other.
class Id3StringReader {
public:
    // False for an encoding byte above 3.
    static bool IsKnownEncoding(uint8_t encoding) { return encoding <= 3; }

    Id3StringReader(Id3Encoding encoding, const uint8_t* data, std::size_t size)
        : encoding_(encoding), data_(data), size_(size) {}

    bool AtEnd() const { return at_ >= size_; }
    // The next string (at most kMaxId3TextLength characters of it). A UTF-16
    // string's byte-order mark sets the order for it and those after it;
    // without one, big-endian for encoding 2, little-endian otherwise.
    std::u32string Next();

private:
    std::size_t StringEnd(std::size_t& next) const;
    std::u32string DecodeUtf16(std::size_t end);
    std::u32string DecodeUtf8(std::size_t end) const;

    Id3Encoding encoding_;
    const uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
    bool bigEndian_ = false;
    bool orderKnown_ = false;
};

// A text frame's value (after its encoding byte) in the ANSI code page. Only
// the first string counts in tags before version 2.4; from 2.4 on a frame
// may hold several, which are joined with "/". Empty for an unknown encoding.
std::string Id3TextValue(uint8_t encoding, const uint8_t* data, std::size_t size, bool severalValues);

}  // namespace plyvane
