// The reference decodes our output is measured against: mpg123's float
// output, and the 16-bit .pcm files that come with the conformance streams.
#pragma once

#include <string>
#include <vector>

namespace plyvane::test {

struct ReferencePcm {
    bool ok = false;
    std::string error;
    int channels = 0;
    std::vector<float> samples;  // interleaved, in 16-bit units (full scale 32768)
};

// Whether the mpg123 program was found when the build was configured.
bool Mpg123Available();

// mpg123's float decode of the stream (no gapless trimming), made once and
// cached in the build tree; remade when the stream is newer than the cache.
// The Windows builds find it made by make-mpg123-references.sh.
ReferencePcm Mpg123Reference(const std::string& streamPath);

// A raw signed 16-bit little-endian interleaved file.
ReferencePcm Pcm16File(const std::string& path, int channels);

}  // namespace plyvane::test
