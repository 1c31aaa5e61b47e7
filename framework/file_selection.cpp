#include "file_selection.h"

#include <cstring>

namespace plyvane {

std::vector<std::string> SplitFileSelection(const char* buffer, std::size_t size) {
    std::vector<std::string> parts;
    std::size_t at = 0;
    while (at < size && buffer[at] != '\0') {
        const void* zero = std::memchr(buffer + at, '\0', size - at);
        if (zero == nullptr) break;  // cut off: not a whole name
        const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(zero) - buffer);
        parts.emplace_back(buffer + at, end - at);
        at = end + 1;
    }
    if (parts.size() <= 1) return parts;
    std::string folder = parts.front();
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    std::vector<std::string> paths;
    for (std::size_t i = 1; i < parts.size(); ++i) paths.push_back(folder + parts[i]);
    return paths;
}

}  // namespace plyvane
