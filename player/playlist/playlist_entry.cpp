#include "playlist_entry.h"

#include <cstdint>
#include <string>

#include "http_address.h"

namespace plyvane {

namespace {
constexpr char kSeparator = ';';

// Start of field n, or npos when the record has fewer fields.
std::size_t FieldStart(std::string_view record, int n) {
    std::size_t at = 0;
    for (int i = 0; i < n; ++i) {
        std::size_t separator = record.find(kSeparator, at);
        if (separator == std::string_view::npos) return std::string_view::npos;
        at = separator + 1;
    }
    return at;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
}  // namespace

std::string EntryField(std::string_view record, int n) {
    if (n < 0) return std::string();
    std::size_t start = FieldStart(record, n);
    if (start == std::string_view::npos) return std::string();
    std::size_t end = record.find(kSeparator, start);
    return std::string(record.substr(start, end == std::string_view::npos ? end : end - start));
}

int32_t EntryNumber(std::string_view record, int n) {
    const std::string field = EntryField(record, n);
    std::size_t at = 0;
    while (at < field.size() && IsBlank(field[at])) ++at;
    bool negative = false;
    if (at < field.size() && (field[at] == '-' || field[at] == '+')) negative = field[at++] == '-';
    int64_t value = 0;
    for (; at < field.size() && field[at] >= '0' && field[at] <= '9'; ++at) {
        value = value * 10 + (field[at] - '0');
        if (value > INT32_MAX) {
            value = static_cast<int64_t>(INT32_MAX) + 1;  // held, the sign decides below
        }
    }
    if (negative) value = -value;
    if (value > INT32_MAX) value = INT32_MAX;
    if (value < INT32_MIN) value = INT32_MIN;
    return static_cast<int32_t>(value);
}

std::string SetEntryField(std::string_view record, int n, std::string_view value) {
    std::string result(record);
    if (n < 0) return result;
    std::size_t at = 0;
    for (int i = 0; i < n; ++i) {
        std::size_t separator = result.find(kSeparator, at);
        if (separator == std::string::npos) {
            result += kSeparator;
            at = result.size();
        } else {
            at = separator + 1;
        }
    }
    std::size_t end = result.find(kSeparator, at);
    // A separator inside the value would shift every later field.
    std::string field(value);
    for (char& c : field) {
        if (c == kSeparator) c = ',';
    }
    result.replace(at, end == std::string::npos ? std::string::npos : end - at, field);
    return result;
}

std::string SetEntryField(std::string_view record, int n, int32_t value) {
    return SetEntryField(record, n, std::to_string(value));
}

std::string DisplayNameOf(std::string_view shownPath, bool keepFolder, bool keepExtension) {
    // An address without a path would show its user information.
    const std::string masked = MaskAddressPassword(shownPath);
    const std::string_view path = masked;
    std::size_t folderEnd = path.rfind('\\');
    if (folderEnd == std::string_view::npos) folderEnd = path.rfind('/');
    std::size_t nameStart = folderEnd == std::string_view::npos ? 0 : folderEnd + 1;
    std::size_t end = path.size();
    if (!keepExtension) {
        std::size_t dot = path.rfind('.');
        if (dot != std::string_view::npos && dot >= nameStart) end = dot;
    }
    std::size_t start = keepFolder ? 0 : nameStart;
    return std::string(path.substr(start, end - start));
}

std::string MaskedEntryRecord(std::string_view record) {
    const std::string path = EntryField(record, kEntryPath);
    return MaskAddressPassword(path) + std::string(record.substr(path.size()));
}

bool IsHttpAddress(std::string_view name) {
    static constexpr std::string_view kPrefix = "http://";
    if (name.size() < kPrefix.size()) return false;
    for (std::size_t i = 0; i < kPrefix.size(); ++i) {
        char c = name[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kPrefix[i]) return false;
    }
    return true;
}

}  // namespace plyvane
