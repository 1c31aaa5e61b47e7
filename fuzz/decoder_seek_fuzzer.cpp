// Decodes arbitrary bytes with seeks, reopenings, other streams, list starts,
// probes and refreshes in between, in an order that the last four bytes
// choose: the paths a player takes through the decoder, on damaged data.
// The bytes stay whole, so any stream file is a seed as it is.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "decoder.h"
#include "memory_byte_source.h"

namespace {

using namespace plyvane;

class Choices {
public:
    explicit Choices(uint32_t seed) : state_(seed | 1u) {}
    // 0 .. below - 1.
    uint32_t Next(uint32_t below) {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_ % below;
    }

private:
    uint32_t state_;
};

// The largest PCM block: 16-bit stereo at divisor 1.
constexpr size_t kBlockBytes = 4608;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    Choices choose(static_cast<uint32_t>(data[size - 4]) << 24 | static_cast<uint32_t>(data[size - 3]) << 16 |
                   static_cast<uint32_t>(data[size - 2]) << 8 | data[size - 1]);
    // Two sources over the same bytes: the second starts further in and, like
    // a continuous list, holds the start of another file.
    MemoryByteSource whole(data, size, "whole");
    const size_t from = choose.Next(static_cast<uint32_t>(size));
    MemoryByteSource part(data + from, size - from, "part");
    part.AddStreamStart(choose.Next(static_cast<uint32_t>(size - from) + 1));
    MemoryByteSource* sources[] = {&whole, &part};
    auto decoder = std::make_unique<Decoder>();

    std::vector<uint8_t> block(kBlockBytes);
    StreamInfo info;
    bool open = false;
    size_t units = 0;
    const size_t unitLimit = 4 * (size / 4 + 2);
    for (int step = 0; step < 24; ++step) {
        switch (choose.Next(6)) {
            case 0: {  // open one of the sources, in some output format
                MemoryByteSource* source = sources[choose.Next(2)];
                source->Open(nullptr);
                decoder->Stream().Attach(source);
                decoder->Stream().SetRefillPermitted(true);
                info = StreamInfo{};
                static const int kDivisors[] = {1, 2, 4};
                info.divisor = kDivisors[choose.Next(3)];
                info.quality = 1 + static_cast<int>(choose.Next(3));
                info.bitsPerSample = choose.Next(2) ? 8 : 16;
                info.outputChannels = 1 + static_cast<int>(choose.Next(2));
                open = decoder->OpenStream(info) != 0;
                break;
            }
            case 1:
            case 2: {  // decode a run of units
                const uint32_t run = 1 + choose.Next(20);
                for (uint32_t i = 0; i < run; ++i) {
                    if (decoder->DecodeFrame(block.data()) == 0) break;
                    if (!open || decoder->LastPcmBytes() > static_cast<uint32_t>(info.pcmBytesPerFrame))
                        __builtin_trap();
                    if (++units > unitLimit) __builtin_trap();
                }
                break;
            }
            case 3:  // a seek anywhere, before the start and past the end too
                decoder->RequestSeek(static_cast<int32_t>(choose.Next(20000)) - 1000);
                break;
            case 4: {  // a probe of the other source while this one plays
                MemoryByteSource* source = sources[choose.Next(2)];
                MemoryByteSource copy(source == &whole ? data : data + from, source == &whole ? size : size - from,
                                      "probe");
                copy.Open("probe");
                BitstreamBuffer probeBuffer(8192, 1152);
                probeBuffer.Attach(&copy);
                probeBuffer.SetRefillPermitted(choose.Next(4) != 0);
                StreamInfo probe;
                decoder->ProbeStream(probe, probeBuffer);
                break;
            }
            default: {
                StreamInfo refreshed;
                decoder->RefreshStreamInfo(refreshed);
                break;
            }
        }
    }
    return 0;
}
