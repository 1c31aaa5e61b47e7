#include "command_line.h"

#include <cstring>

namespace plyvane {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The shell quotes names that hold spaces: "C:\My Music\a.mp3".
std::string WithoutSurroundingQuotes(std::string name) {
    while (!name.empty() && IsBlank(name.back())) name.pop_back();
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
        name = name.substr(1, name.size() - 2);
    }
    if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);
    return name;
}
bool SameLetter(char a, char b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(a) == lower(b);
}

// The text starts with `prefix`, without regard to case (Windows paths).
bool StartsWithPath(const char* text, const char* prefix) {
    for (; *prefix != '\0'; ++text, ++prefix) {
        if (*text == '\0' || !SameLetter(*text, *prefix)) return false;
    }
    return true;
}
}  // namespace

const char* ArgumentsAfterProgram(const char* commandLine, const char* modulePath) {
    if (commandLine == nullptr) return "";
    const char* p = commandLine;
    while (IsBlank(*p)) ++p;
    size_t moduleLength = modulePath != nullptr ? std::strlen(modulePath) : 0;
    if (*p == '"') {
        const char* end = std::strchr(p + 1, '"');
        p = end != nullptr ? end + 1 : p + std::strlen(p);
    } else if (moduleLength > 0 && StartsWithPath(p, modulePath) &&
               (p[moduleLength] == '\0' || IsBlank(p[moduleLength]))) {
        p += moduleLength;
    } else {
        while (*p != '\0' && !IsBlank(*p)) ++p;
    }
    while (IsBlank(*p)) ++p;
    return p;
}

CommandLine ParseCommandLine(const char* text) {
    CommandLine result;
    if (text == nullptr) return result;
    const char* p = text;
    while (*p != '\0') {
        if (IsBlank(*p)) {
            ++p;
            continue;
        }
        if ((*p == '/' || *p == '-') && IsLetter(p[1])) {
            switch (p[1]) {
            case 'C': case 'c': result.closeAtEnd = true; break;
            case 'E': case 'e': result.endless = true; break;
            case 'P': case 'p': result.playNow = true; break;
            case 'R': case 'r': result.random = true; break;
            default: break;
            }
            while (*p != '\0' && !IsBlank(*p)) ++p;
            continue;
        }
        result.fileName = WithoutSurroundingQuotes(p);
        break;
    }
    return result;
}

}  // namespace plyvane
