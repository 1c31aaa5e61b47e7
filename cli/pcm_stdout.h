// Raw PCM on the standard output.
#pragma once

#include <cstdio>
#include <string>

namespace plyvane::cli {

// Returns a binary stream on the original standard output and points the
// standard output itself at the standard error, so that the decoder's
// diagnostics ("resync" and the like) cannot mix into the samples. Null on
// failure, with the reason in error.
std::FILE* TakeStdoutForPcm(std::string& error);

}  // namespace plyvane::cli
