#include "wav_writer.h"

#include <cerrno>
#include <cstring>

namespace plyvane::cli {

namespace {

void Put32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

void Put16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

std::array<uint8_t, kWavHeaderBytes> WavHeader(const PcmFormat& format, uint32_t dataBytes) {
    std::array<uint8_t, kWavHeaderBytes> header{};
    uint8_t* h = header.data();
    uint16_t blockAlign = static_cast<uint16_t>(format.channels * (format.bitsPerSample / 8));
    uint32_t riffSize = kUnknownSize;
    if (dataBytes != kUnknownSize) riffSize = 36 + dataBytes + (dataBytes & 1);
    std::memcpy(h, "RIFF", 4);
    Put32(h + 4, riffSize);
    std::memcpy(h + 8, "WAVE", 4);
    std::memcpy(h + 12, "fmt ", 4);
    Put32(h + 16, 16);
    Put16(h + 20, 1);  // integer PCM
    Put16(h + 22, format.channels);
    Put32(h + 24, format.sampleRate);
    Put32(h + 28, format.sampleRate * blockAlign);
    Put16(h + 32, blockAlign);
    Put16(h + 34, format.bitsPerSample);
    std::memcpy(h + 36, "data", 4);
    Put32(h + 40, dataBytes);
    return header;
}

bool WavWriter::Fail(const std::string& why) {
    error_ = why;
    return false;
}

bool WavWriter::Begin(std::FILE* out, const PcmFormat& format, bool withHeader) {
    out_ = out;
    format_ = format;
    withHeader_ = withHeader;
    dataBytes_ = 0;
    error_.clear();
    if (out_ == nullptr) return Fail("no output stream");
    if (!withHeader_) return true;
    auto header = WavHeader(format_, kUnknownSize);
    if (std::fwrite(header.data(), 1, header.size(), out_) != header.size())
        return Fail(std::string("cannot write the WAV header: ") + std::strerror(errno));
    return true;
}

bool WavWriter::Write(const uint8_t* bytes, size_t count) {
    if (out_ == nullptr) return Fail("no output stream");
    if (count == 0) return true;
    if (withHeader_ && count > kMaxWavDataBytes - dataBytes_)
        return Fail("the PCM does not fit a WAV file (4 GB); use -o - for raw output");
    if (std::fwrite(bytes, 1, count, out_) != count)
        return Fail(std::string("cannot write the output: ") + std::strerror(errno));
    dataBytes_ += count;
    return true;
}

bool WavWriter::Finish() {
    if (out_ == nullptr) return Fail("no output stream");
    if (withHeader_) {
        // RIFF chunks are padded to an even length.
        if ((dataBytes_ & 1) && std::fputc(0, out_) == EOF)
            return Fail(std::string("cannot write the output: ") + std::strerror(errno));
        if (std::fflush(out_) != 0)
            return Fail(std::string("cannot write the output: ") + std::strerror(errno));
        // A stream that cannot seek keeps the "unknown" sizes.
        if (std::fseek(out_, 0, SEEK_SET) == 0) {
            auto header = WavHeader(format_, static_cast<uint32_t>(dataBytes_));
            if (std::fwrite(header.data(), 1, header.size(), out_) != header.size())
                return Fail(std::string("cannot write the WAV header: ") + std::strerror(errno));
            std::fseek(out_, 0, SEEK_END);
        }
    }
    if (std::fflush(out_) != 0)
        return Fail(std::string("cannot write the output: ") + std::strerror(errno));
    return true;
}

}  // namespace plyvane::cli
