// CPropertyPlayback: the sheet "Plyvane Properties" with its five pages:
// "Audio Device", "Playback Mode", "Buffers", "Controls" and "Internet".
// The first three edit one output configuration record that the sheet owns;
// the other two read and write their settings directly. What a page stores
// it announces to the owner window with posted commands (WM_COMMAND, no
// source control): ID_RESTART_OUTPUT after the output configuration was
// stored; ID_TASKBAR_CONTROLS_ON/OFF, ID_SCROLL_CAPTION_ON/OFF and
// ID_SET_DIALOG_STATE (the size 0..3 in lParam), in this order, after the
// Controls page stored its settings.
#pragma once

#include <windows.h>

#include "audio_buffers_page.h"
#include "audio_playback_mode_page.h"
#include "audio_playback_page.h"
#include "dialog_config_page.h"
#include "internet_properties_page.h"
#include "playback_config.h"
#include "property_sheet.h"

namespace plyvane {

inline constexpr char kPropertySheetCaption[] = "Plyvane Properties";

class CPropertyPlayback : public PropertySheet {
public:
    // Builds the record from the stored settings and the device's
    // capabilities (LoadConfig) and the five pages. `owner` receives the
    // posted commands; `catalog` lists the wave-output devices and must
    // outlive the sheet.
    CPropertyPlayback(HWND owner, WaveDeviceCatalog& catalog);

    // Runs the sheet modally over the owner, on the first page. IDOK when it
    // was closed with OK, IDCANCEL otherwise.
    INT_PTR Show() { return DoModal(owner_); }

private:
    HWND owner_;
    CPlaybackConfig record_;
    SharedPlaybackConfig shared_;
    CAudioPlayback audioDevice_;
    CAudioPlaybackMode playbackMode_;
    CAudioBuffers buffers_;
    CDialogConfig controls_;
    CInternetProperties internet_;
};

}  // namespace plyvane
