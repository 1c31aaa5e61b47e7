#include "wave_out_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include <initializer_list>
#include <new>

namespace plyvane {

namespace {

struct WinmmBlock : WaveBlock {
    HGLOBAL headerMemory = nullptr;
    HGLOBAL dataMemory = nullptr;
    WAVEHDR* header = nullptr;
};

WinmmBlock& AsWinmm(WaveBlock& block) { return static_cast<WinmmBlock&>(block); }
const WinmmBlock& AsWinmm(const WaveBlock& block) { return static_cast<const WinmmBlock&>(block); }

HWAVEOUT AsHandle(uintptr_t handle) { return reinterpret_cast<HWAVEOUT>(handle); }

void CALLBACK WaveOutProc(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR) {
    WinmmWaveOut::Deliver(reinterpret_cast<void*>(instance), message);
}

}  // namespace

WinmmWaveOut::~WinmmWaveOut() {
    if (IsOpen()) {
        waveOutReset(AsHandle(handle_.load()));
        Close();
    }
}

void WinmmWaveOut::Deliver(void* self, uint32_t message) {
    auto* device = static_cast<WinmmWaveOut*>(self);
    if (device->callback_ != nullptr) device->callback_(device->context_, message);
}

WaveResult WinmmWaveOut::Open(int deviceId, const WaveFormat& format, WaveCallback callback, void* context) {
    WAVEFORMATEX wave{};
    wave.wFormatTag = WAVE_FORMAT_PCM;
    wave.nChannels = format.channels;
    wave.nSamplesPerSec = format.samplesPerSecond;
    wave.nAvgBytesPerSec = format.avgBytesPerSecond;
    wave.nBlockAlign = format.blockAlign;
    wave.wBitsPerSample = format.bitsPerSample;
    wave.cbSize = 0;
    // Set before the call: WOM_OPEN arrives inside waveOutOpen.
    callback_ = callback;
    context_ = context;
    HWAVEOUT handle = nullptr;
    const UINT id = deviceId < 0 ? WAVE_MAPPER : static_cast<UINT>(deviceId);
    const MMRESULT result =
        callback != nullptr
            ? waveOutOpen(&handle, id, &wave, reinterpret_cast<DWORD_PTR>(&WaveOutProc),
                          reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION)
            : waveOutOpen(&handle, id, &wave, 0, 0, CALLBACK_NULL);
    if (result != MMSYSERR_NOERROR) return result;
    handle_ = reinterpret_cast<uintptr_t>(handle);
    return kWaveOk;
}

WaveResult WinmmWaveOut::Close() {
    const uintptr_t handle = handle_.load();
    const MMRESULT result = waveOutClose(AsHandle(handle));
    if (result == MMSYSERR_NOERROR) handle_ = 0;
    return result;
}

void WinmmWaveOut::Abandon() {
    const uintptr_t handle = handle_.exchange(0);
    if (handle == 0) return;
    // A lost device may still close; if it does not, the handle is dead.
    waveOutReset(AsHandle(handle));
    waveOutClose(AsHandle(handle));
}

WaveBlock* WinmmWaveOut::AllocateBlock(uint32_t capacity) {
    auto* block = new (std::nothrow) WinmmBlock;
    if (block == nullptr) return nullptr;
    block->headerMemory = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, sizeof(WAVEHDR));
    // A movable block of 0 bytes cannot be locked: give it one.
    block->dataMemory = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, capacity > 0 ? capacity : 1);
    if (block->headerMemory != nullptr) block->header = static_cast<WAVEHDR*>(GlobalLock(block->headerMemory));
    if (block->dataMemory != nullptr) block->data = static_cast<uint8_t*>(GlobalLock(block->dataMemory));
    if (block->header == nullptr || block->data == nullptr) {
        FreeBlock(block);
        return nullptr;
    }
    block->capacity = capacity;
    block->header->lpData = reinterpret_cast<LPSTR>(block->data);
    return block;
}

void WinmmWaveOut::FreeBlock(WaveBlock* block) {
    if (block == nullptr) return;
    WinmmBlock* winmm = &AsWinmm(*block);
    for (HGLOBAL memory : {winmm->headerMemory, winmm->dataMemory}) {
        if (memory == nullptr) continue;
        GlobalUnlock(memory);
        GlobalFree(memory);
    }
    delete winmm;
}

WaveResult WinmmWaveOut::Prepare(WaveBlock& block) {
    WAVEHDR* header = AsWinmm(block).header;
    header->lpData = reinterpret_cast<LPSTR>(block.data);
    header->dwBufferLength = block.length;
    header->dwFlags = 0;
    header->dwLoops = 0;
    return waveOutPrepareHeader(AsHandle(handle_.load()), header, sizeof(WAVEHDR));
}

WaveResult WinmmWaveOut::Unprepare(WaveBlock& block) {
    return waveOutUnprepareHeader(AsHandle(handle_.load()), AsWinmm(block).header, sizeof(WAVEHDR));
}

WaveResult WinmmWaveOut::Write(WaveBlock& block) {
    WAVEHDR* header = AsWinmm(block).header;
    header->dwBufferLength = block.length;
    return waveOutWrite(AsHandle(handle_.load()), header, sizeof(WAVEHDR));
}

bool WinmmWaveOut::IsDone(const WaveBlock& block) const {
    // Written by the device's thread: read it as the atomic it is.
    return (__atomic_load_n(&AsWinmm(block).header->dwFlags, __ATOMIC_ACQUIRE) & WHDR_DONE) != 0;
}

void WinmmWaveOut::ClearDone(WaveBlock& block) {
    // Only the done bit: a prepared header must stay marked prepared.
    __atomic_fetch_and(&AsWinmm(block).header->dwFlags, ~static_cast<DWORD>(WHDR_DONE), __ATOMIC_ACQ_REL);
}

WaveResult WinmmWaveOut::Pause() { return waveOutPause(AsHandle(handle_.load())); }
WaveResult WinmmWaveOut::Restart() { return waveOutRestart(AsHandle(handle_.load())); }
WaveResult WinmmWaveOut::Reset() { return waveOutReset(AsHandle(handle_.load())); }

WaveResult WinmmWaveOut::GetVolume(uint32_t& packed) {
    DWORD volume = 0;
    const MMRESULT result = waveOutGetVolume(AsHandle(handle_.load()), &volume);
    if (result == MMSYSERR_NOERROR) packed = volume;
    return result;
}

WaveResult WinmmWaveOut::SetVolume(uint32_t packed) { return waveOutSetVolume(AsHandle(handle_.load()), packed); }

}  // namespace plyvane
