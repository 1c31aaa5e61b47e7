// The decoder allocates nothing per frame and keeps its memory small. This
// program counts every heap allocation, so it is a test program of its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "counting_allocator.h"
#include "decoder.h"
#include "layer2_frame_builder.h"
#include "layer2_tables.h"
#include "layer3_imdct.h"
#include "layer3_requantize.h"
#include "memory_byte_source.h"
#include "synthesis_tables.h"

namespace plyvane {
namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> Layer2Stream() {
    test::Layer2Frame frame;
    frame.bitrateIndex = 14;  // 384 kbit/s: room for every subband
    for (int sb = 0; sb < 27; ++sb) frame.allocation[0][sb] = frame.allocation[1][sb] = 5;
    frame.code = 9;
    return test::BuildLayer2Stream(frame, 30);
}

std::vector<uint8_t> Layer3Stream() {
    return ReadFile(std::string(PLYVANE_SOURCE_DIR) + "/tests/data/layer3/mpeg1_44k_joint_128k.mp3");
}

// Opens the bytes and decodes them to the end; the allocations made while
// decoding, after the stream was opened.
long AllocationsWhileDecoding(Decoder& decoder, const std::vector<uint8_t>& bytes, StreamInfo info) {
    MemoryByteSource source(bytes, "stream");
    source.Open("stream");
    decoder.Stream().Attach(&source);
    decoder.Stream().SetRefillPermitted(true);
    if (!decoder.OpenStream(info)) {
        ADD_FAILURE() << decoder.LastError();
        return -1;
    }
    std::vector<uint8_t> block(static_cast<size_t>(info.pcmBytesPerFrame));
    const long before = test::HeapAllocations();
    int frames = 0;
    while (decoder.DecodeFrame(block.data()) != 0) {
        ++frames;
        if (frames == 5) decoder.RequestSeek(100);
    }
    EXPECT_GT(frames, 10);
    const long during = test::HeapAllocations() - before;
    decoder.Stream().Close();
    return during;
}

TEST(DecoderMemory, NothingIsAllocatedWhileDecoding) {
    auto decoder = std::make_unique<Decoder>();
    for (int quality = 0; quality <= 3; ++quality) {
        StreamInfo info;
        info.quality = quality;
        info.divisor = quality == 3 ? 4 : 1;
        info.bitsPerSample = quality == 2 ? 8 : 16;
        EXPECT_EQ(0, AllocationsWhileDecoding(*decoder, Layer2Stream(), info)) << "Layer II, quality " << quality;
        std::vector<uint8_t> layer3 = Layer3Stream();
        ASSERT_FALSE(layer3.empty());
        EXPECT_EQ(0, AllocationsWhileDecoding(*decoder, layer3, info)) << "Layer III, quality " << quality;
    }
}

TEST(DecoderMemory, BuffersStateAndTablesStayUnder256Kilobytes) {
    const std::vector<uint8_t> layer2 = Layer2Stream();
    const std::vector<uint8_t> layer3 = Layer3Stream();
    MemoryByteSource sources[] = {MemoryByteSource(layer2, "layer2"), MemoryByteSource(layer3, "layer3")};
    std::vector<uint8_t> block(1152 * 4);

    // Everything the decoder allocates: its object, its buffers and the
    // tables it builds on the first stream of each layer.
    const long before = test::HeapAllocatedBytes();
    auto decoder = std::make_unique<Decoder>();
    for (MemoryByteSource& source : sources) {
        source.Open("stream");
        decoder->Stream().Attach(&source);
        decoder->Stream().SetRefillPermitted(true);
        StreamInfo info;
        ASSERT_EQ(1, decoder->OpenStream(info)) << decoder->LastError();
        while (decoder->DecodeFrame(block.data()) != 0) {
        }
        decoder->Stream().Close();
    }
    const long heap = test::HeapAllocatedBytes() - before;
    // The tables built in static storage.
    const long tables = static_cast<long>(sizeof(SynthesisTables) + sizeof(Layer2Tables) + sizeof(RequantizeTables) +
                                          HybridSynthesisTableBytes());
    std::printf("decoder memory: %ld bytes (decoder object %zu, heap in all %ld, static tables %ld)\n", heap + tables,
                sizeof(Decoder), heap, tables);
    EXPECT_LT(heap + tables, 256 * 1024);
}

}  // namespace
}  // namespace plyvane
