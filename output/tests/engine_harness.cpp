#include "engine_harness.h"

#include "bitstream_buffer.h"
#include "decoder.h"
#include "file_byte_source.h"
#include "output_settings.h"

namespace plyvane {

std::string StreamPath(const std::string& relative) {
    return std::string(PLYVANE_SOURCE_DIR) + "/tests/data/" + relative;
}

std::vector<uint8_t> DecodeAll(const std::string& name, const OutputChoice& output) {
    std::vector<uint8_t> pcm;
    FileByteSource source;
    Decoder& decoder = TheDecoder();
    BitstreamBuffer& stream = decoder.Stream();
    stream.Attach(&source);
    if (stream.Open(name.c_str())) {
        stream.SetRefillPermitted(true);
        StreamInfo info;
        info.divisor = output.divisor;
        info.quality = output.quality;
        info.outputChannels = output.channels;
        info.bitsPerSample = output.bits;
        if (decoder.OpenStream(info)) {
            std::vector<uint8_t> frame(static_cast<size_t>(info.pcmBytesPerFrame));
            while (decoder.DecodeFrame(frame.data()) != 0)
                pcm.insert(pcm.end(), frame.begin(), frame.begin() + decoder.LastPcmBytes());
        }
    }
    stream.Close();
    stream.Attach(nullptr);
    return pcm;
}

EngineHarness::EngineHarness()
    : engine(EnginePorts{device, device, timer, thread, clock, notifications}) {
    SetOutputSettingsKey(kConfigurationKey);
}

EngineHarness::~EngineHarness() { engine.ClosePlayback(); }

void EngineHarness::Store(const char* name, uint32_t value) { store.WriteDword(kConfigurationKey, name, value); }

void EngineHarness::Configure(const OutputChoice& output) {
    Store("PlaybackMethode", static_cast<uint32_t>(output.method));
    Store("Buffers", static_cast<uint32_t>(output.buffers));
    Store("FramesPerBuffer", static_cast<uint32_t>(output.framesPerBuffer));
    Store("FrequencyDivisor", static_cast<uint32_t>(output.divisor));
    Store("Quality", static_cast<uint32_t>(output.quality));
    Store("Channels", static_cast<uint32_t>(output.channels));
    Store("BitsPerSample", static_cast<uint32_t>(output.bits));
    Store("WaveOutDevice", static_cast<uint32_t>(output.device));
}

int EngineHarness::Open(const std::string& name, int32_t intervalMs) {
    return engine.OpenPlayback(Window(), name.c_str(), &source_, intervalMs);
}

int EngineHarness::Open(ByteSource& source, const std::string& name, int32_t intervalMs) {
    return engine.OpenPlayback(Window(), name.c_str(), &source, intervalMs);
}

void EngineHarness::Collect() {
    Notification notification;
    while (notifications.TryTake(notification)) {
        PostedEvent event;
        event.at = clock.Now();
        event.id = notification.commandId;
        // Every refresh context is quiet between two milliseconds, so the
        // record can be read in place, as the player window does.
        const auto* info = static_cast<const PlaybackInfo*>(notification.record);
        event.position = info->position;
        event.title = info->title;
        event.playedBytes = device.PlayedBytes();
        events.push_back(event);
    }
}

void EngineHarness::Run(uint32_t milliseconds) {
    Collect();
    for (uint32_t i = 0; i < milliseconds; ++i) {
        clock.Advance(1);
        Collect();
    }
}

bool EngineHarness::RunUntilPosted(uint32_t id, uint32_t limitMs) {
    Collect();
    const int before = Count(id);
    for (uint32_t i = 0; i < limitMs; ++i) {
        clock.Advance(1);
        Collect();
        if (Count(id) > before) return true;
    }
    return false;
}

int EngineHarness::Count(uint32_t id) const {
    int count = 0;
    for (const auto& event : events) count += event.id == id ? 1 : 0;
    return count;
}

std::vector<PostedEvent> EngineHarness::Events(uint32_t id) const {
    std::vector<PostedEvent> selected;
    for (const auto& event : events)
        if (event.id == id) selected.push_back(event);
    return selected;
}

std::vector<std::string> EngineHarness::MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& message : boxes.Messages()) texts.push_back(message.caption + ": " + message.text);
    return texts;
}

}  // namespace plyvane
