// The damaged-stream set (tests/data/make_damaged_set.py: five kinds of damage
// to each committed stream) against mpg123: our output may differ from
// mpg123's on the same damaged file by no more than one unit of 1152 sample
// frames, beyond the difference of the two on the intact stream. Both leave
// out lame's Info frame and the encoder delay and padding it names; where
// the damage hit that frame, we trust none of it (its checksum fails) while
// mpg123 still may, and the comparison is with mpg123's untrimmed output.
// Prints the table.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "reference_decode.h"
#include "stream_decode.h"
#include "test_streams.h"

namespace plyvane::test {
namespace {

namespace fs = std::filesystem;

constexpr long kUnit = 1152;
const char* const kKinds[] = {"mode_flip", "false_header", "first_header", "junk_false_sync", "bit_damage"};

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct OurDecode {
    long frames = 0;  // sample frames; 0 when the stream is refused
    bool trimmed = false;  // the encoder delay was left out
};

OurDecode OurFrames(const std::string& path) {
    testing::internal::CaptureStdout();  // the decoder's diagnostics
    const DecodedStream decoded = DecodeFile(path, DecodeSettings{});
    testing::internal::GetCapturedStdout();
    if (!decoded.opened) return OurDecode{};
    return OurDecode{static_cast<long>(decoded.pcm.size() / (2u * static_cast<size_t>(decoded.channels))),
                     decoded.trimSkip != 0};
}

// Sample frames mpg123 decodes, its output forced to two channels so that a
// frame of the other channel count does not end it.
long Mpg123Frames(const std::string& path, bool gapless) {
    const std::string command = Quoted(PLYVANE_MPG123) + (gapless ? " -q" : " -q --no-gapless") + " --stereo -s " +
                                Quoted(path) + " 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    char buffer[65536];
    size_t bytes = 0, got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) bytes += got;
    pclose(pipe);
    return static_cast<long>(bytes / 4);
}

TEST(DamagedSet, EveryDamagedStreamDecodesAsMuchAsMpg123Does) {
    if (!Mpg123Available()) GTEST_SKIP() << "mpg123 not installed";
    const std::vector<std::string> streams = CommittedStreams();
    ASSERT_GT(streams.size(), 30u);
    const fs::path folder = PLYVANE_DAMAGED_SET_DIR;
    std::string command = Quoted(PLYVANE_PYTHON) + " " +
                          Quoted(std::string(PLYVANE_SOURCE_DIR) + "/tests/data/make_damaged_set.py") + " " +
                          Quoted(folder.string());
    for (const std::string& stream : streams) command += " " + Quoted(stream);
    ASSERT_EQ(0, std::system(command.c_str())) << command;

    std::printf("%-40s %-16s %8s %8s %8s %8s %6s\n", "stream", "damage", "ours", "mpg123", "intact", "mpg123",
                "units");
    int compared = 0;
    for (const std::string& stream : streams) {
        const fs::path path(stream);
        const OurDecode intact = OurFrames(stream);
        const long oursIntact = intact.frames;
        const long theirsIntact = Mpg123Frames(stream, true);
        ASSERT_GT(oursIntact, 0) << stream;
        for (const char* kind : kKinds) {
            const fs::path damaged =
                folder / (path.stem().string() + "." + kind + path.extension().string());
            ASSERT_TRUE(fs::exists(damaged)) << damaged;
            const OurDecode decoded = OurFrames(damaged.string());
            const long ours = decoded.frames;
            const long theirs = Mpg123Frames(damaged.string(), decoded.trimmed || !intact.trimmed);
            const long difference = (ours - theirs) - (oursIntact - theirsIntact);
            std::printf("%-40s %-16s %8ld %8ld %8ld %8ld %+6.2f\n", path.filename().string().c_str(), kind, ours,
                        theirs, oursIntact, theirsIntact, static_cast<double>(difference) / kUnit);
            EXPECT_LE(std::labs(difference), kUnit) << damaged << ": ours " << ours << ", mpg123 " << theirs;
            ++compared;
        }
    }
    EXPECT_EQ(compared, static_cast<int>(streams.size() * (sizeof kKinds / sizeof kKinds[0])));
}

// The conformance stream he_mode really changes its channel count at frame
// 10: decoding still ends there.
TEST(DamagedSet, ARealChannelChangeStillEndsTheStream) {
    const std::string path = ConformanceDir() + "/l3-he_mode.bit";
    if (!fs::exists(path)) GTEST_SKIP() << "no " << path;
    testing::internal::CaptureStdout();
    const DecodedStream decoded = DecodeFile(path, DecodeSettings{});
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(decoded.opened) << decoded.error;
    EXPECT_EQ(1, decoded.info.streamChannels);
    EXPECT_EQ(10u, decoded.units);
}

}  // namespace
}  // namespace plyvane::test
