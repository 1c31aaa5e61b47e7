#include "wav_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace plyvane::cli {
namespace {

uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t Get16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

class WavWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = std::filesystem::temp_directory_path() /
               ("plyvane-wav-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".wav");
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    // Writes the chunks through a WavWriter and returns the file's bytes.
    std::vector<uint8_t> WriteFile(const PcmFormat& format, bool withHeader,
                                   const std::vector<std::vector<uint8_t>>& chunks) {
        std::FILE* out = std::fopen(path.string().c_str(), "wb");
        EXPECT_NE(out, nullptr);
        WavWriter writer;
        EXPECT_TRUE(writer.Begin(out, format, withHeader));
        for (const auto& chunk : chunks) EXPECT_TRUE(writer.Write(chunk.data(), chunk.size()));
        EXPECT_TRUE(writer.Finish()) << writer.Error();
        EXPECT_EQ(std::fclose(out), 0);
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    std::filesystem::path path;
};

TEST_F(WavWriterTest, HeaderDescribesTheFormatAndPatchedSizes) {
    PcmFormat format{22050, 2, 16};
    std::vector<uint8_t> pcm(4608, 0x11);
    auto file = WriteFile(format, true, {pcm, pcm});
    ASSERT_EQ(file.size(), 44u + 9216u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
    EXPECT_EQ(Get32(file, 4), 36u + 9216u);
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Get32(file, 16), 16u);
    EXPECT_EQ(Get16(file, 20), 1u);
    EXPECT_EQ(Get16(file, 22), 2u);
    EXPECT_EQ(Get32(file, 24), 22050u);
    EXPECT_EQ(Get32(file, 28), 22050u * 4);
    EXPECT_EQ(Get16(file, 32), 4u);
    EXPECT_EQ(Get16(file, 34), 16u);
    EXPECT_EQ(std::string(file.begin() + 36, file.begin() + 40), "data");
    EXPECT_EQ(Get32(file, 40), 9216u);
    EXPECT_EQ(file[44], 0x11);

    // 8-bit mono: block align 1, byte rate = sample rate.
    auto header = WavHeader(PcmFormat{11025, 1, 8}, 288);
    std::vector<uint8_t> h(header.begin(), header.end());
    EXPECT_EQ(Get32(h, 28), 11025u);
    EXPECT_EQ(Get16(h, 32), 1u);
    EXPECT_EQ(Get16(h, 34), 8u);
}

TEST_F(WavWriterTest, OddDataIsPaddedButCountedExactly) {
    auto file = WriteFile(PcmFormat{8000, 1, 8}, true, {{1, 2, 3}});
    ASSERT_EQ(file.size(), 44u + 4u);
    EXPECT_EQ(Get32(file, 40), 3u);
    EXPECT_EQ(Get32(file, 4), 36u + 4u);
    EXPECT_EQ(file[47], 0);

    auto empty = WriteFile(PcmFormat{8000, 1, 8}, true, {});
    ASSERT_EQ(empty.size(), 44u);
    EXPECT_EQ(Get32(empty, 40), 0u);
    EXPECT_EQ(Get32(empty, 4), 36u);
}

TEST_F(WavWriterTest, RawOutputHasNoHeaderAndNoPad) {
    auto file = WriteFile(PcmFormat{44100, 2, 16}, false, {{1, 2, 3}, {4}});
    EXPECT_EQ(file, (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST_F(WavWriterTest, RefusesMoreThanAWavFileCanDescribe) {
    std::FILE* out = std::fopen(path.string().c_str(), "wb");
    ASSERT_NE(out, nullptr);
    WavWriter writer;
    ASSERT_TRUE(writer.Begin(out, PcmFormat{44100, 2, 16}, true));
    uint8_t byte = 0;
    // Refused before any byte is read from the (small) buffer.
    EXPECT_FALSE(writer.Write(&byte, static_cast<size_t>(kMaxWavDataBytes) + 1));
    EXPECT_FALSE(writer.Error().empty());
    EXPECT_EQ(writer.DataBytes(), 0u);
    std::fclose(out);
    EXPECT_FALSE(WavWriter().Begin(nullptr, PcmFormat{}, true));
}

}  // namespace
}  // namespace plyvane::cli
