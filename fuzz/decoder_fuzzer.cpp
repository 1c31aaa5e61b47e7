// Feeds arbitrary bytes to OpenStream and DecodeFrame. The first byte picks
// the output format and a seek, so every output stage and the seek path see
// damaged streams too.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "decoder.h"
#include "memory_byte_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace plyvane;
    if (size < 1) return 0;
    const uint8_t options = data[0];
    MemoryByteSource source(data + 1, size - 1, "fuzz");
    source.Open("fuzz");
    auto decoder = std::make_unique<Decoder>();
    decoder->Stream().Attach(&source);
    decoder->Stream().SetRefillPermitted(true);

    StreamInfo info;
    static const int kDivisors[] = {1, 2, 4, 1};
    info.divisor = kDivisors[options & 3];
    info.quality = (options >> 2) % 4;  // 0 (reference) to 3
    info.bitsPerSample = options & 0x10 ? 8 : 16;
    info.outputChannels = options & 0x20 ? 1 : 2;
    if (!decoder->OpenStream(info)) return 0;

    std::vector<uint8_t> block(static_cast<size_t>(info.pcmBytesPerFrame));
    for (int frame = 0; frame < 2000; ++frame) {
        if (frame == 3 && (options & 0x40)) decoder->RequestSeek(options & 0x80 ? 50 : 0);
        if (decoder->DecodeFrame(block.data()) == 0) break;
        if (decoder->LastFrameBytes() > block.size()) __builtin_trap();
    }
    StreamInfo refreshed;
    decoder->RefreshStreamInfo(refreshed);
    return 0;
}
