#include "memory_byte_source.h"

#include <gtest/gtest.h>

namespace plyvane {
namespace {

TEST(MemoryByteSource, ReadsLikeAFileAndMarksStreamStarts) {
    MemoryByteSource source(std::vector<uint8_t>{'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'}, "mem");
    uint8_t bytes[16];
    EXPECT_EQ(source.Read(bytes, 4), 0u);  // not open yet
    source.AddStreamStart(6);
    source.AddStreamStart(3);
    ASSERT_EQ(source.Open(nullptr), 1);
    EXPECT_STREQ(source.Name(), "mem");
    EXPECT_EQ(source.Length(), 8u);
    EXPECT_EQ(source.Read(bytes, 2), 2u);
    EXPECT_EQ(source.Read(bytes, 3), 3u | kNewStreamFlag);
    EXPECT_EQ(source.Read(nullptr, 0), 1u);
    // A read that begins exactly at a start is marked at offset 0.
    EXPECT_EQ(source.Read(bytes, 1), 1u);
    EXPECT_EQ(source.Read(bytes, 5), 2u | kNewStreamFlag);
    EXPECT_EQ(source.Read(nullptr, 0), 0u);
    EXPECT_EQ(source.Read(bytes, 5), 0u);

    // After a seek nothing is re-announced at the landing point.
    ASSERT_EQ(source.Seek(6), 1);
    EXPECT_EQ(source.Read(bytes, 5), 2u);
    EXPECT_EQ(source.Seek(9), 0);
    source.SetLengthKnown(false);
    EXPECT_EQ(source.Length(), 0u);
}

}  // namespace
}  // namespace plyvane
