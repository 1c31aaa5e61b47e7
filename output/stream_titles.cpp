#include "stream_titles.h"

#include <cstdint>
#include <cstring>

#include "input_file.h"

namespace plyvane {

namespace {

constexpr char kDescriptionFile[] = "descript.ion";
constexpr std::size_t kPieceLength = 79;

void CopyBounded(char* field, std::size_t fieldSize, const char* text, std::size_t length) {
    if (fieldSize == 0) return;
    if (length >= fieldSize) length = fieldSize - 1;
    std::memcpy(field, text, length);
    field[length] = '\0';
}

// Reads the file in pieces the way a text reader with an 80-byte buffer does:
// up to and including a newline, or 79 characters. Carriage returns of
// Windows line ends are dropped, as text mode does.
class PieceReader {
public:
    explicit PieceReader(InputFile& file) : file_(file) {}

    // False at the end of the file.
    bool Next(char* piece, std::size_t& length) {
        length = 0;
        while (length < kPieceLength) {
            int c = NextChar();
            if (c < 0) break;
            if (c == '\r') continue;
            piece[length++] = static_cast<char>(c);
            if (c == '\n') break;
        }
        piece[length] = '\0';
        return length > 0;
    }

private:
    int NextChar() {
        if (next_ == filled_) {
            filled_ = file_.Read(buffer_, sizeof buffer_);
            next_ = 0;
            if (filled_ == 0) return -1;
        }
        return static_cast<unsigned char>(buffer_[next_++]);
    }

    InputFile& file_;
    char buffer_[512];
    uint32_t next_ = 0;
    uint32_t filled_ = 0;
};

}  // namespace

void TitleOf(const char* name, char* title, std::size_t titleSize) {
    if (name == nullptr) name = "";
    const char* start = std::strrchr(name, '\\');
    if (start == nullptr) start = std::strrchr(name, '/');
    start = start == nullptr ? name : start + 1;
    const char* dot = std::strrchr(start, '.');
    std::size_t length = dot != nullptr ? static_cast<std::size_t>(dot - start) : std::strlen(start);
    CopyBounded(title, titleSize, start, length);
}

bool ReadDescription(const char* path, char* description, std::size_t descriptionSize) {
    CopyBounded(description, descriptionSize, "", 0);
    if (path == nullptr) return false;

    // The folder keeps its separator; natively "/" separates folders too.
    const char* slash = std::strrchr(path, '\\');
    const char* forward = std::strrchr(path, '/');
    if (forward != nullptr && (slash == nullptr || forward > slash)) slash = forward;
    const std::size_t folderLength = slash != nullptr ? static_cast<std::size_t>(slash - path + 1) : 0;
    const char* fileName = path + folderLength;

    char descriptionPath[1024];
    if (folderLength + sizeof kDescriptionFile > sizeof descriptionPath) return false;
    std::memcpy(descriptionPath, path, folderLength);
    std::memcpy(descriptionPath + folderLength, kDescriptionFile, sizeof kDescriptionFile);

    char key[300];
    const bool quoted = std::strchr(fileName, ' ') != nullptr;
    const std::size_t nameLength = std::strlen(fileName);
    if (nameLength + 3 > sizeof key) return false;
    std::size_t keyLength = 0;
    if (quoted) key[keyLength++] = '"';
    std::memcpy(key + keyLength, fileName, nameLength);
    keyLength += nameLength;
    if (quoted) key[keyLength++] = '"';
    key[keyLength] = '\0';

    InputFile file;
    if (!file.Open(descriptionPath)) return false;
    PieceReader reader(file);
    char piece[kPieceLength + 1];
    std::size_t length = 0;
    while (reader.Next(piece, length)) {
        if (std::strncmp(piece, key, keyLength) != 0) continue;
        if (length > 0 && piece[length - 1] == '\n') piece[--length] = '\0';
        const char* rest = piece + keyLength <= piece + length ? piece + keyLength : piece + length;
        while (*rest == ' ' || *rest == '\t') ++rest;
        CopyBounded(description, descriptionSize, rest, std::strlen(rest));
        return true;
    }
    return false;
}

}  // namespace plyvane
