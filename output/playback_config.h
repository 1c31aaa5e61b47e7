// CPlaybackConfig: the editable output configuration behind the property
// pages. It knows which formats the selected device plays and which refresh
// methods this system supports, and keeps the eight values consistent with
// them while the user edits.
#pragma once

#include <cstddef>
#include <cstdint>

#include "output_settings.h"
#include "wave_device.h"

namespace plyvane {

// The WAVE_FORMAT_* masks of WaveDeviceCaps::formats.
inline constexpr uint32_t kFormats44k = 0xF00;
inline constexpr uint32_t kFormats22k = 0x0F0;
inline constexpr uint32_t kFormats11k = 0x00F;
inline constexpr uint32_t kFormatsStereo = 0xAAA;
inline constexpr uint32_t kFormatsMono = 0x555;
inline constexpr uint32_t kFormats16Bit = 0xCCC;
inline constexpr uint32_t kFormats8Bit = 0x333;

// The thirteen availability flags, 0 or 1, in this order. A choice whose flag
// is 0 is drawn pushed (not selectable) on the pages.
struct PlaybackAvailability {
    int32_t MonoAllowed = 1;
    int32_t StereoAllowed = 1;
    int32_t EightBitAllowed = 1;
    int32_t SixteenBitAllowed = 1;
    int32_t MethodAllowed[3] = {1, 1, 1};   // methods 1, 2, 3
    int32_t DivisorAllowed[3] = {1, 1, 1};  // divisors 1, 2, 4
    int32_t QualityAllowed[3] = {1, 1, 1};  // qualities 1, 2, 3
};
// The record is the eight values, then these thirteen flags, each 32 bits.
static_assert(sizeof(OutputSettings) == 8 * sizeof(int32_t));
static_assert(sizeof(PlaybackAvailability) == 13 * sizeof(int32_t));
static_assert(offsetof(PlaybackAvailability, SixteenBitAllowed) == 3 * sizeof(int32_t));
static_assert(offsetof(PlaybackAvailability, DivisorAllowed) == 7 * sizeof(int32_t));
static_assert(offsetof(PlaybackAvailability, QualityAllowed) == 10 * sizeof(int32_t));

class CPlaybackConfig {
public:
    // The catalog must outlive the record.
    explicit CPlaybackConfig(WaveDeviceCatalog& catalog) : catalog_(catalog) {}

    // Builds the record from the platform, the stored values and the device.
    void LoadConfig();
    // Re-reads the stored values and applies them without resetting first
    // (a cancelled page).
    void ReloadConfig();
    // WriteOutputSettings with the record's values.
    void SaveConfig();

    // 1 if the value changed (for the three format setters also when the
    // capability query failed), 0 if rejected or equal to the current value.
    int SetWaveOutDevice(int32_t id);
    int SetFrequencyDivisor(int32_t divisor);
    int SetChannels(int32_t channels);
    int SetBitsPerSample(int32_t bits);
    // Set when in 0..3, different and allowed; 1 if set.
    int SetQuality(int32_t quality);
    int SetPlaybackMethode(int32_t method);
    // Ring sizes are taken as given; the check at playback start judges them.
    void SetBuffers(int32_t buffers) { values_.Buffers = buffers; }
    void SetFramesPerBuffer(int32_t frames) { values_.FramesPerBuffer = frames; }

    // A value of 0 means no choice is selected (a stored value was refused);
    // for Quality, where 0 is reference quality, kNoQuality.
    const OutputSettings& Values() const { return values_; }
    static constexpr int32_t kNoQuality = -1;
    const PlaybackAvailability& Availability() const { return flags_; }

    // Helpers for the pages: the flag of divisor 1/2/4, quality 1..3 (quality
    // 0 needs nothing of the device: always allowed), method 1..3; false for
    // any other value.
    bool DivisorAllowed(int32_t divisor) const;
    bool QualityAllowed(int32_t quality) const;
    bool MethodAllowed(int32_t method) const;

private:
    void ApplyStored(const OutputSettings& stored);
    // Channels from a format set: mono only forces channels 1.
    void AllowChannelsOf(uint32_t formats);
    // Bit depth from a format set: 8-bit only forces 8 bits.
    void AllowBitsOf(uint32_t formats);
    // Divisors from a format set (the rates the chosen width or channels have).
    void AllowDivisorsOf(uint32_t formats);

    WaveDeviceCatalog& catalog_;
    OutputSettings values_{};
    PlaybackAvailability flags_{};
};

}  // namespace plyvane
