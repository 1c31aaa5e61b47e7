// The wave output side of the engine: opening the device, and the device
// reset and close with their bounded retries.
#include "audio_engine.h"

namespace plyvane {

namespace {

constexpr char kAudioCaption[] = "Plyvane audio playback";
constexpr int kAttempts = 10;
// Short waits: a stop on the player's thread must not freeze the window for
// seconds on a device that keeps a block.
constexpr uint32_t kRetryDelayMs = 50;

}  // namespace

bool AudioEngine::OpenDevice() {
    WaveCallback callback = nullptr;
    if (config_.PlaybackMethode == kMethodDevice)
        callback = [](void* self, uint32_t message) { static_cast<AudioEngine*>(self)->DeviceCallback(message); };
    const WaveResult result = ports_.device.Open(config_.WaveOutDevice, format_, callback, this);
    if (result != kWaveOk) {
        ReportOpenFailure(result);
        return false;
    }
    openedWithCallback_ = callback != nullptr;
    return true;
}

void AudioEngine::ReadDeviceVolume() {
    uint32_t packed = 0;
    if (ports_.device.GetVolume(packed) == kWaveOk) {
        volumeLeft_ = LeftVolume(packed);
        volumeRight_ = RightVolume(packed);
    }
    std::lock_guard<std::mutex> lock(infoMutex_);
    info_.deviceHandle = ports_.device.Handle();
}

void AudioEngine::ReportOpenFailure(WaveResult result) {
    const int id = config_.WaveOutDevice;
    switch (result) {
        case kWaveBadDeviceId:
            ShowError(window_, "Invalid WaveOut-device ID %d!", id);
            ShowError(window_, "%s", kNoWaveDeviceMessage);
            break;
        case kWaveAllocated:
            ShowWarning(window_, kAudioCaption, "Your wave audio device is in use by another application.");
            ShowError(window_, "%s", kNoWaveDeviceMessage);
            break;
        case kWaveNoMemory:
            ShowError(window_, "No memory left to open WaveOut-device %d!", id);
            ShowError(window_, "%s", kNoWaveDeviceMessage);
            break;
        case kWaveBadFormat:
            ShowWarning(window_, kAudioCaption,
                        "You WaveOut-audio-device %d is not capable of playing sounds at %dHz %dbit %s.\n"
                        "Press OK to search for other WaveOut-devices.",
                        id, static_cast<int>(format_.samplesPerSecond), static_cast<int>(format_.bitsPerSample),
                        format_.channels == 2 ? "stereo" : "mono");
            ShowError(window_, "%s", kNoWaveDeviceMessage);
            break;
        case kWaveSync:
            ShowError(window_, "No SYNC specified.");
            break;
        default:
            ShowError(window_, "Unkown audio error.");
            break;
    }
}

void AudioEngine::UnprepareBlocks() {
    // Once one block stayed in the queue through every retry the device is
    // stuck: the others get one try each, so a stop never waits long.
    bool stuck = false;
    for (int i = 0; i < ring_.Count(); ++i) {
        WaveBlock& block = ring_[i];
        for (int attempt = 1;; ++attempt) {
            const WaveResult result = ports_.device.Unprepare(block);
            if (result == kWaveInvalidHandle) {
                failures_.Add("Invalid audio handle for unprepare header!");
            } else if (result == kWaveHandleBusy) {
                failures_.Add("Audio handle is in use by another thread!");
            } else if (result == kWaveStillPlaying) {
                if (!stuck) ports_.clock.Sleep(kRetryDelayMs);
                if (!stuck && attempt < kAttempts) continue;
                stuck = true;
                failures_.Add("Audio block %d is still in the playback queue!", i);
            }
            break;
        }
    }
}

bool AudioEngine::CloseDevice() {
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        const WaveResult result = ports_.device.Close();
        if (result == kWaveOk) {
            ring_.FreeRetired();
            openedWithCallback_ = false;
            return true;
        }
        if (result == kWaveInvalidHandle) {
            failures_.Add("Invalid audio handle for close device!");
            ring_.SetPrepared(false);
            // A handle the system does not know is of no use any more.
            deviceLost_ = true;
            return false;
        }
        if (result == kWaveStillPlaying) {
            ports_.clock.Sleep(kRetryDelayMs);
            if (attempt == kAttempts) {
                failures_.Add("Audio is still playing. Reset failed!");
                ring_.SetPrepared(false);
                return false;
            }
        }
    }
    // Any other answer ten times over: the device counts as closed, so it
    // is given up for good rather than kept in its old format.
    deviceLost_ = true;
    return true;
}

void AudioEngine::AbandonDevice() {
    closeLock_.Take();
    if (ports_.device.IsOpen()) {
        ports_.device.Reset();
        // The device may still hold the blocks: never free them under it.
        ring_.Retire();
        ports_.device.Abandon();
    }
    ring_.SetPrepared(false);
    blocksQueued_ = 0;
    openedWithCallback_ = false;
    {
        std::lock_guard<std::mutex> lock(infoMutex_);
        info_.deviceHandle = 0;
    }
    closeLock_.Release();
}

bool AudioEngine::ForgetLostDevice() {
    if (!deviceLost_.load()) return false;
    // Nothing may run a refill step on the ring while it is retired.
    WaitForRefreshContext();
    AbandonDevice();
    deviceLost_ = false;
    return true;
}

int AudioEngine::ResetDevice(bool close) {
    closeLock_.Take();
    auto release = [this] { closeLock_.Release(); };

    WaveOutDevice& device = ports_.device;
    if (device.IsOpen()) {
        uint32_t packed = 0;
        if (device.GetVolume(packed) == kWaveOk) {
            std::lock_guard<std::mutex> lock(infoMutex_);
            info_.volumeLeft = LeftVolume(packed);
            info_.volumeRight = RightVolume(packed);
        }
        const WaveResult reset = device.Reset();
        if (reset != kWaveOk) {
            // The device may still hold the blocks: do not free them under it.
            ring_.Retire();
            // Any failure but "still playing" means the device no longer
            // works: the player's thread closes it for good, and the next
            // start or open opens a fresh one.
            if (reset != kWaveStillPlaying) deviceLost_ = true;
            if (reset == kWaveInvalidHandle) {
                failures_.Add("Invalid audio handle for reset!");
                release();
                return 0;
            }
        } else {
            if (ring_.Prepared()) UnprepareBlocks();
            if (close && !CloseDevice()) {
                release();
                return 0;
            }
        }
    }
    if (ring_.Prepared()) ring_.Free();
    ring_.SetPrepared(false);
    blocksQueued_ = 0;
    release();
    return 1;
}

}  // namespace plyvane
