#include "bitstream_buffer.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "memory_byte_source.h"

namespace plyvane {
namespace {

std::vector<uint8_t> Counting(size_t size) {
    std::vector<uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), uint8_t{1});
    return bytes;
}

TEST(BitstreamBuffer, RefillsOnlyBelowTheThreshold) {
    MemoryByteSource source(Counting(100000));
    source.Open("memory");
    BitstreamBuffer buffer(16384, 1152);
    buffer.Attach(&source);
    ASSERT_EQ(1, buffer.Refill());
    ASSERT_EQ(16384, buffer.Available());

    buffer.SkipBytes(16384 - 1152);
    ASSERT_EQ(1, buffer.Refill());
    EXPECT_EQ(1152, buffer.Available()) << "1152 unread bytes are enough";

    buffer.SkipBytes(1);
    ASSERT_EQ(1, buffer.Refill());
    EXPECT_EQ(16384, buffer.Available()) << "1151 unread bytes trigger a refill";
    // The unread tail moved to the start and the stream goes on after it.
    EXPECT_EQ(static_cast<uint8_t>(16384 - 1151 + 1), buffer.ReadPointer()[0]);
    EXPECT_EQ(static_cast<uint32_t>(16384 - 1151), buffer.Position());
}

TEST(BitstreamBuffer, AcceptsOneShortReadWithZeroPaddingThenReportsTheEnd) {
    MemoryByteSource source(std::vector<uint8_t>(20000, 0xAB));
    source.Open("memory");
    BitstreamBuffer buffer(16384, 1152);
    buffer.Attach(&source);
    ASSERT_EQ(1, buffer.Refill());
    buffer.SkipBytes(16000);
    ASSERT_EQ(1, buffer.Refill()) << "the first short read is accepted";
    EXPECT_EQ(20000 - 16000, buffer.Available());
    buffer.SkipBytes(buffer.Available());
    EXPECT_EQ(0u, buffer.Peek(24)) << "bits after the data read as zero";
    EXPECT_EQ(0, buffer.Refill()) << "the next short read is the end";
}

TEST(BitstreamBuffer, PlacesTheStreamMarkerAndMovesItWithTheData) {
    MemoryByteSource source(Counting(40000));
    source.AddStreamStart(100);
    source.Open("memory");
    BitstreamBuffer buffer(16384, 1152);
    buffer.Attach(&source);
    ASSERT_EQ(1, buffer.Refill());
    ASSERT_TRUE(buffer.HasMarker());
    buffer.SkipBytes(99);
    EXPECT_FALSE(buffer.MarkerReached());
    buffer.SkipBytes(1);
    EXPECT_TRUE(buffer.MarkerReached());
}

TEST(BitstreamBuffer, CompactionKeepsTheMarkerOnItsStreamByte) {
    MemoryByteSource source(Counting(40000));
    source.AddStreamStart(16000);
    source.Open("memory");
    BitstreamBuffer buffer(16384, 1152);
    buffer.Attach(&source);
    ASSERT_EQ(1, buffer.Refill());
    buffer.SkipBytes(15500);
    ASSERT_EQ(1, buffer.Refill());
    ASSERT_EQ(0, buffer.ReadOffset()) << "the unread tail moved to the start";
    buffer.SkipBytes(499);
    EXPECT_FALSE(buffer.MarkerReached());
    buffer.SkipBytes(1);
    EXPECT_TRUE(buffer.MarkerReached());
    EXPECT_EQ(16000u, buffer.Position());
}

TEST(BitstreamBuffer, AppendDropsWhatDoesNotFit) {
    BitstreamBuffer reservoir(4096, 0);
    std::vector<uint8_t> bytes = Counting(5000);
    reservoir.Append(bytes.data(), 5000);
    EXPECT_EQ(4096, reservoir.Valid());
    // Reading frees room that the next append reuses.
    reservoir.SkipBytes(1000);
    reservoir.Append(bytes.data(), 500);
    EXPECT_EQ(3596, reservoir.Valid());
    EXPECT_EQ(bytes[1000], reservoir.ReadPointer()[0]);
}

TEST(BitstreamBuffer, ReadsBitsMostSignificantFirstAcrossBytes) {
    BitstreamBuffer buffer(64, 0);
    const uint8_t bytes[] = {0xA5, 0x3C, 0xFF, 0x01, 0x80};
    buffer.Append(bytes, sizeof bytes);
    EXPECT_EQ(0x5u, buffer.Read(3));       // 101
    EXPECT_EQ(0x053Cu, buffer.Read(13));   // 0 0101 0011 1100
    EXPECT_EQ(0xFF0180u >> 1, buffer.Read(23));
    buffer.AlignToByte();
    EXPECT_EQ(5, buffer.ReadOffset());
}

TEST(BitstreamBuffer, DamagedLengthsNeverLeaveTheStorage) {
    BitstreamBuffer buffer(256, 0);
    std::vector<uint8_t> bytes(256, 0xFF);
    buffer.Append(bytes.data(), 256);
    for (int i = 0; i < 1000; ++i) buffer.Skip(25);
    EXPECT_EQ(0u, buffer.Peek(25)) << "past the data only the zeroed guard is read";
    buffer.SkipBytes(1 << 20);
    EXPECT_EQ(0u, buffer.Read(25));
    EXPECT_LT(buffer.Available(), 0);
}

}  // namespace
}  // namespace plyvane
