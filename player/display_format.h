// The texts of the player's displays: track and list times, the slider
// scale, the window title and the two stream-parameter lines. Portable, so
// the formats are tested natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace plyvane {

// The three states the window shows.
enum class PlayerState { kPlaying = 0, kStopped = 1, kPaused = 2 };

// " m:ssmin " elapsed, "-m:ssmin " remaining (of `total`). A remaining time
// never goes below zero (an unknown length is taken as 0).
std::string FormatTrackTime(uint32_t position, uint32_t total, bool remaining);

// The list time: elapsed shows played + position, remaining shows
// listTotal - played - position (not below zero). The format has hours once
// the list total reaches an hour, whatever the value shown.
std::string FormatListTime(uint32_t listTotal, uint32_t played, uint32_t position, bool remaining);
// The list total as the track section shows it.
std::string FormatListTotal(uint32_t listTotal);

// "%d:%.2dmin" of the slider's end labels.
std::string FormatScaleTime(int milliseconds);

// "Plyvane - name", "Plyvane - name (stopped)", "Plyvane - name (paused)",
// and "Plyvane" for a stopped window without a name.
std::string WindowTitle(PlayerState state, const std::string& name);

// The song line: the name, then " [description]" when there is one.
std::string SongNameText(const std::string& name, const std::string& description);

struct OutputParameters {
    int sampleRate = 0;
    int bitsPerSample = 0;
    int channels = 0;
    int quality = 0;
};
struct SourceParameters {
    int mpegVersion = 0;
    int layer = 0;
    int sampleRate = 0;
    int channels = 0;
    int bitRatePerChannel = 0;  // kbit/s; 0 = variable
    double packRatio = 0.0;
};

// "44100Hz 16Bit stereo - better quality"
std::string FormatOutputParameters(const OutputParameters& output);
// "MPEG 1 Audio Layer II\n44100Hz 16Bit stereo - Bitrate 192kBit/s - Packratio 1/7.35"
std::string FormatSourceParameters(const SourceParameters& source);

// The caption scroller's text shown from `offset`: the part from the offset
// to the end, then the part before it.
std::string RotateText(const std::string& text, size_t offset);

}  // namespace plyvane
