#include "layer3_pcm.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

#include "decoder.h"
#include "memory_byte_source.h"

namespace plyvane::test {

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

DecodedPcm DecodeBytes(const std::vector<uint8_t>& bytes, int quality, int maxUnits) {
    DecodedPcm result;
    MemoryByteSource source(bytes, "stream.mp3");
    auto decoder = std::make_unique<Decoder>();
    source.Open("stream.mp3");
    decoder->Stream().Attach(&source);
    decoder->Stream().SetRefillPermitted(true);
    StreamInfo info;
    info.quality = quality;
    if (!decoder->OpenStream(info)) return result;
    result.opened = true;
    result.channels = info.outputChannels;
    std::vector<uint8_t> block(static_cast<size_t>(info.pcmBytesPerFrame));
    while (result.units < maxUnits && decoder->DecodeFrame(block.data()) != 0) {
        ++result.units;
        const uint32_t bytes = decoder->LastFrameBytes();
        if (bytes == 0) {
            ++result.silentUnits;
            continue;
        }
        for (uint32_t i = 0; i + 1 < bytes; i += 2)
            result.samples.push_back(static_cast<int16_t>(block[i] | (block[i + 1] << 8)));
    }
    return result;
}

PcmComparison ComparePcm(const std::vector<int16_t>& reference, const std::vector<int16_t>& decoded,
                         size_t referenceOffset, size_t decodedOffset) {
    PcmComparison c;
    if (referenceOffset >= reference.size() || decodedOffset >= decoded.size()) return c;
    const size_t n = std::min(reference.size() - referenceOffset, decoded.size() - decodedOffset);
    double signal = 0.0, noise = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double r = reference[referenceOffset + i];
        const double d = decoded[decodedOffset + i];
        signal += r * r;
        noise += (r - d) * (r - d);
        const int error = std::abs(static_cast<int>(r - d));
        if (error > c.maxError) c.maxError = error;
    }
    c.compared = n;
    c.snrDb = noise == 0.0 ? 200.0 : 10.0 * std::log10(signal / noise);
    return c;
}

}  // namespace plyvane::test
