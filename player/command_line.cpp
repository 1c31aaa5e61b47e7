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
}  // namespace

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
