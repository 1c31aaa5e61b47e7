// A continuous list played through the decoder: the new-file mark must reach
// the decoder as a stream marker at the right byte, so the frame numbering
// restarts exactly once per file and no frame is lost or doubled.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "continuous_lists.h"
#include "decoder.h"
#include "file_byte_source.h"

namespace plyvane {
namespace {

std::string Stream(const char* name) { return std::string(PLYVANE_SOURCE_DIR) + "/tests/data/" + name; }

// The frame numbers DecodeFrame returns for a source name.
std::vector<uint32_t> FrameNumbers(const std::string& name) {
    FileByteSource source;
    std::vector<uint32_t> numbers;
    if (!source.Open(name.c_str())) return numbers;
    Decoder& decoder = TheDecoder();
    decoder.Stream().Attach(&source);
    decoder.Stream().SetRefillPermitted(true);
    StreamInfo info;
    if (decoder.OpenStream(info)) {
        std::vector<uint8_t> pcm(static_cast<size_t>(info.pcmBytesPerFrame));
        while (uint32_t number = decoder.DecodeFrame(pcm.data())) numbers.push_back(number);
    }
    decoder.Stream().Close();
    decoder.Stream().Attach(nullptr);
    return numbers;
}

// Files of one sampling frequency and channel count; the bit rate, and with
// it the Layer II allocation table, may differ from file to file.
TEST(ListPlayback, EachFileRestartsTheFrameNumbersOnce) {
    const std::string a = Stream("layer2/mpeg1_44k_stereo_128k.mp2");
    const std::string b = Stream("layer2/mpeg1_44k_stereo_192k.mp2");
    const size_t framesA = FrameNumbers(a).size();
    const size_t framesB = FrameNumbers(b).size();
    ASSERT_GT(framesA, 10u);
    ASSERT_GT(framesB, 10u);

    for (const ContinuousList& list : {ContinuousList{a, a, a}, ContinuousList{b, b}, ContinuousList{a, b, a}}) {
        long handle = ContinuousLists::Instance().Register(list);
        std::vector<uint32_t> numbers = FrameNumbers(ContinuousLists::ListName(handle));
        ContinuousLists::Instance().Unregister(handle);

        std::vector<size_t> expected;  // where each file after the first begins
        size_t total = 0;
        for (size_t file = 0; file < list.size(); ++file) {
            if (file > 0) expected.push_back(total);
            total += list[file] == a ? framesA : framesB;
        }
        EXPECT_EQ(numbers.size(), total);
        std::vector<size_t> restarts;
        for (size_t i = 1; i < numbers.size(); ++i)
            if (numbers[i] == 1) restarts.push_back(i);
        EXPECT_EQ(restarts, expected);
        // Between restarts the numbers count up by one.
        for (size_t i = 1; i < numbers.size(); ++i) {
            if (numbers[i] != 1) {
                EXPECT_EQ(numbers[i], numbers[i - 1] + 1) << i;
            }
        }
    }
}

// A list entry that has gone ends the stream after the whole of the file
// before it.
TEST(ListPlayback, AMissingEntryKeepsTheEndOfThePreviousFile) {
    const std::string a = Stream("layer2/mpeg1_44k_stereo_128k.mp2");
    const size_t framesA = FrameNumbers(a).size();
    ASSERT_GT(framesA, 10u);
    const ContinuousList list{a, std::string(PLYVANE_SOURCE_DIR) + "/tests/data/no-such-file.mp2", a};
    long handle = ContinuousLists::Instance().Register(list);
    std::vector<uint32_t> numbers = FrameNumbers(ContinuousLists::ListName(handle));
    ContinuousLists::Instance().Unregister(handle);
    EXPECT_EQ(numbers.size(), framesA);
}

}  // namespace
}  // namespace plyvane
