#include "settings_file_format.h"

#include <cctype>
#include <cstdio>

namespace plyvane {

namespace {
bool SameFolded(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

void AppendQuoted(std::string& out, const std::string& text) {
    out += '"';
    for (unsigned char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char escaped[5];
                std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a quoted text starting at line[at] == '"'; on success `at` is just
// past the closing quote.
bool ReadQuoted(const std::string& line, std::size_t& at, std::string& text) {
    if (at >= line.size() || line[at] != '"') return false;
    text.clear();
    for (std::size_t i = at + 1; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            at = i + 1;
            return true;
        }
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
        if (c != '\\') {
            text += c;
            continue;
        }
        if (++i >= line.size()) return false;
        switch (line[i]) {
        case '\\': text += '\\'; break;
        case '"': text += '"'; break;
        case 'n': text += '\n'; break;
        case 'r': text += '\r'; break;
        case 't': text += '\t'; break;
        case 'x': {
            if (i + 2 >= line.size()) return false;
            int high = HexDigit(line[i + 1]), low = HexDigit(line[i + 2]);
            // A zero would end the text early in the program's buffers.
            if (high < 0 || low < 0 || (high == 0 && low == 0)) return false;
            text += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default: return false;
        }
    }
    return false;
}

bool ParseNumber(const std::string& digits, uint32_t& number) {
    if (digits.empty() || digits.size() > 8) return false;
    uint32_t value = 0;
    for (char c : digits) {
        int digit = HexDigit(c);
        if (digit < 0) return false;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    number = value;
    return true;
}

bool ParseValueLine(const std::string& line, SettingsFileValue& value) {
    std::size_t at = 0;
    if (!line.empty() && line[0] == '@') {
        value.name.clear();
        at = 1;
    } else if (!ReadQuoted(line, at, value.name) || value.name.empty()) {
        return false;
    }
    if (at >= line.size() || line[at] != '=') return false;
    ++at;
    if (at < line.size() && line[at] == '"') {
        value.isText = true;
        return ReadQuoted(line, at, value.text) && at == line.size();
    }
    static const std::string kDword = "dword:";
    if (line.compare(at, kDword.size(), kDword) != 0) return false;
    value.isText = false;
    return ParseNumber(line.substr(at + kDword.size()), value.number);
}
}  // namespace

SettingsFileKey* SettingsDocument::FindKey(const std::string& path) {
    for (SettingsFileKey& key : keys)
        if (SameFolded(key.path, path)) return &key;
    return nullptr;
}

SettingsFileKey& SettingsDocument::AddKey(const std::string& path) {
    if (SettingsFileKey* key = FindKey(path)) return *key;
    keys.push_back({path, {}});
    return keys.back();
}

SettingsFileValue* SettingsDocument::FindValue(SettingsFileKey& key, const std::string& name) {
    for (SettingsFileValue& value : key.values)
        if (SameFolded(value.name, name)) return &value;
    return nullptr;
}

bool IsValidSettingsKey(const std::string& path) {
    if (path.empty() || path.front() == '\\' || path.back() == '\\') return false;
    if (path.find("\\\\") != std::string::npos) return false;
    for (unsigned char c : path)
        if (c < 0x20 || c == 0x7F || c == ']') return false;
    return true;
}

SettingsParseResult ParseSettingsFile(const std::string& bytes) {
    SettingsParseResult result;
    SettingsFileKey* current = nullptr;
    int lineNumber = 0;
    auto bad = [&result, &lineNumber] {
        if (result.firstBadLine == 0) result.firstBadLine = lineNumber;
        ++result.badLines;
    };
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        bool complete = end != std::string::npos;
        if (!complete) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            std::string path = line.size() >= 2 && line.back() == ']'
                                   ? line.substr(1, line.size() - 2)
                                   : std::string();
            if (!IsValidSettingsKey(path)) {
                // Values below a broken key line belong to no known key.
                bad();
                current = nullptr;
                continue;
            }
            current = &result.document.AddKey(path);
            continue;
        }
        SettingsFileValue value;
        // Every line the program writes ends with a newline: a last line
        // without one was cut short, and even if it parses, its text may not
        // be whole.
        if (current == nullptr || !complete || !ParseValueLine(line, value)) {
            bad();
            continue;
        }
        if (SettingsFileValue* existing = SettingsDocument::FindValue(*current, value.name))
            *existing = std::move(value);
        else
            current->values.push_back(std::move(value));
    }
    return result;
}

std::string FormatSettingsFile(const SettingsDocument& document) {
    std::string out =
        "; Plyvane settings: the values below HKEY_CURRENT_USER\\Software as the program keeps\n"
        "; them. The program rewrites this file; edit it only while Plyvane is not running.\n";
    for (const SettingsFileKey& key : document.keys) {
        out += "\n[";
        out += key.path;
        out += "]\n";
        for (const SettingsFileValue& value : key.values) {
            if (value.name.empty())
                out += '@';
            else
                AppendQuoted(out, value.name);
            out += '=';
            if (value.isText) {
                AppendQuoted(out, value.text);
            } else {
                char number[16];
                std::snprintf(number, sizeof number, "dword:%08x",
                              static_cast<unsigned>(value.number));
                out += number;
            }
            out += '\n';
        }
    }
    return out;
}

}  // namespace plyvane
