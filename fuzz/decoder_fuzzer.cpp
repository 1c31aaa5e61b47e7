// Feeds arbitrary bytes to the probe, OpenStream and DecodeFrame. The last
// byte also picks the output format and a seek, so every output stage and the
// seek path see damaged streams too; the bytes stay whole, so any stream
// file is a seed as it is.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "decoder.h"
#include "memory_byte_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace plyvane;
    if (size < 1) return 0;
    const uint8_t options = data[size - 1];
    // The sources outlive the decoder, whose buffer closes them at the end.
    MemoryByteSource source(data, size, "fuzz");
    MemoryByteSource probed(data, size, "probe");
    auto decoder = std::make_unique<Decoder>();

    probed.Open("probe");
    BitstreamBuffer probeBuffer(8192, 1152);
    probeBuffer.Attach(&probed);
    probeBuffer.SetRefillPermitted(true);
    StreamInfo probe;
    decoder->ProbeStream(probe, probeBuffer);

    source.Open("fuzz");
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
    // Every unit takes at least one header from the data: more units than
    // that is a loop that never ends.
    const size_t unitLimit = size / 4 + 2;
    size_t units = 0;
    while (decoder->DecodeFrame(block.data()) != 0) {
        if (decoder->LastPcmBytes() > block.size()) __builtin_trap();
        if (++units > unitLimit) __builtin_trap();
        if (units == 3 && (options & 0x40)) decoder->RequestSeek(options & 0x80 ? 50 : 0);
    }
    StreamInfo refreshed;
    decoder->RefreshStreamInfo(refreshed);
    return 0;
}
