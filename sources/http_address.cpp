#include "http_address.h"

#include <cctype>

namespace plyvane {

namespace {

constexpr std::string_view kScheme = "http://";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string DecodeEscapes(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Blanks and bytes beyond ASCII are escaped; escapes already there stay, and a
// fragment is never sent.
std::string RequestPath(std::string_view path) {
    path = path.substr(0, path.find('#'));
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == ' ' || byte >= 0x80) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

bool IsHostCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.' || c == '-' || c == '_';
}

}  // namespace

AddressCheck ParseHttpAddress(std::string_view address, HttpAddress& out) {
    out = HttpAddress{};
    if (address.substr(0, kScheme.size()) != kScheme) return AddressCheck::kNotHttp;
    if (address.size() > kMaxAddressLength) return AddressCheck::kInvalid;
    for (char c : address) {
        // Control characters would end the request line early.
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return AddressCheck::kInvalid;
    }
    const std::string_view rest = address.substr(kScheme.size());
    const std::size_t slash = rest.find('/');
    std::string_view hostPart = rest.substr(0, slash);
    out.path = slash == std::string_view::npos ? std::string() : RequestPath(rest.substr(slash));

    const std::size_t at = hostPart.find('@');
    if (at != std::string_view::npos) {
        const std::string_view userInfo = hostPart.substr(0, at);
        hostPart = hostPart.substr(at + 1);
        const std::size_t colon = userInfo.find(':');
        out.hasUserInfo = true;
        out.user = DecodeEscapes(userInfo.substr(0, colon));
        if (colon != std::string_view::npos) out.password = DecodeEscapes(userInfo.substr(colon + 1));
    }
    const std::size_t colon = hostPart.find(':');
    const std::string_view host = hostPart.substr(0, colon);
    if (host.empty()) return AddressCheck::kInvalid;
    for (char c : host) {
        if (!IsHostCharacter(c)) return AddressCheck::kInvalid;
    }
    out.host = std::string(host);
    if (colon != std::string_view::npos) {
        const std::string_view port = hostPart.substr(colon + 1);
        // An empty port is the default one, as the program always read it.
        uint32_t value = 0;
        for (char c : port) {
            if (c < '0' || c > '9') return AddressCheck::kInvalid;
            value = value * 10 + static_cast<uint32_t>(c - '0');
            if (value > 65535) return AddressCheck::kInvalid;
        }
        if (!port.empty() && value == 0) return AddressCheck::kInvalid;
        out.port = static_cast<uint16_t>(value);
    }
    return AddressCheck::kValid;
}

std::string MaskAddressPassword(std::string_view address) {
    std::string out(address);
    if (out.size() < kScheme.size()) return out;
    std::string lower = out.substr(0, kScheme.size());
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower != kScheme) return out;
    const std::size_t hostEnd = out.find('/', kScheme.size());
    const std::size_t at = out.rfind('@', hostEnd == std::string::npos ? std::string::npos : hostEnd);
    if (at == std::string::npos || at < kScheme.size()) return out;
    const std::size_t colon = out.find(':', kScheme.size());
    if (colon == std::string::npos || colon > at) return out;
    return out.replace(colon + 1, at - colon - 1, "***");
}

}  // namespace plyvane
