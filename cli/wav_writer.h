// Writes PCM as a RIFF WAVE file (or raw, without a header) to a stdio stream.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

namespace plyvane::cli {

struct PcmFormat {
    uint32_t sampleRate = 0;
    uint16_t channels = 0;
    uint16_t bitsPerSample = 0;  // 8 (unsigned) or 16 (signed little-endian)
};

constexpr size_t kWavHeaderBytes = 44;
// Sizes written while the length is not yet known, kept if the output
// cannot seek back (a pipe): readers then take the data to the end.
constexpr uint32_t kUnknownSize = 0xFFFFFFFFu;
// The most PCM a WAV file can describe: the RIFF size (36 + data + pad
// byte) must fit 32 bits.
constexpr uint64_t kMaxWavDataBytes = 0xFFFFFFFFull - 36 - 1;

// The canonical 44-byte header: "RIFF" size "WAVE", a 16-byte "fmt " chunk
// for integer PCM, and the "data" chunk's header.
std::array<uint8_t, kWavHeaderBytes> WavHeader(const PcmFormat& format, uint32_t dataBytes);

class WavWriter {
public:
    // withHeader false writes the samples only. The stream stays the caller's.
    bool Begin(std::FILE* out, const PcmFormat& format, bool withHeader);
    bool Write(const uint8_t* bytes, size_t count);
    // Pads an odd data chunk, writes the final sizes when the stream can
    // seek, and flushes.
    bool Finish();

    uint64_t DataBytes() const { return dataBytes_; }
    const std::string& Error() const { return error_; }

private:
    bool Fail(const std::string& why);

    std::FILE* out_ = nullptr;
    PcmFormat format_;
    bool withHeader_ = true;
    uint64_t dataBytes_ = 0;
    std::string error_;
};

}  // namespace plyvane::cli
