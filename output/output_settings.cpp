#include "output_settings.h"

#include <cstdio>
#include <mutex>

#include "settings_store.h"

namespace plyvane {

namespace {
constexpr char kConfigurationText[] = "Configuration for Plyvane MPEG-audio player";

// Set at start-up, read by the UI thread and at playback start: guarded.
std::mutex keyMutex;
char outputKey[256] = "Brindlex\\Plyvane\\Playback\\Configuration";

std::mutex hookMutex;
OutputFormatHook formatHook;

std::string CurrentKey() {
    std::lock_guard<std::mutex> lock(keyMutex);
    return outputKey;
}
}  // namespace

void SetOutputSettingsKey(const char* key) {
    std::lock_guard<std::mutex> lock(keyMutex);
    std::snprintf(outputKey, sizeof outputKey, "%s", key != nullptr ? key : "");
}

const char* OutputSettingsKey() {
    // A thread-local copy keeps the text valid for the caller.
    thread_local std::string copy;
    copy = CurrentKey();
    return copy.c_str();
}

OutputSettings ReadOutputSettings() {
    const std::string key = CurrentKey();
    OutputSettings settings;
    ReadDwordSetting(key.c_str(), "FrequencyDivisor", settings.FrequencyDivisor);
    ReadDwordSetting(key.c_str(), "Quality", settings.Quality);
    ReadDwordSetting(key.c_str(), "Channels", settings.Channels);
    ReadDwordSetting(key.c_str(), "BitsPerSample", settings.BitsPerSample);
    ReadDwordSetting(key.c_str(), "Buffers", settings.Buffers);
    ReadDwordSetting(key.c_str(), "FramesPerBuffer", settings.FramesPerBuffer);
    ReadDwordSetting(key.c_str(), "PlaybackMethode", settings.PlaybackMethode);
    ReadDwordSetting(key.c_str(), "WaveOutDevice", settings.WaveOutDevice);
    return settings;
}

void WriteOutputSettings(int32_t frequencyDivisor, int32_t quality, int32_t channels,
                         int32_t bitsPerSample, int32_t buffers, int32_t framesPerBuffer,
                         int32_t playbackMethode, int32_t waveOutDevice) {
    OutputSettings settings;
    settings.FrequencyDivisor = frequencyDivisor;
    settings.Quality = quality;
    settings.Channels = channels;
    settings.BitsPerSample = bitsPerSample;
    settings.Buffers = buffers;
    settings.FramesPerBuffer = framesPerBuffer;
    settings.PlaybackMethode = playbackMethode;
    settings.WaveOutDevice = waveOutDevice;
    WriteOutputSettings(settings);
}

void WriteOutputSettings(const OutputSettings& settings) {
    const std::string stored = CurrentKey();
    const char* key = stored.c_str();
    // Each write reports its own failure; the rest are still attempted.
    WriteStringSetting(key, "", kConfigurationText);
    WriteDwordSetting(key, "FrequencyDivisor", static_cast<uint32_t>(settings.FrequencyDivisor));
    WriteDwordSetting(key, "Quality", static_cast<uint32_t>(settings.Quality));
    WriteDwordSetting(key, "Channels", static_cast<uint32_t>(settings.Channels));
    WriteDwordSetting(key, "BitsPerSample", static_cast<uint32_t>(settings.BitsPerSample));
    WriteDwordSetting(key, "Buffers", static_cast<uint32_t>(settings.Buffers));
    WriteDwordSetting(key, "FramesPerBuffer", static_cast<uint32_t>(settings.FramesPerBuffer));
    WriteDwordSetting(key, "PlaybackMethode", static_cast<uint32_t>(settings.PlaybackMethode));
    WriteDwordSetting(key, "WaveOutDevice", static_cast<uint32_t>(settings.WaveOutDevice));
    WriteDwordSetting(key, "CheckSystemPerformance", 1);

    OutputFormatHook hook;
    {
        std::lock_guard<std::mutex> lock(hookMutex);
        hook = formatHook;
    }
    if (hook) hook(settings);
}

void SetOutputFormatHook(OutputFormatHook hook) {
    std::lock_guard<std::mutex> lock(hookMutex);
    formatHook = std::move(hook);
}

bool ValidateOutputSettings(const OutputSettings& settings, WaveDeviceCatalog& catalog,
                            WindowHandle owner) {
    const OutputSettings& s = settings;
    if (s.PlaybackMethode < 1 || s.PlaybackMethode > 3) {
        ShowError(owner, "Illegal playback methode selected!");
        return false;
    }
    if (s.FrequencyDivisor != 1 && s.FrequencyDivisor != 2 && s.FrequencyDivisor != 4) {
        ShowError(owner, "Illegal playback configuration: %d FrequencyDivisor", s.FrequencyDivisor);
        return false;
    }
    if (s.Quality < 0 || s.Quality > 3) {
        ShowError(owner, "Illegal playback configuration: %d Quality", s.Quality);
        return false;
    }
    if (s.Channels < 1 || s.Channels > 2) {
        ShowError(owner, "Illegal playback configuration: %d Channels", s.Channels);
        return false;
    }
    if (s.BitsPerSample != 8 && s.BitsPerSample != 16) {
        ShowError(owner, "Illegal playback configuration: %d BitsPerSample", s.BitsPerSample);
        return false;
    }
    if (s.Buffers < 2 || s.Buffers > 128) {
        ShowError(owner, "Illegal playback configuration: %d Buffers", s.Buffers);
        return false;
    }
    if (s.FramesPerBuffer < 1 || s.FramesPerBuffer > 128) {
        ShowError(owner, "Illegal playback configuration: %d FramesPerBuffer", s.FramesPerBuffer);
        return false;
    }
    if (catalog.DeviceCount() == 0) {
        ShowError(owner, "%s", kNoWaveDeviceMessage);
        return false;
    }
    return true;
}

}  // namespace plyvane
