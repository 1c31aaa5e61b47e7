#include "http_response_headers.h"

#include <cctype>

namespace plyvane {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Decimal digits only, at most 2^32 - 1.
bool ReadNumber(std::string_view text, uint32_t& value) {
    if (text.empty() || text.size() > 10) return false;
    uint64_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        number = number * 10 + static_cast<uint64_t>(c - '0');
    }
    if (number > 0xFFFFFFFFu) return false;
    value = static_cast<uint32_t>(number);
    return true;
}

}  // namespace

ResponseHeaders ParseResponseHeaders(std::string_view block) {
    ResponseHeaders headers;
    int lengths = 0;
    bool lengthsAgree = true;
    uint32_t length = 0;
    while (!block.empty()) {
        const std::size_t end = block.find('\n');
        const std::string_view line = block.substr(0, end);
        block = end == std::string_view::npos ? std::string_view() : block.substr(end + 1);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view name = Trim(line.substr(0, colon));
        const std::string_view value = Trim(line.substr(colon + 1));
        if (SameName(name, "Content-Length")) {
            uint32_t number = 0;
            const bool read = ReadNumber(value, number);
            if (!read || (lengths > 0 && number != length)) lengthsAgree = false;
            length = number;
            ++lengths;
        } else if (SameName(name, "Content-Range")) {
            // "bytes START-END/TOTAL"
            if (value.substr(0, 6) == "bytes ") {
                const std::string_view range = value.substr(6);
                const std::size_t dash = range.find('-');
                uint32_t start = 0;
                if (dash != std::string_view::npos && ReadNumber(range.substr(0, dash), start)) {
                    headers.hasRangeStart = true;
                    headers.rangeStart = start;
                }
            }
        } else if (SameName(name, "icy-metaint")) {
            headers.hasMetaInterval = true;
            uint32_t interval = 0;
            headers.metaInterval =
                ReadNumber(value, interval) && interval > 0 && interval <= kMaxIcyMetaInterval ? interval : 0;
        } else if (SameName(name, "icy-name")) {
            headers.stationName.clear();
            for (char c : value.substr(0, 255)) {
                if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) headers.stationName += c;
            }
        }
    }
    headers.hasLength = lengths > 0 && lengthsAgree;
    headers.contentLength = headers.hasLength ? length : 0;
    return headers;
}

}  // namespace plyvane
