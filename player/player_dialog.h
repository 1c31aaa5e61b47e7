// The main player window: transport buttons, the position and volume
// sliders, the song and stream lines, the time displays, the track section,
// the tray icons, and the start-up and shut-down around them.
//
// The class is split over several files by job: player_dialog.cpp (routing,
// start-up, shut-down), player_transport.cpp (commands on the engine),
// player_display.cpp (texts and the caption scroller), player_layout.cpp
// (controls, layouts, menus, logo), player_tray.cpp (tray icons) and
// player_settings_commands.cpp (property sheet, file types, help). The
// volume slider is a VolumeControl and the position slider a PositionSlider,
// each a member of its own.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "bitmap_button.h"
#include "command_line.h"
#include "dialog.h"
#include "display_format.h"
#include "file_byte_source.h"
#include "http_byte_source.h"
#include "playback_info.h"
#include "player_list_host.h"
#include "player_rules.h"
#include "playlist_playback.h"
#include "position_slider.h"
#include "tool_tips.h"
#include "tray_icons.h"
#include "volume_control.h"

namespace plyvane {

class AudioEngine;

// Posted to the window when the HTTP source failed in the refresh context.
inline constexpr UINT WM_HTTP_FAILURE = WM_APP + 0x4854;

class CPlayerDialog : public Dialog {
public:
    // `commandLine` is what follows the program's name.
    CPlayerDialog(AudioEngine& engine, const char* commandLine, const char* versionString);
    ~CPlayerDialog() override;

    // Operations other parts of the player use.
    int OpenSource(const char* name, bool askToSave);
    void ShowPlayerState(PlayerState state);
    void UpdateMenuStates();
    void SetDialogState(DialogState state);

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDestroy() override;
    bool PreTranslateMessage(MSG* message) override;

private:
    // ---- start-up and shut-down (player_dialog.cpp) ----
    bool CheckSingleInstance();   // false: this instance ends
    bool CheckVersion();          // false: this instance ends
    void RestoreWindowPosition();
    void RestoreSettings();
    void ProcessCommandLine(const char* text);
    void OnRemoteCommandLine();
    void OnSliderScroll(HWND slider, WPARAM wParam);
    void OnTimer(WPARAM id);
    void ShutDown();

    // ---- transport (player_transport.cpp) ----
    void StartOrResume();
    void OnPlay();
    void OnPause(bool fromPauseButton);
    void OnStop(bool rewind);
    void OnWind(bool forward);
    void OnNext();
    void OnPrevious();
    void OnOpen();
    void OnDropFiles(HDROP drop);
    void AdvancePlaylist(AdvanceCause cause);
    void OnPositionSlider(int code, int position);
    bool OnEngineNotification(int id);
    void OnRestartOutput();
    void ToggleSwitch(int id);
    PlaybackInfo EngineInfo();

    // ---- displays (player_display.cpp) ----
    void UpdateTimeDisplays(uint32_t position);
    void SetupPositionSlider(const PlaybackInfo& info);
    void ShowStreamParameters(const PlaybackInfo& info);
    void SetTimeMode(int id);
    void SetListTimeMode(int id);
    void ShowOneTrack();
    void OnCaptionTimer();
    std::string CurrentName();

    // ---- layout, menus, logo (player_layout.cpp) ----
    void BuildControls();
    void AddToolTips();
    void MeasureWindowSizes();
    void StoreDialogState(DialogState state);
    void ApplyLayout(int templateId);
    void SetNarrowWidth(bool narrow);
    void OnContextMenu(HWND window, POINT point);
    void TrackMenu(HMENU popup, POINT point);
    void OnDoubleClick(POINT point);
    LRESULT OnDrawItem(DRAWITEMSTRUCT* item);  // TRUE: handled
    void ShowAboutBox();
    void PaintMinimisedIcon();
    void KeepWindowSize(WINDOWPOS* position);
    void OnSize(UINT type);
    void OnSysCommand(WPARAM command);
    void FocusOpen();
    HMENU PlayerPopup() const;

    // ---- failures the engine met while playing (player_engine_failures.cpp) ----
    bool OnEngineFailure(int id);

    // ---- stream file properties (player_stream_properties.cpp) ----
    void ShowStreamProperties(const std::string& record);
    std::string CurrentEntryRecord();
    std::string SelectedEntryRecord();

    // ---- Internet streams (player_internet.cpp) ----
    void OnOpenUrl();
    // The list scan reads addresses through a source of its own.
    void ConnectInternetSources();
    // OpenSource's open of an address (currentName_), with the copy when
    // "PlayAndSave" is 1 and askToSave.
    bool OpenAddress(bool askToSave);
    void PrepareHttpSource();
    std::FILE* ChooseStreamCopy();
    // From any thread: the box now on the window's thread, else posted.
    void ReportHttpFailure(const std::string& text);
    void ShowHttpFailures();
    // The ICY title while an address plays (empty without one).
    std::string ShownStreamTitle() const;
    void ShowStreamTitleIfChanged();

    // ---- tray icons (player_tray.cpp) ----
    void AddMainTrayIcon();
    void AddTransportIcons();
    void RemoveTransportIcons();
    void UpdateTrayIcons(PlayerState state, const std::string& title);
    void OnTrayNotify(UINT iconId, UINT mouseMessage);
    void OnTaskbarCreated();
    void OnHide();
    void ToggleHidden();

    // ---- property sheet, file types, help (player_settings_commands.cpp) ----
    void ShowProperties();
    void ShowFirstRunProperties();
    void CheckFileTypes();
    void ShowHelp();
    // The sheet's posted commands (ID_RESTART_OUTPUT .. ID_SET_DIALOG_STATE).
    void OnSettingsCommand(int id, LPARAM parameter);
    bool startingUp_ = true;  // until start-up has read the settings

    AudioEngine& engine_;
    std::string commandLine_;
    std::string versionString_;
    FileByteSource fileSource_;

    // Window state.
    bool sourceOpen_ = false;
    char currentName_[kMaxNameLength + 1] = "";
    bool keyboardOrigin_ = false;
    bool ended_ = false;
    bool closeAtEnd_ = false;
    bool playNow_ = false;
    uint32_t durationLimit_ = 0;
    uint32_t trackTotal_ = 0;  // T of the displays, whole ms
    bool remainingTime_ = false;
    bool remainingListTime_ = false;
    uint32_t listTotal_ = 0;   // list times; 0 without a list
    uint32_t listPlayed_ = 0;
    DialogState layout_ = DialogState::kLarge;  // one of the three layouts
    bool hidden_ = false;
    bool ownsAtom_ = false;
    ATOM atom_ = 0;
    bool endingAtStart_ = false;  // start-up decided this instance ends
    bool allowResize_ = false;    // set while the window sizes itself
    bool minimised_ = false;
    bool controlsInSystemMenu_ = false;
    HMENU controlsPopup_ = nullptr;  // the pop-up while the system menu has it

    // Title and caption scroller.
    std::string title_ = "Plyvane";
    std::string timeText_ = " 0:00min ";
    bool scrollCaption_ = true;
    size_t scrollOffset_ = 0;

    // Window sizes measured from layout 0.
    int fullWidth_ = 0;
    int narrowWidth_ = 0;
    int fullHeight_ = 0;

    // Resources.
    HACCEL accelerators_ = nullptr;
    HMENU menu_ = nullptr;       // menu 213 (its first pop-up is shown)
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HFONT timeFont_ = nullptr;
    HFONT nameFont_ = nullptr;
    UINT taskbarCreated_ = 0;
    ToolTips tips_;
    BitmapButtons bitmaps_;
    VolumeControl volume_{engine_, bitmaps_};
    PositionSlider positionSlider_;
    int widestTrack_ = 0;

    // Tray icons.
    TrayIcons tray_;
    bool transportIconsShown_ = false;

    // Internet streams: the HTTP source, its progress window, failures
    // waiting for the window's thread, the ICY title shown.
    HttpByteSource httpSource_;
    HttpByteSource httpProbeSource_;  // the list scan's, beside the playing stream
    std::unique_ptr<HttpOpenProgress> httpProgress_;
    std::mutex httpFailuresMutex_;
    std::vector<std::string> httpFailures_;
    DWORD uiThread_ = 0;
    bool playingAddress_ = false;
    uint32_t shownStreamTitle_ = 0;

    // ---- lists: playlists and dropped files (player_playlist.cpp) ----
    friend class PlayerListHost;
    int OpenEntrySource(const char* name, int volumePreset, uint32_t durationLimit);
    void ShowTrackDisplays(const TrackDisplays& displays);
    // Open, a drop or the command line: a playlist becomes the active list
    // and its first entry is opened (started unless `start` is false).
    bool OpenPlaylist(const char* name, bool start);
    void OnTrackListCommand(int code);
    void OnSelectTrack();
    bool TrackPlayed(int entry) const;
    void SetRandom(bool on);
    void SetEndless(bool on);
    void ShowNothingLoaded();
    PlayerListHost listHost_;
    PlaylistPlayback playlist_;

    // ---- requests that arrive during an open, a scan or a box (player_requests.cpp) ----
    struct DeferredRequest {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool keyboardOrigin;
    };
    // Marks the window busy while a request is carried out; the requests
    // kept meanwhile run when the outermost one ends.
    class BusyScope {
    public:
        explicit BusyScope(CPlayerDialog& window) : window_(window) { ++window_.busyDepth_; }
        ~BusyScope() { window_.LeaveBusy(); }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        CPlayerDialog& window_;
    };
    // True when the request was kept for later: the window is busy.
    bool DeferWhileBusy(UINT message, WPARAM wParam, LPARAM lParam);
    void LeaveBusy();
    void DropDeferredRequests();
    int busyDepth_ = 0;
    bool runningDeferred_ = false;
    std::vector<DeferredRequest> deferred_;

    // ---- the playlist editor (player_editor.cpp) ----
    void OnPlaylistEditor();
};

}  // namespace plyvane
