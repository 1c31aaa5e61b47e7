#include "virtual_wave_device.h"

#include <algorithm>
#include <cstdio>

namespace plyvane {

namespace {
constexpr uint32_t kDone = 1;
}

struct VirtualWaveDevice::VirtualBlock : WaveBlock {
    std::atomic<uint32_t> flags{0};
    bool queued = false;
    uint32_t offset = 0;  // bytes played
    std::vector<uint8_t> storage;
};

VirtualWaveDevice::VirtualWaveDevice(SimulatedClock& clock) { clock.AddTicker([this] { Tick(); }); }

VirtualWaveDevice::~VirtualWaveDevice() = default;

bool VirtualWaveDevice::DeviceCaps(int id, WaveDeviceCaps& caps) {
    if (id != kWaveMapper && (id < 0 || static_cast<unsigned>(id) >= deviceCount_)) return false;
    caps.formats = 0xFFF;
    std::snprintf(caps.productName, sizeof caps.productName, "Virtual device %d", id);
    return true;
}

WaveResult VirtualWaveDevice::Open(int deviceId, const WaveFormat& format, WaveCallback callback, void* context) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (failOpen_ != kWaveOk) {
            const WaveResult result = failOpen_;
            failOpen_ = kWaveOk;
            return result;
        }
        if (open_.load()) return kWaveAllocated;
        if (deviceId != kWaveMapper && (deviceId < 0 || static_cast<unsigned>(deviceId) >= deviceCount_))
            return kWaveBadDeviceId;
        format_ = format;
        openDeviceId_ = deviceId;
        callback_ = callback;
        context_ = context;
        paused_ = false;
        head_ = count_ = 0;
        credit_ = 0;
        emptyRun_ = 0;
        wroteSinceReset_ = false;
        open_ = true;
        ++opens_;
    }
    Deliver(kWomOpen, 1);
    return kWaveOk;
}

WaveResult VirtualWaveDevice::Close() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!open_.load()) return kWaveInvalidHandle;
        if (failCloseTimes_ > 0) {
            --failCloseTimes_;
            return failClose_;
        }
        if (count_ > 0) return kWaveStillPlaying;
        open_ = false;
        ++closes_;
    }
    Deliver(kWomClose, 1);
    return kWaveOk;
}

void VirtualWaveDevice::Abandon() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_.load()) return;
    // The blocks stay with their owner; the dead device just lets go.
    for (std::size_t i = 0; i < count_; ++i) queue_[(head_ + i) % kQueueCapacity]->queued = false;
    head_ = count_ = 0;
    credit_ = 0;
    dead_ = false;
    open_ = false;
    ++abandons_;
}

uintptr_t VirtualWaveDevice::Handle() const { return open_.load() ? 0x5EED0000u + static_cast<uintptr_t>(opens_.load()) : 0; }

WaveBlock* VirtualWaveDevice::AllocateBlock(uint32_t capacity) {
    auto* block = new VirtualBlock;
    // Not zeroed: the engine must clear what it plays.
    block->storage.assign(capacity > 0 ? capacity : 1, 0xA5);  // data is never null
    block->data = block->storage.data();
    block->capacity = capacity;
    ++allocated_;
    return block;
}

void VirtualWaveDevice::FreeBlock(WaveBlock* block) {
    if (block == nullptr) return;
    auto* virtualBlock = static_cast<VirtualBlock*>(block);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // Freeing a block the device still plays is the fault this catches.
        if (virtualBlock->queued) std::fprintf(stderr, "VirtualWaveDevice: a queued block was freed\n");
    }
    --allocated_;
    delete virtualBlock;
}

WaveResult VirtualWaveDevice::Prepare(WaveBlock& block) {
    if (!open_.load()) return kWaveInvalidHandle;
    static_cast<VirtualBlock&>(block).flags.store(0);
    return kWaveOk;
}

WaveResult VirtualWaveDevice::Unprepare(WaveBlock& block) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_.load()) return kWaveInvalidHandle;
    if (failUnprepareTimes_ > 0) {
        --failUnprepareTimes_;
        return failUnprepare_;
    }
    return static_cast<VirtualBlock&>(block).queued ? kWaveStillPlaying : kWaveOk;
}

WaveResult VirtualWaveDevice::Write(WaveBlock& block) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_.load()) return kWaveInvalidHandle;
    if (failWriteTimes_ > 0) {
        --failWriteTimes_;
        return failWrite_;
    }
    auto& virtualBlock = static_cast<VirtualBlock&>(block);
    if (virtualBlock.queued) return kWaveStillPlaying;
    if (count_ == kQueueCapacity) return kWaveNoMemory;
    if (block.length > block.capacity) return kWaveError;
    virtualBlock.flags.store(0);
    virtualBlock.queued = true;
    virtualBlock.offset = 0;
    queue_[(head_ + count_) % kQueueCapacity] = &virtualBlock;
    ++count_;
    if (wroteSinceReset_) longestGap_ = std::max(longestGap_, emptyRun_);
    emptyRun_ = 0;
    wroteSinceReset_ = true;
    return kWaveOk;
}

bool VirtualWaveDevice::IsDone(const WaveBlock& block) const {
    return (static_cast<const VirtualBlock&>(block).flags.load() & kDone) != 0;
}

void VirtualWaveDevice::ClearDone(WaveBlock& block) { static_cast<VirtualBlock&>(block).flags.fetch_and(~kDone); }

WaveResult VirtualWaveDevice::Pause() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_.load()) return kWaveInvalidHandle;
    paused_ = true;
    return kWaveOk;
}

WaveResult VirtualWaveDevice::Restart() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_.load()) return kWaveInvalidHandle;
    paused_ = false;
    return kWaveOk;
}

WaveResult VirtualWaveDevice::Reset() {
    int dropped = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!open_.load()) return kWaveInvalidHandle;
        if (failResetTimes_ > 0) {
            --failResetTimes_;
            return failReset_;
        }
        if (dead_) return deadReset_;
        for (std::size_t i = 0; i < count_; ++i) {
            VirtualBlock* block = queue_[(head_ + i) % kQueueCapacity];
            block->queued = false;
            block->flags.fetch_or(kDone);
        }
        dropped = static_cast<int>(count_);
        head_ = count_ = 0;
        credit_ = 0;
        emptyRun_ = 0;
        wroteSinceReset_ = false;
    }
    Deliver(kWomDone, dropped);
    return kWaveOk;
}

WaveResult VirtualWaveDevice::GetVolume(uint32_t& packed) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_.load()) return kWaveInvalidHandle;
    if (failVolume_) return kWaveError;
    packed = volume_;
    return kWaveOk;
}

WaveResult VirtualWaveDevice::SetVolume(uint32_t packed) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_.load()) return kWaveInvalidHandle;
    if (failVolume_) return kWaveError;
    volume_ = packed;
    return kWaveOk;
}

void VirtualWaveDevice::FailReset(WaveResult result, int times) {
    std::lock_guard<std::mutex> lock(mutex_);
    failReset_ = result;
    failResetTimes_ = times;
}

void VirtualWaveDevice::FailWrite(WaveResult result, int times) {
    std::lock_guard<std::mutex> lock(mutex_);
    failWrite_ = result;
    failWriteTimes_ = times;
}

void VirtualWaveDevice::Die(WaveResult reset) {
    std::lock_guard<std::mutex> lock(mutex_);
    dead_ = true;
    deadReset_ = reset;
}

void VirtualWaveDevice::FailUnprepare(WaveResult result, int times) {
    std::lock_guard<std::mutex> lock(mutex_);
    failUnprepare_ = result;
    failUnprepareTimes_ = times;
}

void VirtualWaveDevice::FailClose(WaveResult result, int times) {
    std::lock_guard<std::mutex> lock(mutex_);
    failClose_ = result;
    failCloseTimes_ = times;
}

WaveFormat VirtualWaveDevice::OpenFormat() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return format_;
}

bool VirtualWaveDevice::Paused() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return paused_;
}

int VirtualWaveDevice::QueuedBlocks() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(count_);
}

std::vector<uint8_t> VirtualWaveDevice::Played() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return played_;
}

uint64_t VirtualWaveDevice::PlayedBytes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return played_.size();
}

uint32_t VirtualWaveDevice::LongestGapMs() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return longestGap_;
}

void VirtualWaveDevice::ReserveRecording(std::size_t bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    played_.reserve(bytes);
}

void VirtualWaveDevice::Tick() {
    int completed = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!open_.load() || paused_ || dead_) return;
        if (count_ == 0) {
            if (wroteSinceReset_) ++emptyRun_;
            return;
        }
        credit_ += format_.avgBytesPerSecond;
        uint64_t bytes = credit_ / 1000 / format_.blockAlign * format_.blockAlign;
        credit_ -= bytes * 1000;
        while (count_ > 0) {
            VirtualBlock* block = queue_[head_];
            const uint32_t take = static_cast<uint32_t>(std::min<uint64_t>(bytes, block->length - block->offset));
            played_.insert(played_.end(), block->data + block->offset, block->data + block->offset + take);
            block->offset += take;
            bytes -= take;
            if (block->offset < block->length) break;
            block->queued = false;
            block->flags.fetch_or(kDone);
            head_ = (head_ + 1) % kQueueCapacity;
            --count_;
            ++completed;
        }
        // Time with nothing to play counts from the moment the queue ran dry.
        if (count_ == 0) credit_ = 0;
    }
    Deliver(kWomDone, completed);
}

void VirtualWaveDevice::Deliver(uint32_t message, int times) {
    WaveCallback callback;
    void* context;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        callback = callback_;
        context = context_;
    }
    if (callback == nullptr) return;
    for (int i = 0; i < times; ++i) callback(context, message);
}

}  // namespace plyvane
