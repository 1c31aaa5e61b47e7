#include "json_writer.h"

#include <cmath>
#include <cstdio>

namespace plyvane::cli {

namespace {

// Length of a valid UTF-8 sequence at text[i] (no overlongs, surrogates or
// values beyond U+10FFFF), or 0.
size_t Utf8SequenceLength(const std::string& text, size_t i) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    size_t length;
    uint32_t minimum;
    uint32_t code;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

void AppendEscape(std::string& out, unsigned code) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", code);
    out += escape;
}

}  // namespace

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            size_t length = Utf8SequenceLength(text, i);
            if (length > 0) {
                out.append(text, i, length);
                i += length;
            } else {
                AppendEscape(out, c);
                ++i;
            }
            continue;
        }
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    AppendEscape(out, c);
                } else {
                    out += static_cast<char>(c);
                }
        }
        ++i;
    }
    return out + "\"";
}

void JsonObject::Key(const char* key) {
    if (!members_.empty()) members_ += ", ";
    members_ += JsonString(key) + ": ";
}

JsonObject& JsonObject::Add(const char* key, const std::string& text) {
    Key(key);
    members_ += JsonString(text);
    return *this;
}

JsonObject& JsonObject::Add(const char* key, int64_t number) {
    Key(key);
    members_ += std::to_string(number);
    return *this;
}

JsonObject& JsonObject::Add(const char* key, double number) {
    Key(key);
    if (!std::isfinite(number)) {
        members_ += "null";
        return *this;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", number);
    members_ += text;
    return *this;
}

}  // namespace plyvane::cli
