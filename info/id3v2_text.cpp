#include "id3v2_text.h"

#include "ansi_text.h"
#include "windows1252.h"

namespace plyvane {

namespace {
constexpr char32_t kReplacement = 0xFFFD;

void Append(std::u32string& text, char32_t character) {
    if (text.size() < kMaxId3TextLength) text += character;
}
}  // namespace

std::size_t Id3StringReader::StringEnd(std::size_t& next) const {
    if (encoding_ == Id3Encoding::kUtf16 || encoding_ == Id3Encoding::kUtf16BigEndian) {
        // A zero character is two zero bytes on a character boundary.
        std::size_t at = at_;
        while (at + 1 < size_) {
            if (data_[at] == 0 && data_[at + 1] == 0) {
                next = at + 2;
                return at;
            }
            at += 2;
        }
        next = size_;
        return size_;
    }
    for (std::size_t at = at_; at < size_; ++at) {
        if (data_[at] == 0) {
            next = at + 1;
            return at;
        }
    }
    next = size_;
    return size_;
}

std::u32string Id3StringReader::Next() {
    std::size_t next = size_;
    const std::size_t end = StringEnd(next);
    std::u32string text;
    switch (encoding_) {
        case Id3Encoding::kLatin1:
            // Tags named ISO-8859-1 are Windows-1252 in practice (Windows
            // taggers wrote their code page); it is a superset for text.
            for (std::size_t at = at_; at < end; ++at) Append(text, Windows1252ToUnicode(data_[at]));
            break;
        case Id3Encoding::kUtf16:
        case Id3Encoding::kUtf16BigEndian:
            text = DecodeUtf16(end);
            break;
        case Id3Encoding::kUtf8:
            text = DecodeUtf8(end);
            break;
    }
    at_ = next;
    return text;
}

std::u32string Id3StringReader::DecodeUtf16(std::size_t end) {
    std::size_t at = at_;
    if (at + 1 < end) {
        if (data_[at] == 0xFF && data_[at + 1] == 0xFE) {
            bigEndian_ = false;
            orderKnown_ = true;
            at += 2;
        } else if (data_[at] == 0xFE && data_[at + 1] == 0xFF) {
            bigEndian_ = true;
            orderKnown_ = true;
            at += 2;
        }
    }
    if (!orderKnown_) bigEndian_ = encoding_ == Id3Encoding::kUtf16BigEndian;

    auto unit = [&](std::size_t position) -> char32_t {
        return bigEndian_ ? (data_[position] << 8) | data_[position + 1]
                          : data_[position] | (data_[position + 1] << 8);
    };
    std::u32string text;
    while (at + 1 < end) {
        char32_t first = unit(at);
        at += 2;
        if (first >= 0xD800 && first <= 0xDBFF) {
            if (at + 1 < end) {
                char32_t second = unit(at);
                if (second >= 0xDC00 && second <= 0xDFFF) {
                    at += 2;
                    Append(text, 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00));
                    continue;
                }
            }
            Append(text, kReplacement);
        } else if (first >= 0xDC00 && first <= 0xDFFF) {
            Append(text, kReplacement);
        } else {
            Append(text, first);
        }
    }
    if (at < end) Append(text, kReplacement);  // half a character at the end
    return text;
}

std::u32string Id3StringReader::DecodeUtf8(std::size_t end) const {
    std::size_t at = at_;
    if (end - at >= 3 && data_[at] == 0xEF && data_[at + 1] == 0xBB && data_[at + 2] == 0xBF) at += 3;
    std::u32string text;
    while (at < end) {
        const uint8_t lead = data_[at++];
        if (lead < 0x80) {
            Append(text, lead);
            continue;
        }
        int following;
        char32_t character;
        char32_t smallest;
        if (lead >= 0xC2 && lead <= 0xDF) {
            following = 1, character = lead & 0x1F, smallest = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            following = 2, character = lead & 0x0F, smallest = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            following = 3, character = lead & 0x07, smallest = 0x10000;
        } else {
            Append(text, kReplacement);
            continue;
        }
        int taken = 0;
        while (taken < following && at < end && (data_[at] & 0xC0) == 0x80) {
            character = (character << 6) | (data_[at++] & 0x3F);
            ++taken;
        }
        // A short sequence, an overlong form, a surrogate or a value beyond
        // Unicode is one replacement (the bytes taken stay consumed).
        if (taken < following || character < smallest || character > 0x10FFFF ||
            (character >= 0xD800 && character <= 0xDFFF)) {
            Append(text, kReplacement);
        } else {
            Append(text, character);
        }
    }
    return text;
}

std::string Id3TextValue(uint8_t encoding, const uint8_t* data, std::size_t size, bool severalValues) {
    if (!Id3StringReader::IsKnownEncoding(encoding)) return std::string();
    Id3StringReader reader(static_cast<Id3Encoding>(encoding), data, size);
    std::u32string value = reader.Next();
    while (severalValues && !reader.AtEnd()) {
        std::u32string more = reader.Next();
        if (more.empty()) continue;
        if (!value.empty()) value += U'/';
        value += more;
        if (value.size() > kMaxId3TextLength) value.resize(kMaxId3TextLength);
    }
    return UnicodeToAnsi(value);
}

}  // namespace plyvane
