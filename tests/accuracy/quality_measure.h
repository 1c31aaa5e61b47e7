// Decodes a stream at the three quality levels and compares each with a reference.
#pragma once

#include <string>

#include "pcm_compare.h"
#include "reference_decode.h"
#include "stream_decode.h"

namespace plyvane::test {

struct StreamMeasurement {
    bool opened = false;
    std::string error;
    int layer = 0;
    int channels = 0;
    uint32_t units = 0;
    uint32_t overlongUnits = 0;
    PcmComparison quality[4];  // by quality level, 0 (reference) to 3
    // Quality 0 against the reference rounded to 16 bits: the difference an
    // exact decoder with 16-bit output has from the reference decoder.
    PcmComparison referenceRounded;
};

// Divisor 1, 16 bits, the stream's own channels. With maxLag > 0 quality 1
// is aligned by FindLag and the others at its lag; with 0 all at lag 0.
StreamMeasurement MeasureStream(const std::string& path, const ReferencePcm& reference, int maxLag);

// One table line: name, lag, SNR per level, max error per level, frames.
// Quality 0 shows its PSNR as well.
std::string FormatRow(const std::string& name, const StreamMeasurement& m);

}  // namespace plyvane::test
