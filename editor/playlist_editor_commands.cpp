// The playlist editor's commands on its list.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include "default_volume_field.h"
#include "editor_file_types.h"
#include "editor_playlist_writer.h"
#include "file_dialog.h"
#include "message_box.h"
#include "playlist_editor.h"
#include "playlist_file.h"
#include "resource_ids.h"
#include "settings_store.h"
#include "text.h"
#include "url_entry_dialog.h"

namespace plyvane {

namespace {
constexpr char kLauncherCaption[] = "Application launcher";

bool IsPlaylistName(const std::string& name) { return PlaylistKindOf(name) != PlaylistKind::kNone; }

std::string WithoutFolder(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

void CPlaylistEditor::OnNew() {
    SetResult(std::string());
    if (list_.Modified()) AskToSave();
    list_.Clear();
    SetTitle("Plyvane playlist editor");
    ShowList(-1);
}

std::vector<std::string> CPlaylistEditor::ChooseToOpen(bool playlistsOnly) {
    const bool fromRecent = list_.CurrentName().empty();
    if (fromRecent) {
        std::string recent;
        ReadStringSetting(kConfigurationKey, "RecentPlaylistFile", recent);
        list_.SetCurrentName(recent);
    }
    const std::string filter = playlistsOnly ? PlaylistDialogFilter() : LoadDialogFilter();
    FileDialogRequest request;
    request.owner = Handle();
    request.filter = filter.c_str();
    request.defaultExtension = playlistsOnly ? "pls" : "mp2";
    request.flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    std::vector<std::string> chosen;
    if (playlistsOnly) {
        char name[MAX_PATH];
        CopyText(name, list_.CurrentName().c_str());
        if (ChooseOpenFile(request, name, sizeof name)) chosen.emplace_back(name);
    } else {
        chosen = ChooseOpenFiles(request, list_.CurrentName().c_str());
    }
    if (chosen.empty() && fromRecent) list_.SetCurrentName(std::string());
    return chosen;
}

void CPlaylistEditor::OnLoad() {
    const std::vector<std::string> names = ChooseToOpen(false);
    if (names.empty()) return;
    if (names.size() == 1 && IsPlaylistName(names.front())) {
        const std::string& name = names.front();
        if (list_.Modified()) AskToSave();
        list_.SetModified(false);
        Import().LoadPlaylist(name);
        SetTitle("Plyvane playlist editor - " + name);
        ShowList(-1);
        return;
    }
    // Several files at once: audio files are added, playlists among them
    // appended to the list.
    const int before = list_.Count();
    EditorImport import = Import();
    for (const std::string& name : names) {
        if (IsPlaylistName(name)) {
            import.AppendPlaylistFile(name);
            list_.SetModified(true);
        } else {
            import.AddEntry(name);
        }
    }
    ShowList(list_.Count() - 1, before);
}

void CPlaylistEditor::OnImport() {
    const std::vector<std::string> names = ChooseToOpen(true);
    if (names.empty()) return;
    const int before = list_.Count();
    Import().ImportPlaylist(names.front());
    ShowList(list_.Count() - 1, before);
}

void CPlaylistEditor::OnUrl() {
    CUrlEntryDialog dialog(recentUrl_);
    if (dialog.Show(Handle()) != IDOK || dialog.Url().empty()) return;
    const std::string url = dialog.Url();
    const int before = list_.Count();
    Import().AddEntry(url);
    recentUrl_ = url;
    WriteStringSetting(kConfigurationKey, "RecentURL", url.c_str());
    list_.SetModified(true);
    ShowList(list_.Count() - 1, before);
}

CPlaylistEditor::SaveOutcome CPlaylistEditor::OnSave() {
    char name[MAX_PATH];
    CopyText(name, list_.CurrentName().c_str());
    const std::string filter = PlaylistDialogFilter();
    FileDialogRequest request;
    request.owner = Handle();
    request.filter = filter.c_str();
    request.defaultExtension = "pls";
    request.flags = OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    if (!ChooseSaveFile(request, name, sizeof name)) return SaveOutcome::kCancelled;
    // Told already when it fails; the list stays modified.
    if (!SaveEditorList(list_, name, ports_.files, Handle())) return SaveOutcome::kFailed;
    SetResult(name);
    SetTitle(std::string(kEditorTitle) + " - " + WithoutFolder(name));
    return SaveOutcome::kSaved;
}

void CPlaylistEditor::OnDelete() {
    const int row = SelectedRow();
    if (row < 0) return;
    ShowList(list_.Remove(row), row);
    ::SetFocus(Item(IDC_EDITOR_LIST));
}

void CPlaylistEditor::OnMoveToTop(bool top) {
    const int row = SelectedRow();
    if (row < 0) return;
    if (top) {
        ShowList(list_.MoveToTop(row));
    } else {
        ShowList(list_.MoveToBottom(row), row);
    }
    ::SetFocus(Item(IDC_EDITOR_LIST));
}

void CPlaylistEditor::OnListMoved(int from, int to) {
    // The list box has moved the row already; the list follows.
    const int onto = to < from ? to : to + 1;
    list_.MoveBefore(from, onto);
    ShowList(to, from < to ? from : to);
}

void CPlaylistEditor::OnProperties() {
    const int row = SelectedRow();
    if (row < 0 || !ports_.editProperties) return;
    std::string record = list_.Entry(row);
    if (!ports_.editProperties(Handle(), record)) return;
    list_.Replace(row, record);
    ShowList(row, row);
    ::SetFocus(Item(IDC_EDITOR_LIST));
    SelectRow(row);
}

void CPlaylistEditor::OnLaunch() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    ::GetVersionExA(&version);
    const bool explorer = version.dwMajorVersion > 3;
    const UINT started = ::WinExec(explorer ? "Explorer.exe" : "Winfile.exe", SW_SHOWDEFAULT);
    if (started < 32) {
        ShowMessage(Handle(), kLauncherCaption,
                    explorer ? "Unable to launch Your systems' explorer!"
                             : "Unable to launch your systems' file manager!",
                    MessageButtons::kOk, MessageIcon::kNone);
    }
}

bool CPlaylistEditor::OnDropFiles(HDROP drop) {
    const UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    if (count == 0) return false;
    std::vector<std::string> names;
    for (UINT i = 0; i < count; ++i) {
        char name[1024];
        const UINT length = ::DragQueryFileA(drop, i, name, sizeof name);
        // A name cut to the buffer would name another file.
        if (length == 0 || length >= sizeof name) continue;
        names.emplace_back(name, length);
    }
    ::DragFinish(drop);
    if (names.empty()) return true;
    const int before = list_.Count();
    Import().AddDroppedFiles(names);
    ShowList(list_.Count() - 1, before);
    return true;
}

void CPlaylistEditor::OnFileType() {
    const LRESULT chosen = ::SendDlgItemMessageA(Handle(), IDC_EDITOR_FILE_TYPE, CB_GETCURSEL, 0, 0);
    list_.Filter().Choose(chosen == 1 ? AcceptedFileType::kAllFiles : AcceptedFileType::kMpegAudio);
}

void CPlaylistEditor::OnDisplayOption(int id) {
    const bool on = ::IsDlgButtonChecked(Handle(), id) == BST_CHECKED;
    if (id == IDC_EDITOR_SHOW_PATH) {
        list_.SetShowPath(on);
    } else {
        list_.SetShowExtension(on);
    }
    widest_ = 1;
    HWND list = Item(IDC_EDITOR_LIST);
    ::SendMessageA(list, LB_SETHORIZONTALEXTENT, 1, 0);
    ::InvalidateRect(list, nullptr, TRUE);
    ::UpdateWindow(list);
    ::SetFocus(list);
}

void CPlaylistEditor::OnVolumeFieldDone() {
    // The message box takes the focus from the field: no second check then.
    if (checkingVolume_) return;
    checkingVolume_ = true;
    char text[64] = "";
    ::GetDlgItemTextA(Handle(), IDC_EDITOR_VOLUME, text, sizeof text);
    const DefaultVolumeInput input = TakeDefaultVolume(text);
    if (!input.valid) {
        ShowMessage(Handle(), kVolumeSettingCaption, kVolumeNotValid, MessageButtons::kOk, MessageIcon::kError);
        ::SetFocus(Item(IDC_EDITOR_VOLUME));
    }
    if (input.text != text) ::SetDlgItemTextA(Handle(), IDC_EDITOR_VOLUME, input.text.c_str());
    checkingVolume_ = false;
}

}  // namespace plyvane
