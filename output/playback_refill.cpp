// Filling the ring: the prefill at start, the refill step of the refresh
// methods, the seek, and the notifications they post.
#include "audio_engine.h"
#include "performance_check.h"
#include "playback_record.h"

namespace plyvane {

namespace {

constexpr uint32_t kSeekSettleMs = 50;
// Room after the frames of a block, as the ring has always had.
constexpr uint32_t kBlockSlack = 8;
// How much longer than the whole ring a device may keep every block before
// it counts as lost (a sound server that dropped our stream returns none).
constexpr uint32_t kStallGraceMs = 4000;

}  // namespace

// A block the device refuses for any reason but "still playing" means the
// device no longer works.
bool AudioEngine::QueueFailed(WaveResult result) {
    if (result == kWaveOk || result == kWaveStillPlaying) return false;
    deviceLost_ = true;
    return true;
}

void AudioEngine::QueueBlock(WaveBlock& block) { QueueFailed(ports_.device.Write(block)); }

bool AudioEngine::DeviceStalled() {
    const uint32_t now = ports_.clock.TickCount();
    if (paused_.load()) {
        lastProgressTick_ = now;
        return false;
    }
    const uint32_t limit = static_cast<uint32_t>(config_.Buffers * blockDuration_) + kStallGraceMs;
    if (now - lastProgressTick_ <= limit) return false;
    deviceLost_ = true;
    return true;
}

void AudioEngine::NotifyIfDue() {
    if (countdown_ > 0) return;
    while (framesPerNotification_ != 0) {
        countdown_ += framesPerNotification_;
        const float position = CurrentPosition();
        {
            std::lock_guard<std::mutex> lock(infoMutex_);
            info_.position = ClampedToLength(position, info_.length);
        }
        Post(ID_PLAYBACK_POSITION);
        if (countdown_ > 0) break;
    }
}

float AudioEngine::CurrentPosition() const {
    if (!active_.load()) return 0.0f;
    const int64_t frames = static_cast<int64_t>(decodedFrame_.load()) -
                           static_cast<int64_t>(config_.FramesPerBuffer) * blocksQueued_.load();
    return frames > 0 ? static_cast<float>(frames) * msPerFrame_ : 0.0f;
}

// Decodes up to FramesPerBuffer frames into a cleared block. False when the
// stream ended inside it (the block holds what was decoded before).
bool AudioEngine::FillBlock(WaveBlock& block) {
    ring_.Clear(block, config_.BitsPerSample == 8 ? 0x80 : 0);
    for (int frame = 0; frame < config_.FramesPerBuffer; ++frame) {
        const uint32_t n = decoder_.DecodeFrame(block.data + block.length);
        if (n == 0) return false;
        // A list source that began its next file restarts the numbering (the
        // first frame after a start or a seek only sets where we are).
        if (n == 1 && decodedFrame_.load() > 0 && !firstFrameAfterStart_ && !nextFilePending_) {
            nextFilePending_ = true;
            countdown_ = framesPerNotification_;
        }
        firstFrameAfterStart_ = false;
        decodedFrame_ = n;
        // A Layer III unit whose main data has not arrived writes nothing.
        block.length += decoder_.LastPcmBytes();
        if (block.length != 0) producedSound_ = true;
    }
    return true;
}

int AudioEngine::FillRing(uint32_t& decodeTicks) {
    RaisedThreadPriority priority;
    for (int i = 0; i < ring_.Count(); ++i) {
        WaveBlock& block = ring_[i];
        const uint32_t start = ports_.clock.TickCount();
        if (!FillBlock(block)) return i;
        decodeTicks += ports_.clock.TickCount() - start;
        ++blocksQueued_;
        ports_.device.Prepare(block);
    }
    ring_.SetPrepared(true);
    return -1;
}

void AudioEngine::QueueRing(int last, bool pauseAfterFirst) {
    for (int i = 0; i <= last && !deviceLost_.load(); ++i) {
        QueueBlock(ring_[i]);
        // A paused stream stays paused at its new position.
        if (i == 0 && pauseAfterFirst) ports_.device.Pause();
        countdown_ -= config_.FramesPerBuffer;
        NotifyIfDue();
    }
}

void AudioEngine::QueueShortRing(int last, bool pauseAfterFirst) {
    ports_.device.Prepare(ring_[last]);
    refillActive_ = false;
    ++blocksQueued_;
    ring_.SetPrepared(true);
    QueueRing(last, pauseAfterFirst);
}

uint32_t AudioEngine::ComputeRefreshDelay(uint32_t measured) const {
    switch (config_.PlaybackMethode) {
        case kMethodTimer: return blockDuration_ / 4 > 0 ? static_cast<uint32_t>(blockDuration_ / 4) : 1;
        case kMethodThread: {
            const int32_t spare = static_cast<int32_t>(static_cast<float>(blockDuration_) * 0.95f) -
                                  static_cast<int32_t>(measured);
            if (spare < 0) return 0;
            const int32_t delay = spare / 4;
            return delay < 5 || delay > blockDuration_ ? 0 : static_cast<uint32_t>(delay);
        }
        default: return static_cast<uint32_t>(blockDuration_);
    }
}

int AudioEngine::PrefillRing() {
    // The device callback stays out while the ring is built.
    refillLock_.Take();
    ports_.device.Reset();
    // A pause that came too late for the end of the last playback must not
    // hold this one.
    ports_.device.Restart();
    countdown_ = framesPerNotification_;
    blocksQueued_ = 0;
    nextFilePending_ = false;
    firstFrameAfterStart_ = true;
    const uint32_t capacity = static_cast<uint32_t>(config_.FramesPerBuffer) * pcmFrameBytes_ + kBlockSlack;
    if (!ring_.Allocate(config_.Buffers, capacity)) {
        failures_.Add("No memory left to open WaveOut-device %d!", config_.WaveOutDevice);
        refillLock_.Release();
        return 0;
    }

    uint32_t decodeTicks = 0;
    const int shortBlock = FillRing(decodeTicks);
    if (shortBlock >= 0) {
        // Too short to fill the ring: no timing, no warning.
        refreshDelay_ = ComputeRefreshDelay(0);
        QueueShortRing(shortBlock, false);
        lastProgressTick_ = ports_.clock.TickCount();
        refillLock_.Release();
        return deviceLost_.load() ? 0 : 1;
    }

    measuredTimePerBlock_ = plyvane::MeasuredTimePerBlock(decodeTicks, config_.Buffers);
    // The box's message loop may stop playback or open another stream: it
    // is shown without the lock, and a start overtaken meanwhile ends here.
    const uint32_t generation = generation_.load();
    refillLock_.Release();
    const PerformanceVerdict verdict = RunPerformanceCheck(window_, blockDuration_, measuredTimePerBlock_);
    if (verdict == PerformanceVerdict::kCancel || generation != generation_.load()) return 0;
    refillLock_.Take();
    if (generation != generation_.load()) {
        refillLock_.Release();
        return 0;
    }
    refreshDelay_ = ComputeRefreshDelay(measuredTimePerBlock_);
    QueueRing(ring_.Count() - 1, false);
    refillActive_ = true;
    lastProgressTick_ = ports_.clock.TickCount();
    refillLock_.Release();
    return deviceLost_.load() ? 0 : 1;
}

void AudioEngine::UpdateInfoForNextFile() {
    StreamInfo current;
    if (!decoder_.RefreshStreamInfo(current)) {
        // Shown by the player's thread: this is the refresh context.
        failures_.Add("%s", decoder_.LastError());
        Post(ID_PLAYBACK_FAILED);
        return;
    }
    std::lock_guard<std::mutex> lock(infoMutex_);
    DescribeStream(info_, current);
}

int AudioEngine::RefillStep() {
    const int framesPerBuffer = config_.FramesPerBuffer;
    if (!refillActive_.load()) {
        // Draining: count the blocks that have played.
        if (blocksQueued_.load() == 0) return 0;
        bool progress = false;
        for (int i = 0; i < ring_.Count(); ++i) {
            WaveBlock& block = ring_[i];
            if (!ports_.device.IsDone(block)) continue;
            --blocksQueued_;
            ports_.device.ClearDone(block);
            countdown_ -= framesPerBuffer;
            NotifyIfDue();
            progress = true;
        }
        if (progress) {
            lastProgressTick_ = ports_.clock.TickCount();
        } else if (DeviceStalled()) {
            return 0;
        }
        return blocksQueued_.load() > 0 ? 1 : 0;
    }

    const int index = ring_.FirstDone();
    if (index < 0) return DeviceStalled() ? 0 : 1;
    lastProgressTick_ = ports_.clock.TickCount();

    WaveBlock& block = ring_[index];
    const uint32_t queuedFrames = static_cast<uint32_t>(framesPerBuffer * blocksQueued_.load());
    block.length = 0;
    for (int frame = 0; frame < framesPerBuffer; ++frame) {
        const uint32_t n = decoder_.DecodeFrame(block.data + block.length);
        if (n == 0) {
            if (block.length != 0) producedSound_ = true;
            if (QueueFailed(ports_.device.Write(block))) return 0;
            refillActive_ = false;
            countdown_ -= frame;
            NotifyIfDue();
            return 1;
        }
        if (n > queuedFrames) {
            if (nextFilePending_) {
                UpdateInfoForNextFile();
                Post(ID_PLAYBACK_NEXTFILE);
                nextFilePending_ = false;
            }
            decodedFrame_ = n;
        } else if (n == 1 && decodedFrame_.load() > 0) {
            nextFilePending_ = true;
            countdown_ = framesPerNotification_;
        }
        block.length += decoder_.LastPcmBytes();
    }
    if (block.length != 0) producedSound_ = true;
    if (QueueFailed(ports_.device.Write(block))) return 0;
    refillActive_ = true;
    countdown_ -= framesPerBuffer;
    NotifyIfDue();
    return 1;
}

int AudioEngine::SeekPlayback(uint32_t milliseconds) {
    float length;
    {
        std::lock_guard<std::mutex> lock(infoMutex_);
        length = info_.length;
    }
    // Compared unsigned: an unknown length (-1) allows every position.
    if (milliseconds >= static_cast<uint32_t>(static_cast<int32_t>(length))) return 0;

    refillLock_.Take();
    auto seekDecoder = [this, milliseconds] {
        if (decoder_.RequestSeek(static_cast<int32_t>(milliseconds)) && msPerFrame_ > 0.0f)
            decodedFrame_ = static_cast<uint32_t>(static_cast<float>(milliseconds) / msPerFrame_);
        countdown_ = framesPerNotification_ != 0
                         ? static_cast<int32_t>(decodedFrame_.load() % static_cast<uint32_t>(framesPerNotification_))
                         : 0;
    };
    if (!playing_.load() || !ports_.device.IsOpen()) {
        seekDecoder();
        refillLock_.Release();
        return 1;
    }

    const WaveResult reset = ports_.device.Reset();
    if (reset != kWaveOk) {
        failures_.Add("Error resetting wave out audio device!");
        if (reset != kWaveStillPlaying) {
            // The device no longer works: stop, and let the next start play
            // from the position asked for.
            deviceLost_ = true;
            StopForLostDevice();
            resumeAtMs_ = static_cast<int32_t>(milliseconds);
            refillLock_.Release();
            ForgetLostDevice();
            ShowPendingFailures();
            return 0;
        }
    } else if (ring_.Prepared()) {
        UnprepareBlocks();
    }
    ring_.SetPrepared(false);
    blocksQueued_ = 0;
    refillActive_ = false;
    ports_.clock.Sleep(kSeekSettleMs);
    seekDecoder();
    nextFilePending_ = false;
    firstFrameAfterStart_ = true;

    uint32_t ignoredTicks = 0;
    const int shortBlock = FillRing(ignoredTicks);
    if (shortBlock >= 0) {
        QueueShortRing(shortBlock, paused_.load());
    } else {
        QueueRing(ring_.Count() - 1, paused_.load());
        refillActive_ = true;
    }
    return FinishSeek();
}

// Ends a seek that refilled the ring (with the refill lock held).
int AudioEngine::FinishSeek() {
    lastProgressTick_ = ports_.clock.TickCount();
    if (deviceLost_.load()) StopForLostDevice();
    refillLock_.Release();
    const bool lost = ForgetLostDevice();
    ShowPendingFailures();
    return lost ? 0 : 1;
}

}  // namespace plyvane
