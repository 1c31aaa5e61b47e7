// The wave-out port natively, over PulseAudio (PipeWire serves the same API).
// A writer thread hands the queued blocks to the server in short chunks; the
// server holds at most a tenth of a second, so the writer goes at the pace of
// playback. A block is done once the server has all of it, as a waveOut
// driver marks a block done once it is in the hardware's buffer. A reset
// drops the queued blocks and lets the server play out the little it holds:
// a flush (or a drain) would make the server hold back the next audio for a
// second or two, whatever the stream's prebuffer. Close waits until the
// server has played everything (pa_simple_drain).
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "wave_out.h"

struct pa_simple;

namespace plyvane {

class PulseWaveDevice : public WaveOutDevice {
public:
    PulseWaveDevice() = default;
    ~PulseWaveDevice() override;

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

private:
    struct PulseBlock;
    static constexpr std::size_t kQueueCapacity = 256;

    void Run();
    // Under the lock: marks every queued block done and empties the queue;
    // returns how many there were.
    int DropQueue();
    void Deliver(int doneBlocks);
    // Writes bytes, scaled by the volume unless it is full.
    bool WriteChunk(const uint8_t* bytes, uint32_t count);
    bool OnWriterThread() const { return std::this_thread::get_id() == writerId_; }

    pa_simple* simple_ = nullptr;
    std::atomic<bool> open_{false};
    WaveFormat format_{};
    WaveCallback callback_ = nullptr;
    void* context_ = nullptr;
    uint32_t chunkBytes_ = 0;
    std::vector<uint8_t> scratch_;
    std::atomic<uint32_t> volume_{0xFFFFFFFFu};

    std::thread writer_;
    std::thread::id writerId_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable resetDone_;
    std::array<PulseBlock*, kQueueCapacity> queue_{};
    std::size_t head_ = 0;
    std::size_t count_ = 0;
    uint32_t headOffset_ = 0;  // bytes of the head block handed over
    bool paused_ = false;
    bool stopping_ = false;
    bool resetRequested_ = false;
    bool serverFailed_ = false;
};

}  // namespace plyvane
