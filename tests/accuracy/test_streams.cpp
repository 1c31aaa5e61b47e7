#include "test_streams.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace plyvane::test {

namespace fs = std::filesystem;

std::vector<std::string> CommittedStreams() {
    static const char* const kFolders[] = {
        "tests/data/layer2",
        "tests/data/layer3",
    };
    std::vector<std::string> streams;
    for (const char* folder : kFolders) {
        const fs::path dir = fs::path(PLYVANE_SOURCE_DIR) / folder;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(dir, ec))
            if (entry.is_regular_file()) streams.push_back(entry.path().string());
    }
    std::sort(streams.begin(), streams.end());
    return streams;
}

std::string ConformanceDir() { return std::string(PLYVANE_SHARED_DIR) + "/conformance/vectors"; }

const std::vector<ConformanceStream>& ConformanceStreams() {
    using C = ConformanceStream;
    static const std::vector<ConformanceStream> streams = {
        {"l2-fl10.bit", 2, C::kCompare, ""},
        {"l2-fl11.bit", 2, C::kCompare, ""},
        {"l2-fl12.bit", 2, C::kCompare, ""},
        {"l2-fl13.bit", 2, C::kCompare, ""},
        {"l2-fl14.bit", 2, C::kCompare, ""},
        {"l2-fl15.bit", 2, C::kCompare, ""},
        {"l2-fl16.bit", 2, C::kCompare, ""},
        {"l2-test32.bit", 2, C::kCompare, ""},
        {"l3-compl.bit", 3, C::kCompare, ""},
        {"l3-he_32khz.bit", 3, C::kCompare, ""},
        {"l3-he_44khz.bit", 3, C::kCompare, ""},
        {"l3-he_48khz.bit", 3, C::kCompare, ""},
        {"l3-hecommon.bit", 3, C::kCompare, ""},
        {"l3-si.bit", 3, C::kCompare, ""},
        {"l3-si_block.bit", 3, C::kCompare, ""},
        {"l3-si_huff.bit", 3, C::kCompare, ""},
        {"l3-sin1k0db.bit", 3, C::kCompare, ""},
        // Opens as mono; decoding ends at frame 10, where the stream turns dual
        // channel. The reference's first 10 frames are mono too. Its other
        // frames are compared by a test of their own.
        {"l3-he_mode.bit", 3, C::kCompareDecodedPart, "mono part only: decoding ends at the first mode change"},
        {"l3-he_free.bit", 3, C::kRefused, "free format is refused"},
        {"M2L3_bitrate_16_all.bit", 3, C::kCompare, ""},
        {"M2L3_bitrate_22_all.bit", 3, C::kCompare, ""},
        {"M2L3_bitrate_24_all.bit", 3, C::kCompare, ""},
        {"M2L3_compl24.bit", 3, C::kCompare, ""},
        {"M2L3_noise.bit", 3, C::kCompare, ""},
        {"l3-test45.bit", 3, C::kReportOnly, "disputed reference: no two decoders agree"},
        {"l3-test46.bit", 3, C::kReportOnly, "disputed reference: no two decoders agree"},
    };
    return streams;
}

void PrintTo(const ConformanceStream& stream, std::ostream* os) { *os << stream.file; }

double RequiredSnrDb(int layer, int quality) {
    switch (quality) {
        case 0: return 90.0;
        case 1: return layer == 3 ? 53.0 : 53.5;
        case 2: return 31.0;
        default: return 15.5;
    }
}

std::string CaseName(const std::string& path) {
    const fs::path p(path);
    std::string name = p.parent_path().filename().string() + "_" + p.filename().string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

}  // namespace plyvane::test
