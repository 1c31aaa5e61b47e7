#include "id3_test_support.h"

#include <atomic>
#include <chrono>
#include <fstream>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace plyvane::testing {

namespace fs = std::filesystem;

void ExpectFields(const Id3Fields& actual, const Id3Fields& expected) {
    EXPECT_EQ(actual.title, expected.title);
    EXPECT_EQ(actual.artist, expected.artist);
    EXPECT_EQ(actual.album, expected.album);
    EXPECT_EQ(actual.year, expected.year);
    EXPECT_EQ(actual.comment, expected.comment);
}

std::string SyncSafeBytes(uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 3; i >= 0; --i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(value & 0x7F);
        value >>= 7;
    }
    return bytes;
}

std::string BigEndianBytes(uint32_t value, int count) {
    std::string bytes(static_cast<std::size_t>(count), '\0');
    for (int i = count - 1; i >= 0; --i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(value & 0xFF);
        value >>= 8;
    }
    return bytes;
}

std::string Frame(int major, const std::string& id, const std::string& body, uint16_t flags) {
    const uint32_t size = static_cast<uint32_t>(body.size());
    if (major == 2) return id + BigEndianBytes(size, 3) + body;
    return id + (major == 3 ? BigEndianBytes(size) : SyncSafeBytes(size)) + BigEndianBytes(flags, 2) + body;
}

std::string TextFrame(int major, const std::string& id, const std::string& text, uint8_t encoding) {
    return Frame(major, id, std::string(1, static_cast<char>(encoding)) + text);
}

std::string TagHeader(int major, uint8_t flags, uint32_t size, const char* marker) {
    return std::string(marker) + static_cast<char>(major) + '\0' + static_cast<char>(flags) + SyncSafeBytes(size);
}

std::string Tag(int major, const std::string& frames, uint8_t flags) {
    return TagHeader(major, flags, static_cast<uint32_t>(frames.size())) + frames;
}

std::string Unsynchronised(const std::string& bytes) {
    std::string out;
    for (char c : bytes) {
        out += c;
        if (static_cast<unsigned char>(c) == 0xFF) out += '\0';
    }
    return out;
}

std::string Utf16(const std::u16string& text, bool bigEndian) {
    std::string bytes;
    for (char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

std::string Id3v1(const std::string& title, const std::string& artist, const std::string& album,
                  const std::string& year, const std::string& comment) {
    auto field = [](std::string text, std::size_t width) {
        text.resize(width, '\0');
        return text;
    };
    return "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4) + field(comment, 30) +
           std::string(1, '\x0C');
}

bool AnsiIsWindows1252() {
#ifdef _WIN32
    return ::GetACP() == 1252;
#else
    return true;
#endif
}

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count() % 1000000007;
    path_ = fs::temp_directory_path() /
            ("plyvane-info-" + std::to_string(stamp) + "-" + std::to_string(counter.fetch_add(1)));
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TempFolder::Path(const std::string& name) const { return (path_ / name).string(); }

std::string TempFolder::Write(const std::string& name, const std::string& bytes) const {
    const std::string path = Path(name);
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return path;
}

std::string TaggedFile(const std::string& name) {
    return (fs::path(PLYVANE_SOURCE_DIR) / "info" / "tests" / "data" / name).make_preferred().string();
}

}  // namespace plyvane::testing
