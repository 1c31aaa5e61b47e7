// Our decoder against the 16-bit references of the conformance streams, at
// lag 0 over the shorter of the two lengths.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "quality_measure.h"
#include "test_streams.h"

namespace plyvane::test {
namespace {

class ConformanceAccuracy : public ::testing::TestWithParam<ConformanceStream> {};

TEST_P(ConformanceAccuracy, MatchesTheReference) {
    const ConformanceStream& stream = GetParam();
    const std::string path = ConformanceDir() + "/" + stream.file;
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "no " << path;

    if (stream.check == ConformanceStream::kRefused) {
        const DecodedStream decoded = DecodeFile(path, DecodeSettings{});
        EXPECT_FALSE(decoded.opened) << stream.file << ": " << stream.note;
        EXPECT_EQ(decoded.error, kUnsupportedMessage) << stream.file;
        return;
    }

    // The reference has the stream's channel count; probe it by decoding.
    const DecodedStream probe = DecodeFile(path, DecodeSettings{}, 1);
    if (!probe.opened && stream.layer == 3 && kSkipRefusedLayer3 && probe.error == kUnsupportedMessage)
        GTEST_SKIP() << stream.file << ": Layer III not supported yet";
    ASSERT_TRUE(probe.opened) << stream.file << ": " << probe.error;

    const std::string pcm = path.substr(0, path.size() - 4) + ".pcm";
    const ReferencePcm reference = Pcm16File(pcm, probe.info.streamChannels);
    ASSERT_TRUE(reference.ok) << reference.error;

    const StreamMeasurement m = MeasureStream(path, reference, 0);
    ASSERT_TRUE(m.opened) << stream.file << ": " << m.error;
    ASSERT_EQ(m.channels, reference.channels) << stream.file;
    EXPECT_EQ(m.overlongUnits, 0u) << stream.file;
    std::printf("%s%s%s\n", FormatRow(stream.file, m).c_str(), stream.note.empty() ? "" : "  # ",
                stream.note.c_str());
    if (stream.check == ConformanceStream::kReportOnly) return;
    for (int q = 1; q <= 3; ++q) {
        RecordProperty("snr_q" + std::to_string(q), std::to_string(m.quality[q - 1].snrDb));
        EXPECT_GE(m.quality[q - 1].snrDb, RequiredSnrDb(stream.layer, q)) << stream.file << " at quality " << q;
    }
    EXPECT_GT(m.quality[0].frames, 0u) << stream.file;
}

INSTANTIATE_TEST_SUITE_P(Vectors, ConformanceAccuracy, ::testing::ValuesIn(ConformanceStreams()),
                         [](const auto& info) { return CaseName("vectors/" + info.param.file); });

}  // namespace
}  // namespace plyvane::test
