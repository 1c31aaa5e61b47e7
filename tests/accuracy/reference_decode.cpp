#include "reference_decode.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "stream_decode.h"

namespace plyvane::test {

namespace fs = std::filesystem;

namespace {

uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// A float WAV as mpg123 -e f32 -w writes it: fmt chunk with format 3, 32 bits.
ReferencePcm ParseFloatWav(const std::vector<uint8_t>& wav) {
    ReferencePcm ref;
    if (wav.size() < 12 || std::memcmp(wav.data(), "RIFF", 4) != 0 || std::memcmp(wav.data() + 8, "WAVE", 4) != 0) {
        ref.error = "not a RIFF/WAVE file";
        return ref;
    }
    size_t pos = 12;
    int bits = 0, format = 0;
    while (pos + 8 <= wav.size()) {
        const uint32_t size = Le32(&wav[pos + 4]);
        const size_t body = pos + 8;
        const size_t available = std::min<size_t>(size, wav.size() - body);
        if (std::memcmp(&wav[pos], "fmt ", 4) == 0 && available >= 16) {
            format = Le16(&wav[body]);
            ref.channels = Le16(&wav[body + 2]);
            bits = Le16(&wav[body + 14]);
        } else if (std::memcmp(&wav[pos], "data", 4) == 0) {
            if (format != 3 || bits != 32 || ref.channels < 1) {
                ref.error = "not 32-bit float PCM";
                return ref;
            }
            ref.samples.resize(available / 4);
            for (size_t i = 0; i < ref.samples.size(); ++i) {
                const uint32_t bitsValue = Le32(&wav[body + 4 * i]);
                float value;
                std::memcpy(&value, &bitsValue, 4);
                ref.samples[i] = value * 32768.0f;
            }
            ref.ok = true;
            return ref;
        }
        pos = body + size + (size & 1);
    }
    ref.error = "no data chunk";
    return ref;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

bool Mpg123Available() {
    const std::string program = PLYVANE_MPG123;
    return !program.empty() && program.find("NOTFOUND") == std::string::npos && fs::exists(program);
}

ReferencePcm Mpg123Reference(const std::string& streamPath) {
    ReferencePcm ref;
    const fs::path cacheDir = PLYVANE_REFERENCE_CACHE;
    std::error_code ec;
    fs::create_directories(cacheDir, ec);
    // The stream's parent folder keeps same-named files of different folders apart.
    const fs::path stream(streamPath);
    const fs::path cached = cacheDir / (stream.parent_path().filename().string() + "-" +
                                        stream.filename().string() + ".f32.wav");
    if (!fs::exists(cached) || fs::last_write_time(cached) < fs::last_write_time(stream)) {
        if (!Mpg123Available()) {
            ref.error = "no mpg123 (or it was not found when the build was configured), and no reference in " +
                        cacheDir.string();
            return ref;
        }
        const fs::path partial = cached.string() + ".part";
        const std::string command = Quoted(PLYVANE_MPG123) + " -q --no-gapless -e f32 -w " +
                                    Quoted(partial.string()) + " " + Quoted(streamPath) + " 2>/dev/null";
        if (std::system(command.c_str()) != 0 || !fs::exists(partial)) {
            ref.error = "mpg123 failed on " + streamPath;
            return ref;
        }
        fs::rename(partial, cached);
    }
    return ParseFloatWav(ReadFileBytes(cached.string()));
}

ReferencePcm Pcm16File(const std::string& path, int channels) {
    ReferencePcm ref;
    if (!fs::exists(path)) {
        ref.error = "missing " + path;
        return ref;
    }
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    ref.channels = channels;
    ref.samples.resize(bytes.size() / 2);
    for (size_t i = 0; i < ref.samples.size(); ++i)
        ref.samples[i] = static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    ref.ok = true;
    return ref;
}

}  // namespace plyvane::test
