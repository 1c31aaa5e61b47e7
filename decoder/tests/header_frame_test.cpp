// The header frames encoders write first: where each layout puts its tag,
// which fields survive the checks, and that nothing is read outside the frame.
#include "header_frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layer3_frame_builder.h"

namespace plyvane {
namespace {

using test::FrameSpec;
using test::XingLayout;

FrameSpec Frame(bool mpeg1, int mode, int bitrateIndex) {
    FrameSpec f;
    f.mpeg1 = mpeg1;
    f.mode = mode;
    f.bitrateIndex = bitrateIndex;
    return f;
}

// The tag follows the side information, whose size depends on the version
// and the channel count; the whole of it is read in every layout.
TEST(HeaderFrame, EveryLayoutGivesItsFields) {
    struct Case {
        const char* name;
        FrameSpec frame;
        HeaderFrameKind kind;
    };
    const Case cases[] = {
        {"MPEG-1 stereo, Xing", Frame(true, kJointStereo, 9), HeaderFrameKind::kXing},
        {"MPEG-1 mono, Info", Frame(true, kSingleChannel, 9), HeaderFrameKind::kInfo},
        {"MPEG-2 stereo, Xing", Frame(false, kStereo, 12), HeaderFrameKind::kXing},
        {"MPEG-2 mono, Xing", Frame(false, kSingleChannel, 12), HeaderFrameKind::kXing},
    };
    for (const Case& c : cases) {
        XingLayout layout;
        layout.frame = c.frame;
        layout.tag = c.kind == HeaderFrameKind::kInfo ? "Info" : "Xing";
        layout.frames = 100;
        layout.bytes = static_cast<uint32_t>(test::SilentFrame(c.frame).size() * 101);
        layout.delay = 576;
        layout.padding = 1234;
        const std::vector<uint8_t> frame = test::XingFrame(layout);
        HeaderFrame header;
        ASSERT_TRUE(ParseHeaderFrame(frame.data(), static_cast<int>(frame.size()), header)) << c.name;
        EXPECT_EQ(header.kind, c.kind) << c.name;
        EXPECT_EQ(header.frames, 100u) << c.name;
        EXPECT_EQ(header.bytes, layout.bytes) << c.name;
        EXPECT_TRUE(header.hasToc) << c.name;
        EXPECT_EQ(header.toc[50], 128) << c.name;
        EXPECT_TRUE(header.hasEncoderDelay) << c.name;
        EXPECT_EQ(header.encoderDelay, 576) << c.name;
        EXPECT_EQ(header.encoderPadding, 1234) << c.name;
        EXPECT_EQ(header.IsVariableBitrate(), c.kind == HeaderFrameKind::kXing) << c.name;
    }
}

// What fails a check is dropped, and only that: a damaged tag never feeds
// the trims, counts that disagree never the duration.
TEST(HeaderFrame, FieldsThatFailTheirChecksAreDropped) {
    const FrameSpec frame = Frame(true, kJointStereo, 9);  // 417-byte frames
    XingLayout good;
    good.frame = frame;
    good.frames = 200;
    good.bytes = 417 * 201;

    XingLayout layout = good;
    layout.goodCrc = false;
    std::vector<uint8_t> bytes = test::XingFrame(layout);
    HeaderFrame header;
    ASSERT_TRUE(ParseHeaderFrame(bytes.data(), static_cast<int>(bytes.size()), header));
    EXPECT_FALSE(header.hasEncoderDelay) << "a LAME tag whose checksum fails";
    EXPECT_EQ(header.frames, 200u) << "the counts stay, for the file to confirm";

    for (uint32_t frames : {1000000u, 2u, 1u << 25}) {
        layout = good;
        layout.frames = frames;
        bytes = test::XingFrame(layout);
        ASSERT_TRUE(ParseHeaderFrame(bytes.data(), static_cast<int>(bytes.size()), header));
        EXPECT_EQ(header.frames, 0u) << frames << " frames in " << good.bytes << " bytes";
        EXPECT_EQ(header.bytes, 0u);
        EXPECT_FALSE(header.hasToc) << "the table is relative to the bytes";
    }

    layout = good;
    layout.tag = "Info";
    bytes = test::XingFrame(layout);
    ASSERT_TRUE(ParseHeaderFrame(bytes.data(), static_cast<int>(bytes.size()), header));
    EXPECT_EQ(header.frames, 200u) << "a constant bit rate: 201 frames of 417 bytes";
    layout.frames = 150;  // a checksum that holds, a count that cannot
    bytes = test::XingFrame(layout);
    ASSERT_TRUE(ParseHeaderFrame(bytes.data(), static_cast<int>(bytes.size()), header));
    EXPECT_EQ(header.frames, 0u) << "151 frames of 417 bytes are not " << layout.bytes << " bytes";

    layout = good;
    layout.delay = 4000;
    layout.padding = 4000;
    layout.frames = 6;
    layout.bytes = 417 * 7;
    bytes = test::XingFrame(layout);
    ASSERT_TRUE(ParseHeaderFrame(bytes.data(), static_cast<int>(bytes.size()), header));
    EXPECT_FALSE(header.hasEncoderDelay) << "delay and padding longer than the frames";

    bytes = test::XingFrame(good);
    bytes[4 + 32 + 16 + 60] = 0;  // the seek table falls back
    ASSERT_TRUE(ParseHeaderFrame(bytes.data(), static_cast<int>(bytes.size()), header));
    EXPECT_FALSE(header.hasToc);
    EXPECT_FALSE(header.hasEncoderDelay) << "the checksum covers the table too";
}

// Fields the flags leave out move the LAME tag forward; a tag without a
// frame count gives its delay but no end.
TEST(HeaderFrame, TheLameTagFollowsTheFieldsPresent) {
    XingLayout layout;
    layout.frame = Frame(true, kStereo, 9);
    layout.flags = 1;  // frames only
    layout.frames = 20;
    layout.padding = 700;
    std::vector<uint8_t> bytes = test::XingFrame(layout);
    HeaderFrame header;
    ASSERT_TRUE(ParseHeaderFrame(bytes.data(), static_cast<int>(bytes.size()), header));
    EXPECT_EQ(header.frames, 20u);
    EXPECT_EQ(header.bytes, 0u);
    EXPECT_FALSE(header.hasToc);
    EXPECT_TRUE(header.hasEncoderDelay);
    EXPECT_EQ(header.encoderPadding, 700);
}

// Frames cut short anywhere are read within their bounds (the sanitizer
// build would fail otherwise); what does not fit is simply not there.
TEST(HeaderFrame, AShortFrameIsReadWithinItsBytes) {
    XingLayout layout;
    layout.frame = Frame(true, kJointStereo, 9);
    layout.frames = 200;
    layout.bytes = 417 * 201;
    const std::vector<uint8_t> full = test::XingFrame(layout);
    for (size_t length = 0; length <= full.size(); ++length) {
        const std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(length));
        HeaderFrame header;
        const bool parsed = ParseHeaderFrame(cut.data(), static_cast<int>(cut.size()), header);
        EXPECT_EQ(parsed, length >= 4 + 32 + 8) << length;
        if (length < 4 + 32 + 8 + 4 + 4 + 100 + 4 + 36) {
            EXPECT_FALSE(header.hasEncoderDelay) << length;
        }
    }
}

TEST(HeaderFrame, OnlyLayerThreeFramesAreHeaderFrames) {
    std::vector<uint8_t> bytes = test::XingFrame(XingLayout{});
    bytes[1] = static_cast<uint8_t>((bytes[1] & ~0x06) | 0x04);  // Layer II
    HeaderFrame header;
    EXPECT_FALSE(ParseHeaderFrame(bytes.data(), static_cast<int>(bytes.size()), header));
    EXPECT_EQ(header.kind, HeaderFrameKind::kNone);
    const std::vector<uint8_t> audio = test::SilentFrame(FrameSpec{});
    EXPECT_FALSE(ParseHeaderFrame(audio.data(), static_cast<int>(audio.size()), header));
}

// VBRI's runs of frames become a table by percent of the time; a version or
// entry size it does not know leaves the table out.
TEST(HeaderFrame, VbriRunsBecomeASeekTable) {
    const FrameSpec frame = Frame(true, kJointStereo, 10);  // 160 kbit/s: room for the runs
    // 100 frames in 10 runs: the first half small, the second twice as big.
    std::vector<uint32_t> runs;
    uint32_t total = 522;  // the VBRI frame itself
    for (int i = 0; i < 10; ++i) {
        runs.push_back(i < 5 ? 3000 : 6000);
        total += runs.back();
    }
    std::vector<uint8_t> bytes = test::VbriFrame(frame, 100, total, 10, runs);
    HeaderFrame header;
    ASSERT_TRUE(ParseHeaderFrame(bytes.data(), static_cast<int>(bytes.size()), header));
    EXPECT_EQ(header.kind, HeaderFrameKind::kVbri);
    EXPECT_EQ(header.frames, 100u);
    EXPECT_EQ(header.bytes, total);
    ASSERT_TRUE(header.hasToc);
    EXPECT_EQ(header.toc[0], 0);
    EXPECT_EQ(header.toc[50], 15000 * 256 / total) << "half the time, a third of the bytes";
    EXPECT_NEAR(TocByteOffset(header, 0.5), 15000, total / 256 + 1);
    EXPECT_NEAR(TocByteOffset(header, 0.75), 30000, total / 256 + 1);
    EXPECT_EQ(TocByteOffset(header, 2.0), total);

    bytes = test::VbriFrame(frame, 100, total, 10, runs, 2, 2);
    ASSERT_TRUE(ParseHeaderFrame(bytes.data(), static_cast<int>(bytes.size()), header));
    EXPECT_EQ(header.frames, 0u) << "a version we do not know";
    bytes = test::VbriFrame(frame, 100, total, 10, runs, 5);
    ASSERT_TRUE(ParseHeaderFrame(bytes.data(), static_cast<int>(bytes.size()), header));
    EXPECT_FALSE(header.hasToc) << "entries of five bytes";
    runs.assign(10, 60000);
    bytes = test::VbriFrame(frame, 100, total, 10, runs);
    ASSERT_TRUE(ParseHeaderFrame(bytes.data(), static_cast<int>(bytes.size()), header));
    EXPECT_FALSE(header.hasToc) << "runs longer than the stream";
}

}  // namespace
}  // namespace plyvane
