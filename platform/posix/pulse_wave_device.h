// The wave-out port natively, over PulseAudio (PipeWire serves the same API).
// A writer thread hands the queued blocks to the server in short chunks; a
// block counts as done once the server reports it played (written bytes less
// the stream's latency), so done means heard, as with waveOut.
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
    // Under the lock: pops the blocks the server has played.
    int CollectPlayed(uint64_t latencyBytes);
    // Under the lock: every block handed over counts as played.
    int CollectAllWritten();
    void Deliver(int doneBlocks);
    // Writes bytes, scaled by the volume unless it is full.
    bool WriteChunk(const uint8_t* bytes, uint32_t count);
    uint64_t LatencyBytes();
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
    std::size_t writtenEntries_ = 0;  // queue entries from the head handed over whole
    uint32_t headOffset_ = 0;         // bytes of the first unwritten entry handed over
    uint64_t writtenBytes_ = 0;
    bool paused_ = false;
    bool stopping_ = false;
    bool resetRequested_ = false;
    bool serverFailed_ = false;
    // The latency seen at the last look while everything was handed over:
    // once it stops falling the server has played all it had (what remains
    // is the sink's own latency, which never drains).
    uint64_t lastLatency_ = 0;
    bool haveLastLatency_ = false;
};

}  // namespace plyvane
