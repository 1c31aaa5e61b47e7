// The streams the accuracy tests measure, and the thresholds they must meet.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace plyvane::test {

constexpr const char* kUnsupportedMessage = "This type of audiofile is currently not supported!";

// Every stream file of the committed test folders (tests/data/layer2, layer3),
// sorted. Each folder is one line in test_streams.cpp.
std::vector<std::string> CommittedStreams();

struct ConformanceStream {
    std::string file;       // under the shared conformance vectors folder
    int layer;
    // kCompareDecodedPart: decoding ends early by design, so only what we
    // decode is compared (no check for lost frames).
    enum Check { kCompare, kCompareDecodedPart, kReportOnly, kRefused } check;
    std::string note;       // why a stream is handled specially
};

const std::vector<ConformanceStream>& ConformanceStreams();
// Lets GoogleTest name a failing case by its file.
void PrintTo(const ConformanceStream& stream, std::ostream* os);
std::string ConformanceDir();

// Minimum SNR in dB at quality 1, 2, 3; at quality 0, against the
// reference rounded to 16 bits.
double RequiredSnrDb(int layer, int quality);

// A name GoogleTest accepts for a parameterised case: letters, digits, '_'.
std::string CaseName(const std::string& path);

}  // namespace plyvane::test
