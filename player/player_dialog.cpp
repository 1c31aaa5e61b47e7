// The main window's routing, its start-up (single instance, version check,
// restored settings, command line) and its shut-down.
#include "player_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <ctime>
#include <optional>

#include "audio_engine.h"
#include "command_line.h"
#include "message_box.h"
#include "output_settings.h"
#include "player_rules.h"
#include "playback_commands.h"
#include "resource_ids.h"
#include "settings_store.h"
#include "text.h"
#include "version_check.h"

namespace plyvane {

namespace {
constexpr char kInstanceAtom[] = "Plyvane MPEG Audio Player";
constexpr UINT_PTR kCaptionTimer = 1;
constexpr UINT kCaptionTimerPeriod = 333;

int32_t ReadNumber(const char* name, int32_t fallback) {
    int32_t value = fallback;
    ReadDwordSetting(kConfigurationKey, name, value);
    return value;
}
void WriteNumber(const char* name, int32_t value) {
    WriteDwordSetting(kConfigurationKey, name, static_cast<uint32_t>(value));
}
POINT PointOf(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}
}  // namespace

CPlayerDialog::CPlayerDialog(AudioEngine& engine, const char* commandLine,
                             const char* versionString)
    : Dialog(IDD_PLAYER),
      engine_(engine),
      commandLine_(commandLine != nullptr ? commandLine : ""),
      versionString_(versionString != nullptr ? versionString : kNoVersion),
      listHost_(*this, engine),
      playlist_(listHost_) {
    ConnectInternetSources();
}

CPlayerDialog::~CPlayerDialog() {
    if (menu_ != nullptr) ::DestroyMenu(menu_);
    if (bigIcon_ != nullptr) ::DestroyIcon(bigIcon_);
    if (smallIcon_ != nullptr) ::DestroyIcon(smallIcon_);
    if (timeFont_ != nullptr) ::DeleteObject(timeFont_);
    if (nameFont_ != nullptr) ::DeleteObject(nameFont_);
}

// ---------------------------------------------------------------- start-up

BOOL CPlayerDialog::OnInitDialog() {
    HWND window = Handle();
    ::SetWindowLongPtrA(window, GWL_EXSTYLE,
                        ::GetWindowLongPtrA(window, GWL_EXSTYLE) | WS_EX_APPWINDOW);
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    tips_.Create(window, true);  // relayed in PreTranslateMessage
    accelerators_ = ::LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    bigIcon_ = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_PLYVANE), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXICON),
                                               ::GetSystemMetrics(SM_CYICON), 0));
    smallIcon_ = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_PLYVANE),
                                                 IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), 0));
    ::SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    ::SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    ::DragAcceptFiles(window, TRUE);
    BuildControls();
    menu_ = ::LoadMenuA(instance, MAKEINTRESOURCEA(IDR_PLAYER_MENU));
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    ::SetTimer(window, kCaptionTimer, kCaptionTimerPeriod, nullptr);
    MeasureWindowSizes();
    AddToolTips();
    taskbarCreated_ = ::RegisterWindowMessageA("TaskbarCreated");
    tray_.SetWindow(window, WM_TRAYNOTIFY);
    ShowOneTrack();

    if (!CheckSingleInstance()) {
        endingAtStart_ = true;
        EndDialog(IDCANCEL);
        return FALSE;
    }
    {
        // Hand-overs wait for the first-run sheet, the file-type question
        // and the command line's own open.
        BusyScope busy(*this);
        if (!CheckVersion()) {
            endingAtStart_ = true;
            DropDeferredRequests();
            EndDialog(IDCANCEL);
            return FALSE;
        }
        CheckFileTypes();
        SetOutputSettingsKey(kConfigurationKey);
        RestoreWindowPosition();
        RestoreSettings();
    }
    AddMainTrayIcon();
    if (ReadNumber("TaskBar", 1) != 0) AddTransportIcons();
    UpdateMenuStates();
    startingUp_ = false;
    return FALSE;  // the focus is on Open already
}

bool CPlayerDialog::CheckSingleInstance() {
    atom_ = ::GlobalFindAtomA(kInstanceAtom);
    if (atom_ != 0) {
        int32_t running = 0;
        ReadDwordSetting(kConfigurationKey, "RunningWindow", running);
        HWND first = reinterpret_cast<HWND>(static_cast<intptr_t>(running));
        if (running != 0 && ::IsWindow(first) && first != Handle()) {
            atom_ = 0;
            if (commandLine_.find_first_not_of(" \t") != std::string::npos) {
                WriteStringSetting(kConfigurationKey, "CommandLine", commandLine_.c_str());
                ::PostMessageA(first, WM_COMMAND, ID_REMOTE_COMMANDLINE, 0);
                return false;
            }
            ::SetForegroundWindow(Handle());
            MessageAnswer answer = AskQuestion(
                Handle(), "Plyvane instance check", MessageButtons::kYesNo,
                "Another thread of Plyvane is already running!\n\nDo your really want to run "
                "Plyvane again?");
            return answer == MessageAnswer::kYes;
        }
    } else {
        atom_ = ::GlobalAddAtomA(kInstanceAtom);
    }
    ownsAtom_ = atom_ != 0;
    WriteDwordSetting(kConfigurationKey, "RunningWindow",
                      static_cast<uint32_t>(reinterpret_cast<uintptr_t>(Handle())));
    return true;
}

bool CPlayerDialog::CheckVersion() {
    char stored[kSettingTextCapacity] = "";
    ReadStringSetting(kPlaybackKey, "Version", stored, sizeof stored);
    VersionAction action = CompareStoredVersion(stored, versionString_);
    switch (action) {
    case VersionAction::kFirstRun:
    case VersionAction::kUpgrade:
        // The defaults go in before the first-run sheet, so that what the user
        // chooses there is what stays stored.
        WriteStringSetting(kPlaybackKey, "Version", versionString_.c_str());
        WriteNumber("CheckExtentions", 1);
        WriteNumber("Buffers", 4);
        WriteNumber("FramesPerBuffer", 16);
        WriteNumber("PlaybackMethode", 1);
        if (action == VersionAction::kFirstRun) ShowFirstRunProperties();
        return true;
    case VersionAction::kOlder:
        ::SetForegroundWindow(Handle());
        ShowMessage(Handle(), "Plyvane version check",
                    "You are trying to run an older version of Plyvane\nthan the one which was "
                    "installed!\n\nPlease download the newest version of Plyvane and\nreinstall "
                    "it.",
                    MessageButtons::kOk, MessageIcon::kWarning);
        return false;
    case VersionAction::kSame:
    default:
        return true;
    }
}

void CPlayerDialog::RestoreWindowPosition() {
    int32_t x = 0, y = 0;
    if (!ReadDwordSetting(kConfigurationKey, "WindowXPos", x) ||
        !ReadDwordSetting(kConfigurationKey, "WindowYPos", y)) {
        return;
    }
    RECT window{};
    ::GetWindowRect(Handle(), &window);
    RECT desktop{};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    if (SavedPositionFits(x, y, window.right - window.left,
                          {desktop.left, desktop.top, desktop.right, desktop.bottom})) {
        ::SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CPlayerDialog::RestoreSettings() {
    // Read whole: a path of any length Windows allows is kept, not erased.
    std::string recent;
    if (CurrentSettingsStore().ReadString(kConfigurationKey, "RecentFile", recent)) {
        CopyText(currentName_, recent.c_str());
    } else {
        WriteStringSetting(kConfigurationKey, "RecentFile", "");
    }
    SetTimeMode(ReadNumber("TimeDisplay", 0) != 0 ? IDC_REMAINING : IDC_ELAPSED);
    SetListTimeMode(ReadNumber("TotalTimeDisplay", 0) != 0 ? IDC_LIST_REMAINING
                                                           : IDC_LIST_ELAPSED);
    int32_t volume = 0;
    if (ReadDwordSetting(kConfigurationKey, "Volume", volume)) {
        volume_.RestoreAtNextOpen(static_cast<uint32_t>(volume));
    }
    if (commandLine_.find_first_not_of(" \t") != std::string::npos) {
        ProcessCommandLine(commandLine_.c_str());
    } else {
        if (ReadNumber("RandomPlayback", 0) != 0) SetRandom(true);
        if (ReadNumber("EndlessPlayback", 0) != 0) SetEndless(true);
    }
    int32_t stored = ReadNumber("DialogState", 0);
    if (stored == static_cast<int32_t>(DialogState::kHidden)) {
        WriteNumber("DialogState", static_cast<int32_t>(DialogState::kLarge));
    }
    SetDialogState(StartingLayout(stored));
    scrollCaption_ = ReadNumber("ScrollCaption", 1) != 0;
}

void CPlayerDialog::ProcessCommandLine(const char* text) {
    CommandLine line = ParseCommandLine(text);
    if (line.closeAtEnd) closeAtEnd_ = true;
    if (line.endless && !playlist_.Endless()) SetEndless(true);
    if (line.random && !playlist_.Random()) SetRandom(true);
    playNow_ = line.playNow;
    if (!line.fileName.empty()) {
        playlist_.Release();
        if (!OpenPlaylist(line.fileName.c_str(), playNow_)) {
            ShowOneTrack();
            OpenSource(line.fileName.c_str(), false);
            if (playNow_) StartOrResume();
        }
        if (!playNow_) engine_.StopPlayback(true);
    }
    playNow_ = false;
}

void CPlayerDialog::OnRemoteCommandLine() {
    OnStop(false);
    // The whole text: a hand-over carries any path Windows allows.
    std::string text;
    CurrentSettingsStore().ReadString(kConfigurationKey, "CommandLine", text);
    if (text.size() > kMaxCommandLineLength) text.resize(kMaxCommandLineLength);
    ::SetForegroundWindow(Handle());
    ProcessCommandLine(text.c_str());
}

// ---------------------------------------------------------------- shut-down

void CPlayerDialog::OnDestroy() {
    if (!endingAtStart_) ShutDown();
    ::KillTimer(Handle(), kCaptionTimer);
}

void CPlayerDialog::ShutDown() {
    RemoveTransportIcons();
    tray_.Delete(IDI_PLYVANE);
    ::KillTimer(Handle(), kCaptionTimer);
    volume_.OnSourceClosing();

    std::optional<uint32_t> volume = sourceOpen_ ? volume_.VolumeToStore() : std::nullopt;
    engine_.StopPlayback(true);
    engine_.ClosePlayback();
    engine_.ShutdownPlayback();
    playlist_.Release();
    DropDeferredRequests();
    if (volume) WriteNumber("Volume", static_cast<int32_t>(*volume));
    if (ownsAtom_) {
        ::GlobalDeleteAtom(atom_);
        WriteNumber("RunningWindow", 0);
        WriteStringSetting(kConfigurationKey, "CommandLine", "");
    }
    // A minimised window is parked far off the desktop; its place on the
    // desktop is the normal position.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    RECT window{};
    ::GetWindowRect(Handle(), &window);
    if (::IsIconic(Handle()) && ::GetWindowPlacement(Handle(), &placement)) {
        window = placement.rcNormalPosition;
    }
    WriteNumber("WindowXPos", window.left);
    WriteNumber("WindowYPos", window.top);
}

// ---------------------------------------------------------------- routing

bool CPlayerDialog::PreTranslateMessage(MSG* message) {
    HWND window = Handle();
    if (window == nullptr) return false;
    bool ours = message->hwnd == window || ::IsChild(window, message->hwnd);
    if (!ours) return false;
    switch (message->message) {
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
        keyboardOrigin_ = false;
        break;
    case WM_KEYDOWN:
        // Escape would end the dialog; the player ends only by Exit or Close.
        if (message->wParam == VK_ESCAPE) return true;
        break;
    default:
        break;
    }
    if (accelerators_ != nullptr) {
        MSG copy = *message;
        keyboardOrigin_ = true;
        if (::TranslateAcceleratorA(window, accelerators_, &copy)) return true;
        keyboardOrigin_ = false;
    }
    tips_.RelayEvent(message);
    return false;
}

void CPlayerDialog::OnCommand(int id, int code, HWND control) {
    if (DeferWhileBusy(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control))) return;
    BusyScope busy(*this);
    if (OnEngineNotification(id) || OnEngineFailure(id)) return;
    switch (id) {
    case ID_REMOTE_COMMANDLINE: OnRemoteCommandLine(); break;
    case ID_RESTART_OUTPUT: case ID_TASKBAR_CONTROLS_ON: case ID_TASKBAR_CONTROLS_OFF:
    case ID_SCROLL_CAPTION_ON: case ID_SCROLL_CAPTION_OFF: case ID_SET_DIALOG_STATE:
        OnSettingsCommand(id, reinterpret_cast<LPARAM>(control));
        break;
    case IDC_OPEN: case IDOK: OnOpen(); break;
    case IDC_PLAY: OnPlay(); break;
    case IDC_PAUSE: OnPause(::GetFocus() == Item(IDC_PAUSE)); break;
    case IDC_STOP: OnStop(::GetFocus() == Item(IDC_STOP) || keyboardOrigin_); break;
    case IDC_FORWARD: OnWind(true); break;
    case IDC_REWIND: OnWind(false); break;
    case IDC_NEXT: OnNext(); break;
    case IDC_PREVIOUS: OnPrevious(); break;
    case IDC_RANDOM: case IDC_ENDLESS: ToggleSwitch(id); break;
    case IDC_TRACK_LIST: OnTrackListCommand(code); break;
    case ID_SELECT_TRACK: OnSelectTrack(); break;
    case IDC_ELAPSED: case IDC_REMAINING: SetTimeMode(id); FocusOpen(); break;
    case IDC_LIST_ELAPSED: case IDC_LIST_REMAINING: SetListTimeMode(id); FocusOpen(); break;
    case IDC_ABOUT: ShowAboutBox(); break;
    case ID_HIDE: OnHide(); break;
    case ID_HELP_INDEX: ShowHelp(); break;
    case IDC_PROPERTIES: ShowProperties(); break;
    case IDC_STREAM_PROPERTIES: ShowStreamProperties(SelectedEntryRecord()); break;
    case IDC_OPEN_URL: OnOpenUrl(); break;
    case IDC_PLAYLIST_EDITOR: OnPlaylistEditor(); break;
    case IDC_EXIT: case IDCANCEL: EndDialog(IDCANCEL); break;
    default: break;
    }
    keyboardOrigin_ = false;
}

bool CPlayerDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        OnTaskbarCreated();
        return true;
    }
    switch (message) {
    case WM_HSCROLL: OnSliderScroll(reinterpret_cast<HWND>(lParam), wParam); return true;
    case MM_MIXM_LINE_CHANGE: case MM_MIXM_CONTROL_CHANGE: volume_.OnMixerChange(); return true;
    case WM_HTTP_FAILURE: ShowHttpFailures(); return true;
    case WM_TRAYNOTIFY: OnTrayNotify(static_cast<UINT>(wParam), static_cast<UINT>(lParam)); return true;
    case WM_TIMER: OnTimer(wParam); return true;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return true;
    case WM_CONTEXTMENU: OnContextMenu(reinterpret_cast<HWND>(wParam), PointOf(lParam)); return true;
    case WM_LBUTTONDBLCLK: OnDoubleClick(PointOf(lParam)); return true;
    case WM_PAINT: PaintMinimisedIcon(); return true;
    case WM_QUERYDRAGICON: result = reinterpret_cast<LRESULT>(bigIcon_); return true;
    case WM_DRAWITEM: result = OnDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)); return true;
    // The system's default handling as well for these.
    case WM_SIZE: OnSize(static_cast<UINT>(wParam)); return false;
    case WM_WINDOWPOSCHANGING: KeepWindowSize(reinterpret_cast<WINDOWPOS*>(lParam)); return false;
    case WM_SYSCOMMAND: OnSysCommand(wParam); return false;
    default: return false;
    }
}

void CPlayerDialog::OnSliderScroll(HWND slider, WPARAM wParam) {
    int code = LOWORD(wParam);
    int position = static_cast<short>(HIWORD(wParam));
    if (slider == Item(IDC_VOLUME)) volume_.OnSlider(code, position);
    if (slider == Item(IDC_POSITION)) OnPositionSlider(code, position);
}

void CPlayerDialog::OnTimer(WPARAM id) {
    if (id == kCaptionTimer) OnCaptionTimer();
}

}  // namespace plyvane
