// The main window's lists: the playlist or the dropped files it plays, the
// track section (counters, list times, the owner-drawn track list and the
// width rule) and list playback's calls back into the window.
#include <windows.h>
#include <commctrl.h>

#include "audio_engine.h"
#include "player_dialog.h"
#include "playlist_entry.h"
#include "playlist_file.h"
#include "resource_ids.h"
#include "settings_store.h"
#include "text.h"

namespace plyvane {

// ---------------------------------------------------------------- the host

PlayerListHost::PlayerListHost(CPlayerDialog& window, AudioEngine& engine)
    : window_(window), engine_(engine), prober_(engine) {}

WindowHandle PlayerListHost::Owner() { return window_.Handle(); }

bool PlayerListHost::OpenEntry(const EntryToOpen& entry) {
    const std::string path = EntryField(entry.source, kEntryPath);
    const uint32_t limit = entry.durationLimit > 0 ? static_cast<uint32_t>(entry.durationLimit) : 0;
    return window_.OpenEntrySource(path.c_str(), entry.volumePreset, limit) != 0;
}

void PlayerListHost::Stop() { window_.OnStop(false); }

void PlayerListHost::StopPlayback(bool releaseDevice) { engine_.StopPlayback(releaseDevice); }

void PlayerListHost::ClosePlayback() {
    engine_.StopPlayback(false);
    engine_.ClosePlayback();
    window_.sourceOpen_ = false;
}

void PlayerListHost::StartOrResume() { window_.StartOrResume(); }

void PlayerListHost::ResetVolumePreset() { window_.volume_.ApplyPreset(100); }

bool PlayerListHost::CloseAtEnd() { return window_.closeAtEnd_; }

void PlayerListHost::EndProgram() { window_.EndDialog(IDCANCEL); }

bool PlayerListHost::EndedWithoutSound() { return !engine_.ProducedSound(); }

void PlayerListHost::ClearTrackList() {
    HWND list = window_.Item(IDC_TRACK_LIST);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    window_.widestTrack_ = 0;
    ::SendMessageA(list, LB_SETHORIZONTALEXTENT, 0, 0);
}

void PlayerListHost::AddTrackLine(const std::string& text) {
    ::SendMessageA(window_.Item(IDC_TRACK_LIST), LB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(text.c_str()));
}

void PlayerListHost::SelectTrackLine(int entry) {
    ::SendMessageA(window_.Item(IDC_TRACK_LIST), LB_SETCURSEL, static_cast<WPARAM>(entry - 1), 0);
}

void PlayerListHost::RedrawTrackList() {
    ::InvalidateRect(window_.Item(IDC_TRACK_LIST), nullptr, TRUE);
}

void PlayerListHost::ShowTrackDisplays(const TrackDisplays& displays) {
    window_.ShowTrackDisplays(displays);
}

EntryProber& PlayerListHost::Prober() {
    prober_.SetOwner(window_.Handle());
    return prober_;
}

ScanProgress& PlayerListHost::Progress() {
    if (progress_ == nullptr) progress_ = std::make_unique<ScanProgressWindow>(window_.Handle());
    return *progress_;
}

// ---------------------------------------------------------------- the window

int CPlayerDialog::OpenEntrySource(const char* name, int volumePreset, uint32_t durationLimit) {
    if (!OpenSource(name, false)) return 0;
    durationLimit_ = durationLimit;
    volume_.ApplyPreset(volumePreset);
    return 1;
}

bool CPlayerDialog::OpenPlaylist(const char* name, bool start) {
    if (PlaylistKindOf(name) == PlaylistKind::kNone || !playlist_.LoadPlaylist(name)) return false;
    WriteStringSetting(kConfigurationKey, "RecentFile", name);
    playlist_.PlayFirstEntry(start);
    return true;
}

void CPlayerDialog::ShowTrackDisplays(const TrackDisplays& displays) {
    if (!displays.list) {
        ShowOneTrack();
        return;
    }
    if (layout_ == DialogState::kLarge) SetNarrowWidth(false);
    char number[16];
    FormatText(number, sizeof number, "%d ", displays.counters.track);
    ::SetDlgItemTextA(Handle(), IDC_TRACK, number);
    FormatText(number, sizeof number, "%d ", displays.counters.total);
    ::SetDlgItemTextA(Handle(), IDC_TOTAL_TRACKS, number);
    FormatText(number, sizeof number, "%d ", displays.counters.toGo);
    ::SetDlgItemTextA(Handle(), IDC_TO_GO, number);
    listTotal_ = displays.listTotal;
    listPlayed_ = displays.listPlayed;
    ::SetDlgItemTextA(Handle(), IDC_LIST_TOTAL_TIME, FormatListTotal(listTotal_).c_str());
    PlaybackInfo info = EngineInfo();
    UpdateTimeDisplays(sourceOpen_ && info.position > 0 ? static_cast<uint32_t>(info.position) : 0);
}

void CPlayerDialog::OnTrackListCommand(int code) {
    if (code == LBN_DBLCLK) OnSelectTrack();
}

void CPlayerDialog::OnSelectTrack() {
    LRESULT selected = ::SendMessageA(Item(IDC_TRACK_LIST), LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return;
    playlist_.PlaySelected(static_cast<int>(selected) + 1);
}

bool CPlayerDialog::TrackPlayed(int entry) const { return playlist_.Queue().IsPlayed(entry); }

void CPlayerDialog::SetRandom(bool on) {
    playlist_.SetRandom(on);
    SetPushed(Item(IDC_RANDOM), on);
}

void CPlayerDialog::SetEndless(bool on) {
    playlist_.SetEndless(on);
    SetPushed(Item(IDC_ENDLESS), on);
}

void CPlayerDialog::ShowNothingLoaded() {
    // After a failed open nothing is loaded: no stream lines, no scale,
    // nothing to play.
    sourceOpen_ = false;
    durationLimit_ = 0;
    trackTotal_ = 0;
    positionSlider_.Clear();
    for (int id : {IDC_SONG_NAME, IDC_OUTPUT_PARAMETERS, IDC_SOURCE_PARAMETERS, IDC_SCALE_END,
                   IDC_SCALE_START}) {
        ::SetDlgItemTextA(Handle(), id, "");
    }
    UpdateTimeDisplays(0);
    ShowPlayerState(PlayerState::kStopped);
}

}  // namespace plyvane
