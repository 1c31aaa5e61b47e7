// CPlaylistEditor: the modal window in which the user builds, orders and
// saves a playlist. It works on its own list (EditorList) and hands back on
// OK the name of a playlist file for the player to open: the one saved or
// loaded, or a temporary list; on Cancel an empty name.
//
// The window is split over three files: playlist_editor.cpp (opening,
// routing, OK and Cancel), playlist_editor_commands.cpp (the commands on
// the list) and playlist_editor_view.cpp (drawing, menus, resizing).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "bitmap_button.h"
#include "dialog.h"
#include "drag_list.h"
#include "editor_layout.h"
#include "editor_list.h"
#include "editor_progress_windows.h"
#include "entry_import.h"
#include "tool_tips.h"

namespace plyvane {

inline constexpr char kEditorTitle[] = "Plyvane Playlist Editor";
inline constexpr char kEditorQuestionCaption[] = "Playlist Editor";
inline constexpr char kSaveQuestion[] = "Current settings are not saved!. Save them now?";

// What the editor reaches beyond its list.
struct PlaylistEditorPorts {
    EntryProber& prober;  // the engine's ProbeFileInfo for entry completion
    FileSystem& files = PlatformFileSystem();
    IniProfile& profile = PlatformIniProfile();
    // Properties: edits a copy of an entry's record; true on OK. Without it
    // the command does nothing.
    std::function<bool(HWND owner, std::string& record)> editProperties;
    // The Help entries of the context menus.
    std::function<void(HWND owner)> showHelp;
};

class CPlaylistEditor : public Dialog {
public:
    // `initialName`: the playlist the player has open ("" for none).
    // `result` (may be null) receives the name handed back.
    CPlaylistEditor(const PlaylistEditorPorts& ports, std::string initialName, std::string* result);
    ~CPlaylistEditor() override;

    // Runs the window modally over `owner`: IDOK or IDCANCEL.
    INT_PTR Run(HWND owner);

    // For tests: the list as the window holds it.
    const EditorList& List() const { return list_; }

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDestroy() override;
    bool PreTranslateMessage(MSG* message) override;

private:
    // ---- opening, OK, Cancel (playlist_editor.cpp) ----
    void SetUpControls();
    void OnOk();
    void OnCancel();
    void AskToSave();
    void SetResult(const std::string& name);

    // ---- commands (playlist_editor_commands.cpp) ----
    void OnNew();
    void OnLoad();
    void OnImport();
    void OnUrl();
    enum class SaveOutcome { kSaved, kCancelled, kFailed };
    SaveOutcome OnSave();
    void OnDelete();
    void OnMoveToTop(bool top);
    void OnProperties();
    void OnLaunch();
    // False for a drop of no files: it is passed on.
    bool OnDropFiles(HDROP drop);
    void OnFileType();
    void OnDisplayOption(int id);
    void OnVolumeFieldDone();
    void OnListMoved(int from, int to);
    // Load's and Import's dialog, starting at the current name, or at
    // "RecentPlaylistFile" which becomes the current name unless the dialog
    // is cancelled. The chosen files; none when cancelled.
    std::vector<std::string> ChooseToOpen(bool playlistsOnly);
    EditorImport Import();

    // ---- view (playlist_editor_view.cpp) ----
    // The list box follows the list from row `firstChanged` on (0: all of
    // it) and selects `selectRow` (-1: none).
    void ShowList(int selectRow, int firstChanged = 0);
    int SelectedRow() const;
    void SelectRow(int row);
    void SetTitle(const std::string& title);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnContextMenu(HWND window, POINT point);
    void RecordLayout();
    void ApplyLayout();
    void OnSizing(WPARAM edge, RECT* window);

    struct Placed {
        int id;
        Anchor anchor;
        Box first;
    };

    PlaylistEditorPorts ports_;
    std::string initialName_;
    std::string* result_;
    EditorList list_;
    EditorProgressWindows progressWindows_{nullptr};
    std::string recentUrl_;
    int widest_ = 1;

    HACCEL accelerators_ = nullptr;
    HMENU menus_ = nullptr;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    ToolTips tips_;
    BitmapButtons bitmaps_;
    DragListBox dragList_;

    std::vector<Placed> placed_;
    SIZE firstClient_{};
    SIZE minimumWindow_{};
    bool closing_ = false;
    bool checkingVolume_ = false;
};

}  // namespace plyvane
