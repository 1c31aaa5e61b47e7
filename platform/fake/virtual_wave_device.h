// A wave-out device in simulated time for engine tests: it plays queued
// blocks at the rate of their format, one millisecond per clock tick, marks
// them done (and calls back) when played, records every byte it played, and
// fails on request in each of the ways WINMM can.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "simulated_clock.h"
#include "wave_device.h"
#include "wave_out.h"

namespace plyvane {

class VirtualWaveDevice : public WaveOutDevice, public WaveDeviceCatalog {
public:
    explicit VirtualWaveDevice(SimulatedClock& clock);
    ~VirtualWaveDevice() override;

    // The catalog.
    unsigned DeviceCount() override { return deviceCount_; }
    bool DeviceCaps(int id, WaveDeviceCaps& caps) override;
    PlatformKind Platform() override { return platform_; }
    void SetDeviceCount(unsigned count) { deviceCount_ = count; }
    void SetPlatform(PlatformKind kind) { platform_ = kind; }

    // The device.
    WaveResult Open(int deviceId, const WaveFormat& format, WaveCallback callback, void* context) override;
    WaveResult Close() override;
    void Abandon() override;
    bool IsOpen() const override { return open_.load(); }
    uintptr_t Handle() const override;
    WaveBlock* AllocateBlock(uint32_t capacity) override;
    void FreeBlock(WaveBlock* block) override;
    WaveResult Prepare(WaveBlock& block) override;
    WaveResult Unprepare(WaveBlock& block) override;
    WaveResult Write(WaveBlock& block) override;
    bool IsDone(const WaveBlock& block) const override;
    void ClearDone(WaveBlock& block) override;
    WaveResult Pause() override;
    WaveResult Restart() override;
    WaveResult Reset() override;
    WaveResult GetVolume(uint32_t& packed) override;
    WaveResult SetVolume(uint32_t packed) override;

    // Failures: the next Open returns this; the next `times` calls of the
    // others return theirs.
    void FailOpen(WaveResult result) { failOpen_ = result; }
    void FailReset(WaveResult result, int times = 1);
    void FailUnprepare(WaveResult result, int times);
    void FailClose(WaveResult result, int times);
    void FailWrite(WaveResult result, int times = 1);
    void FailVolume(bool fail) { failVolume_ = fail; }
    // As a sound server that dropped our stream: queued blocks never come
    // back, and a reset fails with `reset` until the device is abandoned.
    void Die(WaveResult reset = kWaveError);
    void SetInitialVolume(uint32_t packed) { volume_ = packed; }

    // What happened.
    int Opens() const { return opens_.load(); }
    int Closes() const { return closes_.load(); }
    int Abandons() const { return abandons_.load(); }
    WaveFormat OpenFormat() const;
    int OpenDeviceId() const { return openDeviceId_; }
    bool HasCallback() const { return callback_ != nullptr; }
    bool Paused() const;
    int QueuedBlocks() const;
    int AllocatedBlocks() const { return allocated_.load(); }
    std::vector<uint8_t> Played() const;
    uint64_t PlayedBytes() const;
    // Milliseconds the device stood empty between two writes (a gap heard);
    // not counted after a reset or before the first write.
    uint32_t LongestGapMs() const;
    void ReserveRecording(std::size_t bytes);

private:
    struct VirtualBlock;
    static constexpr std::size_t kQueueCapacity = 256;

    void Tick();
    void Deliver(uint32_t message, int times);

    mutable std::mutex mutex_;
    unsigned deviceCount_ = 1;
    PlatformKind platform_ = PlatformKind::kWindows9x;
    std::atomic<bool> open_{false};
    WaveFormat format_{};
    int openDeviceId_ = 0;
    WaveCallback callback_ = nullptr;
    void* context_ = nullptr;
    bool paused_ = false;
    uint32_t volume_ = 0xFFFFFFFFu;

    std::array<VirtualBlock*, kQueueCapacity> queue_{};
    std::size_t head_ = 0;
    std::size_t count_ = 0;
    uint64_t credit_ = 0;  // byte-milliseconds owed to the head block
    std::vector<uint8_t> played_;
    uint32_t emptyRun_ = 0;
    uint32_t longestGap_ = 0;
    bool wroteSinceReset_ = false;

    WaveResult failOpen_ = kWaveOk;
    WaveResult failReset_ = kWaveOk;
    int failResetTimes_ = 0;
    WaveResult failUnprepare_ = kWaveOk;
    int failUnprepareTimes_ = 0;
    WaveResult failWrite_ = kWaveOk;
    int failWriteTimes_ = 0;
    bool dead_ = false;
    WaveResult deadReset_ = kWaveOk;
    WaveResult failClose_ = kWaveOk;
    int failCloseTimes_ = 0;
    bool failVolume_ = false;
    std::atomic<int> opens_{0};
    std::atomic<int> closes_{0};
    std::atomic<int> abandons_{0};
    std::atomic<int> allocated_{0};
};

}  // namespace plyvane
