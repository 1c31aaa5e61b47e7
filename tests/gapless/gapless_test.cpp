// Gapless playback, exact lengths and accurate seeks on streams that lame
// made at test time (make-gapless-streams.sh): durations to the sample at
// every rate and VBR quality, a list's total, an album cut into tracks that
// decodes to its own length at every divisor, seeks that land on their
// sample, and the files a user meets that break the rules (joined, cut off,
// with a header that claims too much).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "continuous_lists.h"
#include "decoder.h"
#include "engine_entry_prober.h"
#include "engine_harness.h"
#include "file_byte_source.h"
#include "memory_byte_source.h"
#include "memory_settings_store.h"
#include "message_box.h"
#include "playlist_file.h"
#include "playlist_queue.h"
#include "playlist_scan.h"
#include "settings_store.h"
#include "simulated_engine.h"
#include "stream_extent.h"

namespace plyvane {
namespace {

std::string Stream(const std::string& name) { return std::string(PLYVANE_GAPLESS_DIR) + "/" + name; }

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct SourceLength {
    std::string file;
    int rate;
    long samples;
};

// durations.txt: what each dur_ file was encoded from.
std::vector<SourceLength> DurationStreams() {
    std::vector<SourceLength> streams;
    std::ifstream in(Stream("durations.txt"));
    SourceLength line;
    while (in >> line.file >> line.rate >> line.samples) streams.push_back(line);
    return streams;
}

struct Decoded {
    bool opened = false;
    StreamInfo info;
    std::vector<int16_t> samples;  // interleaved
    size_t Frames() const { return info.outputChannels > 0 ? samples.size() / info.outputChannels : 0; }
};

struct Options {
    int divisor = 1;
    int quality = 1;
    int32_t seekMs = -1;        // a seek right after opening
    size_t maxFrames = SIZE_MAX;  // stop once this many sample frames are out
};

// Decodes a source (a file, or "list:" of several) through a decoder of its own.
Decoded DecodeSource(ByteSource& source, const std::string& name, const Options& options) {
    Decoded out;
    auto decoder = std::make_unique<Decoder>();
    if (!source.Open(name.c_str())) return out;
    decoder->Stream().Attach(&source);
    decoder->Stream().SetRefillPermitted(true);
    out.info.divisor = options.divisor;
    out.info.quality = options.quality;
    testing::internal::CaptureStdout();  // "EOF#1" and the like
    out.opened = decoder->OpenStream(out.info) != 0;
    if (out.opened) {
        if (options.seekMs >= 0) decoder->RequestSeek(options.seekMs);
        std::vector<uint8_t> block(static_cast<size_t>(out.info.pcmBytesPerFrame));
        while (out.Frames() < options.maxFrames && decoder->DecodeFrame(block.data()) != 0) {
            const uint32_t bytes = decoder->LastPcmBytes();
            for (uint32_t i = 0; i + 1 < bytes; i += 2)
                out.samples.push_back(static_cast<int16_t>(block[i] | block[i + 1] << 8));
        }
    }
    testing::internal::GetCapturedStdout();
    decoder->Stream().Attach(nullptr);
    return out;
}

Decoded DecodeFiles(const std::vector<std::string>& files, const Options& options = Options{}) {
    FileByteSource source;
    if (files.size() == 1) return DecodeSource(source, files[0], options);
    const long handle = ContinuousLists::Instance().Register(files);
    Decoded decoded = DecodeSource(source, ContinuousLists::ListName(handle), options);
    ContinuousLists::Instance().Unregister(handle);
    return decoded;
}

Decoded DecodeBytes(const std::vector<uint8_t>& bytes, const Options& options = Options{}) {
    MemoryByteSource source(bytes, "bytes.mp3");
    return DecodeSource(source, "bytes.mp3", options);
}

// The probe the player's list scan makes.
StreamInfo Probe(const std::vector<uint8_t>& bytes, StreamExtent* extent = nullptr) {
    MemoryByteSource source(bytes, "bytes.mp3");
    source.Open("bytes.mp3");
    BitstreamBuffer buffer(8192, 1152);
    buffer.Attach(&source);
    buffer.SetRefillPermitted(true);
    StreamInfo info;
    Decoder decoder;
    EXPECT_EQ(1, decoder.ProbeStream(info, buffer, nullptr, extent)) << decoder.LastError();
    return info;
}

double SamplesToMs(long samples, int rate) { return samples * 1000.0 / rate; }

// SNR of b against a (interleaved, channels each frame) over frames
// [from, from + count), b shifted by lag frames.
double SnrDb(const std::vector<int16_t>& a, const std::vector<int16_t>& b, int channels, size_t from, size_t count,
             long lag = 0) {
    double signal = 0, noise = 0;
    for (size_t f = from; f < from + count; ++f) {
        for (int c = 0; c < channels; ++c) {
            const double x = a[f * channels + c];
            const long j = (static_cast<long>(f) + lag) * channels + c;
            const double y = j >= 0 && j < static_cast<long>(b.size()) ? b[static_cast<size_t>(j)] : 0.0;
            signal += x * x;
            noise += (x - y) * (x - y);
        }
    }
    return noise == 0 ? 200.0 : 10.0 * std::log10(signal / noise);
}

class GaplessStreams : public ::testing::Test {
protected:
    void SetUp() override {
        if (DurationStreams().empty())
            GTEST_SKIP() << "no streams in " << PLYVANE_GAPLESS_DIR << " (lame or sox missing)";
    }
};

// Every duration reported equals the source's length within 1 ms, from the
// probe of the player's list scan as from the decoder that plays the file,
// which delivers exactly the source's samples; the list's total is the sum.
TEST_F(GaplessStreams, DurationsAreTheSourcesAndTheListTotalIsTheirSum) {
    MemorySettingsStore store;
    ScopedSettingsStore storeInstalled(store);
    SimulatedEngine simulated;
    EngineEntryProber prober(simulated.engine);

    const std::vector<SourceLength> streams = DurationStreams();
    ASSERT_EQ(streams.size(), 18u);
    std::string list;
    double exactTotal = 0;
    for (const SourceLength& s : streams) {
        list += Stream(s.file) + "\n";
        exactTotal += SamplesToMs(s.samples, s.rate);
        const Decoded decoded = DecodeFiles({Stream(s.file)});
        ASSERT_TRUE(decoded.opened) << s.file;
        EXPECT_EQ(static_cast<long>(decoded.Frames()), s.samples) << s.file << ": samples played";
        EXPECT_NEAR(decoded.info.duration, SamplesToMs(s.samples, s.rate), 1.0) << s.file << ": duration at open";
        EXPECT_EQ(decoded.info.bitratePerChannel, 0) << s.file << ": a VBR stream's bit rate is variable";
        EntryProber::Result probed;
        ASSERT_TRUE(prober.Probe(Stream(s.file), probed)) << s.file;
        EXPECT_NEAR(probed.durationMs, SamplesToMs(s.samples, s.rate), 1.0) << s.file << ": duration of the probe";
        std::printf("%-18s %6d Hz  source %8.2f ms  probe %6d ms  open %9.2f ms\n", s.file.c_str(), s.rate,
                    SamplesToMs(s.samples, s.rate), probed.durationMs, decoded.info.duration);
    }

    PlaylistFile file;
    const std::string m3u = Stream("durations.m3u");
    std::ofstream(m3u) << list;
    ASSERT_EQ(file.Load(m3u), LoadResult::kLoaded);
    PlaylistQueue queue;
    ASSERT_EQ(queue.Allocate(file.Count()), PlaylistQueue::TableFailure::kNone);
    struct : ScanProgress {
        void Begin(int) override {}
        bool CancelRequested() override { return false; }
        void ShowItem(const std::string&) override {}
        void Step() override {}
        void End() override {}
    } progress;
    ScanEntries(file, queue, prober, progress, ScanOptions{});
    uint32_t sum = 0;
    for (int entry = 1; entry <= file.Count(); ++entry) sum += static_cast<uint32_t>(queue.Duration(entry));
    EXPECT_EQ(queue.ListTotal(), sum);
    EXPECT_NEAR(queue.ListTotal(), exactTotal, static_cast<double>(streams.size())) << "whole ms per entry";
    std::printf("list total %u ms, the sources %.2f ms\n", queue.ListTotal(), exactTotal);
}

// Our lengths are the reference decoder's, gapless (mpg123's, made by the
// fixture where it is installed), for these streams and the committed ones.
TEST_F(GaplessStreams, LengthsAreTheReferenceDecodersToTheSample) {
    std::ifstream in(Stream("mpg123-lengths.txt"));
    if (!in) GTEST_SKIP() << "no mpg123 when the streams were made";
    std::string name;
    long expected = 0;
    int compared = 0;
    while (in >> name >> expected) {
        std::string path = Stream(name);
        if (name.rfind("dur_", 0) != 0) path = std::string(PLYVANE_SOURCE_DIR) + "/tests/data/layer3/" + name;
        const Decoded decoded = DecodeFiles({path});
        ASSERT_TRUE(decoded.opened) << name;
        EXPECT_EQ(static_cast<long>(decoded.Frames()), expected) << name;
        ++compared;
    }
    EXPECT_GE(compared, 30);
}

// The album's three tracks as one list: the album's length exactly, at
// every divisor (one rounding for the whole list, not one a file), and the
// same samples at the joins as every track decoded alone.
TEST_F(GaplessStreams, AnAlbumCutIntoTracksPlaysAsTheAlbum) {
    const long albumFrames = 2646000;
    for (const char* kind : {"cbr", "vbr"}) {
        std::vector<std::string> tracks;
        for (int n = 1; n <= 3; ++n) tracks.push_back(Stream(std::string(kind) + "_" + std::to_string(n) + ".mp3"));
        std::vector<int16_t> alone;
        for (const std::string& track : tracks) {
            const Decoded one = DecodeFiles({track});
            alone.insert(alone.end(), one.samples.begin(), one.samples.end());
        }
        for (int divisor : {1, 2, 4}) {
            Options options;
            options.divisor = divisor;
            const Decoded list = DecodeFiles(tracks, options);
            ASSERT_TRUE(list.opened) << kind;
            EXPECT_EQ(static_cast<long>(list.Frames()), (albumFrames + divisor - 1) / divisor)
                << kind << " at divisor " << divisor;
            if (divisor == 1) {
                EXPECT_EQ(list.samples, alone) << kind << ": the list differs from its files decoded alone";
            }
        }
    }
}

// Through the engine, with each refresh method: the device plays exactly the
// list's decode, trimmed units packed without a gap; a NEXTFILE for each
// join; the position never beyond the length; a seek's sound is the full
// decode's from its target on.
TEST_F(GaplessStreams, TheEnginePlaysTheListAsTheAlbum) {
    const long handle = ContinuousLists::Instance().Register(
        {Stream("short_1.mp3"), Stream("short_2.mp3"), Stream("short_3.mp3")});
    const std::string list = ContinuousLists::ListName(handle);
    for (int method : {kMethodTimer, kMethodThread, kMethodDevice}) {
        for (int divisor : {1, 2}) {
            OutputChoice output;
            output.method = method;
            output.divisor = divisor;
            const std::vector<uint8_t> expected = DecodeAll(list, output);
            EXPECT_EQ(expected.size(), (396900u + divisor - 1) / divisor * 4) << "the album's 9 s";
            EngineHarness h;
            h.Configure(output);
            ASSERT_EQ(h.Open(list), 1);
            ASSERT_EQ(h.engine.StartPlayback(), 1);
            ASSERT_TRUE(h.RunUntilEnded(60000)) << "method " << method;
            EXPECT_EQ(h.device.Played(), expected) << "method " << method << ", divisor " << divisor;
            EXPECT_EQ(h.Count(ID_PLAYBACK_NEXTFILE), 2);
            for (const PostedEvent& event : h.Events(ID_PLAYBACK_POSITION)) EXPECT_LE(event.position, 3300.0f);
        }
    }

    OutputChoice output;
    const std::vector<uint8_t> full = DecodeAll(Stream("short_2.mp3"), output);
    EngineHarness h;
    h.Configure(output);
    ASSERT_EQ(h.Open(Stream("short_2.mp3")), 1);
    ASSERT_EQ(h.engine.StartPlayback(), 1);
    h.Run(500);
    ASSERT_EQ(h.engine.SeekPlayback(2000), 1);
    const uint64_t before = h.device.PlayedBytes();
    EXPECT_NEAR(h.engine.GetPlaybackInfo().position, 2000.0f, 1152000.0f / 44100) << "within the unit";
    ASSERT_TRUE(h.RunUntilEnded(60000));
    const std::vector<uint8_t> played = h.device.Played();
    ASSERT_EQ(played.size() - before, full.size() - 2000u * 44100 / 1000 * 4);
    EXPECT_TRUE(std::equal(played.begin() + static_cast<long>(before), played.end(),
                           full.begin() + 2000 * 44100 / 1000 * 4))
        << "after the seek: the decode from 2 s on";
    ContinuousLists::Instance().Unregister(handle);
}

// A seek to 10, 50 and 90 % lands on its sample: the second that follows is
// the full decode's from that sample on, at quality 1 (>= 50 dB; the same
// samples, in fact), and the best alignment is within a frame (it is 0).
TEST_F(GaplessStreams, SeeksLandOnTheirSample) {
    std::vector<std::string> files;
    for (const SourceLength& s : DurationStreams()) files.push_back(s.file);
    for (const char* name : {"vbr_2.mp3", "cbr_2.mp3"}) files.push_back(name);
    for (const std::string& file : files) {
        const Decoded full = DecodeFiles({Stream(file)});
        ASSERT_TRUE(full.opened) << file;
        const int rate = full.info.sampleRate;
        const int channels = full.info.outputChannels;
        const long frameSamples = full.info.version == 1 ? 1152 : 576;
        for (double fraction : {0.1, 0.5, 0.9}) {
            Options options;
            options.seekMs = static_cast<int32_t>(full.info.duration * fraction);
            options.maxFrames = static_cast<size_t>(rate) + 1152;
            const Decoded seek = DecodeFiles({Stream(file)}, options);
            const size_t at = static_cast<size_t>(int64_t{options.seekMs} * rate / 1000);
            const std::vector<int16_t> fromTarget(full.samples.begin() + static_cast<long>(at * channels),
                                                  full.samples.end());
            const size_t count = std::min<size_t>(seek.Frames(), fromTarget.size() / channels);
            ASSERT_GE(count, static_cast<size_t>(rate)) << file << " at " << fraction;
            long best = 0;
            double bestSnr = -1e9;
            for (long lag = -frameSamples; lag <= frameSamples; ++lag) {
                const double value =
                    SnrDb(fromTarget, seek.samples, channels, frameSamples, count - 2 * frameSamples, lag);
                if (value > bestSnr) {
                    bestSnr = value;
                    best = lag;
                }
            }
            const double snr = SnrDb(fromTarget, seek.samples, channels, 0, count);
            EXPECT_EQ(best, 0) << file << " at " << fraction;
            EXPECT_GE(snr, 50.0) << file << " at " << fraction;
            std::printf("%-18s seek to %5d ms: lands %+ld samples off, SNR %6.1f dB over %zu samples\n",
                        file.c_str(), options.seekMs, best, snr, count);
        }
    }
}

// Files that break the rules: the reported length is what plays, and it
// plays without a crash.
TEST_F(GaplessStreams, JoinedCutAndOverclaimingFilesReportWhatPlays) {
    const std::vector<uint8_t> a = ReadBytes(Stream("dur_44100_v4.mp3"));
    const std::vector<uint8_t> b = ReadBytes(Stream("dur_44100_v0.mp3"));
    long sourceSamples = 0;
    for (const SourceLength& s : DurationStreams())
        if (s.file == "dur_44100_v4.mp3") sourceSamples = s.samples;
    ASSERT_FALSE(a.empty());
    ASSERT_GT(sourceSamples, 0);

    // Two encodings in one file: each is trimmed by its own delay and
    // padding, and the length is their sum.
    std::vector<uint8_t> joined = a;
    joined.insert(joined.end(), b.begin(), b.end());
    StreamInfo info = Probe(joined);
    EXPECT_NEAR(info.duration, SamplesToMs(2 * sourceSamples, 44100), 1.0) << "joined";
    EXPECT_EQ(static_cast<long>(DecodeBytes(joined).Frames()), 2 * sourceSamples) << "joined";

    // Cut off at 60 %: the frames that are there, less the encoder delay.
    const std::vector<uint8_t> cut(a.begin(), a.begin() + static_cast<long>(a.size() * 6 / 10));
    info = Probe(cut);
    const Decoded cutDecoded = DecodeBytes(cut);
    EXPECT_NEAR(info.duration, SamplesToMs(static_cast<long>(cutDecoded.Frames()), 44100), 1.0) << "cut";
    EXPECT_LT(info.duration, SamplesToMs(sourceSamples, 44100) * 0.7) << "cut";

    // A frame count doubled (the LAME tag's checksum then fails): counted.
    std::vector<uint8_t> claiming = a;
    StreamExtent extent;
    Probe(a, &extent);
    const uint32_t frames = extent.header.frames;
    ASSERT_GT(frames, 0u);
    for (size_t i = 0; i + 8 < 200; ++i) {
        if (claiming[i] == 'X' && claiming[i + 1] == 'i' && claiming[i + 2] == 'n' && claiming[i + 3] == 'g') {
            const uint32_t doubled = 2 * frames;
            for (int k = 0; k < 4; ++k) claiming[i + 8 + k] = static_cast<uint8_t>(doubled >> (24 - 8 * k));
        }
    }
    info = Probe(claiming, &extent);
    const Decoded claimingDecoded = DecodeBytes(claiming);
    EXPECT_NEAR(info.duration, SamplesToMs(static_cast<long>(claimingDecoded.Frames()), 44100), 1.0)
        << "a doubled frame count";
    EXPECT_FALSE(extent.header.hasEncoderDelay) << "a damaged tag is not trusted";
}

}  // namespace
}  // namespace plyvane
