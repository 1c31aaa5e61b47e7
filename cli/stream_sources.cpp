#include "stream_sources.h"

#include <cctype>
#include <cstdio>

namespace plyvane::cli {

bool IsAddress(const std::string& name) {
    static const char kScheme[] = "http://";
    for (std::size_t i = 0; i + 1 < sizeof kScheme; ++i) {
        if (i >= name.size() || std::tolower(static_cast<unsigned char>(name[i])) != kScheme[i]) return false;
    }
    return true;
}

void ConsoleOpenProgress::Step(const std::string& text) { std::fprintf(stderr, "plyvane-cli: %s\n", text.c_str()); }

}  // namespace plyvane::cli
