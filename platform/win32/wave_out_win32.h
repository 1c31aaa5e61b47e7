// The wave-out port over WINMM. Blocks are a WAVEHDR and a data area, each in
// its own movable, shareable global memory block.
#pragma once

#include <atomic>

#include "wave_out.h"

namespace plyvane {

class WinmmWaveOut : public WaveOutDevice {
public:
    ~WinmmWaveOut() override;

    WaveResult Open(int deviceId, const WaveFormat& format, WaveCallback callback, void* context) override;
    WaveResult Close() override;
    void Abandon() override;
    bool IsOpen() const override { return handle_.load() != 0; }
    uintptr_t Handle() const override { return handle_.load(); }

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

    // Called by the device's callback with `this`.
    static void Deliver(void* self, uint32_t message);

private:
    std::atomic<uintptr_t> handle_{0};
    WaveCallback callback_ = nullptr;
    void* context_ = nullptr;
};

}  // namespace plyvane
