// The Controls page's settings: the taskbar controls, the information
// scroller and the main window's size, and the commands that tell the main
// window to apply them.
#pragma once

#include <cstdint>

#include "posted_commands.h"

namespace plyvane {

// The entries of the size list; the entry number is "DialogState".
inline constexpr const char* kDialogSizeNames[] = {
    "Large dialog (all controls, multi track display)",
    "Medium dialog (playback + general controls)",
    "Small dialog (playback controls only)",
    "Hide dialog (no window, no taskbar entry)",
};
inline constexpr int kDialogSizeCount =
    static_cast<int>(sizeof kDialogSizeNames / sizeof kDialogSizeNames[0]);

struct ControlsSettings {
    bool taskBar = true;        // "TaskBar"
    bool scrollCaption = true;  // "ScrollCaption"
    int32_t dialogState = 0;    // "DialogState", 0..3
};

// Each value or its default; a stored size outside the list reads as 0.
ControlsSettings ReadControlsSettings();

// Writes "TaskBar", "ScrollCaption" and "DialogState", then posts, in this
// order, taskbar controls on or off, the scroller on or off, and the window
// size (its number as the parameter).
void ApplyControlsSettings(const ControlsSettings& settings, const CommandSink& post);

}  // namespace plyvane
