#include "pulse_wave_device.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <chrono>
#include <new>

namespace plyvane {

namespace {

constexpr uint32_t kDone = 1;             // WHDR_DONE
constexpr uint32_t kChunkMs = 20;         // what the writer hands over at a time
constexpr uint32_t kServerBufferMs = 100; // what the server holds ahead of the speaker

WaveResult MapOpenError(int error) {
    switch (error) {
        case PA_ERR_INVALID:
        case PA_ERR_NOTSUPPORTED: return kWaveBadFormat;
        case PA_ERR_ACCESS:
        case PA_ERR_BUSY:
        case PA_ERR_EXIST: return kWaveAllocated;
        default: return kWaveBadDeviceId;  // no server, no sink
    }
}

}  // namespace

struct PulseWaveDevice::PulseBlock : WaveBlock {
    std::atomic<uint32_t> flags{0};
    uint64_t end = 0;  // written-bytes count at its last byte
    bool queued = false;
    std::vector<uint8_t> storage;
};

PulseWaveDevice::~PulseWaveDevice() {
    if (open_.load()) {
        Reset();
        Close();
    }
}

uintptr_t PulseWaveDevice::Handle() const {
    return open_.load() ? reinterpret_cast<uintptr_t>(this) : 0;
}

WaveResult PulseWaveDevice::Open(int deviceId, const WaveFormat& format, WaveCallback callback, void* context) {
    if (open_.load()) return kWaveAllocated;
    if (deviceId != -1 && deviceId != 0) return kWaveBadDeviceId;
    if ((format.channels != 1 && format.channels != 2) ||
        (format.bitsPerSample != 8 && format.bitsPerSample != 16) || format.samplesPerSecond < 1000 ||
        format.samplesPerSecond > 192000)
        return kWaveBadFormat;

    pa_sample_spec spec{};
    spec.format = format.bitsPerSample == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
    spec.rate = format.samplesPerSecond;
    spec.channels = static_cast<uint8_t>(format.channels);
    const uint32_t bytesPerMs = std::max<uint32_t>(1, format.avgBytesPerSecond / 1000);
    const uint32_t align = std::max<uint32_t>(1, format.blockAlign);
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<uint32_t>(-1);
    attr.tlength = bytesPerMs * kServerBufferMs / align * align;
    // Start as soon as there is anything: a short last piece must play too.
    attr.prebuf = align;
    attr.minreq = static_cast<uint32_t>(-1);
    attr.fragsize = static_cast<uint32_t>(-1);
    int error = 0;
    simple_ = pa_simple_new(nullptr, "Plyvane", PA_STREAM_PLAYBACK, nullptr, "Plyvane playback", &spec, nullptr,
                            &attr, &error);
    if (simple_ == nullptr) return MapOpenError(error);

    format_ = format;
    callback_ = callback;
    context_ = context;
    chunkBytes_ = std::max(align, bytesPerMs * kChunkMs / align * align);
    scratch_.assign(chunkBytes_, 0);
    head_ = count_ = 0;
    headOffset_ = 0;
    paused_ = stopping_ = resetRequested_ = serverFailed_ = false;
    open_ = true;
    writer_ = std::thread(&PulseWaveDevice::Run, this);
    writerId_ = writer_.get_id();
    if (callback_ != nullptr) callback_(context_, kWomOpen);
    return kWaveOk;
}

WaveResult PulseWaveDevice::Close() {
    if (!open_.load()) return kWaveInvalidHandle;
    if (OnWriterThread()) return kWaveHandleBusy;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (count_ > 0) return kWaveStillPlaying;
        stopping_ = true;
    }
    wake_.notify_all();
    writer_.join();
    writerId_ = std::thread::id();
    // What the server still holds plays out before the stream goes.
    int error = 0;
    if (!serverFailed_) pa_simple_drain(simple_, &error);
    pa_simple_free(simple_);
    simple_ = nullptr;
    open_ = false;
    if (callback_ != nullptr) callback_(context_, kWomClose);
    return kWaveOk;
}

void PulseWaveDevice::Abandon() {
    if (!open_.load()) return;
    if (OnWriterThread()) return;  // never from the completion callback
    {
        std::lock_guard<std::mutex> lock(mutex_);
        DropQueue();
    }
    Close();
}

WaveBlock* PulseWaveDevice::AllocateBlock(uint32_t capacity) {
    auto* block = new (std::nothrow) PulseBlock;
    if (block == nullptr) return nullptr;
    try {
        block->storage.assign(capacity > 0 ? capacity : 1, 0);  // data is never null
    } catch (const std::bad_alloc&) {
        delete block;
        return nullptr;
    }
    block->data = block->storage.data();
    block->capacity = capacity;
    return block;
}

void PulseWaveDevice::FreeBlock(WaveBlock* block) { delete static_cast<PulseBlock*>(block); }

WaveResult PulseWaveDevice::Prepare(WaveBlock& block) {
    if (!open_.load()) return kWaveInvalidHandle;
    static_cast<PulseBlock&>(block).flags.store(0);
    return kWaveOk;
}

WaveResult PulseWaveDevice::Unprepare(WaveBlock& block) {
    if (!open_.load()) return kWaveInvalidHandle;
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<PulseBlock&>(block).queued ? kWaveStillPlaying : kWaveOk;
}

WaveResult PulseWaveDevice::Write(WaveBlock& block) {
    if (!open_.load()) return kWaveInvalidHandle;
    auto& pulse = static_cast<PulseBlock&>(block);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (pulse.queued) return kWaveStillPlaying;
        if (count_ == kQueueCapacity) return kWaveNoMemory;
        pulse.flags.store(0, std::memory_order_release);
        pulse.queued = true;
        queue_[(head_ + count_) % kQueueCapacity] = &pulse;
        ++count_;
    }
    wake_.notify_all();
    return kWaveOk;
}

bool PulseWaveDevice::IsDone(const WaveBlock& block) const {
    return (static_cast<const PulseBlock&>(block).flags.load(std::memory_order_acquire) & kDone) != 0;
}

void PulseWaveDevice::ClearDone(WaveBlock& block) {
    static_cast<PulseBlock&>(block).flags.fetch_and(~kDone, std::memory_order_acq_rel);
}

WaveResult PulseWaveDevice::Pause() {
    if (!open_.load()) return kWaveInvalidHandle;
    std::lock_guard<std::mutex> lock(mutex_);
    paused_ = true;
    return kWaveOk;
}

WaveResult PulseWaveDevice::Restart() {
    if (!open_.load()) return kWaveInvalidHandle;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        paused_ = false;
    }
    wake_.notify_all();
    return kWaveOk;
}

int PulseWaveDevice::DropQueue() {
    const int dropped = static_cast<int>(count_);
    for (std::size_t i = 0; i < count_; ++i) {
        PulseBlock* block = queue_[(head_ + i) % kQueueCapacity];
        block->queued = false;
        block->flags.fetch_or(kDone, std::memory_order_acq_rel);
    }
    head_ = count_ = 0;
    headOffset_ = 0;
    return dropped;
}

WaveResult PulseWaveDevice::Reset() {
    if (!open_.load()) return kWaveInvalidHandle;
    if (OnWriterThread()) {
        // From the completion callback: the writer is here, do it ourselves.
        int dropped;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            dropped = DropQueue();
        }
        Deliver(dropped);
        return kWaveOk;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    resetRequested_ = true;
    wake_.notify_all();
    resetDone_.wait(lock, [this] { return !resetRequested_; });
    return kWaveOk;
}

WaveResult PulseWaveDevice::GetVolume(uint32_t& packed) {
    if (!open_.load()) return kWaveInvalidHandle;
    packed = volume_.load();
    return kWaveOk;
}

WaveResult PulseWaveDevice::SetVolume(uint32_t packed) {
    if (!open_.load()) return kWaveInvalidHandle;
    volume_ = packed;
    return kWaveOk;
}

void PulseWaveDevice::Deliver(int doneBlocks) {
    if (callback_ == nullptr) return;
    for (int i = 0; i < doneBlocks; ++i) callback_(context_, kWomDone);
}

bool PulseWaveDevice::WriteChunk(const uint8_t* bytes, uint32_t count) {
    const uint32_t volume = volume_.load();
    if (volume != 0xFFFFFFFFu) {
        const uint32_t gain[2] = {volume & 0xFFFF, volume >> 16};
        const int channels = format_.channels;
        if (format_.bitsPerSample == 16) {
            for (uint32_t i = 0; i + 1 < count; i += 2) {
                const int channel = static_cast<int>(i / 2) % channels;
                const int16_t sample = static_cast<int16_t>(bytes[i] | bytes[i + 1] << 8);
                const int32_t scaled = sample * static_cast<int32_t>(gain[channels == 2 ? channel : 0]) / 65535;
                scratch_[i] = static_cast<uint8_t>(scaled & 0xFF);
                scratch_[i + 1] = static_cast<uint8_t>((scaled >> 8) & 0xFF);
            }
        } else {
            for (uint32_t i = 0; i < count; ++i) {
                const int channel = static_cast<int>(i) % channels;
                const int32_t centred = bytes[i] - 128;
                scratch_[i] = static_cast<uint8_t>(
                    centred * static_cast<int32_t>(gain[channels == 2 ? channel : 0]) / 65535 + 128);
            }
        }
        bytes = scratch_.data();
    }
    int error = 0;
    return pa_simple_write(simple_, bytes, count, &error) == 0;
}

void PulseWaveDevice::Run() {
    const uint32_t bytesPerMs = std::max<uint32_t>(1, format_.avgBytesPerSecond / 1000);
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopping_) {
        if (resetRequested_) {
            const int dropped = DropQueue();
            resetRequested_ = false;
            resetDone_.notify_all();
            lock.unlock();
            Deliver(dropped);
            lock.lock();
            continue;
        }
        if (paused_ || count_ == 0) {
            wake_.wait(lock, [this] { return stopping_ || resetRequested_ || (!paused_ && count_ > 0); });
            continue;
        }

        PulseBlock* block = queue_[head_];
        const uint32_t count = std::min(block->length - headOffset_, chunkBytes_);
        const uint8_t* bytes = block->data + headOffset_;
        lock.unlock();
        // The block stays valid: a reset waits for this thread. The write
        // waits while the server's buffer is full, which paces the writer.
        if (count > 0 && (serverFailed_ || !WriteChunk(bytes, count))) {
            // No server any more: keep time so that playback still ends.
            serverFailed_ = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(count / bytesPerMs));
        }
        lock.lock();
        headOffset_ += count;
        if (headOffset_ < block->length) continue;
        headOffset_ = 0;
        block->queued = false;
        block->flags.fetch_or(kDone, std::memory_order_acq_rel);
        head_ = (head_ + 1) % kQueueCapacity;
        --count_;
        lock.unlock();
        Deliver(1);
        lock.lock();
    }
}

}  // namespace plyvane
