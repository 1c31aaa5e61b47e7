// The decoder's diagnostics and fatal exits. The decoder never shows a box:
// faults of a stream ("resync", "EOF#1", an illegal Huffman code) are printed
// on the standard output, faults of the Huffman table text on the standard
// error, and a set-up that cannot go on ends the process.
#pragma once

namespace plyvane {

enum class DiagnosticTo { kOutput, kError };

// Prints a printf-style diagnostic as it stands (with its own line end).
void Diagnostic(DiagnosticTo to, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// Prints the diagnostic and ends the process with exitCode: storage that
// cannot be allocated, a table text that does not load.
[[noreturn]] void FatalError(int exitCode, DiagnosticTo to, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

}  // namespace plyvane
