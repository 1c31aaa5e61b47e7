// The samples that play, on streams of silent frames built here: the
// encoder's delay and padding left out, at every divisor and across the
// files of a list; iTunes' comment where there is no LAME tag; files joined,
// cut off or whose header claims too much; a seek in a list whose source has
// already moved on; and the bookkeeping (window, frame index) underneath.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "continuous_lists.h"
#include "decoder.h"
#include "file_byte_source.h"
#include "frame_index.h"
#include "layer2_frame_builder.h"
#include "layer3_frame_builder.h"
#include "memory_byte_source.h"
#include "output_window.h"
#include "stream_extent.h"
#include "temp_files.h"

namespace plyvane {
namespace {

using test::FrameSpec;

struct Played {
    bool opened = false;
    StreamInfo info;
    uint64_t frames = 0;  // sample frames delivered
    std::vector<uint32_t> numbers;
};

Played Play(ByteSource& source, const char* name, int divisor = 1, int32_t seekAfterUnits = -1,
            int32_t seekMs = 0) {
    Played out;
    Decoder decoder;
    source.Open(name);
    decoder.Stream().Attach(&source);
    decoder.Stream().SetRefillPermitted(true);
    out.info.divisor = divisor;
    ::testing::internal::CaptureStdout();
    out.opened = decoder.OpenStream(out.info) != 0;
    std::vector<uint8_t> block(static_cast<size_t>(out.info.pcmBytesPerFrame > 0 ? out.info.pcmBytesPerFrame : 1));
    while (out.opened) {
        if (static_cast<int32_t>(out.numbers.size()) == seekAfterUnits) {
            decoder.RequestSeek(seekMs);
            out.frames = 0;
        }
        const uint32_t number = decoder.DecodeFrame(block.data());
        if (number == 0) break;
        out.numbers.push_back(number);
        out.frames += decoder.LastPcmBytes() / 2 / static_cast<uint32_t>(out.info.outputChannels);
    }
    ::testing::internal::GetCapturedStdout();
    decoder.Stream().Attach(nullptr);
    return out;
}

Played PlayBytes(const std::vector<uint8_t>& bytes, int divisor = 1) {
    MemoryByteSource source(bytes, "stream.mp3");
    return Play(source, "stream.mp3", divisor);
}

StreamInfo ProbeBytes(const std::vector<uint8_t>& bytes) {
    MemoryByteSource source(bytes, "stream.mp3");
    source.Open("stream.mp3");
    BitstreamBuffer buffer(8192, 1152);
    buffer.Attach(&source);
    buffer.SetRefillPermitted(true);
    StreamInfo info;
    Decoder decoder;
    EXPECT_EQ(1, decoder.ProbeStream(info, buffer)) << decoder.LastError();
    return info;
}

FrameSpec Mpeg2Stereo() {
    FrameSpec f;
    f.mpeg1 = false;
    f.mode = kStereo;
    f.bitrateIndex = 12;  // 128 kbit/s at 22050 Hz
    return f;
}

int64_t Ceil(int64_t value, int divisor) { return (value + divisor - 1) / divisor; }

TEST(GaplessTrim, TheEncodersDelayAndPaddingAreLeftOut) {
    struct Case {
        const char* name;
        FrameSpec frame;
        int frames;
        uint16_t delay, padding;
    };
    const Case cases[] = {
        {"MPEG-1 mono", FrameSpec{}, 50, 576, 1000},
        {"MPEG-2 stereo, odd frames", Mpeg2Stereo(), 51, 576, 900},
        {"a delay over a unit", FrameSpec{}, 20, 2000, 600},
        // Ends after the last decoded sample: the segment ends there.
        {"a padding shorter than the decoder's delay", FrameSpec{}, 20, 576, 5},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> bytes = test::TaggedSilence(c.frame, c.frames, c.delay, c.padding);
        const int64_t decoded = int64_t{c.frames} * test::SamplesPerFrame(c.frame);
        const int64_t length = std::min<int64_t>(decoded - c.delay - c.padding, decoded - c.delay - 529);
        const int rate = c.frame.mpeg1 ? 44100 : 22050;
        EXPECT_FLOAT_EQ(ProbeBytes(bytes).duration, static_cast<float>(length * 1000.0 / rate)) << c.name;
        for (int divisor : {1, 2, 4}) {
            // (Such a segment ends with its data: with a divisor its last
            // sample may not exist.)
            if (c.padding < 529 && divisor > 1) continue;
            const Played played = PlayBytes(bytes, divisor);
            ASSERT_TRUE(played.opened) << c.name;
            EXPECT_EQ(played.frames, static_cast<uint64_t>(Ceil(length, divisor))) << c.name << ", divisor " << divisor;
            EXPECT_EQ(played.numbers.front(), 1u) << c.name << ": the header frame is no unit";
        }
    }
}

// An ID3v2 tag holding iTunes' comment before a stream whose header frame
// has a frame count but no LAME tag.
std::vector<uint8_t> ITunesStream(uint32_t priming, uint32_t padding, uint64_t samples, int frames) {
    char value[96];
    std::snprintf(value, sizeof value, " 00000000 %08X %08X %016llX", priming, padding,
                  static_cast<unsigned long long>(samples));
    std::string body = std::string("\0eng", 4) + "iTunSMPB" + '\0' + value;
    std::string frame = "COMM";
    frame += std::string{'\0', '\0', static_cast<char>(body.size() >> 8), static_cast<char>(body.size()), '\0', '\0'};
    frame += body;
    std::string tag = std::string("ID3\3\0\0\0\0", 8) + static_cast<char>(frame.size() >> 7) +
                      static_cast<char>(frame.size() & 127) + frame;
    test::XingLayout layout;
    layout.lameTag = false;
    layout.flags = 1;
    layout.frames = static_cast<uint32_t>(frames);
    std::vector<std::vector<uint8_t>> parts{std::vector<uint8_t>(tag.begin(), tag.end()), test::XingFrame(layout)};
    for (int i = 0; i < frames; ++i) parts.push_back(test::SilentFrame(FrameSpec{}));
    return test::Concat(parts);
}

TEST(GaplessTrim, ITunesCommentTrimsWhereThereIsNoLameTag) {
    const int frames = 40;
    const Played played = PlayBytes(ITunesStream(0x210, 0x86A, frames * 1152 - 0x210 - 0x86A, frames));
    EXPECT_EQ(played.frames, uint64_t{frames} * 1152 - 0x210 - 0x86A);
    // A comment whose counts disagree with the header frame is not used.
    EXPECT_EQ(PlayBytes(ITunesStream(0x210, 0x86A, 1000, frames)).frames, uint64_t{frames} * 1152);
}

// Joined, cut off, or a header claiming frames that are not there: the
// duration reported is what plays.
TEST(GaplessTrim, BrokenFilesReportWhatPlays) {
    const FrameSpec frame;
    const std::vector<uint8_t> a = test::TaggedSilence(frame, 30, 576, 900);
    const std::vector<uint8_t> b = test::TaggedSilence(frame, 45, 576, 1000);
    const int64_t lengthA = 30 * 1152 - 1476, lengthB = 45 * 1152 - 1576;
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        int64_t expected;  // -1: whatever plays
    };
    std::vector<uint8_t> claiming = a;
    claiming[4 + 17 + 8 + 3] = 60;  // 60 frames in the count (its checksum now fails)
    const Case cases[] = {
        {"two encodings joined", test::Concat({a, b}), lengthA + lengthB},
        // The frames that are there, less the delay: the padding is gone.
        {"cut off in a frame", std::vector<uint8_t>(a.begin(), a.begin() + 417 * 20 + 100), 19 * 1152 - 1105},
        {"a count of frames that are not there", claiming, 30 * 1152},
        {"joined to a stream without a header frame",
         test::Concat({a, std::vector<uint8_t>(b.begin() + 417, b.end())}), -1},
    };
    for (const Case& c : cases) {
        const Played played = PlayBytes(c.bytes);
        ASSERT_TRUE(played.opened) << c.name;
        if (c.expected >= 0) {
            EXPECT_EQ(static_cast<int64_t>(played.frames), c.expected) << c.name;
        }
        EXPECT_NEAR(ProbeBytes(c.bytes).duration, played.frames * 1000.0 / 44100, 0.01) << c.name;
        EXPECT_NEAR(played.info.duration, played.frames * 1000.0 / 44100, 0.01) << c.name << " at open";
    }
}

// A Layer II stream never has a header frame: a frame that holds a Xing tag
// is audio like any other, and the length comes from the bit rate.
TEST(GaplessTrim, ALayerTwoFrameWithAXingTagIsAudio) {
    test::Layer2Frame frame;
    std::vector<uint8_t> bytes = test::BuildLayer2Stream(frame, 20);
    const Played plain = PlayBytes(bytes);
    std::memcpy(&bytes[36], "Xing\0\0\0\x0F\0\0\0\x01", 12);
    const Played tagged = PlayBytes(bytes);
    EXPECT_EQ(tagged.numbers.size(), plain.numbers.size());
    EXPECT_EQ(tagged.frames, plain.frames);
    EXPECT_FLOAT_EQ(tagged.info.duration, plain.info.duration);
}

class GaplessList : public ::testing::Test {
protected:
    std::string List(const std::vector<std::vector<uint8_t>>& files) {
        ContinuousList names;
        for (const auto& bytes : files)
            names.push_back(temp_.Write("file" + std::to_string(names.size()) + ".mp3",
                                        std::string(bytes.begin(), bytes.end())));
        handles_.push_back(ContinuousLists::Instance().Register(names));
        return ContinuousLists::ListName(handles_.back());
    }
    ~GaplessList() override {
        for (long handle : handles_) ContinuousLists::Instance().Unregister(handle);
    }

    testing::TempFiles temp_;
    std::vector<long> handles_;
};

// Each file trimmed at its own joins; with a divisor the list keeps one grid,
// so its length is the sum's, rounded once. MPEG-2 units straddle the files
// (odd frame counts), and an ID3v2 tag with a picture of false sync words
// begins the second file. (Each file is longer than what the buffer reads
// at once: a read that crosses two joins marks only the first.)
TEST_F(GaplessList, LengthsAddUpAcrossTheFiles) {
    const int64_t lengths[] = {45 * 1152 - 576 - 601, 53 * 1152 - 576 - 1003, 41 * 1152 - 576 - 711};
    const std::vector<uint8_t> a = test::TaggedSilence(FrameSpec{}, 45, 576, 601);
    const std::vector<uint8_t> b = test::TaggedSilence(FrameSpec{}, 53, 576, 1003);
    const std::vector<uint8_t> c = test::TaggedSilence(FrameSpec{}, 41, 576, 711);
    std::vector<uint8_t> tagged = {'I', 'D', '3', 3, 0, 0, 0, 0, 0x20, 0};
    tagged.insert(tagged.end(), 4096, 0xFF);
    tagged.insert(tagged.end(), b.begin(), b.end());
    const std::string list = List({a, tagged, c});
    FileByteSource source;
    for (int divisor : {1, 2, 4}) {
        const Played played = Play(source, list.c_str(), divisor);
        ASSERT_TRUE(played.opened);
        EXPECT_EQ(static_cast<int64_t>(played.frames), Ceil(lengths[0] + lengths[1] + lengths[2], divisor))
            << "divisor " << divisor;
        EXPECT_EQ(std::count(played.numbers.begin(), played.numbers.end(), 1u), 3) << "one restart a file";
    }

    const std::vector<uint8_t> odd1 = test::TaggedSilence(Mpeg2Stereo(), 47, 576, 633);
    const std::vector<uint8_t> odd2 = test::TaggedSilence(Mpeg2Stereo(), 45, 576, 700);
    const std::string lsf = List({odd1, odd2, odd1});
    const int64_t lsfLength = 2 * (47 * 576 - 1209) + (45 * 576 - 1276);
    for (int divisor : {1, 4}) {
        EXPECT_EQ(static_cast<int64_t>(Play(source, lsf.c_str(), divisor).frames), Ceil(lsfLength, divisor))
            << "MPEG-2, divisor " << divisor;
    }
}

// A seek asked for once the source reads the next file already (its last
// bytes are still to be decoded) goes back into the file being heard.
TEST_F(GaplessList, ASeekNearTheEndOfAFileStaysInIt) {
    const int frames = 100;  // 41700 bytes: the buffer's 16384 hold the end
    const std::vector<uint8_t> a = test::TaggedSilence(FrameSpec{}, frames, 576, 600);
    const std::vector<uint8_t> b = test::TaggedSilence(FrameSpec{}, 20, 576, 600);
    const int64_t lengthA = frames * 1152 - 1176, lengthB = 20 * 1152 - 1176;
    const std::string list = List({a, b});
    FileByteSource source;
    // After 95 of 100 units the source has crossed into the second file.
    const Played played = Play(source, list.c_str(), 1, 95, 1000);
    EXPECT_EQ(static_cast<int64_t>(played.frames), lengthA - 44100 + lengthB)
        << "the first file from 1 s on, then the second";
    EXPECT_EQ(played.numbers[95], 39u) << "the unit of 1 s in the first file";
}

TEST(OutputWindow, ListsKeepOneGridAtEveryDivisor) {
    // Segments of odd lengths, each after a delay. The i-th sample kept lies
    // at i times the divisor on the list's timeline (or up to a full-rate
    // sample or three after it: only every divisor-th sample of each
    // segment's decoded timeline exists).
    const SegmentTrim trims[] = {{1105, 3001}, {1105, 1}, {700, 2502}, {0, 4607}};
    for (int divisor : {1, 2, 4}) {
        OutputWindow window;
        window.Reset(divisor);
        std::vector<int64_t> kept;
        int64_t listStart = 0;
        for (const SegmentTrim& trim : trims) {
            window.BeginSegment(trim, true);
            const int64_t units = (trim.skip + trim.play + 1151) / 1152;
            for (int64_t unit = 0; unit < units; ++unit) {
                window.StartUnit();
                window.AddFrame(0, 1152);
                // Each output sample holds its position in the segment's timeline.
                std::vector<uint16_t> out(static_cast<size_t>(1152 / divisor));
                for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<uint16_t>(unit * 1152 + i * divisor);
                const uint32_t bytes = window.Apply(reinterpret_cast<uint8_t*>(out.data()), 2);
                for (uint32_t i = 0; i < bytes / 2; ++i) kept.push_back(listStart + out[i] - trim.skip);
            }
            listStart += trim.play;
        }
        ASSERT_EQ(static_cast<int64_t>(kept.size()), Ceil(listStart, divisor)) << "divisor " << divisor;
        for (size_t i = 0; i < kept.size(); ++i) {
            const int64_t ideal = static_cast<int64_t>(i) * divisor;
            ASSERT_TRUE(kept[i] >= ideal && kept[i] < ideal + divisor)
                << "divisor " << divisor << ", sample " << i << " at " << kept[i];
        }
    }
}

TEST(FrameIndex, KeepsEveryFrameUntilFullThenEveryOther) {
    FrameIndex index;
    uint32_t frame = 0, position = 0;
    EXPECT_FALSE(index.Lookup(0, frame, position));
    for (uint32_t f = 0; f < 3 * FrameIndex::kEntries; ++f) index.Note(f, f * 10);
    index.Note(5, 1);  // out of order: ignored
    EXPECT_EQ(index.KnownFrames(), 3u * FrameIndex::kEntries);
    for (uint32_t target : {0u, 1u, 4097u, 10000u, 12287u, 99999u}) {
        ASSERT_TRUE(index.Lookup(target, frame, position));
        const uint32_t clamped = std::min<uint32_t>(target, 3 * FrameIndex::kEntries - 1);
        EXPECT_LE(frame, clamped) << target;
        EXPECT_LT(clamped - frame, 4u) << target << ": the stride is 4 now";
        EXPECT_EQ(position, frame * 10) << target;
    }
}

}  // namespace
}  // namespace plyvane
