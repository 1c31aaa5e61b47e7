// The playlist editor on a real window under Wine: files and folders dropped
// on it, reordering by dragging, removing, saving through the system's save
// dialog and reading the list back, OK and Cancel with the save question,
// the volume field, Properties, and resizing. Files live in a test folder;
// the stream probe answers from a table.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "drag_list.h"
#include "editor_test_support.h"
#include "playlist_editor.h"
#include "playlist_entry.h"
#include "resource_ids.h"
#include "ui_thread.h"
#include "window_driver.h"

namespace plyvane::testing {
namespace {

const std::string kGuiDir = PLYVANE_GUI_DIR;

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A click whose handler runs to its end before the test goes on.
void Click(HWND dialog, int id) { ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// A click whose handler opens a modal window: posted, so the test goes on.
void ClickLater(HWND dialog, int id) { ::PostMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

BOOL CALLBACK FindFileNameBox(HWND child, LPARAM parameter) {
    // The explorer-style dialog's file name: an edit inside combo box 0x47C,
    // or edit 0x480 in the older layout.
    const int id = ::GetDlgCtrlID(child);
    if (id == 0x47C || id == 0x480) {
        HWND edit = ::FindWindowExA(child, nullptr, "Edit", nullptr);
        *reinterpret_cast<HWND*>(parameter) = edit != nullptr ? edit : child;
        return FALSE;
    }
    return TRUE;
}

// Keys typed on the keyboard to the editor, with the focus on `control`
// (keys go to the focused window of the foreground window's thread).
void TypeKeys(HWND window, HWND control, std::initializer_list<WORD> down) {
    ::SetForegroundWindow(window);
    const DWORD windowThread = ::GetWindowThreadProcessId(window, nullptr);
    ::AttachThreadInput(::GetCurrentThreadId(), windowThread, TRUE);
    ::SetFocus(control);
    ::AttachThreadInput(::GetCurrentThreadId(), windowThread, FALSE);
    std::vector<INPUT> keys;
    for (WORD key : down) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        keys.push_back(input);
    }
    for (auto key = down.end(); key != down.begin();) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *--key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        keys.push_back(input);
    }
    ::SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

BOOL CALLBACK FindMenuWindow(HWND window, LPARAM parameter) {
    char className[16] = "";
    ::GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32768") != 0 || !::IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(parameter) = window;
    return FALSE;
}

// The items of the pop-up menu that is up, as "text" or "text (grey)".
std::vector<std::string> ShownMenu() {
    HWND window = nullptr;
    WaitUntil([&] {
        ::EnumWindows(&FindMenuWindow, reinterpret_cast<LPARAM>(&window));
        return window != nullptr;
    });
    std::vector<std::string> items;
    if (window == nullptr) return items;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(window, MN_GETHMENU, 0, 0));
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        char text[64] = "";
        ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        const UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        std::string item = (state & MF_SEPARATOR) ? "-" : text;
        if ((state & MF_GRAYED) && !(state & MF_SEPARATOR)) item += " (grey)";
        items.push_back(item);
    }
    return items;
}

BOOL CALLBACK ListWindow(HWND window, LPARAM parameter) {
    char className[64] = "";
    ::GetClassNameA(window, className, sizeof className);
    *reinterpret_cast<std::string*>(parameter) += std::string(className) + " '" + WindowText(window) + "'" +
                                                   (::IsWindowVisible(window) ? " visible" : "") +
                                                   (::IsWindowEnabled(window) ? " enabled" : "") + "\n";
    return TRUE;
}

class PlaylistEditorWindow : public ::testing::Test {
protected:
    void SetUp() override {
        char display[256];
        if (::GetEnvironmentVariableA("DISPLAY", display, sizeof display) == 0)
            GTEST_SKIP() << "no X display: the window tests need Xvfb";
        DeleteSettings();
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&controls);
    }
    void TearDown() override { DeleteSettings(); }

    // Opens the editor on its own thread; its window once it is up.
    HWND Open(const std::string& initialName = "") {
        result_ = "<untouched>";
        ui_ = std::make_unique<UiThread>();
        ui_->Start([this, initialName](HWND owner) {
            PlaylistEditorPorts ports{prober_, PlatformFileSystem(), PlatformIniProfile(), {}, {}};
            ports.editProperties = [this](HWND, std::string& record) {
                propertiesSeen_ = record;
                record = SetEntryField(record, kEntryTitle, "Edited title");
                return true;
            };
            CPlaylistEditor editor(ports, initialName, &result_);
            return editor.Run(owner);
        });
        const std::string title =
            initialName.empty() ? std::string(kEditorTitle) : std::string(kEditorTitle) + " - " + initialName;
        window_ = ui_->WaitForDialog(title.c_str(), 20000);
        if (window_ == nullptr) ADD_FAILURE() << "windows:\n" << ThreadWindows();
        return window_;
    }
    INT_PTR Result() {
        EXPECT_TRUE(ui_->Join()) << "windows:\n" << ThreadWindows();
        return ui_->Result();
    }
    std::string ThreadWindows() const {
        std::string windows;
        DWORD thread = window_ != nullptr ? ::GetWindowThreadProcessId(window_, nullptr) : 0;
        if (thread == 0) {
            ::EnumWindows(&ListWindow, reinterpret_cast<LPARAM>(&windows));
        } else {
            ::EnumThreadWindows(thread, &ListWindow, reinterpret_cast<LPARAM>(&windows));
        }
        return windows;
    }
    HWND List() const { return ::GetDlgItem(window_, IDC_EDITOR_LIST); }

    // The records the list holds, in display order.
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        const int count = static_cast<int>(::SendMessageA(List(), LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[1024] = "";
            ::SendMessageA(List(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            rows.emplace_back(text);
        }
        return rows;
    }
    int Selected() const { return static_cast<int>(::SendMessageA(List(), LB_GETCURSEL, 0, 0)); }
    void Select(int row) {
        ::SendMessageA(List(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
        ::SendMessageA(window_, WM_COMMAND, MAKEWPARAM(IDC_EDITOR_LIST, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(List()));
    }

    // Files dropped from the shell.
    void Drop(const std::vector<std::string>& names) {
        std::string list;
        for (const std::string& name : names) list += name + '\0';
        list += '\0';
        HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
        auto* files = static_cast<DROPFILES*>(::GlobalLock(memory));
        files->pFiles = sizeof(DROPFILES);
        std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), list.data(), list.size());
        ::GlobalUnlock(memory);
        ::SendMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    }

    // A drag of row `from` dropped on row `onto`, as the drag list reports it.
    void Drag(int from, int onto) {
        auto notify = [&](UINT what, int row) {
            RECT area{};
            ::SendMessageA(List(), LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&area));
            DRAGLISTINFO info{what, List(), POINT{area.left + 5, (area.top + area.bottom) / 2}};
            ::ClientToScreen(List(), &info.ptCursor);
            return ::SendMessageA(window_, DragListBox::DragMessage(), IDC_EDITOR_LIST,
                                  reinterpret_cast<LPARAM>(&info));
        };
        ASSERT_TRUE(notify(DL_BEGINDRAG, from));
        notify(DL_DRAGGING, onto);
        notify(DL_DROPPED, onto);
    }

    // Answers the system's file dialog with a name.
    void AnswerFileDialog(const char* caption, const std::string& name) {
        HWND dialog = ui_->WaitForDialog(caption, 10000);
        ASSERT_NE(dialog, nullptr) << caption;
        HWND field = nullptr;
        ::EnumChildWindows(dialog, &FindFileNameBox, reinterpret_cast<LPARAM>(&field));
        ASSERT_NE(field, nullptr);
        ::SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
        ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }, 10000));
    }
    // Answers a message box with one of its buttons; its text.
    std::string Answer(const char* caption, int button) {
        HWND box = ui_->WaitForDialog(caption);
        if (box == nullptr) return "<no box>";
        const std::string text = MessageBoxText(box);
        ::PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
        WaitUntil([&] { return !::IsWindow(box); });
        return text;
    }

    ProbeTable prober_;
    std::unique_ptr<UiThread> ui_;
    HWND window_ = nullptr;
    std::string result_;
    std::string propertiesSeen_;
};

TEST_F(PlaylistEditorWindow, OpensEmptyWithItsControlsAndDefaults) {
    WriteNumber(kConfigurationKey, "DefaultVolume", 60);
    ASSERT_NE(Open(), nullptr);
    HWND types = ::GetDlgItem(window_, IDC_EDITOR_FILE_TYPE);
    ASSERT_EQ(::SendMessageA(types, CB_GETCOUNT, 0, 0), 2);
    char item[128] = "";
    ::SendMessageA(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, "MPEG audio file (*.mp2;*.mp3;*.l2;*.l3)");
    ::SendMessageA(types, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, "All files (*.*)");
    EXPECT_EQ(::SendMessageA(types, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(::IsDlgButtonChecked(window_, IDC_EDITOR_SUBFOLDERS), BST_CHECKED);
    EXPECT_EQ(::IsDlgButtonChecked(window_, IDC_EDITOR_SHOW_EXTENSION), BST_UNCHECKED);
    EXPECT_EQ(::IsDlgButtonChecked(window_, IDC_EDITOR_SHOW_PATH), BST_UNCHECKED);
    EXPECT_EQ(WindowText(::GetDlgItem(window_, IDC_EDITOR_VOLUME)), "60");
    EXPECT_EQ(WindowText(::GetDlgItem(window_, IDC_EDITOR_LIST_GROUP)), "Playlist");
    EXPECT_EQ(WindowText(::GetDlgItem(window_, IDC_EDITOR_HINT)), "Use Drag and Drop to add new files to the playlist.");
    for (int id = IDC_EDITOR_NEW; id <= IDC_EDITOR_LAUNCH; ++id)
        EXPECT_NE(::SendDlgItemMessageA(window_, id, BM_GETIMAGE, IMAGE_BITMAP, 0), 0) << id;
    EXPECT_TRUE(Rows().empty());

    // Nothing changed: Cancel asks nothing and hands back no name.
    Click(window_, IDCANCEL);
    EXPECT_EQ(Result(), IDCANCEL);
    EXPECT_EQ(result_, "");
}

TEST_F(PlaylistEditorWindow, BuildsReordersSavesAndReadsBackAList) {
    EditorFolder folder;
    const std::string a = folder.Write("a.mp3");
    const std::string b = folder.Write("b.mp2");
    const std::string c = folder.Write("sub/c.mp3");
    folder.Write("sub/notes.txt");
    prober_.Add(a, 1000);
    prober_.Add(b, 2000);
    prober_.Add(c, 3000);
    ASSERT_NE(Open(), nullptr);

    Drop({a, b});
    Drop({folder.Path("sub")});
    ASSERT_EQ(Rows(), (std::vector<std::string>{a + ";;75;1000", b + ";;75;2000", c + ";;75;3000"}));

    // c dragged in front of a, then b removed.
    Drag(2, 0);
    EXPECT_EQ(Rows(), (std::vector<std::string>{c + ";;75;3000", a + ";;75;1000", b + ";;75;2000"}));
    EXPECT_EQ(Selected(), 0);
    Select(2);
    Click(window_, IDC_EDITOR_DELETE);
    EXPECT_EQ(Rows(), (std::vector<std::string>{c + ";;75;3000", a + ";;75;1000"}));
    EXPECT_EQ(Selected(), 1);  // the last, as the removed entry was last
    ::Sleep(300);
    EXPECT_TRUE(SaveWindowPng(window_, kGuiDir + "\\playlist_editor.png"));

    const std::string saved = folder.Path("edited.pls");
    ClickLater(window_, IDC_EDITOR_SAVE);
    AnswerFileDialog("Save As", saved);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(window_) == std::string(kEditorTitle) + " - edited.pls"; }))
        << WindowText(window_);
    EXPECT_EQ(FileText(saved),
              "[playlist]\r\nNumberOfEntries=2\r\nFile1=sub\\c.mp3;;75;3000\r\nFile2=a.mp3;;75;1000\r\n");
    std::string recent;
    EXPECT_TRUE(ReadText(kConfigurationKey, "RecentPlaylistFile", recent));
    EXPECT_EQ(recent, saved);

    // Saved: OK asks nothing and hands the list on.
    Click(window_, IDOK);
    EXPECT_EQ(Result(), IDOK);
    EXPECT_EQ(result_, saved);

    // Opened again on that list: the same entries, unmodified.
    ASSERT_NE(Open(saved), nullptr);
    EXPECT_EQ(Rows(), (std::vector<std::string>{c + ";;75;3000", a + ";;75;1000"}));
    Click(window_, IDCANCEL);
    EXPECT_EQ(Result(), IDCANCEL);
    EXPECT_EQ(result_, "");
}

TEST_F(PlaylistEditorWindow, OkOnAnUnsavedListAnsweringNoHandsBackATemporaryList) {
    EditorFolder folder;
    const std::string a = folder.Write("a.mp3");
    prober_.Add(a, 1000);
    ASSERT_NE(Open(), nullptr);
    Drop({a});
    ClickLater(window_, IDOK);
    EXPECT_EQ(Answer(kEditorQuestionCaption, IDNO), kSaveQuestion);
    EXPECT_EQ(Result(), IDOK);
    char temporary[MAX_PATH] = "";
    ::GetTempPathA(sizeof temporary, temporary);
    EXPECT_EQ(result_, std::string(temporary) + "list.pls");
    // The test folder lies in the temporary folder: the entry is relative.
    ASSERT_EQ(a.compare(0, std::strlen(temporary), temporary), 0);
    EXPECT_NE(FileText(result_).find("File1=" + a.substr(std::strlen(temporary)) + ";;75;1000\r\n"),
              std::string::npos)
        << FileText(result_);
}

TEST_F(PlaylistEditorWindow, OkAnsweringYesThenCancellingTheSaveDialogHandsBackTheNameUnchanged) {
    EditorFolder folder;
    const std::string list = folder.Write("old.pls", "[playlist]\r\nNumberOfEntries=1\r\nFile1=x.mp3;;50;1000\r\n");
    const std::string before = FileText(list);
    ASSERT_NE(Open(list), nullptr);
    ASSERT_EQ(Rows().size(), 1u);
    Select(0);
    Click(window_, IDC_EDITOR_TOP);  // modified, though the order is the same
    ClickLater(window_, IDOK);
    EXPECT_EQ(Answer(kEditorQuestionCaption, IDYES), kSaveQuestion);
    HWND save = ui_->WaitForDialog("Save As", 10000);
    ASSERT_NE(save, nullptr);
    ::PostMessageA(save, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(Result(), IDOK);
    EXPECT_EQ(result_, list);
    EXPECT_EQ(FileText(list), before);
}

TEST_F(PlaylistEditorWindow, CancelOnAModifiedListAsksAndHandsBackNothing) {
    EditorFolder folder;
    const std::string a = folder.Write("a.mp3");
    ASSERT_NE(Open(), nullptr);
    Drop({a});
    ClickLater(window_, IDCANCEL);
    EXPECT_EQ(Answer(kEditorQuestionCaption, IDNO), kSaveQuestion);
    EXPECT_EQ(Result(), IDCANCEL);
    EXPECT_EQ(result_, "");
}

TEST_F(PlaylistEditorWindow, MovesEditsAndDeletesTheSelectedEntry) {
    EditorFolder folder;
    std::vector<std::string> files;
    for (const char* name : {"1.mp3", "2.mp3", "3.mp3", "4.mp3"}) {
        files.push_back(folder.Write(name));
        prober_.Add(files.back(), 1000);
    }
    ASSERT_NE(Open(), nullptr);
    Drop(files);
    ASSERT_EQ(Rows().size(), 4u);

    // Move to top from row 3 (counted from 1): the selection stays on row 3.
    Select(2);
    Click(window_, IDC_EDITOR_TOP);
    EXPECT_EQ(Rows()[0], files[2] + ";;75;1000");
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(Rows()[2], files[1] + ";;75;1000");
    Select(0);
    Click(window_, IDC_EDITOR_BOTTOM);
    EXPECT_EQ(Rows()[3], files[2] + ";;75;1000");

    // Properties on the selected entry: the edited record replaces it.
    Select(1);
    Click(window_, IDC_EDITOR_PROPERTIES);
    EXPECT_EQ(propertiesSeen_, files[1] + ";;75;1000");
    EXPECT_EQ(Rows()[1], files[1] + ";Edited title;75;1000");
    EXPECT_EQ(Selected(), 1);

    // A drop on its own row or the row below moves nothing.
    const std::vector<std::string> before = Rows();
    Drag(1, 1);
    Drag(1, 2);
    EXPECT_EQ(Rows(), before);

    // New empties the list (answering No to the save question).
    ClickLater(window_, IDC_EDITOR_NEW);
    EXPECT_EQ(Answer(kEditorQuestionCaption, IDNO), kSaveQuestion);
    ASSERT_TRUE(WaitUntil([&] { return Rows().empty(); }));
    EXPECT_EQ(WindowText(window_), "Plyvane playlist editor");
    Click(window_, IDOK);  // not modified: no question
    EXPECT_EQ(Result(), IDOK);
    EXPECT_EQ(result_, "");
}

TEST_F(PlaylistEditorWindow, TheFileTypeListDecidesWhatAFolderDropAdds) {
    EditorFolder folder;
    folder.Write("music/a.mp3");
    folder.Write("music/b.L3");
    folder.Write("music/readme.txt");
    folder.Write("music/deeper/c.mp2");
    ASSERT_NE(Open(), nullptr);

    // Without subfolders: the folder's own files only.
    Click(window_, IDC_EDITOR_SUBFOLDERS);
    Drop({folder.Path("music")});
    EXPECT_EQ(Rows().size(), 2u);

    // "All files (*.*)" and subfolders again: every file.
    ClickLater(window_, IDC_EDITOR_NEW);
    EXPECT_EQ(Answer(kEditorQuestionCaption, IDNO), kSaveQuestion);
    ASSERT_TRUE(WaitUntil([&] { return Rows().empty(); }));
    HWND types = ::GetDlgItem(window_, IDC_EDITOR_FILE_TYPE);
    ::SendMessageA(types, CB_SETCURSEL, 1, 0);
    ::SendMessageA(window_, WM_COMMAND, MAKEWPARAM(IDC_EDITOR_FILE_TYPE, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(types));
    Click(window_, IDC_EDITOR_SUBFOLDERS);
    Drop({folder.Path("music")});
    EXPECT_EQ(Rows().size(), 4u);
    ClickLater(window_, IDCANCEL);
    Answer(kEditorQuestionCaption, IDNO);
    EXPECT_EQ(Result(), IDCANCEL);
}

TEST_F(PlaylistEditorWindow, AVolumeOutsideOneToHundredIsRefusedAndStoredAsHundred) {
    ASSERT_NE(Open(), nullptr);
    HWND field = ::GetDlgItem(window_, IDC_EDITOR_VOLUME);
    for (const char* typed : {"0", "101"}) {
        ::SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed));
        ::PostMessageA(window_, WM_COMMAND, MAKEWPARAM(IDC_EDITOR_VOLUME, EN_KILLFOCUS),
                       reinterpret_cast<LPARAM>(field));
        EXPECT_EQ(Answer("Volume setting", IDOK),
                  "The volume value you entered is not valid!\nMake sure you only use values between 1 and 100.");
        ASSERT_TRUE(WaitUntil([&] { return WindowText(field) == "100"; })) << typed;
        DWORD stored = 0;
        EXPECT_TRUE(ReadNumber(kConfigurationKey, "DefaultVolume", stored));
        EXPECT_EQ(stored, 100u);
    }
    ::SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("42"));
    ::SendMessageA(window_, WM_COMMAND, MAKEWPARAM(IDC_EDITOR_VOLUME, EN_KILLFOCUS), reinterpret_cast<LPARAM>(field));
    DWORD stored = 0;
    EXPECT_TRUE(ReadNumber(kConfigurationKey, "DefaultVolume", stored));
    EXPECT_EQ(stored, 42u);
    Click(window_, IDCANCEL);
    EXPECT_EQ(Result(), IDCANCEL);
}

TEST_F(PlaylistEditorWindow, KeysReachTheCommandsButDeleteInTheVolumeFieldEditsTheField) {
    EditorFolder folder;
    std::vector<std::string> files;
    for (const char* name : {"1.mp3", "2.mp3", "3.mp3"}) files.push_back(folder.Write(name));
    ASSERT_NE(Open(), nullptr);
    Drop(files);
    ASSERT_EQ(Rows().size(), 3u);
    Select(2);
    TypeKeys(window_, List(), {VK_MENU, 'T'});
    EXPECT_TRUE(WaitUntil([&] { return Rows()[0].rfind(files[2], 0) == 0; })) << Rows()[0];

    HWND field = ::GetDlgItem(window_, IDC_EDITOR_VOLUME);
    TypeKeys(window_, field, {VK_END});
    TypeKeys(window_, field, {VK_BACK});
    EXPECT_TRUE(WaitUntil([&] { return WindowText(field) == "7"; })) << WindowText(field);
    EXPECT_EQ(Rows().size(), 3u);

    TypeKeys(window_, List(), {VK_DELETE});
    EXPECT_TRUE(WaitUntil([&] { return Rows().size() == 2u; }));
    ClickLater(window_, IDCANCEL);
    Answer(kEditorQuestionCaption, IDNO);
    EXPECT_EQ(Result(), IDCANCEL);
}

TEST_F(PlaylistEditorWindow, UrlAddsTheAddressAndRemembersIt) {
    WriteText(kConfigurationKey, "RecentURL", "http://old.example/a.mp3");
    ASSERT_NE(Open(), nullptr);
    ClickLater(window_, IDC_EDITOR_URL);
    HWND dialog = ui_->WaitForDialog("Internet streaming");
    ASSERT_NE(dialog, nullptr);
    HWND field = ::GetDlgItem(dialog, IDC_URL_EDIT);
    EXPECT_EQ(WindowText(field), "http://old.example/a.mp3");
    ::SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    for (char c : std::string("Radio.Example/Live")) ::SendMessageA(field, WM_CHAR, static_cast<unsigned char>(c), 1);
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    // The probe cannot read it here: the entry is added without a duration.
    ASSERT_TRUE(WaitUntil([&] { return Rows().size() == 1u; }, 10000));
    EXPECT_EQ(Rows()[0], "http://radio.example/live");
    std::string recent;
    EXPECT_TRUE(ReadText(kConfigurationKey, "RecentURL", recent));
    EXPECT_EQ(recent, "http://radio.example/live");
    ClickLater(window_, IDCANCEL);
    EXPECT_EQ(Answer(kEditorQuestionCaption, IDNO), kSaveQuestion);
    EXPECT_EQ(Result(), IDCANCEL);
}

TEST_F(PlaylistEditorWindow, LoadAddsSeveralChosenFilesOrOpensAPlaylistInPlaceOfTheList) {
    EditorFolder folder;
    const std::string a = folder.Write("a.mp3");
    const std::string b = folder.Write("b.mp2");
    const std::string list = folder.Write("other.pls", "[playlist]\r\nNumberOfEntries=1\r\nFile1=b.mp2;Bee;80;2000\r\n");
    prober_.Add(a, 1000);
    prober_.Add(b, 2000);
    ASSERT_NE(Open(), nullptr);

    ClickLater(window_, IDC_EDITOR_LOAD);
    HWND dialog = ui_->WaitForDialog("Open", 10000);
    ASSERT_NE(dialog, nullptr);
    HWND field = nullptr;
    ::EnumChildWindows(dialog, &FindFileNameBox, reinterpret_cast<LPARAM>(&field));
    ASSERT_NE(field, nullptr);
    // Into the test folder first, then two of its files at once.
    ::SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.Folder().c_str()));
    ::SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    ::SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("\"a.mp3\" \"b.mp2\""));
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return Rows().size() == 2u; }, 15000)) << Rows().size();
    EXPECT_EQ(Rows(), (std::vector<std::string>{a + ";;75;1000", b + ";;75;2000"}));

    // A playlist replaces the list, after the save question.
    ClickLater(window_, IDC_EDITOR_LOAD);
    AnswerFileDialog("Open", list);
    EXPECT_EQ(Answer(kEditorQuestionCaption, IDNO), kSaveQuestion);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(window_) == "Plyvane playlist editor - " + list; }, 10000))
        << WindowText(window_);
    EXPECT_EQ(Rows(), (std::vector<std::string>{b + ";Bee;80;2000"}));
    std::string recent;
    EXPECT_TRUE(ReadText(kConfigurationKey, "RecentPlaylistFile", recent));
    EXPECT_EQ(recent, list);
    // A .pls read by Load leaves the list unmodified: OK asks nothing.
    Click(window_, IDOK);
    EXPECT_EQ(Result(), IDOK);
    EXPECT_EQ(result_, list);
}

TEST_F(PlaylistEditorWindow, ARightClickOnAnEntrySelectsItAndShowsTheEntryMenu) {
    EditorFolder folder;
    ASSERT_NE(Open(), nullptr);
    Drop({folder.Write("1.mp3"), folder.Write("2.mp3")});
    ASSERT_EQ(Rows().size(), 2u);
    RECT row{};
    ::SendMessageA(List(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    POINT point{row.left + 10, (row.top + row.bottom) / 2};
    ::ClientToScreen(List(), &point);
    // The list does not have the keyboard focus: the list commands are grey.
    ::PostMessageA(window_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List()), MAKELPARAM(point.x, point.y));
    EXPECT_EQ(ShownMenu(), (std::vector<std::string>{"Move to top\tAlt+T (grey)", "Move to bottom\tAlt+B (grey)",
                                                     "&Delete item\tDel (grey)", "-", "Properties\tAlt+P", "-",
                                                     "Help\tF1"}));
    ::SendMessageA(window_, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(Selected(), 0);

    // Elsewhere: the help menu alone.
    RECT group{};
    ::GetWindowRect(::GetDlgItem(window_, IDC_EDITOR_TYPE_GROUP), &group);
    ::PostMessageA(window_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window_), MAKELPARAM(group.left + 4, group.top + 4));
    EXPECT_EQ(ShownMenu(), (std::vector<std::string>{"Help\tF1"}));
    ::SendMessageA(window_, WM_CANCELMODE, 0, 0);
    ClickLater(window_, IDCANCEL);
    Answer(kEditorQuestionCaption, IDNO);
    EXPECT_EQ(Result(), IDCANCEL);
}

TEST_F(PlaylistEditorWindow, ResizesDownToItsFirstSizeAndNoFurther) {
    ASSERT_NE(Open(), nullptr);
    RECT first{};
    ::GetWindowRect(window_, &first);
    RECT okFirst{}, listFirst{};
    ::GetWindowRect(::GetDlgItem(window_, IDOK), &okFirst);
    ::GetWindowRect(List(), &listFirst);

    RECT smaller{first.left, first.top, first.right - 50, first.bottom - 40};
    ::SendMessageA(window_, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&smaller));
    EXPECT_EQ(smaller.right - smaller.left, first.right - first.left);
    EXPECT_EQ(smaller.bottom - smaller.top, first.bottom - first.top);

    ::SetWindowPos(window_, nullptr, 0, 0, first.right - first.left + 60, first.bottom - first.top + 30,
                   SWP_NOMOVE | SWP_NOZORDER);
    RECT window{}, ok{}, list{};
    ::GetWindowRect(window_, &window);
    ::GetWindowRect(::GetDlgItem(window_, IDOK), &ok);
    ::GetWindowRect(List(), &list);
    EXPECT_EQ(ok.left - okFirst.left, 60 + (window.left - first.left));
    EXPECT_EQ(ok.top - okFirst.top, 30 + (window.top - first.top));
    EXPECT_EQ((list.right - list.left) - (listFirst.right - listFirst.left), 60);
    EXPECT_EQ((list.bottom - list.top) - (listFirst.bottom - listFirst.top), 30);
    Click(window_, IDCANCEL);
    EXPECT_EQ(Result(), IDCANCEL);
}

}  // namespace
}  // namespace plyvane::testing
