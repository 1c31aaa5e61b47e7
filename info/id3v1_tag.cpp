#include "id3v1_tag.h"

#include <cstring>
#include <string>


namespace plyvane {

namespace {
struct FieldLayout {
    std::size_t offset;  // within the body
    std::size_t width;
};
constexpr FieldLayout kTitle{0, 30};
constexpr FieldLayout kArtist{30, 30};
constexpr FieldLayout kAlbum{60, 30};
constexpr FieldLayout kYear{90, 4};
constexpr FieldLayout kComment{94, 30};

std::string Text(const unsigned char (&body)[kId3v1BodySize], FieldLayout field) {
    const char* start = reinterpret_cast<const char*>(body) + field.offset;
    const void* zero = std::memchr(start, '\0', field.width);
    const std::size_t length =
        zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - start) : field.width;
    return std::string(start, length);
}
}  // namespace

int ReadID3Tag(const char* fileName, unsigned char (&body)[kId3v1BodySize]) {
    InputFile file;
    if (!file.Open(fileName)) return 0;
    return ReadID3Tag(file, body);
}

int ReadID3Tag(InputFile& file, unsigned char (&body)[kId3v1BodySize]) {
    const uint32_t size = file.Size();
    // A file of 4 GB or more reports its size capped: its end is unknown.
    if (size < kId3v1Size || size == 0xFFFFFFFFu) return 0;
    if (!file.SeekTo(size - static_cast<uint32_t>(kId3v1Size))) return 0;
    char marker[3];
    if (file.Read(marker, sizeof marker) != sizeof marker || std::memcmp(marker, "TAG", 3) != 0) return 0;
    return file.Read(body, kId3v1BodySize) == kId3v1BodySize ? 1 : 0;
}

Id3Fields Id3v1FieldsOf(const unsigned char (&body)[kId3v1BodySize]) {
    Id3Fields fields;
    fields.title = Text(body, kTitle);
    fields.artist = Text(body, kArtist);
    fields.album = Text(body, kAlbum);
    fields.year = Text(body, kYear);
    fields.comment = Text(body, kComment);
    return fields;
}

bool ReadId3v1Fields(InputFile& file, Id3Fields& fields) {
    unsigned char body[kId3v1BodySize];
    if (ReadID3Tag(file, body) == 0) return false;
    fields = Id3v1FieldsOf(body);
    return true;
}

}  // namespace plyvane
