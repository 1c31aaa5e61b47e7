// Opens byte vectors on a fresh decoder.
#pragma once

#include <memory>
#include <vector>

#include "decoder.h"
#include "memory_byte_source.h"

namespace plyvane::test {

struct OpenedStream {
    explicit OpenedStream(std::vector<uint8_t> bytes, StreamInfo request = StreamInfo{})
        : source(std::move(bytes), "stream.mp2"), decoder(std::make_unique<Decoder>()), info(request) {
        source.Open("stream.mp2");
        decoder->Stream().Attach(&source);
        decoder->Stream().SetRefillPermitted(true);
        opened = decoder->OpenStream(info);
        block.resize(info.pcmBytesPerFrame > 0 ? static_cast<size_t>(info.pcmBytesPerFrame) : 1);
    }
    uint32_t Decode() { return decoder->DecodeFrame(block.data()); }

    MemoryByteSource source;
    std::unique_ptr<Decoder> decoder;
    StreamInfo info;
    int opened = 0;
    std::vector<uint8_t> block;
};

}  // namespace plyvane::test
