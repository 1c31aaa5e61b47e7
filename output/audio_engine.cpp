// The engine's operations for the player: open, start, stop, close, pause,
// volume, the record and the probe.
#include "audio_engine.h"

#include <string>

#include "bitstream_buffer.h"
#include "playback_record.h"

namespace plyvane {

namespace {

constexpr char kPlaybackRunning[] = "Another audio playback thread is already running!";
constexpr char kFileMissing[] = "File %s does not exist!";

}  // namespace

AudioEngine::AudioEngine(const EnginePorts& ports, Decoder& decoder) : ports_(ports), decoder_(decoder) {}

AudioEngine::~AudioEngine() {
    StopPlayback(true);
    WaitForRefreshContext();
    ForgetLostDevice();
    // A stop that found no open stream leaves the device as it was.
    if (ports_.device.IsOpen()) ResetDevice(true);
    ForgetLostDevice();
    ring_.Free();
    // Blocks a closed device held can go; an open one may still hold them.
    if (!ports_.device.IsOpen()) ring_.FreeRetired();
}

void AudioEngine::Post(uint32_t commandId) { ports_.notifications.Post(window_, commandId, &info_); }

void AudioEngine::ShowPendingFailures() {
    char text[512];
    while (failures_.Take(text, sizeof text)) ShowError(window_, "%s", text);
}

bool AudioEngine::ClaimPlaybackEnd() { return endPosted_.exchange(false); }

int AudioEngine::OpenPlayback(WindowHandle window, const char* name, ByteSource* source, int32_t intervalMs) {
    if (name == nullptr) return 0;
    if (open_.load()) {
        ShowError(window, kPlaybackRunning);
        return 0;
    }
    WaitForRefreshContext();
    ++generation_;
    endPosted_ = false;
    producedSound_ = false;
    paused_ = false;
    resumeAtMs_ = -1;
    open_ = true;
    const int opened = OpenStreamForPlayback(window, name, source, intervalMs);
    if (!opened) {
        open_ = false;
        active_ = false;
    }
    ShowPendingFailures();
    return opened;
}

int AudioEngine::OpenStreamForPlayback(WindowHandle window, const char* name, ByteSource* source,
                                       int32_t intervalMs) {
    const std::string givenName = name;  // name may point into sourceName_
    window_ = window;  // the owner of every box from here on
    config_ = ReadOutputSettings();
    if (!ValidateOutputSettings(config_, ports_.catalog, window)) return 0;

    BitstreamBuffer& stream = decoder_.Stream();
    if (source != nullptr) stream.Attach(source);
    if (!stream.Open(givenName.c_str())) {
        const char* reported = stream.Source() != nullptr ? stream.Source()->Name() : "";
        ShowError(window, kFileMissing, reported != nullptr ? reported : "");
        return 0;
    }

    stream_ = StreamInfo{};
    stream_.divisor = config_.FrequencyDivisor;
    stream_.quality = config_.Quality;
    stream_.outputChannels = config_.Channels;
    stream_.bitsPerSample = config_.BitsPerSample;
    stream_.outputSampleRate = 0;
    stream_.pcmBytesPerFrame = 0;
    stream_.bitratePerChannel = 0;
    stream.SetRefillPermitted(true);
    if (!decoder_.OpenStream(stream_)) {
        ShowError(window, "%s", decoder_.LastError());
        return 0;
    }

    // Keep the device when the format and the way it reports played blocks
    // are the same; otherwise close it. (Only the Device method has the
    // device call back: a device opened without cannot drive it.)
    const WaveFormat format = MakePcmFormat(static_cast<uint32_t>(stream_.outputSampleRate),
                                            static_cast<uint16_t>(stream_.outputChannels),
                                            static_cast<uint16_t>(config_.BitsPerSample));
    const bool wantCallback = config_.PlaybackMethode == kMethodDevice;
    ForgetLostDevice();
    if (ports_.device.IsOpen() && (!SamePlaybackFormat(format_, format) || openedWithCallback_ != wantCallback)) {
        ResetDevice(true);
        ForgetLostDevice();
        ShowPendingFailures();
        // A device that would not close would play the new stream in the
        // old format: give up the open instead.
        if (ports_.device.IsOpen()) return 0;
        std::lock_guard<std::mutex> lock(infoMutex_);
        info_.deviceHandle = 0;
    }
    format_ = format;
    pcmFrameBytes_ = static_cast<uint32_t>(stream_.pcmBytesPerFrame);

    {
        std::lock_guard<std::mutex> lock(infoMutex_);
        DescribeStreamAndOutput(info_, stream_, config_.BitsPerSample, config_.Quality);
    }

    msPerFrame_ = static_cast<float>(stream_.samplesPerFrame) * 1000.0f / static_cast<float>(stream_.sampleRate);
    blockDuration_ = static_cast<int32_t>(static_cast<float>(config_.FramesPerBuffer) * msPerFrame_);
    framesPerNotification_ =
        intervalMs < 1 ? 0
                       : static_cast<int32_t>(static_cast<double>(intervalMs) * stream_.sampleRate /
                                              (static_cast<double>(stream_.samplesPerFrame) * 1000.0));

    if (!ports_.device.IsOpen() && !OpenDevice()) return 0;
    ReadDeviceVolume();
    intervalMs_ = intervalMs;
    sourceName_ = givenName;
    haveSource_ = true;
    return 1;
}

int AudioEngine::StartPlayback() {
    endPosted_ = false;
    if (!open_.load() && haveSource_) {
        const uint16_t left = volumeLeft_;
        const uint16_t right = volumeRight_;
        const int32_t resumeAt = resumeAtMs_.load();
        const std::string name = sourceName_;
        if (!OpenPlayback(window_, name.c_str(), nullptr, intervalMs_)) return 0;
        if (left != volumeLeft_ || right != volumeRight_) {
            if (ports_.device.SetVolume(PackVolume(left, right)) == kWaveOk) {
                volumeLeft_ = left;
                volumeRight_ = right;
            }
        }
        // After the device stopped working, play on from where it was heard.
        if (resumeAt > 0) SeekPlayback(static_cast<uint32_t>(resumeAt));
    }
    // A paused stream resumes without refilling. (Checked before the
    // playing flag, which a paused stream still has set.)
    if (paused_.load() && playing_.load()) {
        paused_ = false;
        ports_.device.Restart();
        return 1;
    }
    if (playing_.load() || active_.load() || !open_.load()) return 0;

    closing_ = false;
    paused_ = false;
    playing_ = true;
    active_ = true;
    const uint32_t generation = generation_.load();
    if (!PrefillRing()) {
        // A stop or an open from inside the performance box has already
        // ended this start (and may have begun another): leave it alone.
        if (generation != generation_.load()) return 0;
        if (deviceLost_.load()) {
            refillLock_.Take();
            StopForLostDevice();
            refillLock_.Release();
            ForgetLostDevice();
            ShowPendingFailures();
            return 0;
        }
        StopPlayback(false);
        playing_ = false;
        active_ = false;
        open_ = false;
        ShowPendingFailures();
        return 0;
    }

    const bool started = StartRefreshMethod();
    if (!started) {
        // Without a refresh method the ring would play once and stall with the
        // player showing "playing": stop cleanly instead.
        StopPlayback(false);
        return 0;
    }
    ShowPendingFailures();
    return 1;
}

int AudioEngine::HaltAndReset(bool close) {
    refillActive_ = false;
    paused_ = false;
    playing_ = false;
    // A refill step waiting for a stalled server must not hold the stop up.
    if (ByteSource* source = decoder_.Stream().Source()) source->Interrupt();
    StopRefreshMethod();
    closing_ = true;
    // A refill step that is still running (the device callback, or an end of
    // playback in the refresh context) finishes before the ring goes.
    refillLock_.Take();
    const int reset = ResetDevice(close);
    refillLock_.Release();
    return reset;
}

int AudioEngine::StopPlayback(bool close) {
    ++generation_;
    // An end posted just before this stop belongs to the stream stopped.
    endPosted_ = false;
    if (!open_.load()) {
        // The device may have stopped working since: free it for the next
        // start.
        ForgetLostDevice();
        return 0;
    }
    const int reset = HaltAndReset(close);
    // A device closed for good leaves nothing open to retry the stop on.
    const bool lost = ForgetLostDevice();
    if (reset || lost) {
        active_ = false;
        open_ = false;
        if (close || lost) {
            std::lock_guard<std::mutex> lock(infoMutex_);
            info_.deviceHandle = 0;
        }
        if (reset) closing_ = false;
    }
    ShowPendingFailures();
    return reset;
}

void AudioEngine::ClearInfoKeepingVolume() {
    std::lock_guard<std::mutex> lock(infoMutex_);
    const uint16_t left = info_.volumeLeft;
    const uint16_t right = info_.volumeRight;
    info_ = PlaybackInfo{};
    info_.volumeLeft = left;
    info_.volumeRight = right;
}

int AudioEngine::ClosePlayback() {
    ++generation_;
    endPosted_ = false;
    if (open_.load()) {
        if (HaltAndReset(false)) closing_ = false;
    } else {
        WaitForRefreshContext();
    }
    paused_ = false;
    ForgetLostDevice();
    resumeAtMs_ = -1;
    // The boxes still have the player window to belong to.
    ShowPendingFailures();
    sourceName_.clear();
    haveSource_ = false;
    window_ = nullptr;
    active_ = false;
    open_ = false;
    ClearInfoKeepingVolume();
    // The caller may destroy its source now: the decoder must not keep it.
    decoder_.Stream().Close();
    decoder_.Stream().Attach(nullptr);
    return 1;
}

int AudioEngine::ShutdownPlayback() {
    ClosePlayback();
    if (ports_.device.IsOpen()) ResetDevice(true);
    ForgetLostDevice();
    ShowPendingFailures();
    decoder_.ReleaseTables();
    return 1;
}

int AudioEngine::PausePlayback() {
    if (!playing_.load()) return 0;
    paused_ = true;
    // The end of playback clears both flags, playing first: if it came in
    // between, the pause is too late and must not stay behind.
    if (!playing_.load()) {
        paused_ = false;
        return 0;
    }
    ports_.device.Pause();
    return 1;
}

int AudioEngine::ResumePlayback() {
    if (!paused_.load() || !playing_.load()) return 0;
    paused_ = false;
    ports_.device.Restart();
    return 1;
}

int AudioEngine::SetPlaybackVolume(uint16_t left, uint16_t right) {
    if (!open_.load()) return 0;
    if (ports_.device.SetVolume(PackVolume(left, right)) != kWaveOk) return 0;
    volumeLeft_ = left;
    volumeRight_ = right;
    return 1;
}

int AudioEngine::GetPlaybackVolume(uint16_t& left, uint16_t& right) {
    uint32_t packed = 0;
    if (ports_.device.GetVolume(packed) != kWaveOk) return 0;
    left = LeftVolume(packed);
    right = RightVolume(packed);
    return 1;
}

PlaybackInfo AudioEngine::GetPlaybackInfo() {
    const float position = CurrentPosition();
    std::lock_guard<std::mutex> lock(infoMutex_);
    info_.position = ClampedToLength(position, info_.length);
    info_.playing = playing_.load() ? 1 : 0;
    info_.paused = paused_.load() ? 1 : 0;
    return info_;
}

void AudioEngine::UpdateOutputFormat(const OutputSettings& settings) {
    if (playing_.load()) return;
    std::lock_guard<std::mutex> lock(infoMutex_);
    info_.outputChannels = static_cast<uint16_t>(settings.Channels);
    info_.outputBits = static_cast<uint16_t>(settings.BitsPerSample);
    info_.quality = static_cast<uint16_t>(settings.Quality);
    if (settings.FrequencyDivisor > 0)
        info_.outputSampleRate = static_cast<uint16_t>(info_.streamSampleRate / settings.FrequencyDivisor);
}

const PlaybackInfo* AudioEngine::ProbeFileInfo(WindowHandle owner, const char* name, ByteSource* source) {
    BitstreamBuffer buffer(8192, 1152);
    probeInfo_ = PlaybackInfo{};
    if (name == nullptr) return nullptr;
    ByteSource* reader = source != nullptr ? source : &probeSource_;
    buffer.Attach(reader);
    if (!buffer.Open(name)) {
        const char* reported = reader->Name();
        ShowError(owner, kFileMissing, reported != nullptr ? reported : "");
        return nullptr;
    }
    buffer.SetRefillPermitted(true);
    StreamInfo probe;
    probe.divisor = 1;
    probe.quality = 1;
    probe.outputChannels = 2;
    probe.bitsPerSample = 16;
    if (!decoder_.ProbeStream(probe, buffer)) {
        ShowError(owner, "%s", decoder_.LastError());
        probeInfo_ = PlaybackInfo{};
        return nullptr;  // the buffer closes the source as it goes
    }
    DescribeStreamAndOutput(probeInfo_, probe, 16, 1);
    buffer.Close();
    return &probeInfo_;
}

}  // namespace plyvane
