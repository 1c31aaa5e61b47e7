#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "decoder_fixture.h"
#include "frame_header.h"
#include "layer2_frame_builder.h"

namespace plyvane {
namespace {

using test::BuildLayer2Frame;
using test::BuildLayer2Stream;
using test::Layer2Frame;
using test::OpenedStream;

// 44100 Hz stereo at 128 kbit/s with a little signal in the low subbands.
Layer2Frame Stereo128() {
    Layer2Frame frame;
    for (int sb = 0; sb < 4; ++sb) frame.allocation[0][sb] = frame.allocation[1][sb] = 3;
    frame.code = 5;
    return frame;
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void PutWord(std::vector<uint8_t>& bytes, size_t at, uint32_t word) {
    for (size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(word >> (24 - 8 * i));
}

// The frame's header every spacing bytes, zeros between: a stream of a kind
// the decoder refuses, as regular as a real one.
std::vector<uint8_t> RepeatedHeader(const Layer2Frame& frame, size_t spacing, int count) {
    std::vector<uint8_t> bytes(spacing * static_cast<size_t>(count), 0);
    for (int i = 0; i < count; ++i) PutWord(bytes, spacing * static_cast<size_t>(i), test::HeaderWord(frame));
    return bytes;
}

size_t FrameLength(const Layer2Frame& frame) {
    return static_cast<size_t>(FrameHeader{test::HeaderWord(frame) & 0xFFFFF}.CodedBytes(2));
}

TEST(StreamOpening, ReportsTheParametersOfA128kStereoStream) {
    OpenedStream s(BuildLayer2Stream(Stereo128(), 20));
    ASSERT_EQ(1, s.opened) << s.decoder->LastError();
    EXPECT_EQ(2, s.info.layer);
    EXPECT_EQ(1, s.info.version);
    EXPECT_EQ(44100, s.info.sampleRate);
    EXPECT_EQ(44100, s.info.outputSampleRate);
    EXPECT_EQ(2, s.info.streamChannels);
    EXPECT_EQ(64, s.info.bitratePerChannel);
    EXPECT_FLOAT_EQ(11.025f, s.info.packratio);
    EXPECT_EQ(4608, s.info.pcmBytesPerFrame);
    EXPECT_NEAR(418.96f, s.decoder->Format().codedFrameSize, 0.005f);
    EXPECT_EQ(418, s.decoder->Format().codedFrameBytes);
    EXPECT_EQ(20u * 417u, s.info.length);
    EXPECT_FLOAT_EQ(521.25f, s.info.duration) << "8340 bytes at 128 kbit/s";
    EXPECT_STREQ("stream.mp2", s.info.name);
}

TEST(StreamOpening, SizesTheBlockForTheOutputFormat) {
    StreamInfo request;
    request.divisor = 4;
    request.bitsPerSample = 8;
    OpenedStream s(BuildLayer2Stream(Stereo128(), 4), request);
    ASSERT_EQ(1, s.opened);
    EXPECT_EQ(576, s.info.pcmBytesPerFrame);
    EXPECT_EQ(11025, s.info.outputSampleRate);
    ASSERT_NE(0u, s.Decode());
    EXPECT_EQ(576u, s.decoder->LastPcmBytes());
}

TEST(StreamOpening, MonoStreamGivesOneOutputChannel) {
    Layer2Frame mono;
    mono.mode = kSingleChannel;
    mono.bitrateIndex = 4;  // 64 kbit/s
    mono.allocation[0][0] = 2;
    OpenedStream s(BuildLayer2Stream(mono, 4));
    ASSERT_EQ(1, s.opened) << s.decoder->LastError();
    EXPECT_EQ(1, s.info.streamChannels);
    EXPECT_EQ(1, s.info.outputChannels);
    EXPECT_EQ(64, s.info.bitratePerChannel) << "not halved for one channel";
    EXPECT_EQ(2304, s.info.pcmBytesPerFrame);
}

TEST(StreamOpening, LeadingBytesAreSkippedAndCountTowardsTheFrameNumber) {
    std::vector<uint8_t> junk(4000, 0x11);
    OpenedStream s(Concat(junk, BuildLayer2Stream(Stereo128(), 5)));
    ASSERT_EQ(1, s.opened);
    EXPECT_EQ(9u, s.Decode()) << "trunc(4000 / 418.96)";
    EXPECT_EQ(10u, s.Decode());
}

TEST(StreamOpening, SkipsAnId3v2TagFullOfFalseSyncWords) {
    std::vector<uint8_t> tag = {'I', 'D', '3', 3, 0, 0, 0, 0, 0x10, 0};  // 2048 bytes follow
    for (int i = 0; i < 2048; ++i) tag.push_back(i % 2 ? 0xFB : 0xFF);  // MPEG-1 Layer III sync
    OpenedStream s(Concat(tag, BuildLayer2Stream(Stereo128(), 5)));
    ASSERT_EQ(1, s.opened) << s.decoder->LastError();
    EXPECT_EQ(2, s.info.layer);
    EXPECT_NE(0u, s.Decode());
}

TEST(StreamOpening, RefusesWhatItCannotDecodeWithItsMessage) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* message;
    };
    Layer2Frame layer1 = Stereo128();
    layer1.layerField = 3;
    layer1.crc = true;  // 0xFFFE: a real Layer I header, not the 0xFFFF filler
    Layer2Frame forbidden = Stereo128();
    forbidden.bitrateIndex = 15;
    Layer2Frame forbidden3 = forbidden;
    forbidden3.layerField = 1;
    Layer2Frame freeFormat = Stereo128();
    freeFormat.bitrateIndex = 0;
    Layer2Frame reservedRate = Stereo128();
    reservedRate.sampleRateIndex = 3;
    Layer2Frame mono224 = Stereo128();
    mono224.mode = kSingleChannel;
    mono224.bitrateIndex = 11;  // 224 kbit/s
    // Kinds whose frame length the decoder does not know repeat within 500 bytes.
    const Case cases[] = {
        {"empty", {}, "This is not a valid audiofile!"},
        {"no sync word", std::vector<uint8_t>(5000, 0x7F), "This is not a valid audiofile!"},
        {"only the 0xFFFF filler", std::vector<uint8_t>(3000, 0xFF), "This is not a valid audiofile!"},
        {"Layer I", RepeatedHeader(layer1, 500, 4), "This type of audiofile is currently not supported!"},
        {"forbidden bit rate", RepeatedHeader(forbidden, 500, 4), "Layer II: Forbidden bitrate used for encoding!"},
        {"Layer III, forbidden bit rate", RepeatedHeader(forbidden3, 500, 4),
         "Layer III: Forbidden bitrate used for encoding!"},
        {"free format", RepeatedHeader(freeFormat, 500, 4), "This type of audiofile is currently not supported!"},
        // No encoder writes the reserved sampling frequency: never a stream.
        {"reserved sample rate", RepeatedHeader(reservedRate, 500, 4), "This is not a valid audiofile!"},
        {"no allocation table", RepeatedHeader(mono224, FrameLength(mono224), 4),
         "Layer II: Bitrate 224 not supported!\n"},
        // A header of any of these kinds alone is no stream of it.
        {"one Layer I header", RepeatedHeader(layer1, 5000, 1), "This is not a valid audiofile!"},
        {"one free-format header", RepeatedHeader(freeFormat, 5000, 1), "This is not a valid audiofile!"},
    };
    for (const Case& c : cases) {
        OpenedStream s(c.bytes);
        EXPECT_EQ(0, s.opened) << c.what;
        EXPECT_STREQ(c.message, s.decoder->LastError()) << c.what;
    }
}

// The first header counts only when another of its kind follows where its
// frame ends: a damaged first header or a false sync in junk before the
// stream is passed over.
TEST(StreamOpening, TheFirstFrameIsOneThatAnotherOfItsKindFollows) {
    const std::vector<uint8_t> stream = BuildLayer2Stream(Stereo128(), 6);
    auto firstHeaderWith = [&stream](uint32_t set, uint32_t clear) {
        std::vector<uint8_t> bytes = stream;
        PutWord(bytes, 0, (test::HeaderWord(Stereo128()) & ~clear) | set);
        return bytes;
    };
    std::vector<uint8_t> junk(100, 0x11);
    Layer2Frame lure = Stereo128();
    lure.layerField = 1;  // Layer III
    lure.sampleRateIndex = 1;  // 48 kHz
    PutWord(junk, 20, test::HeaderWord(lure));
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        int frames;
    } cases[] = {
        {"forbidden bit-rate index", firstHeaderWith(0xF000, 0), 5},
        {"reserved sampling frequency", firstHeaderWith(0xC00, 0), 5},
        {"single channel in a stereo stream", firstHeaderWith(0xC0, 0), 5},
        {"a bit-rate index that puts the next header elsewhere", firstHeaderWith(0x1000, 0), 5},
        {"a Layer III header in junk before the stream", Concat(junk, stream), 6},
        {"a stream of one frame", BuildLayer2Stream(Stereo128(), 1), 1},
    };
    for (const auto& c : cases) {
        OpenedStream s(c.bytes);
        ASSERT_EQ(1, s.opened) << c.what << ": " << s.decoder->LastError();
        EXPECT_EQ(2, s.info.layer) << c.what;
        EXPECT_EQ(44100, s.info.sampleRate) << c.what;
        EXPECT_EQ(2, s.info.streamChannels) << c.what;
        int frames = 0;
        while (s.Decode() != 0) ++frames;
        EXPECT_EQ(c.frames, frames) << c.what;
    }
}

TEST(StreamOpening, AFailedOpenLeavesNothingToDecode) {
    Layer2Frame mono224 = Stereo128();
    mono224.mode = kSingleChannel;
    mono224.bitrateIndex = 11;  // 224 kbit/s: no allocation table
    // Declared first: the decoder's buffer closes it when the decoder goes.
    MemoryByteSource refused(RepeatedHeader(mono224, FrameLength(mono224), 10), "refused.mp2");
    OpenedStream s(BuildLayer2Stream(Stereo128(), 10));
    ASSERT_EQ(1, s.opened);
    ASSERT_NE(0u, s.Decode());

    refused.Open("refused.mp2");
    s.decoder->Stream().Attach(&refused);
    StreamInfo info;
    ASSERT_EQ(0, s.decoder->OpenStream(info));
    EXPECT_STREQ("Layer II: Bitrate 224 not supported!\n", s.decoder->LastError());
    EXPECT_EQ(0u, s.Decode()) << "the previous stream's layer decoder is not left running";
}

TEST(StreamOpening, RefusesOutputFormatsItCannotWrite) {
    StreamInfo channels;
    channels.outputChannels = 3;
    OpenedStream a(BuildLayer2Stream(Stereo128(), 2), channels);
    EXPECT_EQ(0, a.opened);
    EXPECT_STREQ("Wrong number of playback channels (3)!", a.decoder->LastError());

    StreamInfo bits;
    bits.bitsPerSample = 12;
    OpenedStream b(BuildLayer2Stream(Stereo128(), 2), bits);
    EXPECT_EQ(0, b.opened);
    EXPECT_STREQ("Wrong number of sample bits (12)!", b.decoder->LastError());

    // A divisor of 3 would write past the end of every block.
    StreamInfo divisor;
    divisor.divisor = 3;
    OpenedStream c(BuildLayer2Stream(Stereo128(), 2), divisor);
    EXPECT_EQ(0, c.opened);
    EXPECT_EQ(0u, c.Decode());
}

TEST(StreamOpening, LastErrorStartsAsNoError) {
    Decoder decoder;
    EXPECT_STREQ("No error occured!", decoder.LastError());
}

TEST(StreamOpening, UnknownLengthGivesDurationMinusOne) {
    MemoryByteSource source(BuildLayer2Stream(Stereo128(), 3));
    source.SetLengthKnown(false);
    source.Open("stream");
    Decoder decoder;
    decoder.Stream().Attach(&source);
    decoder.Stream().SetRefillPermitted(true);
    StreamInfo info;
    ASSERT_EQ(1, decoder.OpenStream(info));
    EXPECT_EQ(0u, info.length);
    EXPECT_EQ(-1.0f, info.duration);
}

// Leaves non-zero bytes where the next call's locals will lie.
__attribute__((noinline)) void DirtyTheStack() {
    volatile char bytes[4096];
    for (char& c : const_cast<char(&)[4096]>(bytes)) c = 'X';
}

// Without bytes and without leave to read any, the search fails silently.
TEST(StreamOpening, AProbeThatMayNotReadLeavesTheLastErrorAlone) {
    Decoder decoder;
    MemoryByteSource source(BuildLayer2Stream(Stereo128(), 2), "unread.mp2");
    source.Open("unread.mp2");
    BitstreamBuffer buffer(8192, 1152);
    buffer.Attach(&source);
    StreamInfo info;
    DirtyTheStack();
    EXPECT_EQ(0, decoder.ProbeStream(info, buffer));
    EXPECT_STREQ("No error occured!", decoder.LastError());
}

TEST(StreamOpening, ProbeLeavesAPlayingStreamAlone) {
    std::vector<uint8_t> bytes = BuildLayer2Stream(Stereo128(), 8);
    OpenedStream reference(bytes);
    OpenedStream playing(bytes);
    ASSERT_EQ(1, playing.opened);
    ASSERT_NE(0u, reference.Decode());
    ASSERT_NE(0u, playing.Decode());

    Layer2Frame mono;
    mono.mode = kSingleChannel;
    mono.bitrateIndex = 2;  // 48 kbit/s
    MemoryByteSource other(BuildLayer2Stream(mono, 3), "other.mp2");
    other.Open("other.mp2");
    BitstreamBuffer probeBuffer(8192, 1152);
    probeBuffer.Attach(&other);
    probeBuffer.SetRefillPermitted(true);
    StreamInfo probed;
    ASSERT_EQ(1, playing.decoder->ProbeStream(probed, probeBuffer));
    EXPECT_EQ(1, probed.streamChannels);
    EXPECT_EQ(1, probed.outputChannels);
    EXPECT_EQ(48, probed.bitratePerChannel);
    EXPECT_STREQ("other.mp2", probed.name);

    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(reference.Decode(), playing.Decode());
        EXPECT_EQ(reference.block, playing.block);
    }
}

// A seek lands on its target's sample: the frame before it is decoded for
// the filter bank's history and left out, and so is the target frame's part
// before the target. The frame number is the target unit's: unit k plays
// from k - 1 units on.
TEST(StreamOpening, SeekLandsOnTheSampleOfTheTime) {
    const std::vector<uint8_t> bytes = BuildLayer2Stream(Stereo128(), 40);
    OpenedStream whole(bytes);
    ASSERT_EQ(1, whole.opened);
    std::vector<uint8_t> pcm;
    while (whole.Decode() != 0) pcm.insert(pcm.end(), whole.block.begin(), whole.block.end());

    OpenedStream s(bytes);
    ASSERT_EQ(1, s.opened);
    EXPECT_EQ(1, s.decoder->RequestSeek(100));
    EXPECT_EQ(0, s.decoder->RequestSeek(1000)) << "one seek at a time";
    EXPECT_EQ(4u, s.Decode()) << "sample 4410 lies in the fourth unit";
    const size_t target = 4410 * 4;
    ASSERT_EQ(3456u * 4 + 4608u - target, s.decoder->LastPcmBytes());
    EXPECT_TRUE(std::equal(s.block.begin(), s.block.begin() + s.decoder->LastPcmBytes(), pcm.begin() + target))
        << "the same samples as the whole decode";
    EXPECT_EQ(5u, s.Decode());
    EXPECT_EQ(4608u, s.decoder->LastPcmBytes());
    EXPECT_TRUE(std::equal(s.block.begin(), s.block.end(), pcm.begin() + 4 * 4608));

    EXPECT_EQ(1, s.decoder->RequestSeek(60000));
    EXPECT_EQ(0u, s.Decode()) << "60 s lie beyond this short stream";
    EXPECT_EQ(1, s.decoder->RequestSeek(0));
    EXPECT_EQ(1u, s.Decode());
    EXPECT_TRUE(std::equal(s.block.begin(), s.block.end(), pcm.begin()));
}

// A seek that arrives once the data has ended goes back into this stream;
// one left pending never moves the start of another stream.
TEST(StreamOpening, ASeekAfterTheEndStaysWithItsStream) {
    const std::vector<uint8_t> bytes = BuildLayer2Stream(Stereo128(), 60);
    // Declared first: the decoder's buffer closes it when the decoder goes.
    MemoryByteSource other(bytes, "other.mp2");
    OpenedStream s(bytes);
    ASSERT_EQ(1, s.opened);
    while (s.Decode() != 0) {
    }
    ASSERT_EQ(1, s.decoder->RequestSeek(1000));
    EXPECT_EQ(39u, s.Decode()) << "decoding goes on from sample 44100, in the 39th unit";
    EXPECT_EQ(40u, s.Decode());
    while (s.Decode() != 0) {
    }

    // Requested after the end, never carried out, then another stream opens.
    ASSERT_EQ(1, s.decoder->RequestSeek(1000));
    other.Open("other.mp2");
    s.decoder->Stream().Attach(&other);
    StreamInfo info;
    ASSERT_EQ(1, s.decoder->OpenStream(info));
    EXPECT_EQ(1u, s.Decode()) << "the other stream starts at its beginning";
    EXPECT_EQ(1, s.decoder->RequestSeek(0)) << "nothing is pending any more";

    // Reopening the stream a seek was meant for still lands on its target.
    OpenedStream t(bytes);
    ASSERT_EQ(1, t.decoder->RequestSeek(1000));
    t.source.Open("stream.mp2");
    StreamInfo again;
    ASSERT_EQ(1, t.decoder->OpenStream(again));
    EXPECT_EQ(39u, t.Decode());
}

TEST(StreamOpening, AStreamMarkerRestartsTheFrameNumbers) {
    std::vector<uint8_t> first = BuildLayer2Stream(Stereo128(), 6);
    Layer2Frame faster = Stereo128();
    faster.bitrateIndex = 10;  // 192 kbit/s: the next file of the list
    MemoryByteSource source(Concat(first, BuildLayer2Stream(faster, 6)));
    source.AddStreamStart(static_cast<uint32_t>(first.size()));
    source.Open("list");
    Decoder decoder;
    decoder.Stream().Attach(&source);
    decoder.Stream().SetRefillPermitted(true);
    StreamInfo info;
    ASSERT_EQ(1, decoder.OpenStream(info));
    std::vector<uint8_t> block(static_cast<size_t>(info.pcmBytesPerFrame));
    for (uint32_t expected = 1; expected <= 6; ++expected) ASSERT_EQ(expected, decoder.DecodeFrame(block.data()));
    EXPECT_EQ(1u, decoder.DecodeFrame(block.data()));
    EXPECT_EQ(2u, decoder.DecodeFrame(block.data()));
    StreamInfo refreshed;
    EXPECT_EQ(1, decoder.RefreshStreamInfo(refreshed));
    EXPECT_EQ(96, refreshed.bitratePerChannel);
}

// Frames of another sampling frequency are not the stream's; a header of
// the other channel count is damage unless frames of that count follow it.
TEST(StreamOpening, DecodingPassesOverForeignAndDamagedHeadersAndEndsOnARealChannelChange) {
    Layer2Frame other = Stereo128();
    other.sampleRateIndex = 1;  // 48 kHz: not this stream's header
    Layer2Frame mono = Stereo128();
    mono.mode = kSingleChannel;
    const std::vector<uint8_t> stereo2 = BuildLayer2Stream(Stereo128(), 2);
    std::vector<uint8_t> falseHeader = stereo2;
    const uint32_t word = test::HeaderWord(mono);
    for (int i = 0; i < 4; ++i) falseHeader.push_back(static_cast<uint8_t>(word >> (24 - 8 * i)));
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        int frames;
    } cases[] = {
        {"a frame of another rate", Concat(Concat(stereo2, BuildLayer2Frame(other)), stereo2), 4},
        // In its place between frames of the stream: a damaged mode field.
        {"one mono frame in a stereo stream", Concat(Concat(stereo2, BuildLayer2Frame(mono)), stereo2), 5},
        {"a false mono header between frames", Concat(falseHeader, stereo2), 4},
        {"the stream turns mono", Concat(stereo2, BuildLayer2Stream(mono, 3)), 2},
    };
    for (const auto& c : cases) {
        OpenedStream s(c.bytes);
        ASSERT_EQ(1, s.opened) << c.what;
        testing::internal::CaptureStdout();
        int frames = 0;
        while (s.Decode() != 0) ++frames;
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(c.frames, frames) << c.what;
    }
}

TEST(StreamOpening, FramesThatChangeEmphasisCopyrightOrPrivateBitsAreStillDecoded) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 8; ++i) {
        std::vector<uint8_t> frame = BuildLayer2Frame(Stereo128());
        frame[2] |= static_cast<uint8_t>(i & 1);         // private bit
        frame[3] |= static_cast<uint8_t>((i * 5) & 0x0F);  // copyright, original, emphasis
        bytes = Concat(bytes, frame);
    }
    OpenedStream s(bytes);
    ASSERT_EQ(1, s.opened);
    int frames = 0;
    while (s.Decode() != 0) ++frames;
    EXPECT_EQ(8, frames);
}

TEST(StreamOpening, DecodingEndsWhenNoSyncFollowsForLong) {
    std::vector<uint8_t> bytes = BuildLayer2Stream(Stereo128(), 2);
    bytes.resize(bytes.size() + 418 * 300, 0x00);
    bytes = Concat(bytes, BuildLayer2Stream(Stereo128(), 2));
    OpenedStream s(bytes);
    ASSERT_EQ(1, s.opened);
    EXPECT_NE(0u, s.Decode());
    EXPECT_NE(0u, s.Decode());
    EXPECT_EQ(0u, s.Decode()) << "more than frame size x 256 bytes without sync";
}

}  // namespace
}  // namespace plyvane
