// An engine on simulated time: a virtual wave device, the three refresh
// methods' timer and thread, an in-memory settings store, a message-box
// recorder and a notification queue, with helpers to configure the output,
// run playback for a while and see what was posted and played.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio_engine.h"
#include "memory_settings_store.h"
#include "notification_queue.h"
#include "recording_message_box.h"
#include "settings_store.h"
#include "simulated_clock.h"
#include "virtual_wave_device.h"

namespace plyvane {

// The committed test streams.
std::string StreamPath(const std::string& relative);

struct OutputChoice {
    int method = kMethodTimer;
    int buffers = 4;
    int framesPerBuffer = 4;
    int divisor = 1;
    int quality = 2;
    int channels = 2;
    int bits = 16;
    int device = kWaveMapper;
};

// What the engine would play: the whole source decoded in the chosen format,
// units that wrote nothing left out.
std::vector<uint8_t> DecodeAll(const std::string& name, const OutputChoice& output);

struct PostedEvent {
    uint32_t at = 0;          // simulated ms
    uint32_t id = 0;
    float position = 0.0f;    // the record's position when it was posted
    std::string title;
    uint64_t playedBytes = 0; // what the device had played by then
};

class EngineHarness {
public:
    EngineHarness();
    ~EngineHarness();

    void Configure(const OutputChoice& output);
    void Store(const char* name, uint32_t value);

    // OpenPlayback of a file (or "list:" name) through a file byte source.
    int Open(const std::string& name, int32_t intervalMs = 1000);
    int Open(ByteSource& source, const std::string& name, int32_t intervalMs = 1000);
    // Advances simulated time, recording what was posted.
    void Run(uint32_t milliseconds);
    // Runs until ID_PLAYBACK_ENDED (true) or the limit (false).
    bool RunUntilEnded(uint32_t limitMs) { return RunUntilPosted(ID_PLAYBACK_ENDED, limitMs); }
    // Runs until the command is posted once more (true) or the limit (false).
    bool RunUntilPosted(uint32_t id, uint32_t limitMs);

    int Count(uint32_t id) const;
    std::vector<PostedEvent> Events(uint32_t id) const;
    std::vector<std::string> MessageTexts() const;

    static WindowHandle Window() { return reinterpret_cast<WindowHandle>(static_cast<uintptr_t>(0x1234)); }

    SimulatedClock clock;
    VirtualWaveDevice device{clock};
    SimulatedTimer timer{clock};
    SimulatedThread thread{clock};
    NotificationQueue notifications;
    MemorySettingsStore store;
    RecordingMessageBox boxes;
    std::vector<PostedEvent> events;
    AudioEngine engine;

private:
    ScopedSettingsStore installedStore_{store};
    ScopedMessageBox installedBoxes_{boxes};
    FileByteSource source_;
    void Collect();
};

}  // namespace plyvane
