#include "url_entry.h"

#include <string_view>

namespace plyvane {

namespace {
constexpr std::string_view kHttpPrefix = "http://";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Lower case in ASCII only: the scheme and host are ASCII, and bytes of the
// ANSI code page must come through unchanged.
std::string Trimmed(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string Lowered(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}
}  // namespace

std::optional<std::string> TakeEnteredUrl(const std::string& initial, const std::string& typed,
                                          bool modified) {
    if (!modified) return initial;
    const std::string trimmed = Trimmed(typed);
    const std::string lower = Lowered(trimmed);
    // Case is kept as typed: the HTTP session itself insists on the
    // lower-case scheme, so "HTTP://" passes here and is refused when opened.
    // Blanks around a pasted address are dropped; no session could open it
    // with them.
    if (lower.compare(0, kHttpPrefix.size(), kHttpPrefix) == 0) return trimmed;
    if (lower.find("://") != std::string::npos) return std::nullopt;
    return std::string(kHttpPrefix) + lower;
}

}  // namespace plyvane
