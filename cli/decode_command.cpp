// plyvane-cli decode: a stream to a WAV file (or raw PCM) in the requested
// output format, through the process-wide decoder as the player drives it.
// Several files are one continuous list, as the player hands them over.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bitstream_buffer.h"
#include "commands.h"
#include "console_message_box.h"
#include "continuous_lists.h"
#include "decoder.h"
#include "stream_sources.h"
#include "pcm_stdout.h"
#include "stream_info.h"
#include "wav_writer.h"

namespace plyvane::cli {

namespace {

int Fail(const DecodeOptions& options, const std::string& why) {
    std::fprintf(stderr, "plyvane-cli: %s%s: %s\n", options.files.front().c_str(),
                 options.files.size() > 1 ? " ..." : "", why.c_str());
    return 1;
}

// The list of several files, registered while the decode runs.
struct ListRegistration {
    long handle = 0;
    ~ListRegistration() {
        if (handle != 0) ContinuousLists::Instance().Unregister(handle);
    }
};

// Closes the decoder's source when leaving, so the process-wide buffer never
// holds a source that has gone.
struct StreamGuard {
    BitstreamBuffer& stream;
    ~StreamGuard() {
        stream.Close();
        stream.Attach(nullptr);
    }
};

}  // namespace

int RunDecode(const DecodeOptions& options) {
    const bool toStdout = options.output == "-";
    std::string error;
    // Taken before the decoder can print anything.
    std::FILE* out = nullptr;
    if (toStdout && (out = TakeStdoutForPcm(error)) == nullptr) return Fail(options, error);

    ListRegistration list;
    std::string name = options.files.front();
    if (options.files.size() > 1) {
        list.handle = ContinuousLists::Instance().Register(options.files);
        name = ContinuousLists::ListName(list.handle);
    }
    if (options.files.size() > 1) {
        for (const std::string& file : options.files) {
            if (IsAddress(file)) {
                if (out != nullptr) std::fclose(out);
                return Fail(options, "an address is decoded alone, not in a list");
            }
        }
    }
    ConsoleMessageBox boxes;
    ScopedMessageBox installedBoxes(boxes);
    StreamSources sources;
    ByteSource& source = sources.For(name);
    if (!source.Open(name.c_str())) {
        if (out != nullptr) std::fclose(out);
        return Fail(options, "cannot open the file");
    }
    Decoder& decoder = TheDecoder();
    BitstreamBuffer& stream = decoder.Stream();
    stream.Attach(&source);
    StreamGuard guard{stream};
    stream.SetRefillPermitted(true);

    StreamInfo info;
    info.divisor = options.divisor;
    info.quality = options.quality;
    info.outputChannels = options.channels;
    info.bitsPerSample = options.bits;
    if (!decoder.OpenStream(info)) {
        if (out != nullptr) std::fclose(out);
        return Fail(options, decoder.LastError());
    }
    if (info.pcmBytesPerFrame <= 0) {
        if (out != nullptr) std::fclose(out);
        return Fail(options, "the decoder reported no PCM size");
    }

    // The output file is created only once the stream has opened.
    if (!toStdout && (out = std::fopen(options.output.c_str(), "wb")) == nullptr)
        return Fail(options, "cannot create '" + options.output + "': " + std::strerror(errno));

    PcmFormat format;
    format.sampleRate = static_cast<uint32_t>(info.outputSampleRate);
    format.channels = static_cast<uint16_t>(info.outputChannels);
    format.bitsPerSample = static_cast<uint16_t>(info.bitsPerSample);
    WavWriter writer;
    bool ok = writer.Begin(out, format, !toStdout);

    std::vector<uint8_t> pcm(static_cast<size_t>(info.pcmBytesPerFrame));
    uint64_t pcmBytes = 0;
    while (ok && decoder.DecodeFrame(pcm.data()) != 0) {
        uint32_t bytes = decoder.LastPcmBytes();
        if (bytes > pcm.size()) {
            std::fclose(out);
            return Fail(options, "the decoder wrote more than one PCM block");
        }
        ok = writer.Write(pcm.data(), bytes);
        pcmBytes += bytes;
    }
    if (ok) ok = writer.Finish();
    if (!ok) {
        std::fclose(out);
        return Fail(options, writer.Error());
    }
    if (std::fclose(out) != 0)
        return Fail(options, std::string("cannot write the output: ") + std::strerror(errno));
    // A stream that opens but yields not one sample is no success.
    if (pcmBytes == 0) {
        if (!toStdout) std::remove(options.output.c_str());
        return Fail(options, "no audio decoded");
    }
    return 0;
}

}  // namespace plyvane::cli
