// Layer III accuracy against the ISO/IEC 11172-4 conformance streams and
// the MPEG-2 Layer III streams with their 16-bit references at lag 0.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "layer3_pcm.h"

namespace plyvane {
namespace {

const std::string kVectors = std::string(PLYVANE_SHARED_DIR) + "/conformance/vectors/";

// What the synthesis window leaves reachable, less a margin.
constexpr double kRequiredSnr[4] = {0.0, 53.0, 31.0, 15.5};

std::vector<int16_t> ReadReference(const std::string& name) {
    std::vector<uint8_t> bytes = test::ReadFileBytes(kVectors + name + ".pcm");
    std::vector<int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return samples;
}

class ConformanceStream : public testing::TestWithParam<const char*> {};

TEST_P(ConformanceStream, ReachesTheSnrOfEachQualityLevel) {
    const std::string name = GetParam();
    const std::vector<uint8_t> stream = test::ReadFileBytes(kVectors + name + ".bit");
    const std::vector<int16_t> reference = ReadReference(name);
    ASSERT_FALSE(stream.empty()) << name;
    ASSERT_FALSE(reference.empty()) << name;
    for (int quality = 1; quality <= 3; ++quality) {
        test::DecodedPcm decoded = test::DecodeBytes(stream, quality);
        ASSERT_TRUE(decoded.opened) << name;
        test::PcmComparison c = test::ComparePcm(reference, decoded.samples);
        std::printf("%-24s q%d  SNR %6.2f dB  max error %5d  compared %zu of %zu/%zu\n", name.c_str(), quality,
                    c.snrDb, c.maxError, c.compared, reference.size(), decoded.samples.size());
        // The references may be a frame shorter, never much longer.
        EXPECT_GE(c.compared + 2 * 2304, reference.size()) << name;
        EXPECT_GE(c.snrDb, kRequiredSnr[quality]) << name << " at quality " << quality;
    }
}

INSTANTIATE_TEST_SUITE_P(Layer3, ConformanceStream,
                         testing::Values("l3-compl", "l3-he_32khz", "l3-he_44khz", "l3-he_48khz", "l3-hecommon",
                                         "l3-si", "l3-si_block", "l3-si_huff", "l3-sin1k0db",
                                         "M2L3_bitrate_16_all", "M2L3_bitrate_22_all", "M2L3_bitrate_24_all",
                                         "M2L3_compl24", "M2L3_noise"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             for (char& c : name) {
                                 if (c == '-') c = '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace plyvane
