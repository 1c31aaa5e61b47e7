#include "ini_document.h"

namespace plyvane {

namespace {
// The profile functions count CR and the DOS end-of-file mark as blanks too.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}
}  // namespace

IniDocument::Line IniDocument::ParseLine(std::string_view raw) {
    Line line;
    line.text.assign(raw);
    std::string_view content = Trim(raw);
    if (content.empty()) return line;
    if (content.front() == '[') {
        std::size_t close = content.rfind(']');
        if (close != std::string_view::npos) {
            line.isSection = true;
            line.name.assign(content.substr(1, close - 1));
            return line;
        }
        // Without "]" it is an ordinary line, as in Windows.
    }
    line.isKey = true;
    std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) {
        line.name.assign(content);
        return line;
    }
    line.name.assign(Trim(content.substr(0, equals)));
    line.value.assign(Trim(content.substr(equals + 1)));
    line.hasValue = true;
    return line;
}

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument document;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        while (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        document.lines_.push_back(ParseLine(raw));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return document;
}

std::size_t IniDocument::FindSection(std::string_view section) const {
    section = Trim(section);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].isSection && SameName(lines_[i].name, section)) return i;
    }
    return std::string::npos;
}

std::size_t IniDocument::SectionEnd(std::size_t start) const {
    std::size_t end = start + 1;
    while (end < lines_.size() && !lines_[end].isSection) ++end;
    return end;
}

const std::string* IniDocument::Find(std::string_view section, std::string_view key) const {
    std::size_t start = FindSection(section);
    if (start == std::string::npos) return nullptr;
    key = Trim(key);
    for (std::size_t i = start + 1; i < SectionEnd(start); ++i) {
        const Line& line = lines_[i];
        if (line.isKey && SameName(line.name, key)) return line.hasValue ? &line.value : nullptr;
    }
    return nullptr;
}

bool IniDocument::HasSection(std::string_view section) const {
    return FindSection(section) != std::string::npos;
}

std::vector<std::string> IniDocument::KeysOf(std::string_view section) const {
    std::vector<std::string> keys;
    std::size_t start = FindSection(section);
    if (start == std::string::npos) return keys;
    for (std::size_t i = start + 1; i < SectionEnd(start); ++i) {
        const Line& line = lines_[i];
        // Windows leaves out comment lines and lines without "=".
        if (line.isKey && line.hasValue && !line.name.empty() && line.name.front() != ';')
            keys.push_back(line.name);
    }
    return keys;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);

    std::size_t start = FindSection(section);
    if (start == std::string::npos) {
        if (!lines_.empty() && !Trim(lines_.back().text).empty()) lines_.push_back(ParseLine(""));
        lines_.push_back(ParseLine("[" + std::string(section) + "]"));
        lines_.push_back(ParseLine(std::string(key) + "=" + std::string(value)));
        return;
    }
    std::size_t end = SectionEnd(start);
    for (std::size_t i = start + 1; i < end; ++i) {
        if (lines_[i].isKey && SameName(lines_[i].name, key)) {
            // The key keeps the spelling it has in the file.
            lines_[i] = ParseLine(lines_[i].name + "=" + std::string(value));
            return;
        }
    }
    // After the section's last line that is not blank.
    std::size_t at = end;
    while (at > start + 1 && Trim(lines_[at - 1].text).empty()) --at;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                  ParseLine(std::string(key) + "=" + std::string(value)));
}

std::string IniDocument::Serialize() const {
    std::string text;
    for (const Line& line : lines_) {
        text += line.text;
        text += "\r\n";
    }
    return text;
}

}  // namespace plyvane
