// plyvane-cli play: plays files through the same engine, refresh methods and
// output settings as the player, with a one-line progress display and keys
// for pause, seek and stop. Several files play back to back: each run of
// files of the same kind of stream as one continuous list, as the player
// hands them over.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "audio_engine.h"
#include "commands.h"
#include "console_message_box.h"
#include "continuous_lists.h"
#include "stream_sources.h"
#include "memory_settings_store.h"
#include "message_box.h"
#include "notification_queue.h"
#include "output_settings.h"
#include "platform_ports.h"
#include "settings_store.h"
#include "terminal_keys.h"

namespace plyvane::cli {

namespace {

constexpr int32_t kNotifyIntervalMs = 1000;
constexpr uint32_t kSeekStepMs = 5000;
constexpr uint32_t kPollMs = 50;

std::atomic<bool> interrupted{false};

extern "C" void OnInterrupt(int) { interrupted = true; }

// A console tool has no one to click a box: every box is a line on stderr,
// and a question takes its first button.
std::string Clock(float milliseconds) {
    if (milliseconds < 0.0f) return "--:--";
    const auto seconds = static_cast<long>(milliseconds / 1000.0f);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", seconds / 60, seconds % 60);
    return text;
}

const char* MethodName(int method) {
    switch (method) {
        case kMethodTimer: return "Timer";
        case kMethodThread: return "Thread";
        default: return "Device";
    }
}

void Describe(const PlaybackInfo& info) {
    char bitrate[32] = "variable bit rate";
    if (info.bitratePerChannel != 0)
        std::snprintf(bitrate, sizeof bitrate, "%u kbit/s", info.bitratePerChannel * info.streamChannels);
    std::printf("Playing %s: MPEG-%u Layer %s, %u Hz, %s, %s; output %u Hz, %u bit, %s\n", info.title,
                info.version, info.layer == 3 ? "III" : "II", info.streamSampleRate,
                info.streamChannels == 1 ? "mono" : "two channels", bitrate, info.outputSampleRate, info.outputBits,
                info.outputChannels == 1 ? "mono" : "stereo");
    std::fflush(stdout);
}

class ProgressLine {
public:
    explicit ProgressLine(bool terminal) : terminal_(terminal) {}
    ~ProgressLine() { Finish(); }

    void Show(const PlaybackInfo& info) {
        if (!terminal_) return;
        std::fprintf(stderr, "\r  %s / %s%s   ", Clock(info.position).c_str(), Clock(info.length).c_str(),
                     info.paused ? "  [paused]" : "          ");
        std::fflush(stderr);
        shown_ = true;
    }
    void Finish() {
        if (shown_) std::fputc('\n', stderr);
        shown_ = false;
    }

private:
    bool terminal_;
    bool shown_ = false;
};

// Plays one source (a file or a list) to its end or until the user quits.
int Play(AudioEngine& engine, NotificationQueue& queue, const std::string& name, ByteSource& source,
         KeyReader& keys) {
    WindowHandle window = &queue;  // the notifications' address; any non-null token
    if (!engine.OpenPlayback(window, name.c_str(), &source, kNotifyIntervalMs)) return 1;
    Describe(engine.GetPlaybackInfo());
    if (!engine.StartPlayback()) {
        engine.ClosePlayback();
        return 1;
    }

    ProgressLine progress(ProgressIsTerminal());
    bool ended = false;
    while (!ended && !interrupted.load()) {
        Notification notification;
        if (queue.Wait(notification, kPollMs)) {
            if (notification.commandId == ID_PLAYBACK_ENDED) ended = true;
            if (notification.commandId == ID_PLAYBACK_NEXTFILE) {
                progress.Finish();
                Describe(engine.GetPlaybackInfo());
            }
        }
        const Key key = keys.Poll();
        switch (key) {
            case Key::kPause:
                if (engine.IsPaused()) {
                    engine.ResumePlayback();
                } else {
                    engine.PausePlayback();
                }
                break;
            case Key::kSeekBack:
            case Key::kSeekForward: {
                const auto position = static_cast<uint32_t>(engine.GetPlaybackInfo().position);
                if (key == Key::kSeekBack) {
                    engine.SeekPlayback(position > kSeekStepMs ? position - kSeekStepMs : 0);
                } else {
                    engine.SeekPlayback(position + kSeekStepMs);  // refused beyond the end
                }
                break;
            }
            case Key::kQuit: interrupted = true; break;
            case Key::kNone: break;
        }
        if (!ended) progress.Show(engine.GetPlaybackInfo());
    }
    progress.Finish();
    engine.StopPlayback(false);
    engine.ClosePlayback();
    return 0;
}

// What must match for files to play as one continuous list: the decoder
// takes a list for one stream, so layer, version, rate and channels stay.
bool SameStream(const PlaybackInfo& a, const PlaybackInfo& b) {
    return a.layer == b.layer && a.version == b.version && a.streamSampleRate == b.streamSampleRate &&
           a.streamChannels == b.streamChannels;
}

class SilentMessageBox : public MessageBoxPort {
public:
    MessageAnswer Show(WindowHandle, const char*, const char*, MessageButtons, MessageIcon) override {
        return MessageAnswer::kOk;
    }
};

// Consecutive files of the same kind of stream, each run played as one
// source; a file that cannot be read goes alone (and reports itself when its
// turn comes, so the probe keeps quiet).
std::vector<std::vector<std::string>> GroupFiles(AudioEngine& engine, const std::vector<std::string>& files,
                                                 MessageBoxPort& boxes) {
    SilentMessageBox silent;
    SetMessageBoxPort(&silent);
    std::vector<std::vector<std::string>> groups;
    PlaybackInfo last{};
    bool lastKnown = false;
    for (const std::string& file : files) {
        const PlaybackInfo* probe = files.size() > 1 ? engine.ProbeFileInfo(nullptr, file.c_str(), nullptr) : nullptr;
        if (probe != nullptr && lastKnown && SameStream(*probe, last)) {
            groups.back().push_back(file);
        } else {
            groups.push_back({file});
        }
        lastKnown = probe != nullptr;
        if (probe != nullptr) last = *probe;
    }
    SetMessageBoxPort(&boxes);
    return groups;
}

}  // namespace

int RunPlay(const PlayOptions& options) {
    // The output settings come from the command line, not from the player's
    // stored configuration, which stays untouched.
    MemorySettingsStore store;
    ScopedSettingsStore installedStore(store);
    ConsoleMessageBox boxes;
    ScopedMessageBox installedBoxes(boxes);
    SetOutputSettingsKey(kConfigurationKey);
    WriteOutputSettings(options.divisor, options.quality, options.channels, options.bits, options.buffers,
                        options.framesPerBuffer, options.method, options.device);

    interrupted = false;
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);

    NotificationQueue queue;
    PlatformPlaybackPorts ports = MakePlatformPlaybackPorts();
    StreamSources sources;
    int result = 0;
    {
        AudioEngine engine(ports.Ports(queue));
        std::printf("%s method, %d blocks of %d frames\n", MethodName(options.method), options.buffers,
                    options.framesPerBuffer);
        std::fflush(stdout);
        KeyReader keys;
        for (const auto& group : GroupFiles(engine, options.files, boxes)) {
            if (interrupted.load()) break;
            long list = 0;
            std::string name = group.front();
            if (group.size() > 1) {
                list = ContinuousLists::Instance().Register(group);
                name = ContinuousLists::ListName(list);
            }
            result |= Play(engine, queue, name, sources.For(name), keys);
            if (list != 0) ContinuousLists::Instance().Unregister(list);
        }
        engine.ShutdownPlayback();
    }
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    return result;
}

}  // namespace plyvane::cli
