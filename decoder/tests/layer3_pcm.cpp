#include "layer3_pcm.h"

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
        const uint32_t bytes = decoder->LastPcmBytes();
        if (bytes == 0) {
            ++result.silentUnits;
            continue;
        }
        for (uint32_t i = 0; i + 1 < bytes; i += 2)
            result.samples.push_back(static_cast<int16_t>(block[i] | (block[i + 1] << 8)));
    }
    return result;
}

}  // namespace plyvane::test
