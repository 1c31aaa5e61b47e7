// Damaged, illegal and nonstandard streams decode or are refused, never
// crash or hang; run under the asan preset for the memory checks.
#include <gtest/gtest.h>

#include <dirent.h>

#include <string>
#include <vector>

#include "layer3_pcm.h"

namespace plyvane {
namespace {

const std::string kVectors = std::string(PLYVANE_SHARED_DIR) + "/conformance/vectors/";

std::vector<std::string> StreamsIn(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            const bool stream = name.size() > 4 && (name.compare(name.size() - 4, 4, ".bit") == 0 ||
                                                    name.compare(name.size() - 4, 4, ".mp3") == 0);
            if (stream) names.push_back(folder + name);
        }
        closedir(dir);
    }
    return names;
}

TEST(Layer3Robustness, EveryConformanceStreamEndsWithoutACrashOrAHang) {
    std::vector<std::string> streams = StreamsIn(kVectors);
    for (const std::string& extra : StreamsIn(kVectors + "fuzz/")) streams.push_back(extra);
    ASSERT_GT(streams.size(), 40u);
    for (const std::string& path : streams) {
        if (path.find("performance") != std::string::npos) continue;
        const std::vector<uint8_t> bytes = test::ReadFileBytes(path);
        // Far more units than any of the streams holds.
        const int limit = static_cast<int>(bytes.size() / 20) + 100;
        testing::internal::CaptureStdout();
        test::DecodedPcm decoded = test::DecodeBytes(bytes, 2, limit);
        testing::internal::GetCapturedStdout();
        EXPECT_LT(decoded.units, limit) << path;
    }
}

// Every byte of a Layer III stream cut short or flipped at many places.
TEST(Layer3Robustness, TruncatedAndBitFlippedStreamsStaySafe) {
    for (const char* name : {"l3-si_block.bit", "M2L3_noise.bit", "l3-compl.bit"}) {
        const std::vector<uint8_t> original = test::ReadFileBytes(kVectors + name);
        ASSERT_FALSE(original.empty());
        for (size_t cut = 5; cut < 6000 && cut < original.size(); cut += 397) {
            std::vector<uint8_t> bytes(original.begin(), original.begin() + static_cast<long>(cut));
            testing::internal::CaptureStdout();
            test::DecodedPcm decoded = test::DecodeBytes(bytes, 1, 1000);
            testing::internal::GetCapturedStdout();
            EXPECT_LT(decoded.units, 1000) << name << " cut at " << cut;
        }
        uint32_t seed = 12345;
        for (int round = 0; round < 30; ++round) {
            std::vector<uint8_t> bytes(original.begin(),
                                       original.begin() + static_cast<long>(std::min<size_t>(original.size(), 20000)));
            for (int flip = 0; flip < 40; ++flip) {
                seed = seed * 1103515245u + 12345u;
                bytes[(seed >> 8) % bytes.size()] ^= static_cast<uint8_t>(1u << ((seed >> 4) & 7));
            }
            testing::internal::CaptureStdout();
            test::DecodedPcm decoded = test::DecodeBytes(bytes, 1, 5000);
            testing::internal::GetCapturedStdout();
            EXPECT_LT(decoded.units, 5000) << name << " round " << round;
        }
    }
}

}  // namespace
}  // namespace plyvane
