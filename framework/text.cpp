#include "text.h"

#include <cstdio>
#include <cstring>

namespace plyvane {

void CopyText(char* destination, size_t size, const char* source) {
    if (destination == nullptr || size == 0) return;
    if (source == nullptr) source = "";
    size_t length = std::strlen(source);
    if (length >= size) length = size - 1;
    std::memmove(destination, source, length);
    destination[length] = '\0';
}

size_t FormatText(char* destination, size_t size, const char* format, ...) {
    if (destination == nullptr || size == 0) return 0;
    va_list arguments;
    va_start(arguments, format);
    int written = std::vsnprintf(destination, size, format, arguments);
    va_end(arguments);
    if (written < 0) {
        destination[0] = '\0';
        return 0;
    }
    return static_cast<size_t>(written) < size ? static_cast<size_t>(written) : size - 1;
}

}  // namespace plyvane
