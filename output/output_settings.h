// The eight output values (divisor, quality, channels, bits, ring size,
// refresh method, device) as stored under the configuration key, their
// defaults, the group write and the check at playback start.
#pragma once

#include <cstdint>
#include <functional>

#include "message_box.h"
#include "wave_device.h"

namespace plyvane {

// Field names are the stored value names.
struct OutputSettings {
    int32_t FrequencyDivisor = 1;  // 1, 2, 4
    int32_t Quality = 2;           // 0 reference, 1 best, 2 better, 3 good
    int32_t Channels = 2;          // 1, 2
    int32_t BitsPerSample = 16;    // 8, 16
    int32_t Buffers = 4;           // 2..128 blocks in the ring
    int32_t FramesPerBuffer = 16;  // 1..128 frames per block
    int32_t PlaybackMethode = 1;   // 1 Timer, 2 Thread, 3 Device
    int32_t WaveOutDevice = -1;    // -1 wave mapper, 0..n-1
};

inline constexpr int kMethodTimer = 1;
inline constexpr int kMethodThread = 2;
inline constexpr int kMethodDevice = 3;

inline constexpr char kNoWaveDeviceMessage[] =
    "No wave audio device available. Please check your systemconfiguration or try again later.";

// The key ReadOutputSettings and WriteOutputSettings use; the configuration
// key until set. The text is copied (bounded).
void SetOutputSettingsKey(const char* key);
const char* OutputSettingsKey();

// Each value from the store, or its default when absent.
OutputSettings ReadOutputSettings();

// Writes, in this order: the key's default value "Configuration for Plyvane
// MPEG-audio player", the eight values, CheckSystemPerformance = 1; a failing
// write does not stop the others. Then calls the output-format hook.
void WriteOutputSettings(int32_t frequencyDivisor, int32_t quality, int32_t channels,
                         int32_t bitsPerSample, int32_t buffers, int32_t framesPerBuffer,
                         int32_t playbackMethode, int32_t waveOutDevice);
void WriteOutputSettings(const OutputSettings& settings);

// Called after every WriteOutputSettings with the values written. The engine
// registers it and, when no stream is playing, brings the output-format fields
// of its PlaybackInfo up to date (channels, bits, quality, rate = stream rate /
// divisor). An empty function removes it.
using OutputFormatHook = std::function<void(const OutputSettings&)>;
void SetOutputFormatHook(OutputFormatHook hook);

// The check at playback start, in this order: method, divisor, quality,
// channels, bits, buffers, frames per buffer, then a wave device at all. The
// first failure is shown in the "Error!" box over `owner` and gives false.
bool ValidateOutputSettings(const OutputSettings& settings, WaveDeviceCatalog& catalog,
                            WindowHandle owner = nullptr);

}  // namespace plyvane
