#include "diagnostics.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace plyvane {

namespace {

void Print(DiagnosticTo to, const char* format, va_list args) {
    std::FILE* stream = to == DiagnosticTo::kError ? stderr : stdout;
    std::vfprintf(stream, format, args);
}

}  // namespace

void Diagnostic(DiagnosticTo to, const char* format, ...) {
    va_list args;
    va_start(args, format);
    Print(to, format, args);
    va_end(args);
}

void FatalError(int exitCode, DiagnosticTo to, const char* format, ...) {
    va_list args;
    va_start(args, format);
    Print(to, format, args);
    va_end(args);
    std::fflush(nullptr);
    std::exit(exitCode);
}

}  // namespace plyvane
