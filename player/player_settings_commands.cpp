// The player window's settings: the property sheet (the Properties command
// and the first-run set-up), the file-type check of every start, the Help
// command, and the commands the sheet posts, applied at once.
#include <windows.h>

#include <optional>
#include <string>

#include "check_extensions_dialog.h"
#include "player_app.h"
#include "player_dialog.h"
#include "program_help.h"
#include "property_playback.h"
#include "resource_ids.h"
#include "winmm_device_catalog.h"

namespace plyvane {

namespace {
// The running program's full path, as start-up recorded it.
std::string ProgramPath() {
    if (auto* app = dynamic_cast<CPlayerApp*>(Application::Current())) return app->ModulePath();
    char path[MAX_PATH] = "";
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    return length < sizeof path ? std::string(path, length) : std::string();
}
}  // namespace

void CPlayerDialog::ShowProperties() {
    WinmmDeviceCatalog catalog;
    CPropertyPlayback sheet(Handle(), catalog);
    sheet.Show();
    FocusOpen();
}

void CPlayerDialog::ShowFirstRunProperties() {
    // The window is not shown yet: the sheet is the first thing the user sees.
    WinmmDeviceCatalog catalog;
    CPropertyPlayback sheet(Handle(), catalog);
    sheet.Show();
}

void CPlayerDialog::CheckFileTypes() {
    // The dialog would close unseen; not making it keeps the start quick.
    if (!FileTypeCheckWanted()) return;
    RunFileTypeCheck(Handle(), ProgramPath().c_str());
}

void CPlayerDialog::ShowHelp() { ShowProgramHelp(Handle()); }

void CPlayerDialog::OnSettingsCommand(int id, LPARAM parameter) {
    // The first-run sheet posts while start-up is still under way; start-up
    // reads what the sheet stored once the sheet is closed.
    if (startingUp_) return;
    switch (id) {
    case ID_RESTART_OUTPUT: OnRestartOutput(); break;
    case ID_TASKBAR_CONTROLS_ON: AddTransportIcons(); break;
    case ID_TASKBAR_CONTROLS_OFF: RemoveTransportIcons(); break;
    case ID_SCROLL_CAPTION_ON: scrollCaption_ = true; break;
    case ID_SCROLL_CAPTION_OFF:
        scrollCaption_ = false;
        if (::IsIconic(Handle())) ::SetWindowTextA(Handle(), (title_ + " " + timeText_).c_str());
        break;
    case ID_SET_DIALOG_STATE: {
        // Any program can post the command: a number that names no state
        // is ignored.
        std::optional<DialogState> state = DialogStateFromNumber(static_cast<int64_t>(parameter));
        if (state) SetDialogState(*state);
        break;
    }
    default: break;
    }
}

}  // namespace plyvane
