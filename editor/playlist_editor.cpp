#include "playlist_editor.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>

#include "editor_file_types.h"
#include "editor_playlist_writer.h"
#include "message_box.h"
#include "resource_ids.h"
#include "settings_store.h"
#include "up_down.h"

namespace plyvane {

namespace {
struct ButtonLook {
    int id;
    int bitmap;
    const char* tip;
};

constexpr ButtonLook kButtons[] = {
    {IDC_EDITOR_NEW, IDB_EDITOR_NEW, "Clears the current playlist."},
    {IDC_EDITOR_LOAD, IDB_OPEN, "Load an existing playlist or add an audio file to the playlist."},
    {IDC_EDITOR_URL, IDB_ADDRESS, "Open an audio- or playlist file via Internet."},
    {IDC_EDITOR_IMPORT, IDB_EDITOR_IMPORT, "Add an existing playlist."},
    {IDC_EDITOR_SAVE, IDB_EDITOR_SAVE, "Save the current playlist."},
    {IDC_EDITOR_PROPERTIES, IDB_INFORMATION, "Edit the current files' properties."},
    {IDC_EDITOR_DELETE, IDB_EDITOR_DELETE, "Delete the selected playlist entry."},
    {IDC_EDITOR_TOP, IDB_EDITOR_TOP, "Move the current item to the top of the playlist."},
    {IDC_EDITOR_BOTTOM, IDB_EDITOR_BOTTOM, "Move the current item to the end of the playlist."},
    {IDC_EDITOR_LAUNCH, IDB_EDITOR_LAUNCH, "Launch your system explorer."},
};

struct ControlTip {
    int id;
    const char* tip;
};

constexpr ControlTip kControlTips[] = {
    {IDC_EDITOR_LIST, "Use Drag and Drop to add new files or to change song order."},
    {IDC_EDITOR_FILE_TYPE, "Select the filetype which is accepted during Drag and Drop."},
    {IDC_EDITOR_SUBFOLDERS, "Enable/disable recursing subdirectories."},
    {IDC_EDITOR_SHOW_EXTENSION, "Enable/disable display of file extensions."},
    {IDC_EDITOR_SHOW_PATH, "Enable/disable display of full path names."},
};

int32_t StoredDefaultVolume() {
    int32_t volume = 75;
    ReadDwordSetting(kConfigurationKey, "DefaultVolume", volume);
    return volume;
}
}  // namespace

CPlaylistEditor::CPlaylistEditor(const PlaylistEditorPorts& ports, std::string initialName, std::string* result)
    : Dialog(IDD_PLAYLIST_EDITOR), ports_(ports), initialName_(std::move(initialName)), result_(result) {
    ReadStringSetting(kConfigurationKey, "RecentURL", recentUrl_);
}

CPlaylistEditor::~CPlaylistEditor() {
    if (menus_ != nullptr) ::DestroyMenu(menus_);
    if (bigIcon_ != nullptr) ::DestroyIcon(bigIcon_);
    if (smallIcon_ != nullptr) ::DestroyIcon(smallIcon_);
}

INT_PTR CPlaylistEditor::Run(HWND owner) {
    // Our own loop, so the accelerators see every key first.
    return RunModalLoop(owner);
}

EditorImport CPlaylistEditor::Import() {
    return EditorImport(list_, EditorServices{ports_.files, ports_.profile, ports_.prober, progressWindows_, Handle()});
}

BOOL CPlaylistEditor::OnInitDialog() {
    progressWindows_ = EditorProgressWindows(Handle());
    ::DragAcceptFiles(Handle(), TRUE);
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    bigIcon_ = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_PLAYLIST_FILE), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0));
    smallIcon_ = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_PLAYLIST_FILE), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
    ::SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    ::SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));

    dragList_.Attach(Item(IDC_EDITOR_LIST), [this](int from, int to) { OnListMoved(from, to); });
    if (!initialName_.empty()) {
        list_.SetCurrentName(initialName_);
        Import().AppendPlaylistFile(initialName_);
        SetTitle(std::string(kEditorTitle) + " - " + initialName_);
    }
    SetUpControls();
    list_.SetModified(false);
    ShowList(-1);
    return TRUE;
}

void CPlaylistEditor::SetUpControls() {
    list_.Filter().Choose(AcceptedFileType::kMpegAudio);
    HWND types = Item(IDC_EDITOR_FILE_TYPE);
    for (const std::string& item : FileTypeListItems())
        ::SendMessageA(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    ::SendMessageA(types, CB_SETCURSEL, 0, 0);

    list_.SetIncludeSubfolders(true);
    list_.SetShowExtension(false);
    list_.SetShowPath(false);
    ::CheckDlgButton(Handle(), IDC_EDITOR_SUBFOLDERS, BST_CHECKED);
    ::CheckDlgButton(Handle(), IDC_EDITOR_SHOW_EXTENSION, BST_UNCHECKED);
    ::CheckDlgButton(Handle(), IDC_EDITOR_SHOW_PATH, BST_UNCHECKED);
    widest_ = 1;

    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    accelerators_ = ::LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_EDITOR_ACCELERATORS));
    menus_ = ::LoadMenuA(instance, MAKEINTRESOURCEA(IDR_EDITOR_MENU));
    tips_.Create(Handle());
    for (const ButtonLook& button : kButtons) {
        bitmaps_.SetButton(Item(button.id), button.bitmap);
        tips_.AddControl(Item(button.id), button.tip);
    }
    for (const ControlTip& control : kControlTips) tips_.AddControl(Item(control.id), control.tip);
    RecordLayout();

    const int32_t volume = StoredDefaultVolume();
    SetUpSpin(Item(IDC_EDITOR_VOLUME_SPIN), Item(IDC_EDITOR_VOLUME), 1, 100, volume);
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(volume));
    ::SetDlgItemTextA(Handle(), IDC_EDITOR_VOLUME, text);
}

void CPlaylistEditor::OnCommand(int id, int code, HWND control) {
    (void)control;
    // Buttons click (0), accelerators (1) and menu entries (0) act alike.
    const bool invoked = code == BN_CLICKED || code == 1;
    switch (id) {
    case IDOK: OnOk(); break;
    case IDCANCEL: OnCancel(); break;
    case IDC_EDITOR_NEW: if (invoked) OnNew(); break;
    case IDC_EDITOR_LOAD: if (invoked) OnLoad(); break;
    case IDC_EDITOR_URL: if (invoked) OnUrl(); break;
    case IDC_EDITOR_IMPORT: if (invoked) OnImport(); break;
    case IDC_EDITOR_SAVE: if (invoked) OnSave(); break;
    case IDC_EDITOR_PROPERTIES: if (invoked) OnProperties(); break;
    case IDC_EDITOR_DELETE: if (invoked) OnDelete(); break;
    case IDC_EDITOR_TOP: if (invoked) OnMoveToTop(true); break;
    case IDC_EDITOR_BOTTOM: if (invoked) OnMoveToTop(false); break;
    case IDC_EDITOR_LAUNCH: if (invoked) OnLaunch(); break;
    case ID_EDITOR_HELP: if (ports_.showHelp) ports_.showHelp(Handle()); break;
    case IDC_EDITOR_LIST:
        if (code == LBN_SELCHANGE) list_.SetModified(true);
        if (code == LBN_DBLCLK) OnProperties();
        break;
    case IDC_EDITOR_FILE_TYPE: if (code == CBN_SELCHANGE) OnFileType(); break;
    case IDC_EDITOR_SUBFOLDERS:
        if (code == BN_CLICKED) list_.SetIncludeSubfolders(::IsDlgButtonChecked(Handle(), id) == BST_CHECKED);
        break;
    case IDC_EDITOR_SHOW_EXTENSION:
    case IDC_EDITOR_SHOW_PATH:
        if (code == BN_CLICKED) OnDisplayOption(id);
        break;
    case IDC_EDITOR_VOLUME: if (code == EN_KILLFOCUS && !closing_) OnVolumeFieldDone(); break;
    default: break;
    }
}

bool CPlaylistEditor::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (dragList_.OnMessage(message, lParam, result)) return true;
    switch (message) {
    case WM_DROPFILES:
        result = 0;
        return OnDropFiles(reinterpret_cast<HDROP>(wParam));
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item == nullptr || item->CtlID != IDC_EDITOR_LIST) return false;
        OnDrawItem(*item);
        result = TRUE;
        return true;
    }
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), POINT{static_cast<short>(LOWORD(lParam)),
                                                            static_cast<short>(HIWORD(lParam))});
        result = 0;
        return true;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) ApplyLayout();
        return false;
    case WM_SIZING:
        OnSizing(wParam, reinterpret_cast<RECT*>(lParam));
        result = TRUE;
        return true;
    default:
        return false;
    }
}

bool CPlaylistEditor::PreTranslateMessage(MSG* message) {
    if (accelerators_ == nullptr || Handle() == nullptr) return false;
    if (message->hwnd != Handle() && !::IsChild(Handle(), message->hwnd)) return false;
    // Del and Backspace edit the text of the volume field, not the list.
    if (message->message == WM_KEYDOWN && (message->wParam == VK_DELETE || message->wParam == VK_BACK) &&
        message->hwnd == Item(IDC_EDITOR_VOLUME)) {
        return false;
    }
    return ::TranslateAcceleratorA(Handle(), accelerators_, message) != 0;
}

void CPlaylistEditor::OnDestroy() {
    // Closed some other way (its owner went away): the changes are not
    // lost without asking.
    if (!closing_ && list_.Modified()) AskToSave();
    ::DragAcceptFiles(Handle(), FALSE);
}

void CPlaylistEditor::SetResult(const std::string& name) {
    if (result_ != nullptr) *result_ = name;
}

void CPlaylistEditor::AskToSave() {
    if (AskQuestion(Handle(), kEditorQuestionCaption, MessageButtons::kYesNo, "%s", kSaveQuestion) ==
        MessageAnswer::kYes) {
        OnSave();
    }
}

void CPlaylistEditor::OnOk() {
    if (list_.Modified()) {
        if (AskQuestion(Handle(), kEditorQuestionCaption, MessageButtons::kYesNo, "%s", kSaveQuestion) ==
            MessageAnswer::kYes) {
            // A save dialog that is cancelled hands back the name as it is;
            // a save that failed keeps the window, so nothing is lost.
            if (OnSave() == SaveOutcome::kFailed) return;
        } else {
            if (!SaveTemporaryList(list_, ports_.files, Handle())) return;
            SetResult(list_.CurrentName());
        }
    }
    list_.SetModified(false);
    SetResult(list_.CurrentName());
    closing_ = true;
    EndDialog(IDOK);
}

void CPlaylistEditor::OnCancel() {
    SetResult(std::string());
    if (list_.Modified()) AskToSave();
    list_.SetModified(false);
    closing_ = true;
    EndDialog(IDCANCEL);
}

}  // namespace plyvane
