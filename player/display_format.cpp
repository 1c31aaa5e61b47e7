#include "display_format.h"

#include <cstdio>

namespace plyvane {

namespace {
std::string Format(const char* format, unsigned a, unsigned b) {
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

uint32_t NotBelowZero(uint64_t from, uint64_t minus) {
    return from > minus ? static_cast<uint32_t>(from - minus) : 0;
}

std::string MinutesText(bool remaining, uint32_t value) {
    return Format(remaining ? "-%u:%.2umin " : " %u:%.2umin ", value / 60000,
                  (value / 1000) % 60);
}
}  // namespace

std::string FormatTrackTime(uint32_t position, uint32_t total, bool remaining) {
    return MinutesText(remaining, remaining ? NotBelowZero(total, position) : position);
}

std::string FormatListTime(uint32_t listTotal, uint32_t played, uint32_t position,
                           bool remaining) {
    uint64_t elapsed = static_cast<uint64_t>(played) + position;
    uint32_t value = remaining ? NotBelowZero(listTotal, elapsed)
                               : static_cast<uint32_t>(elapsed > UINT32_MAX ? UINT32_MAX : elapsed);
    if (listTotal < 3600000u) return MinutesText(remaining, value);
    char text[64];
    std::snprintf(text, sizeof text, remaining ? "-%u:%.2u:%.2uh " : " %u:%.2u:%.2uh ",
                  value / 3600000, (value / 60000) % 60, (value / 1000) % 60);
    return text;
}

std::string FormatListTotal(uint32_t listTotal) {
    char text[64];
    if (listTotal < 3600000u) {
        std::snprintf(text, sizeof text, "%u:%.2umin ", listTotal / 60000, (listTotal / 1000) % 60);
    } else {
        std::snprintf(text, sizeof text, "%u:%.2u:%.2uh ", listTotal / 3600000,
                      (listTotal / 60000) % 60, (listTotal / 1000) % 60);
    }
    return text;
}

std::string FormatScaleTime(int milliseconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%d:%.2dmin", milliseconds / 60000, (milliseconds / 1000) % 60);
    return text;
}

std::string WindowTitle(PlayerState state, const std::string& name) {
    switch (state) {
    case PlayerState::kPlaying:
        return "Plyvane - " + name;
    case PlayerState::kPaused:
        return "Plyvane - " + name + " (paused)";
    case PlayerState::kStopped:
    default:
        return name.empty() ? std::string("Plyvane") : "Plyvane - " + name + " (stopped)";
    }
}

std::string SongNameText(const std::string& name, const std::string& description) {
    if (description.empty()) return name;
    return name + " [" + description + "]";
}

std::string FormatOutputParameters(const OutputParameters& output) {
    static const char* const kQualities[] = {"reference", "best", "better", "good"};
    const char* quality =
        output.quality >= 0 && output.quality <= 3 ? kQualities[output.quality] : "good";
    char text[128];
    std::snprintf(text, sizeof text, "%dHz %dBit %s - %s quality", output.sampleRate,
                  output.bitsPerSample, output.channels >= 2 ? "stereo" : "mono", quality);
    return text;
}

std::string FormatSourceParameters(const SourceParameters& source) {
    static const char* const kLayers[] = {"I", "II", "III"};
    const char* layer = source.layer >= 1 && source.layer <= 3 ? kLayers[source.layer - 1] : "unkown";
    char bitRate[32];
    if (source.bitRatePerChannel == 0) {
        std::snprintf(bitRate, sizeof bitRate, "variable");
    } else {
        std::snprintf(bitRate, sizeof bitRate, "%dkBit/s", source.bitRatePerChannel * source.channels);
    }
    char text[192];
    std::snprintf(text, sizeof text,
                  "MPEG %d Audio Layer %s\n%dHz 16Bit %s - Bitrate %s - Packratio 1/%.2f",
                  source.mpegVersion, layer, source.sampleRate,
                  source.channels >= 2 ? "stereo" : "mono", bitRate, source.packRatio);
    return text;
}

std::string RotateText(const std::string& text, size_t offset) {
    if (text.empty()) return text;
    offset %= text.size();
    return text.substr(offset) + text.substr(0, offset);
}

}  // namespace plyvane
