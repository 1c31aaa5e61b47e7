// The tray icons: the main icon for the window's whole life and, when
// wanted, four transport icons; their clicks; hiding the window.
#include "audio_engine.h"
#include "player_dialog.h"
#include "resource_ids.h"

namespace plyvane {

namespace {
constexpr char kFirstTip[] = "Plyvane MPEG Audio Player";
}  // namespace

void CPlayerDialog::AddMainTrayIcon() { tray_.Add(IDI_PLYVANE, IDI_PLYVANE, kFirstTip); }

void CPlayerDialog::AddTransportIcons() {
    if (transportIconsShown_) return;
    bool running = engine_.IsPlaying() && !engine_.IsPaused();
    tray_.Add(IDI_TRAY_PREVIOUS, IDI_TRAY_PREVIOUS, "Previous song in queue");
    tray_.Add(IDI_TRAY_PLAY, running ? IDI_TRAY_PAUSE : IDI_TRAY_PLAY, running ? "Pause" : "Play");
    tray_.Add(IDI_TRAY_STOP, IDI_TRAY_STOP, "Stop");
    tray_.Add(IDI_TRAY_NEXT, IDI_TRAY_NEXT, "Next song in queue");
    transportIconsShown_ = true;
}

void CPlayerDialog::RemoveTransportIcons() {
    if (!transportIconsShown_) return;
    for (UINT id : {IDI_TRAY_PREVIOUS, IDI_TRAY_PLAY, IDI_TRAY_STOP, IDI_TRAY_NEXT}) {
        tray_.Delete(id);
    }
    transportIconsShown_ = false;
}

void CPlayerDialog::UpdateTrayIcons(PlayerState state, const std::string& title) {
    tray_.Modify(IDI_PLYVANE, IDI_PLYVANE, title.c_str());
    if (!transportIconsShown_) return;
    bool playing = state == PlayerState::kPlaying;
    tray_.Modify(IDI_TRAY_PLAY, playing ? IDI_TRAY_PAUSE : IDI_TRAY_PLAY,
                 playing ? "Pause" : "Play");
}

void CPlayerDialog::OnTrayNotify(UINT iconId, UINT mouseMessage) {
    if (DeferWhileBusy(WM_TRAYNOTIFY, iconId, mouseMessage)) return;
    BusyScope busy(*this);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    if (mouseMessage == WM_LBUTTONUP) {
        switch (iconId) {
        case IDI_TRAY_PLAY:
            keyboardOrigin_ = true;
            if (engine_.IsPlaying()) {
                OnPause(false);
            } else {
                StartOrResume();
            }
            break;
        case IDI_TRAY_STOP:
            keyboardOrigin_ = true;
            OnStop(true);
            break;
        case IDI_TRAY_NEXT:
            AdvancePlaylist(AdvanceCause::kNext);
            break;
        case IDI_TRAY_PREVIOUS:
            OnPrevious();
            break;
        default:
            break;
        }
    } else if (mouseMessage == WM_LBUTTONDBLCLK && iconId == IDI_PLYVANE) {
        ::SetForegroundWindow(Handle());
        ToggleHidden();
        UpdateMenuStates();
    } else if (mouseMessage == WM_RBUTTONUP && iconId == IDI_PLYVANE) {
        keyboardOrigin_ = true;
        UpdateMenuStates();
        TrackMenu(PlayerPopup(), cursor);
    }
    keyboardOrigin_ = false;
}

void CPlayerDialog::OnTaskbarCreated() {
    // Explorer restarted: our icons went with the old taskbar.
    bool transport = transportIconsShown_;
    transportIconsShown_ = false;
    AddMainTrayIcon();
    if (transport) AddTransportIcons();
}

void CPlayerDialog::OnHide() {
    ToggleHidden();
    UpdateMenuStates();
}

void CPlayerDialog::ToggleHidden() {
    SetDialogState(hidden_ ? DialogState::kShown : DialogState::kHidden);
}

}  // namespace plyvane
