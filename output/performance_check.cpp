#include "performance_check.h"

#include <cstdio>

#include "output_settings.h"
#include "settings_store.h"

namespace plyvane {

namespace {
constexpr char kSlowSystemText[] =
    "Our preformance test result shows that your system is not\n"
    "fast enough to play audio at the given playback parameters.\n"
    "We need less than %dms processing time per audioblock,\n"
    "but your system needs %dms per audioblock!\n\n"
    "Your system will not react till the whole audio stream is decoded!\n"
    "This can cause disortion during audio playback. If so try to\n"
    "reduce playback quality and/or playback frequency used.\n"
    "If you want to cancel playback press the CANCEL button.\n\n\n"
    "Should this message be displayed again?";

constexpr char kCheckValueName[] = "CheckSystemPerformance";
}  // namespace

uint32_t MeasuredTimePerBlock(uint32_t decodeTicksSum, int32_t buffers) {
    if (buffers < 2) return decodeTicksSum;
    return decodeTicksSum / static_cast<uint32_t>(buffers - 1);
}

PerformanceVerdict RunPerformanceCheck(WindowHandle owner, int32_t blockDurationMs,
                                       uint32_t measuredMs) {
    uint32_t check = 1;
    ReadDwordSetting(OutputSettingsKey(), kCheckValueName, check);
    // A negative duration cannot happen; compare as signed 64-bit so it could
    // not wrap either way.
    if (check == 0 || static_cast<int64_t>(measuredMs) < static_cast<int64_t>(blockDurationMs))
        return PerformanceVerdict::kGoOn;

    char text[sizeof kSlowSystemText + 32];
    std::snprintf(text, sizeof text, kSlowSystemText, static_cast<int>(blockDurationMs),
                  static_cast<int>(measuredMs));
    switch (ShowMessage(owner, kPerformanceCaption, text, MessageButtons::kYesNoCancel,
                        MessageIcon::kNone)) {
    case MessageAnswer::kNo:
        WriteDwordSetting(OutputSettingsKey(), kCheckValueName, 0);
        return PerformanceVerdict::kGoOn;
    case MessageAnswer::kCancel:
        return PerformanceVerdict::kCancel;
    default:
        return PerformanceVerdict::kGoOn;
    }
}

}  // namespace plyvane
