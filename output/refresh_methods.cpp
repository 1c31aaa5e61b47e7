// The three refresh methods that call the refill step, and the end of
// playback they share.
#include <thread>

#include "audio_engine.h"

namespace plyvane {

namespace {
constexpr char kDeviceStopped[] =
    "The sound device stopped working. Playback was stopped; press Play to go on from there.";
}

// Runs in the refresh context with the refill lock held.
void AudioEngine::EndOfPlayback() {
    if (deviceLost_.load()) {
        StopForLostDevice();
        return;
    }
    refillActive_ = false;
    paused_ = false;
    playing_ = false;
    if (config_.PlaybackMethode == kMethodTimer) ports_.timer.Stop();
    closing_ = true;
    ResetDevice(false);
    active_ = false;
    open_ = false;
    closing_ = false;
    if (window_ != nullptr) {
        {
            std::lock_guard<std::mutex> lock(infoMutex_);
            info_.position = info_.length < 0.0f ? info_.length : 0.0f;
        }
        // What the reset had to say is shown by the player's thread.
        if (failures_.Any()) Post(ID_PLAYBACK_FAILED);
        endPosted_ = true;
        Post(ID_PLAYBACK_ENDED);
    }
}

void AudioEngine::StopForLostDevice() {
    const float heard = CurrentPosition();
    refillActive_ = false;
    paused_ = false;
    playing_ = false;
    // From inside a timer step this only makes it the last; the player's
    // thread stops the thread method and closes the device (never from the
    // device's own callback).
    if (config_.PlaybackMethode == kMethodTimer) ports_.timer.Stop();
    closing_ = true;
    active_ = false;
    open_ = false;
    resumeAtMs_ = static_cast<int32_t>(heard);
    {
        std::lock_guard<std::mutex> lock(infoMutex_);
        info_.position = heard;
    }
    failures_.Add("%s", kDeviceStopped);
    Post(ID_PLAYBACK_FAILED);
}

void AudioEngine::TimerStep() {
    if (!TryTakeRefillLock()) return;
    if (RefillStep() == 0 || !active_.load()) EndOfPlayback();
    ReleaseRefillLock();
}

void AudioEngine::ThreadProcedure() {
    // The lock is held around every refill step; between steps the thread
    // sleeps (or, without a delay, only yields) with the lock free, so a seek
    // or a stop can take it. A stop request ends the thread without the end
    // of playback: the stop does that work itself.
    if (!TakeRefillLock(true)) return;
    for (;;) {
        if (ports_.thread.StopRequested()) {
            ReleaseRefillLock();
            return;
        }
        if (RefillStep() == 0) break;
        ReleaseRefillLock();
        const uint32_t delay = refreshDelay_.load();
        if (delay != 0) {
            if (!ports_.thread.Sleep(delay)) return;
        } else {
            std::this_thread::yield();
        }
        if (!TakeRefillLock(true)) return;
    }
    EndOfPlayback();
    ReleaseRefillLock();
}

void AudioEngine::DeviceCallback(uint32_t message) {
    if (closing_.load() || !TryTakeRefillLock()) return;
    // Checked again under the lock: a stop may have begun in between.
    if (closing_.load() || !active_.load()) {
        ReleaseRefillLock();
        return;
    }
    if (message == kWomDone) {
        // A completion dropped while the lock was busy (a seek, the prefill)
        // would leave its block unfilled for good: refill every done block.
        int result;
        do {
            result = RefillStep();
        } while (result != 0 && refillActive_.load() && AnyBlockDone());
        if (result == 0) EndOfPlayback();
    }
    ReleaseRefillLock();
}

}  // namespace plyvane
