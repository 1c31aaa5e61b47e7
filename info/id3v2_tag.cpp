#include "id3v2_tag.h"

#include <cstring>
#include <string>
#include <vector>

#include "ansi_text.h"
#include "big_endian.h"
#include "id3v1_tag.h"
#include "id3v2_text.h"

namespace plyvane {

namespace {
// Header flags.
constexpr uint8_t kUnsynchronised = 0x80;
constexpr uint8_t kExtendedHeader = 0x40;  // in 2.2: compression
constexpr uint8_t kFooterPresent = 0x10;

// Frame format flags (the second flag byte) of 2.3 and 2.4.
constexpr uint8_t kV3Compressed = 0x80;
constexpr uint8_t kV3Encrypted = 0x40;
constexpr uint8_t kV3Grouped = 0x20;
constexpr uint8_t kV4Grouped = 0x40;
constexpr uint8_t kV4Compressed = 0x08;
constexpr uint8_t kV4Encrypted = 0x04;
constexpr uint8_t kV4Unsynchronised = 0x02;
constexpr uint8_t kV4DataLength = 0x01;

bool IsSyncSafe(const uint8_t* p) { return ((p[0] | p[1] | p[2] | p[3]) & 0x80) == 0; }

// Unsynchronisation put a zero byte after every 0xFF; this takes them out.
std::vector<uint8_t> Resynchronised(const uint8_t* data, std::size_t size) {
    std::vector<uint8_t> bytes;
    bytes.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes.push_back(data[i]);
        if (data[i] == 0xFF && i + 1 < size && data[i + 1] == 0x00) ++i;
    }
    return bytes;
}

// kUserComment: a user text frame; the one described "comment" is where
// some writers (ffmpeg for 2.4) put the comment.
enum class Field { kNone, kTitle, kArtist, kAlbum, kYear, kComment, kUserComment };

Field FieldOf(const uint8_t* id, int idLength) {
    struct Name {
        const char* id;
        Field field;
    };
    static constexpr Name kNames[] = {
        {"TIT2", Field::kTitle}, {"TPE1", Field::kArtist}, {"TALB", Field::kAlbum},
        {"TYER", Field::kYear},  {"TDRC", Field::kYear},   {"COMM", Field::kComment},
        {"TT2", Field::kTitle},  {"TP1", Field::kArtist},  {"TAL", Field::kAlbum},
        {"TYE", Field::kYear},   {"COM", Field::kComment},  {"TXXX", Field::kUserComment},
        {"TXX", Field::kUserComment},
    };
    for (const Name& name : kNames) {
        if (static_cast<int>(std::strlen(name.id)) == idLength && std::memcmp(name.id, id, idLength) == 0)
            return name.field;
    }
    return Field::kNone;
}

bool IsFrameId(const uint8_t* id, int idLength) {
    for (int i = 0; i < idLength; ++i) {
        if (!((id[i] >= 'A' && id[i] <= 'Z') || (id[i] >= '0' && id[i] <= '9'))) return false;
    }
    return true;
}

// Collects the wanted frames of one tag. Of each field the first frame
// counts; of the comments, the first without a description (the ones with
// one are mostly players' machine data, "iTunNORM" and the like).
class FrameCollector {
public:
    FrameCollector(Id3Fields& fields, int majorVersion) : fields_(fields), majorVersion_(majorVersion) {}

    void Take(Field field, const uint8_t* data, std::size_t size) {
        if (field == Field::kNone || size == 0) return;
        if (field == Field::kComment) return TakeComment(data, size, true);
        if (field == Field::kUserComment) return TakeComment(data, size, false);
        std::string* target = Target(field);
        if (found_[static_cast<int>(field)]) return;
        found_[static_cast<int>(field)] = true;
        *target = Id3TextValue(data[0], data + 1, size - 1, majorVersion_ >= 4);
        if (field == Field::kYear && target->size() > 4) target->resize(4);  // "2004-05-06" of TDRC
    }

    void Finish() {
        if (!haveBareComment_ && haveOtherComment_) fields_.comment = otherComment_;
    }

    bool FoundAny() const {
        for (bool found : found_) {
            if (found) return true;
        }
        return haveBareComment_ || haveOtherComment_;
    }

private:
    std::string* Target(Field field) {
        switch (field) {
            case Field::kTitle: return &fields_.title;
            case Field::kArtist: return &fields_.artist;
            case Field::kAlbum: return &fields_.album;
            case Field::kYear: return &fields_.year;
            default: return &fields_.comment;
        }
    }

    // Encoding, language (3 bytes; not in user text frames), description,
    // text.
    void TakeComment(const uint8_t* data, std::size_t size, bool comment) {
        const std::size_t textAt = comment ? 4 : 1;
        if (haveBareComment_ || size < textAt || !Id3StringReader::IsKnownEncoding(data[0])) return;
        Id3StringReader reader(static_cast<Id3Encoding>(data[0]), data + textAt, size - textAt);
        const std::u32string description = reader.Next();
        if (reader.AtEnd()) return;  // no text after the description
        const std::string text = UnicodeToAnsi(reader.Next());
        if (!comment) {
            if (!haveOtherComment_ && IsNamedComment(description)) {
                otherComment_ = text;
                haveOtherComment_ = true;
            }
        } else if (description.empty()) {
            fields_.comment = text;
            haveBareComment_ = true;
        } else if (!haveOtherComment_ && !IsMachineComment(description)) {
            otherComment_ = text;
            haveOtherComment_ = true;
        }
    }

    static bool IsNamedComment(const std::u32string& description) {
        static constexpr char32_t kName[] = U"comment";
        if (description.size() != 7) return false;
        for (std::size_t i = 0; i < 7; ++i) {
            char32_t c = description[i];
            if (c >= U'A' && c <= U'Z') c += U'a' - U'A';
            if (c != kName[i]) return false;
        }
        return true;
    }

    static bool IsMachineComment(const std::u32string& description) {
        return description.size() >= 4 && description.compare(0, 4, U"iTun") == 0;
    }

    Id3Fields& fields_;
    int majorVersion_;
    bool found_[static_cast<int>(Field::kYear) + 1] = {};
    bool haveBareComment_ = false;
    bool haveOtherComment_ = false;
    std::string otherComment_;
};

// Walks the frames of a tag body (after the header, resynchronised when the
// whole tag was unsynchronised).
class FrameWalker {
public:
    FrameWalker(const uint8_t* body, std::size_t size, const Id3v2Header& header)
        : body_(body), size_(size), header_(header),
          idLength_(header.majorVersion == 2 ? 3 : 4),
          headerLength_(header.majorVersion == 2 ? 6 : 10) {}

    void Walk(std::size_t start, FrameCollector& collector) {
        std::size_t at = start;
        while (at <= size_ && size_ - at >= headerLength_) {
            const uint8_t* frame = body_ + at;
            if (frame[0] == 0) break;  // padding
            if (!IsFrameId(frame, idLength_)) break;
            uint32_t frameSize = 0;
            if (!FrameSize(at, frameSize)) break;
            const std::size_t dataStart = at + headerLength_;
            if (frameSize > size_ - dataStart) break;  // beyond the tag: the rest is lost
            TakeFrame(frame, body_ + dataStart, frameSize, collector);
            at = dataStart + frameSize;
        }
    }

private:
    // Whether a frame could end at `at`: the end of the tag, padding, or
    // another frame's identifier.
    bool IsBoundary(std::size_t at) const {
        if (at > size_) return false;
        if (size_ - at < static_cast<std::size_t>(idLength_)) return true;
        return body_[at] == 0 || IsFrameId(body_ + at, idLength_);
    }

    bool FrameSize(std::size_t at, uint32_t& frameSize) const {
        const uint8_t* sizeBytes = body_ + at + idLength_;
        if (header_.majorVersion == 2) {
            frameSize = BigEndian(sizeBytes, 3);
            return true;
        }
        const uint32_t plain = BigEndian(sizeBytes, 4);
        if (header_.majorVersion == 3) {
            frameSize = plain;
            return true;
        }
        // 2.4 sizes are sync-safe, but some writers put plain numbers there:
        // take the reading after which the next frame begins.
        const std::size_t dataStart = at + headerLength_;
        if (!IsSyncSafe(sizeBytes)) {
            frameSize = plain;
            return true;
        }
        const uint32_t safe = SyncSafe(sizeBytes);
        frameSize = safe;
        if (safe != plain && !IsBoundary(dataStart + safe) && plain <= size_ - dataStart &&
            IsBoundary(dataStart + plain))
            frameSize = plain;
        return true;
    }

    void TakeFrame(const uint8_t* frame, const uint8_t* data, std::size_t size, FrameCollector& collector) {
        const Field field = FieldOf(frame, idLength_);
        if (field == Field::kNone) return;
        if (header_.majorVersion == 2) return collector.Take(field, data, size);

        const uint8_t format = frame[9];
        if (header_.majorVersion == 3) {
            if (format & (kV3Compressed | kV3Encrypted)) return;  // not readable without their schemes
            if (format & kV3Grouped) {
                if (size < 1) return;
                ++data, --size;
            }
            return collector.Take(field, data, size);
        }
        if (format & (kV4Compressed | kV4Encrypted)) return;
        if (format & kV4Grouped) {
            if (size < 1) return;
            ++data, --size;
        }
        if (format & kV4DataLength) {
            if (size < 4) return;
            data += 4, size -= 4;
        }
        if ((format & kV4Unsynchronised) || (header_.flags & kUnsynchronised)) {
            const std::vector<uint8_t> clean = Resynchronised(data, size);
            return collector.Take(field, clean.data(), clean.size());
        }
        collector.Take(field, data, size);
    }

    const uint8_t* body_;
    std::size_t size_;
    const Id3v2Header& header_;
    int idLength_;
    std::size_t headerLength_;
};

// Where the frames start after an extended header; false when it does not
// fit the tag.
bool SkipExtendedHeader(const uint8_t* body, std::size_t size, const Id3v2Header& header, std::size_t& start) {
    start = 0;
    if (header.majorVersion < 3 || !(header.flags & kExtendedHeader)) return true;
    if (size < 4) return false;
    if (header.majorVersion == 3) {
        // Its size does not count its own four bytes.
        const uint32_t extended = BigEndian(body, 4);
        if (extended > size - 4) return false;
        start = 4 + extended;
        return true;
    }
    if (!IsSyncSafe(body)) return false;
    const uint32_t extended = SyncSafe(body);  // counts itself
    if (extended < 6 || extended > size) return false;
    start = extended;
    return true;
}
}  // namespace

bool ParseId3v2Header(const uint8_t* data, std::size_t size, Id3v2Header& header, bool footer) {
    if (size < kId3v2HeaderSize) return false;
    if (std::memcmp(data, footer ? "3DI" : "ID3", 3) != 0) return false;
    const int major = data[3];
    if (major < 2 || major > 4 || data[4] == 0xFF) return false;
    if (!IsSyncSafe(data + 6)) return false;
    header.majorVersion = major;
    header.flags = data[5];
    header.size = SyncSafe(data + 6);
    header.hasFooter = major == 4 && (data[5] & kFooterPresent) != 0;
    return true;
}

bool ParseId3v2Tag(const uint8_t* data, std::size_t size, Id3Fields& fields) {
    fields = Id3Fields();
    Id3v2Header header;
    if (!ParseId3v2Header(data, size, header)) return false;
    // 2.2 knew a compression flag but no compression scheme.
    if (header.majorVersion == 2 && (header.flags & kExtendedHeader)) return false;

    const uint8_t* body = data + kId3v2HeaderSize;
    std::size_t bodySize = size - kId3v2HeaderSize;
    if (header.size < bodySize) bodySize = header.size;

    // Before 2.4 unsynchronisation covers the whole tag, the frame sizes
    // count the bytes without it.
    std::vector<uint8_t> resynchronised;
    if (header.majorVersion < 4 && (header.flags & kUnsynchronised)) {
        resynchronised = Resynchronised(body, bodySize);
        body = resynchronised.data();
        bodySize = resynchronised.size();
    }

    std::size_t start = 0;
    if (!SkipExtendedHeader(body, bodySize, header, start)) return false;
    FrameCollector collector(fields, header.majorVersion);
    FrameWalker(body, bodySize, header).Walk(start, collector);
    collector.Finish();
    return collector.FoundAny();
}

namespace {
// Reads `length` bytes at `position` and parses them as a tag.
bool ParseTagAt(InputFile& file, uint32_t position, std::size_t length, Id3Fields& fields) {
    if (length > kMaxId3v2ReadSize) length = kMaxId3v2ReadSize;
    std::vector<uint8_t> tag(length);
    if (!file.SeekTo(position)) return false;
    const uint32_t got = file.Read(tag.data(), static_cast<uint32_t>(length));
    return ParseId3v2Tag(tag.data(), got, fields);
}

// A 2.4 tag appended at the end: its footer is the last ten bytes, or the
// ten before an ID3v1 tag.
bool ReadAppendedTag(InputFile& file, uint32_t fileSize, Id3Fields& fields) {
    for (uint32_t trailer : {uint32_t{0}, static_cast<uint32_t>(kId3v1Size)}) {
        if (fileSize < trailer + 2 * kId3v2HeaderSize) continue;
        const uint32_t footerAt = fileSize - trailer - static_cast<uint32_t>(kId3v2HeaderSize);
        uint8_t bytes[kId3v2HeaderSize];
        if (!file.SeekTo(footerAt) || file.Read(bytes, sizeof bytes) != sizeof bytes) continue;
        Id3v2Header footer;
        if (!ParseId3v2Header(bytes, sizeof bytes, footer, true)) continue;
        if (footer.size > footerAt - kId3v2HeaderSize) continue;  // would begin before the file
        const uint32_t tagAt = footerAt - footer.size - static_cast<uint32_t>(kId3v2HeaderSize);
        if (ParseTagAt(file, tagAt, kId3v2HeaderSize + footer.size, fields)) return true;
    }
    return false;
}
}  // namespace

bool ReadId3v2Tag(const char* fileName, Id3Fields& fields) {
    fields = Id3Fields();
    InputFile file;
    if (!file.Open(fileName)) return false;
    return ReadId3v2Tag(file, fields);
}

bool ReadId3v2Tag(InputFile& file, Id3Fields& fields) {
    fields = Id3Fields();
    const uint32_t fileSize = file.Size();
    uint8_t bytes[kId3v2HeaderSize];
    Id3v2Header header;
    if (file.SeekTo(0) && file.Read(bytes, sizeof bytes) == sizeof bytes && ParseId3v2Header(bytes, sizeof bytes, header)) {
        // A size beyond the file reads what the file has.
        std::size_t length = kId3v2HeaderSize + header.size;
        if (length > fileSize) length = fileSize;
        return ParseTagAt(file, 0, length, fields);
    }
    if (fileSize == 0xFFFFFFFFu) return false;  // its end is out of reach
    return ReadAppendedTag(file, fileSize, fields);
}

}  // namespace plyvane
