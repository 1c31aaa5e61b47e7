// The three refresh methods that call the refill step, and the end of
// playback they share.
#include <thread>

#include "audio_engine.h"

namespace plyvane {

namespace {
constexpr char kDeviceStopped[] =
    "The sound device stopped working. Playback was stopped; press Play to go on from there.";
}

bool AudioEngine::StartRefreshMethod() {
    switch (config_.PlaybackMethode) {
        case kMethodTimer: {
            ports_.timer.Stop();
            TimerCaps caps;
            bool started = ports_.timer.GetCaps(caps);
            if (started) {
                const uint32_t delay = refreshDelay_.load();
                uint32_t resolution = delay / 2;
                if (resolution < caps.periodMin) resolution = caps.periodMin;
                if (resolution > caps.periodMax) resolution = caps.periodMax;
                timerResolution_ = resolution;
                started = ports_.timer.Start(
                    delay, resolution, [](void* self) { static_cast<AudioEngine*>(self)->TimerStep(); }, this);
            }
            if (!started) ShowError(window_, "Can't launch audio multimedia timer!");
            return started;
        }
        case kMethodThread: {
            const bool started =
                ports_.thread.Start([](void* self) { static_cast<AudioEngine*>(self)->ThreadProcedure(); }, this);
            if (!started) ShowError(window_, "Can't launch audio thread!");
            return started;
        }
        default:
            return true;  // the device's callback drives the refill
    }
}

void AudioEngine::StopRefreshMethod() {
    switch (config_.PlaybackMethode) {
        case kMethodTimer: ports_.timer.Stop(); break;
        case kMethodThread: ports_.thread.Stop(); break;
        default: break;
    }
}

void AudioEngine::WaitForRefreshContext() {
    // After the end of a stream the refresh context may still be finishing
    // its last step (it posted the end before it let go of the lock).
    StopRefreshMethod();
    refillLock_.Take();
    refillLock_.Release();
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
    if (!refillLock_.TryTake()) return;
    if (RefillStep() == 0 || !active_.load()) EndOfPlayback();
    refillLock_.Release();
}

void AudioEngine::ThreadProcedure() {
    // The lock is held around every refill step; between steps the thread
    // sleeps (or, without a delay, only yields) with the lock free, so a seek
    // or a stop can take it. A stop request ends the thread without the end
    // of playback: the stop does that work itself.
    WorkerThread& thread = ports_.thread;
    auto stopRequested = [&thread] { return thread.StopRequested(); };
    if (!refillLock_.Take(stopRequested)) return;
    for (;;) {
        if (thread.StopRequested()) {
            refillLock_.Release();
            return;
        }
        if (RefillStep() == 0) break;
        refillLock_.Release();
        const uint32_t delay = refreshDelay_.load();
        if (delay != 0) {
            if (!thread.Sleep(delay)) return;
        } else {
            std::this_thread::yield();
        }
        if (!refillLock_.Take(stopRequested)) return;
    }
    EndOfPlayback();
    refillLock_.Release();
}

void AudioEngine::DeviceCallback(uint32_t message) {
    if (closing_.load() || !refillLock_.TryTake()) return;
    // Checked again under the lock: a stop may have begun in between.
    if (closing_.load() || !active_.load()) {
        refillLock_.Release();
        return;
    }
    if (message == kWomDone) {
        // A completion dropped while the lock was busy (a seek, the prefill)
        // would leave its block unfilled for good: refill every done block.
        int result;
        do {
            result = RefillStep();
        } while (result != 0 && refillActive_.load() && ring_.FirstDone() >= 0);
        if (result == 0) EndOfPlayback();
    }
    refillLock_.Release();
}

}  // namespace plyvane
