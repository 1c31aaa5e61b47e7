// The wave-out port: the playback operations of the one output device, with
// WINMM's semantics (waveOutOpen ... waveOutClose). Adapters: WINMM on
// Windows, PulseAudio natively, a virtual device in simulated time in tests.
// The device list and capabilities are the separate WaveDeviceCatalog.
#pragma once

#include <cstdint>

namespace plyvane {

// Results, with WINMM's values so that the Windows adapter passes them on.
using WaveResult = uint32_t;
inline constexpr WaveResult kWaveOk = 0;
inline constexpr WaveResult kWaveError = 1;            // MMSYSERR_ERROR
inline constexpr WaveResult kWaveBadDeviceId = 2;      // MMSYSERR_BADDEVICEID
inline constexpr WaveResult kWaveAllocated = 4;        // MMSYSERR_ALLOCATED
inline constexpr WaveResult kWaveInvalidHandle = 5;    // MMSYSERR_INVALHANDLE
inline constexpr WaveResult kWaveNoMemory = 7;         // MMSYSERR_NOMEM
inline constexpr WaveResult kWaveHandleBusy = 12;      // MMSYSERR_HANDLEBUSY
inline constexpr WaveResult kWaveBadFormat = 32;       // WAVERR_BADFORMAT
inline constexpr WaveResult kWaveStillPlaying = 33;    // WAVERR_STILLPLAYING
inline constexpr WaveResult kWaveSync = 35;            // WAVERR_SYNC

// Messages of the completion callback.
inline constexpr uint32_t kWomOpen = 0x3BB;
inline constexpr uint32_t kWomClose = 0x3BC;
inline constexpr uint32_t kWomDone = 0x3BD;

// WAVEFORMATEX for PCM.
struct WaveFormat {
    uint16_t formatTag = 1;
    uint16_t channels = 2;
    uint32_t samplesPerSecond = 44100;
    uint32_t avgBytesPerSecond = 176400;
    uint16_t blockAlign = 4;
    uint16_t bitsPerSample = 16;
};

inline WaveFormat MakePcmFormat(uint32_t rate, uint16_t channels, uint16_t bits) {
    WaveFormat format;
    format.channels = channels;
    format.samplesPerSecond = rate;
    format.blockAlign = static_cast<uint16_t>(bits / 8 * channels);
    format.avgBytesPerSecond = rate * format.blockAlign;
    format.bitsPerSample = bits;
    return format;
}

// The device must be reopened when any of these differ.
inline bool SamePlaybackFormat(const WaveFormat& a, const WaveFormat& b) {
    return a.bitsPerSample == b.bitsPerSample && a.samplesPerSecond == b.samplesPerSecond &&
           a.channels == b.channels;
}

// A device volume: right channel in the high word, left in the low word.
inline uint32_t PackVolume(uint16_t left, uint16_t right) { return static_cast<uint32_t>(right) << 16 | left; }
inline uint16_t LeftVolume(uint32_t packed) { return static_cast<uint16_t>(packed & 0xFFFF); }
inline uint16_t RightVolume(uint32_t packed) { return static_cast<uint16_t>(packed >> 16); }

// One block of the output ring (a WAVEHDR and its data area). The adapter
// allocates it the way its platform wants; the engine fills `data` and sets
// `length` (dwBufferLength) before Prepare and Write.
struct WaveBlock {
    uint8_t* data = nullptr;
    uint32_t capacity = 0;
    uint32_t length = 0;
};

// Runs in the device's own context (WINMM's callback thread, the PulseAudio
// writer thread, the simulation's tick); `context` is what Open was given.
using WaveCallback = void (*)(void* context, uint32_t message);

class WaveOutDevice {
public:
    virtual ~WaveOutDevice() = default;

    // waveOutOpen. A null callback is CALLBACK_NULL (the caller polls the
    // done flags); otherwise CALLBACK_FUNCTION.
    virtual WaveResult Open(int deviceId, const WaveFormat& format, WaveCallback callback,
                            void* context) = 0;
    virtual WaveResult Close() = 0;
    // Gives up a device that no longer works, even when it does not answer a
    // close: afterwards IsOpen is false and the next Open opens a fresh one.
    // Blocks it was given are not freed by this.
    virtual void Abandon() = 0;
    virtual bool IsOpen() const = 0;
    // The handle the player window opens its mixer on; 0 when closed.
    virtual uintptr_t Handle() const = 0;

    // Block memory for the ring; null when it cannot be had. Blocks outlive a
    // Close and are freed only by FreeBlock.
    virtual WaveBlock* AllocateBlock(uint32_t capacity) = 0;
    virtual void FreeBlock(WaveBlock* block) = 0;

    virtual WaveResult Prepare(WaveBlock& block) = 0;
    virtual WaveResult Unprepare(WaveBlock& block) = 0;
    // Queues `length` bytes of the block; clears its done flag.
    virtual WaveResult Write(WaveBlock& block) = 0;
    // WHDR_DONE: set by the device once the block has been played (or reset).
    // Safe to read while the device runs.
    virtual bool IsDone(const WaveBlock& block) const = 0;
    virtual void ClearDone(WaveBlock& block) = 0;

    virtual WaveResult Pause() = 0;
    virtual WaveResult Restart() = 0;
    // Drops every queued block and marks it done.
    virtual WaveResult Reset() = 0;

    // Right channel in the high word, left in the low word, 0..0xFFFF each.
    virtual WaveResult GetVolume(uint32_t& packed) = 0;
    virtual WaveResult SetVolume(uint32_t packed) = 0;
};

}  // namespace plyvane
