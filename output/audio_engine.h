// The audio engine: the one wave-out device with its ring of PCM blocks, and
// the playback driver that keeps the ring full from the decoder by one of
// three refresh methods (a periodic timer, a playback thread or the device's
// completion callback) and tells the player window where playback stands.
//
// Threads: the player's thread calls the operations below; refill steps run
// in the refresh context. The refill lock serialises refill steps, the
// prefill, seeks and stops; the close lock serialises device resets; the
// closing flag keeps the device callback out while the device is reset.
// PlaybackInfo is guarded by a mutex: read it through GetPlaybackInfo.
// No box is shown while a lock is held or from a refresh context: failures
// wait in PendingFailures and are shown on the player's thread (a refresh
// context posts ID_PLAYBACK_FAILED for them).
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "block_ring.h"
#include "busy_flag.h"
#include "clock.h"
#include "decoder.h"
#include "file_byte_source.h"
#include "message_box.h"
#include "notification_port.h"
#include "output_settings.h"
#include "pending_failures.h"
#include "periodic_timer.h"
#include "playback_commands.h"
#include "playback_info.h"
#include "stream_info.h"
#include "wave_device.h"
#include "wave_out.h"
#include "worker_thread.h"

namespace plyvane {

// Everything the engine needs from the platform.
struct EnginePorts {
    WaveOutDevice& device;
    WaveDeviceCatalog& catalog;
    PeriodicTimer& timer;
    WorkerThread& thread;
    Clock& clock;
    NotificationPort& notifications;
};

class AudioEngine {
public:
    explicit AudioEngine(const EnginePorts& ports, Decoder& decoder = TheDecoder());
    ~AudioEngine();
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // Opens a stream for playback; window receives the notifications and owns
    // the message boxes. Without a source the decoder keeps the one it has.
    int OpenPlayback(WindowHandle window, const char* name, ByteSource* source, int32_t intervalMs);
    // Starts the open stream, resumes a paused one, or plays the last stream
    // again from its start after it ended or was stopped.
    int StartPlayback();
    int StopPlayback(bool close);
    int ClosePlayback();
    int ShutdownPlayback();
    int PausePlayback();
    int ResumePlayback();
    int SeekPlayback(uint32_t milliseconds);
    int SetPlaybackVolume(uint16_t left, uint16_t right);
    int GetPlaybackVolume(uint16_t& left, uint16_t& right);
    // A copy of the record with the position brought up to date.
    PlaybackInfo GetPlaybackInfo();
    // Shows the failures met in a refresh context or under a lock, over the
    // player window. Player's thread only.
    void ShowPendingFailures();
    // True once for an ID_PLAYBACK_ENDED that is still news: false when a
    // stop, close, open or start came after the end was posted.
    bool ClaimPlaybackEnd();
    // The record for a stream that is not playing, or null. UI thread only.
    const PlaybackInfo* ProbeFileInfo(WindowHandle owner, const char* name, ByteSource* source);

    // The driver's steps (public for the refresh contexts and for tests).
    // 0 only when the user cancelled the performance warning.
    int PrefillRing();
    // 0 when playback is over.
    int RefillStep();

    // The refresh contexts.
    void TimerStep();
    void ThreadProcedure();
    void DeviceCallback(uint32_t message);

    // State, for the player and tests.
    bool IsOpen() const { return open_.load(); }
    // Where the next StartPlayback begins after the device stopped working.
    bool HasResumePosition() const { return resumeAtMs_.load() >= 0; }
    bool IsActive() const { return active_.load(); }
    bool IsPlaying() const { return playing_.load(); }
    bool IsPaused() const { return paused_.load(); }
    // Whether the stream opened last has given a sample yet: one that ends
    // without any (junk that passed the open, a header alone) is unplayable.
    bool ProducedSound() const { return producedSound_.load(); }
    uint32_t RefreshDelay() const { return refreshDelay_.load(); }
    uint32_t TimerResolution() const { return timerResolution_; }
    int32_t BlockDuration() const { return blockDuration_; }
    uint32_t MeasuredTimePerBlock() const { return measuredTimePerBlock_; }
    int32_t FramesPerNotification() const { return framesPerNotification_; }
    const OutputSettings& Settings() const { return config_; }

    // The output-format update after the output settings were saved: only
    // while no stream is playing.
    void UpdateOutputFormat(const OutputSettings& settings);

private:
    // ---- the device (wave_output.cpp)
    bool OpenDevice();
    void ReportOpenFailure(WaveResult result);
    // Into the engine volume, and the handle into the record for the mixer.
    void ReadDeviceVolume();
    int ResetDevice(bool close);
    bool CloseDevice();
    void UnprepareBlocks();
    // Closes a device that stopped working for good (it may still hold the
    // ring, which is retired); the next open opens a fresh one. Player's
    // thread only: never from the device's own callback.
    void AbandonDevice();
    // The player's-thread half of a lost device: true when there was one.
    bool ForgetLostDevice();

    // ---- filling the ring (playback_refill.cpp)
    bool FillBlock(WaveBlock& block);
    // Fills and prepares every block from the first; the block in which the
    // stream ended, or -1 when every block is full. Adds the decoding ticks.
    int FillRing(uint32_t& decodeTicks);
    // Queues blocks 0..last in order, counting down to the notifications.
    void QueueRing(int last, bool pauseAfterFirst);
    // The stream ended in block `last`: it is queued as filled so far.
    void QueueShortRing(int last, bool pauseAfterFirst);
    void QueueBlock(WaveBlock& block);
    bool QueueFailed(WaveResult result);
    bool DeviceStalled();
    uint32_t ComputeRefreshDelay(uint32_t measured) const;
    int FinishSeek();
    void NotifyIfDue();
    float CurrentPosition() const;
    void UpdateInfoForNextFile();

    // ---- the refresh methods and the ends of playback (refresh_methods.cpp)
    bool StartRefreshMethod();
    void StopRefreshMethod();
    void WaitForRefreshContext();
    void EndOfPlayback();
    // The device failed while playing: playback stops where it was heard
    // and the player is told. With the refill lock held.
    void StopForLostDevice();

    // ---- operations (audio_engine.cpp)
    int OpenStreamForPlayback(WindowHandle window, const char* name, ByteSource* source, int32_t intervalMs);
    // Clears the playing flags, stops the refresh method and resets the
    // device with the closing flag set; the reset's result.
    int HaltAndReset(bool close);
    void ClearInfoKeepingVolume();
    void Post(uint32_t commandId);

    EnginePorts ports_;
    Decoder& decoder_;

    // Configuration read at open.
    OutputSettings config_{};
    int32_t intervalMs_ = 0;
    WindowHandle window_ = nullptr;
    std::string sourceName_;
    bool haveSource_ = false;

    std::atomic<bool> open_{false};
    std::atomic<bool> active_{false};
    std::atomic<bool> playing_{false};
    std::atomic<bool> paused_{false};
    std::atomic<bool> refillActive_{false};
    std::atomic<bool> closing_{false};
    BusyFlag refillLock_;
    BusyFlag closeLock_;
    // Moves on at every stop, close and open: a start that let go of the
    // refill lock (for the performance box) sees whether it was overtaken.
    std::atomic<uint32_t> generation_{0};
    std::atomic<bool> endPosted_{false};
    std::atomic<bool> producedSound_{false};
    // A write or reset failed for good (or no block came back for too long).
    std::atomic<bool> deviceLost_{false};
    std::atomic<int32_t> resumeAtMs_{-1};
    PendingFailures failures_;

    // Refill state: touched under the refill lock (or before a refresh
    // method runs); read by GetPlaybackInfo, hence atomic where shared.
    std::atomic<uint32_t> decodedFrame_{0};
    std::atomic<int32_t> blocksQueued_{0};
    bool nextFilePending_ = false;
    bool firstFrameAfterStart_ = false;
    int32_t countdown_ = 0;
    float msPerFrame_ = 0.0f;
    int32_t blockDuration_ = 0;
    int32_t framesPerNotification_ = 0;
    std::atomic<uint32_t> refreshDelay_{0};
    uint32_t measuredTimePerBlock_ = 0;
    uint32_t timerResolution_ = 0;
    // When a block last came back (a device that returns none is lost).
    uint32_t lastProgressTick_ = 0;

    // Device.
    WaveFormat format_{};
    // PCM bytes one decoded frame yields in the output format.
    uint32_t pcmFrameBytes_ = 0;
    uint16_t volumeLeft_ = 0xFFFF;
    uint16_t volumeRight_ = 0xFFFF;
    BlockRing ring_{ports_.device};
    // The Device method needs the device opened with its callback.
    bool openedWithCallback_ = false;

    // The stream record and the player's view of it.
    StreamInfo stream_{};
    mutable std::mutex infoMutex_;
    PlaybackInfo info_{};
    PlaybackInfo probeInfo_{};
    FileByteSource probeSource_;
};

}  // namespace plyvane
