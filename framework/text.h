// Bounded text helpers: every copy or format into a fixed buffer goes
// through these, so a long name is cut instead of overrunning the buffer.
#pragma once

#include <cstdarg>
#include <cstddef>

namespace plyvane {

// Copies at most size - 1 characters and always terminates (size > 0).
void CopyText(char* destination, size_t size, const char* source);

// snprintf that always terminates; returns the length actually stored.
size_t FormatText(char* destination, size_t size, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

template <size_t N>
void CopyText(char (&destination)[N], const char* source) {
    CopyText(destination, N, source);
}

}  // namespace plyvane
