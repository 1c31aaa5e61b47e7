// Feeds arbitrary bytes to the ID3 tag readers and checks what they promise:
// texts without zero bytes, never longer than their fields allow, whatever
// the sizes in the tag claim. The first byte chooses the version and flags
// of a tag header put in front of the rest (so the frames are reached at
// once); the rest is also parsed as it stands, as a frame text, and as a
// whole file (the ID3v1 tag, and ID3v2 tags at the start or the end).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "id3v1_tag.h"
#include "id3v2_tag.h"
#include "id3v2_text.h"
#include "stream_tag.h"

namespace {

using namespace plyvane;

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckText(const std::string& text, std::size_t longest) {
    Check(text.size() <= longest);
    Check(text.find('\0') == std::string::npos);
}

void CheckFields(const Id3Fields& fields, std::size_t longest) {
    CheckText(fields.title, longest);
    CheckText(fields.artist, longest);
    CheckText(fields.album, longest);
    CheckText(fields.year, longest < 4 ? longest : 4);
    CheckText(fields.comment, longest);
}

// One file per process, rewritten for each input and removed at the end.
char filePath[64];

const char* FilePath() {
    if (filePath[0] == '\0') {
        std::snprintf(filePath, sizeof filePath, "/tmp/plyvane-id3-fuzz-%ld.mp3", static_cast<long>(::getpid()));
        std::atexit([] { std::remove(filePath); });
    }
    return filePath;
}

std::string SyncSafe(std::size_t value) {
    if (value > 0x0FFFFFFF) value = 0x0FFFFFFF;
    std::string bytes(4, '\0');
    for (int i = 3; i >= 0; --i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(value & 0x7F);
        value >>= 7;
    }
    return bytes;
}

void ParseAsTag(const std::string& bytes) {
    Id3Fields fields;
    ParseId3v2Tag(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), fields);
    CheckFields(fields, kMaxId3TextLength);
}

void ReadAsFile(const std::string& bytes) {
    std::FILE* file = std::fopen(FilePath(), "wb");
    if (file == nullptr) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);

    Id3Fields fields;
    const StreamTagKind kind = ReadStreamTag(FilePath(), fields);
    CheckFields(fields, kind == StreamTagKind::kId3v1 ? 30 : kMaxId3TextLength);
    std::string title;
    if (ReadTagTitle(FilePath(), title)) CheckText(title, kMaxId3TextLength);
    unsigned char body[kId3v1BodySize];
    if (ReadID3Tag(FilePath(), body) == 1) CheckFields(Id3v1FieldsOf(body), 30);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint8_t options = data[0];
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);

    ParseAsTag(rest);
    CheckText(Id3TextValue(data[1], data + 2, size - 2, (options & 0x80) != 0), kMaxId3TextLength);

    // A valid header of version 2.2, 2.3 or 2.4 with the flags of the first
    // byte's upper bits, before the rest.
    const char major = static_cast<char>(2 + (options & 3) % 3);
    const char flags = static_cast<char>(options & 0xF0);
    ParseAsTag(std::string("ID3") + major + '\0' + flags + SyncSafe(rest.size()) + rest);

    ReadAsFile(rest);
    return 0;
}
