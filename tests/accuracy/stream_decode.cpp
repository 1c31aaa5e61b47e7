#include "stream_decode.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <utility>

#include "decoder.h"
#include "stream_extent.h"
#include "memory_byte_source.h"

namespace plyvane::test {

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<int16_t> DecodedStream::Samples16() const {
    std::vector<int16_t> samples(pcm.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8));
    return samples;
}

DecodedStream DecodeFile(const std::string& path, const DecodeSettings& settings, uint32_t maxUnits) {
    return DecodeBytes(ReadFileBytes(path), path, settings, maxUnits);
}

DecodedStream DecodeBytes(std::vector<uint8_t> bytes, const std::string& name, const DecodeSettings& settings,
                          uint32_t maxUnits) {
    DecodedStream result;
    MemoryByteSource source(std::move(bytes), name);
    source.Open(name.c_str());
    auto decoder = std::make_unique<Decoder>();
    decoder->Stream().Attach(&source);
    decoder->Stream().SetRefillPermitted(true);

    StreamInfo& info = result.info;
    info.divisor = settings.divisor;
    info.quality = settings.quality;
    info.bitsPerSample = settings.bits;
    info.outputChannels = settings.channels;
    if (!decoder->OpenStream(info)) {
        result.error = decoder->LastError();
        decoder->Stream().Attach(nullptr);
        return result;
    }
    result.opened = true;
    result.channels = info.outputChannels;
    result.trimSkip = decoder->Extent().trim.skip;

    // Room for one unit plus a margin, so an overlong write shows up as a
    // LastPcmBytes beyond the promised size instead of a wild write.
    std::vector<uint8_t> block(static_cast<size_t>(info.pcmBytesPerFrame) * 2 + 64);
    while (result.units < std::max<uint32_t>(maxUnits, 1)) {
        const uint32_t frameNumber = decoder->DecodeFrame(block.data());
        if (frameNumber == 0) break;
        if (result.units == 0) result.firstFrameNumber = frameNumber;
        ++result.units;
        uint32_t bytes = decoder->LastPcmBytes();
        if (bytes > static_cast<uint32_t>(info.pcmBytesPerFrame)) {
            ++result.overlongUnits;
            bytes = static_cast<uint32_t>(info.pcmBytesPerFrame);
        }
        if (bytes == 0) ++result.emptyUnits;
        result.pcm.insert(result.pcm.end(), block.begin(), block.begin() + bytes);
    }
    decoder->Stream().Attach(nullptr);
    return result;
}

}  // namespace plyvane::test
