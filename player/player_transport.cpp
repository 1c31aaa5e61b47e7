// The main window's commands on the engine: play, pause, stop, wind, next,
// open, drop, the position slider and the engine's own
// notifications.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstring>

#include "audio_engine.h"
#include "file_dialog.h"
#include "message_box.h"
#include "player_dialog.h"
#include "player_rules.h"
#include "playback_commands.h"
#include "resource_ids.h"
#include "settings_store.h"
#include "text.h"

namespace plyvane {

namespace {
constexpr char kOpenFilter[] =
    "MPEG Audio Files (*.mp2;*.mp3;*.l2;*.l3)|*.mp2;*.mp3;*.l2;*.l3|"
    "Playlist Files (*.pls;*.m3u)|*.pls;*.m3u|All Files (*.*)|*.*|";

bool IsHttpAddress(const char* name) { return ::_strnicmp(name, "http://", 7) == 0; }

constexpr DWORD kNextDelayMilliseconds = 500;
// An entry's duration limit cuts it at the first position report this far
// past the limit.
constexpr uint32_t kDurationLimitGraceMilliseconds = 500;
}  // namespace

PlaybackInfo CPlayerDialog::EngineInfo() { return engine_.GetPlaybackInfo(); }

// ---------------------------------------------------------------- transport

void CPlayerDialog::StartOrResume() {
    if (!sourceOpen_) return;
    if (engine_.IsPlaying()) {
        if (engine_.IsPaused() && !engine_.ResumePlayback()) return;
        ShowPlayerState(PlayerState::kPlaying);
    } else {
        ShowPlayerState(engine_.StartPlayback() ? PlayerState::kPlaying : PlayerState::kStopped);
    }
}

void CPlayerDialog::OnPlay() {
    keyboardOrigin_ = false;
    StartOrResume();
}

void CPlayerDialog::OnPause(bool fromPauseButton) {
    if (!sourceOpen_) return;
    if (!engine_.IsPlaying()) {
        ShowPlayerState(PlayerState::kStopped);
    } else if (!engine_.IsPaused()) {
        if (engine_.PausePlayback()) ShowPlayerState(PlayerState::kPaused);
    } else if (fromPauseButton || keyboardOrigin_ || ::IsIconic(Handle())) {
        if (engine_.ResumePlayback()) ShowPlayerState(PlayerState::kPlaying);
    } else {
        // A seek while paused refreshes the display this way.
        ShowPlayerState(PlayerState::kPaused);
    }
}

void CPlayerDialog::OnStop(bool rewind) {
    if (!sourceOpen_) return;
    if (engine_.IsPlaying()) {
        // A stop that found the stream just ended has still stopped it.
        if (!engine_.StopPlayback(false) && engine_.IsPlaying()) return;
        positionSlider_.MoveTo(0);
        UpdateTimeDisplays(0);
    }
    if (rewind) {
        if (playlist_.IsActive()) {
            playlist_.Rewind();
        } else {
            // Without a list the first entry is the single source itself.
            char name[sizeof currentName_];
            CopyText(name, currentName_);
            OpenSource(name, false);
            ShowOneTrack();
        }
        engine_.StopPlayback(true);
        closeAtEnd_ = false;
        volume_.ApplyPreset(100);
    }
    ShowPlayerState(PlayerState::kStopped);
}

void CPlayerDialog::OnWind(bool forward) {
    if (!sourceOpen_ || !engine_.IsPlaying()) return;
    PlaybackInfo info = EngineInfo();
    long step = positionSlider_.WindStepMilliseconds();
    long current = static_cast<long>(info.position);
    long target = forward ? current + step : current - step;
    if (forward ? target > static_cast<long>(info.length) : target < 0) return;
    positionSlider_.MoveTo(static_cast<uint32_t>(target));
    engine_.SeekPlayback(static_cast<uint32_t>(target));
}

void CPlayerDialog::OnNext() {
    // Next waits half a second, as repeated presses of Next always did.
    ::Sleep(kNextDelayMilliseconds);
    AdvancePlaylist(ended_ ? AdvanceCause::kEndOfStream : AdvanceCause::kNext);
}

void CPlayerDialog::OnPrevious() { playlist_.Previous(); }

void CPlayerDialog::AdvancePlaylist(AdvanceCause cause) {
    ended_ = false;
    if (playlist_.AdvancePlaylist(cause)) return;
    // A stream that never sounded is not started again and again.
    if (playlist_.Endless() && engine_.ProducedSound()) {
        StartOrResume();  // the engine opens the ended stream again
    } else if (closeAtEnd_) {
        EndDialog(IDCANCEL);
    } else if (sourceOpen_) {
        char name[sizeof currentName_];
        CopyText(name, currentName_);
        OpenSource(name, false);
        engine_.StopPlayback(true);  // the file waits at its start
    }
}

void CPlayerDialog::OnOpen() {
    char name[kMaxNameLength + 1] = "";
    std::string recent;
    if (CurrentSettingsStore().ReadString(kConfigurationKey, "RecentFile", recent)) {
        CopyText(name, recent.c_str());
    }
    FileDialogRequest request;
    request.owner = Handle();
    request.filter = kOpenFilter;
    request.defaultExtension = "mp2";
    request.flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!ChooseOpenFile(request, name, sizeof name)) return;
    playlist_.Release();
    if (OpenPlaylist(name, true)) return;
    ShowOneTrack();
    if (OpenSource(name, false)) WriteStringSetting(kConfigurationKey, "RecentFile", name);
    StartOrResume();
}

void CPlayerDialog::OnDropFiles(HDROP drop) {
    if (DeferWhileBusy(WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0)) return;
    BusyScope busy(*this);
    OnStop(false);
    engine_.ClosePlayback();
    sourceOpen_ = false;
    playlist_.Release();
    UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    // Every dropped name, in the order of the drop; a name longer than a
    // path can be is passed over.
    std::vector<std::string> names;
    for (UINT i = 0; i < count; ++i) {
        char name[MAX_PATH] = "";
        UINT length = ::DragQueryFileA(drop, i, nullptr, 0);
        if (length == 0 || length >= sizeof name) continue;
        ::DragQueryFileA(drop, i, name, sizeof name);
        names.emplace_back(name);
    }
    ::DragFinish(drop);
    if (names.empty()) {
        ShowNothingLoaded();
        return;
    }
    ::SetForegroundWindow(Handle());
    if (OpenPlaylist(names.front().c_str(), true)) return;
    playlist_.LoadDroppedFiles(std::move(names));
    playlist_.PlayFirstEntry();
    if (sourceOpen_) WriteStringSetting(kConfigurationKey, "RecentFile", currentName_);
}

// ---------------------------------------------------------------- open

int CPlayerDialog::OpenSource(const char* name, bool askToSave) {
    CopyText(currentName_, name);
    engine_.StopPlayback(false);
    engine_.ClosePlayback();
    volume_.OnSourceClosing();

    playingAddress_ = IsHttpAddress(currentName_);
    bool opened = playingAddress_ ? OpenAddress(askToSave)
                                  : engine_.OpenPlayback(Handle(), currentName_, &fileSource_, 1000) != 0;
    if (!opened) {
        ShowMessage(Handle(), "Open audio file", "MPEG stream init faild!", MessageButtons::kOk,
                    MessageIcon::kNone);
    }
    if (!opened) {
        ShowNothingLoaded();
        return 0;
    }

    durationLimit_ = 0;
    PlaybackInfo info = EngineInfo();
    sourceOpen_ = true;  // the displays below name the open stream
    ShowPlayerState(PlayerState::kStopped);

    volume_.OnSourceOpened(info);
    SetupPositionSlider(info);
    UpdateTimeDisplays(0);
    UpdateMenuStates();
    return 1;
}

// ---------------------------------------------------------------- position slider

void CPlayerDialog::OnPositionSlider(int code, int position) {
    if (!sourceOpen_ || code < TB_LINEUP || code > TB_BOTTOM) return;
    if (code == TB_THUMBTRACK) {
        UpdateTimeDisplays(positionSlider_.Drag(position, durationLimit_));
        return;
    }
    if (!positionSlider_.BeginSeek(code)) return;
    uint32_t time = positionSlider_.SeekTime();
    engine_.SeekPlayback(time);
    if (IsPushed(Item(IDC_PAUSE))) OnPause(false);
    UpdateTimeDisplays(time);
    positionSlider_.EndSeek();
}

// ---------------------------------------------------------------- notifications

bool CPlayerDialog::OnEngineNotification(int id) {
    // The record is read from the engine itself: lParam is not trusted, any
    // program can post a command to this window.
    switch (id) {
    case ID_PLAYBACK_POSITION: {
        PlaybackInfo info = EngineInfo();
        uint32_t position = info.position > 0 ? static_cast<uint32_t>(info.position) : 0;
        if (durationLimit_ != 0 && durationLimit_ + kDurationLimitGraceMilliseconds < position) {
            // Not inside another request's box: the next report advances.
            if (busyDepth_ == 1) AdvancePlaylist(AdvanceCause::kDurationLimit);
        } else if (positionSlider_.FollowsPlayback()) {
            UpdateTimeDisplays(position);
            positionSlider_.MoveTo(position);
        }
        ShowStreamTitleIfChanged();
        return true;
    }
    case ID_PLAYBACK_NEXTFILE: {
        EntryToOpen entry = playlist_.OnNextFile();
        PlaybackInfo info = EngineInfo();
        SetupPositionSlider(info);
        if (entry.index != 0) {
            volume_.ApplyPreset(entry.volumePreset);
            durationLimit_ = entry.durationLimit > 0 ? static_cast<uint32_t>(entry.durationLimit) : 0;
        }
        if (engine_.IsPlaying()) ShowPlayerState(PlayerState::kPlaying);
        return true;
    }
    case ID_PLAYBACK_ENDED:
        if (!engine_.ClaimPlaybackEnd()) return true;  // the user stopped that stream
        ShowPlayerState(PlayerState::kStopped);
        UpdateTimeDisplays(0);
        positionSlider_.MoveTo(0);
        ended_ = true;
        ::PostMessageA(Handle(), WM_COMMAND, IDC_NEXT, 0);
        return true;
    default:
        return false;
    }
}

void CPlayerDialog::OnRestartOutput() {
    positionSlider_.FollowPlayback(false);
    if (engine_.IsPlaying()) {
        // The position is where the sounding block began, so the restart
        // repeats a moment at most and never skips.
        PlaybackInfo info = EngineInfo();
        uint32_t time = info.position > 0 ? static_cast<uint32_t>(info.position) : 0;
        bool paused = engine_.IsPaused();
        engine_.StopPlayback(true);
        engine_.SeekPlayback(time);
        if (!engine_.StartPlayback()) {
            ShowPlayerState(PlayerState::kStopped);
        } else if (paused) {
            // A paused stream stays paused, now in the new format.
            engine_.PausePlayback();
        }
    }
    if (sourceOpen_) ShowStreamParameters(EngineInfo());
    positionSlider_.FollowPlayback(true);
}

// ---------------------------------------------------------------- switches

void CPlayerDialog::ToggleSwitch(int id) {
    HWND button = Item(id);
    bool on = id == IDC_RANDOM ? playlist_.Random() : playlist_.Endless();
    if (::GetFocus() != button && !::IsIconic(Handle()) && !keyboardOrigin_) {
        SetPushed(button, on);
        return;
    }
    if (id == IDC_RANDOM) {
        SetRandom(!on);
    } else {
        SetEndless(!on);
    }
    UpdateMenuStates();
    FocusOpen();
}

// ---------------------------------------------------------------- state

void CPlayerDialog::ShowPlayerState(PlayerState state) {
    SetPushed(Item(IDC_PLAY), state == PlayerState::kPlaying);
    SetPushed(Item(IDC_STOP), state == PlayerState::kStopped);
    SetPushed(Item(IDC_PAUSE), state == PlayerState::kPaused);
    for (int id : {IDC_PREVIOUS, IDC_REWIND, IDC_FORWARD, IDC_NEXT}) SetPushed(Item(id), false);

    title_ = WindowTitle(state, CurrentName());
    if (!::IsIconic(Handle())) ::SetWindowTextA(Handle(), title_.c_str());
    UpdateTrayIcons(state, title_);
    UpdateMenuStates();
    if (::GetForegroundWindow() == Handle()) FocusOpen();
}

void CPlayerDialog::UpdateMenuStates() {
    HMENU popup = PlayerPopup();
    if (popup == nullptr) return;
    auto enable = [popup](int id, bool on) {
        ::EnableMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    bool playing = engine_.IsPlaying();
    bool paused = engine_.IsPaused();
    bool running = playing && !paused;
    // Nothing to play once an open failed, whatever the engine still names.
    bool playable =
        running ? false : (playing ? true : sourceOpen_ && EngineInfo().title[0] != '\0');
    ::EnableWindow(Item(IDC_PLAY), sourceOpen_);
    enable(IDC_PLAY, playable);
    enable(IDC_STOP, playing);
    enable(IDC_PAUSE, playing);
    for (int id : {IDC_FORWARD, IDC_REWIND, IDC_NEXT, IDC_PREVIOUS}) enable(id, running);
    ::CheckMenuItem(popup, IDC_RANDOM, MF_BYCOMMAND | (playlist_.Random() ? MF_CHECKED : MF_UNCHECKED));
    ::CheckMenuItem(popup, IDC_ENDLESS, MF_BYCOMMAND | (playlist_.Endless() ? MF_CHECKED : MF_UNCHECKED));
    ::CheckMenuItem(popup, ID_HIDE, MF_BYCOMMAND | (hidden_ ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace plyvane
