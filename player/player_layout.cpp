// The main window's controls: bitmap buttons, fonts, tool tips, the three
// layouts and hiding, the menus, the double click, the logo and the track
// list's drawing.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "about_box.h"
#include "audio_engine.h"
#include "logo_painter.h"
#include "message_box.h"
#include "owner_drawn_list.h"
#include "player_dialog.h"
#include "resource_ids.h"
#include "settings_store.h"
#include "text.h"

namespace plyvane {

namespace {
struct ButtonPicture {
    int id;
    int bitmap;
};
constexpr ButtonPicture kButtonPictures[] = {
    {IDC_PLAY, IDB_PLAY},           {IDC_PAUSE, IDB_PAUSE},
    {IDC_STOP, IDB_STOP},           {IDC_REWIND, IDB_REWIND},
    {IDC_FORWARD, IDB_FORWARD},     {IDC_PREVIOUS, IDB_PREVIOUS},
    {IDC_NEXT, IDB_NEXT},           {IDC_ELAPSED, IDB_ELAPSED},
    {IDC_REMAINING, IDB_REMAINING}, {IDC_LIST_ELAPSED, IDB_ELAPSED},
    {IDC_LIST_REMAINING, IDB_REMAINING}, {IDC_OPEN, IDB_OPEN},
    {IDC_OPEN_URL, IDB_ADDRESS},    {IDC_PROPERTIES, IDB_PROPERTIES},
    {IDC_ABOUT, IDB_INFORMATION},   {IDC_EXIT, IDB_EXIT},
    {IDC_PLAYLIST_EDITOR, IDB_PLAYLIST}, {IDC_ENDLESS, IDB_ENDLESS},
    {IDC_RANDOM, IDB_RANDOM},
};

struct Tip {
    int id;
    const char* text;
};
// Tips over controls that take the mouse themselves.
constexpr Tip kControlTips[] = {
    {IDC_POSITION, "Pull slider to set a new playback position."},
    {IDC_PREVIOUS, "Play previous song in queue."},
    {IDC_STOP, "Stop playback."},
    {IDC_PLAY, "Start playback."},
    {IDC_PAUSE, "Pause playback."},
    {IDC_FORWARD, "Fast forward."},
    {IDC_NEXT, "Play next song in queue."},
    {IDC_OPEN, "Open an audio- or a playlist-file."},
    {IDC_OPEN_URL, "Open an audio- or playlist file via Internet."},
    {IDC_VOLUME, "Pull slider to increase or decrease playback volume."},
    {IDC_REWIND, "Fast backward."},
    {IDC_ELAPSED, "Set time display to elapsed playback time mode."},
    {IDC_REMAINING, "Set time display to remaining playback time mode."},
    {IDC_ABOUT, "Information."},
    {IDC_PROPERTIES, "Setup audio playback properties."},
    {IDC_EXIT, "Exit Plyvane."},
    {IDC_ENDLESS, "Enable/disable endless playback mode."},
    {IDC_RANDOM, "Enable/disable random track playback."},
    {IDC_TRACK_LIST, "Playback track list. To edit enter the playlist editor."},
    {IDC_LIST_ELAPSED, "Set total time display to elapsed playback time mode."},
    {IDC_LIST_REMAINING, "Set total time display to remaining playback time mode."},
};
// Tips over areas of the window: texts that let the mouse through, and Play
// while it is disabled (a disabled control takes no mouse messages).
constexpr Tip kAreaTips[] = {
    {IDC_TIME, "Displays elapsed or remaining playback time."},
    {IDC_SONG_NAME, "Name of the actually selected song."},
    {IDC_OUTPUT_PARAMETERS, "A summary of the playback parameters."},
    {IDC_SOURCE_PARAMETERS, "A summary of the encoding parameters."},
    {IDC_TRACK, "Number of actually played track."},
    {IDC_TOTAL_TRACKS, "Total number of tracks in playback queue."},
    {IDC_TO_GO, "Number of tracks still waiting in the playback queue."},
    {IDC_LIST_TOTAL_TIME, "Displays the total playback."},
    {IDC_LIST_TIME, "Displays elapsed or remaining total playback time."},
    {IDC_LOGO, "Plyvane MPEG Audio Player - double-click to change the layout."},
    {IDC_PLAY, "Start playback."},  // also while nothing is loaded to play
    {IDC_PLAYLIST_EDITOR, "Open the playlist editor."},
};

constexpr int kLayoutTemplates[] = {IDD_PLAYER, IDD_PLAYER_COMPACT, IDD_PLAYER_MINI};

INT_PTR CALLBACK SilentDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

RECT ChildRect(HWND parent, HWND child) {
    RECT area{};
    ::GetWindowRect(child, &area);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

HFONT DerivedFont(HWND window, int heightPercent, int weight) {
    LOGFONTA face{};
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
    if (font == nullptr || ::GetObjectA(font, sizeof face, &face) == 0) return nullptr;
    face.lfHeight = face.lfHeight * heightPercent / 100;
    face.lfWeight = weight;
    return ::CreateFontIndirectA(&face);
}
}  // namespace

void CPlayerDialog::BuildControls() {
    for (const ButtonPicture& picture : kButtonPictures) bitmaps_.SetButton(Item(picture.id), picture.bitmap);

    positionSlider_.Attach(Item(IDC_POSITION));
    volume_.Attach(Handle(), Item(IDC_VOLUME), Item(IDC_VOLUME_PICTURE));

    timeFont_ = DerivedFont(Handle(), 150, FW_BOLD);
    nameFont_ = DerivedFont(Handle(), 100, FW_BOLD);
    if (timeFont_ != nullptr) {
        for (int id : {IDC_TIME, IDC_LIST_TIME}) {
            ::SendMessageA(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(timeFont_), FALSE);
        }
    }
    if (nameFont_ != nullptr) {
        ::SendMessageA(Item(IDC_SONG_NAME), WM_SETFONT, reinterpret_cast<WPARAM>(nameFont_), FALSE);
    }
    ::SetDlgItemTextA(Handle(), IDC_TIME, timeText_.c_str());
    ::SetDlgItemTextA(Handle(), IDC_LIST_TIME, timeText_.c_str());

    // The logo is painted by this window into its (owner-drawn) area.
    HWND logo = Item(IDC_LOGO);
    ::SetWindowLongPtrA(logo, GWL_STYLE,
                        (::GetWindowLongPtrA(logo, GWL_STYLE) & ~SS_TYPEMASK) | SS_OWNERDRAW);
    ::SendMessageA(Item(IDC_TRACK_LIST), LB_SETITEMHEIGHT, 0, 16);
}

void CPlayerDialog::AddToolTips() {
    for (const Tip& tip : kControlTips) tips_.AddControl(Item(tip.id), tip.text);
    for (const Tip& tip : kAreaTips) {
        tips_.AddArea(static_cast<UINT_PTR>(tip.id), ChildRect(Handle(), Item(tip.id)), tip.text);
    }
}

void CPlayerDialog::MeasureWindowSizes() {
    RECT window{};
    ::GetWindowRect(Handle(), &window);
    RECT separator{};
    ::GetWindowRect(Item(IDC_SEPARATOR), &separator);
    fullWidth_ = window.right - window.left;
    fullHeight_ = window.bottom - window.top;
    narrowWidth_ = separator.left - window.left - 2;
    // The logo uses the upper three quarters of its area.
    RECT logo = ChildRect(Handle(), Item(IDC_LOGO));
    ::MoveWindow(Item(IDC_LOGO), logo.left, logo.top, logo.right - logo.left,
                 (logo.bottom - logo.top) * 3 / 4, FALSE);
}

// ---------------------------------------------------------------- layouts

void CPlayerDialog::SetDialogState(DialogState state) {
    HWND window = Handle();
    if (state == DialogState::kHidden) {
        ::ShowWindow(window, SW_HIDE);
        hidden_ = true;
        StoreDialogState(DialogState::kHidden);
        return;
    }
    if (state == DialogState::kShown) {
        ::ShowWindow(window, SW_SHOW);
        hidden_ = false;
        StoreDialogState(layout_);
        FocusOpen();
        return;
    }
    if (!IsLayout(state)) return;
    hidden_ = false;
    StoreDialogState(state);
    layout_ = state;
    ApplyLayout(kLayoutTemplates[static_cast<int>(state)]);
    if (state == DialogState::kLarge) {
        // A list of more tracks than one shows its track list.
        SetNarrowWidth(!(playlist_.IsActive() && playlist_.Queue().Count() > 1));
    } else {
        RECT window_area{};
        ::GetWindowRect(window, &window_area);
        RECT bottom{};
        ::GetWindowRect(Item(IDC_COMPACT_BOTTOM), &bottom);
        int height = bottom.top - window_area.top + ::GetSystemMetrics(SM_CYFIXEDFRAME);
        allowResize_ = true;
        ::SetWindowPos(window, nullptr, 0, 0, narrowWidth_, height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        allowResize_ = false;
    }
    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(window);
    ::InvalidateRect(window, nullptr, TRUE);
}

void CPlayerDialog::StoreDialogState(DialogState state) {
    WriteDwordSetting(kConfigurationKey, "DialogState", static_cast<uint32_t>(state));
}

void CPlayerDialog::ApplyLayout(int templateId) {
    HWND model = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId),
                                      Handle(), &SilentDialogProc, 0);
    if (model == nullptr) return;
    HDWP moves = ::BeginDeferWindowPos(64);
    for (int id = 0; id < 2000; ++id) {
        HWND place = ::GetDlgItem(model, id);
        HWND control = Item(id);
        if (place == nullptr || control == nullptr) continue;
        RECT area = ChildRect(model, place);
        if (id == IDC_LOGO) area.bottom = area.top + (area.bottom - area.top) * 3 / 4;
        if (moves != nullptr) {
            moves = ::DeferWindowPos(moves, control, nullptr, area.left, area.top,
                                     area.right - area.left, area.bottom - area.top,
                                     SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (moves != nullptr) ::EndDeferWindowPos(moves);
    ::DestroyWindow(model);
    for (const Tip& tip : kAreaTips) {
        tips_.MoveArea(static_cast<UINT_PTR>(tip.id), ChildRect(Handle(), Item(tip.id)));
    }
}

void CPlayerDialog::SetNarrowWidth(bool narrow) {
    if (layout_ != DialogState::kLarge || fullWidth_ == 0) return;
    allowResize_ = true;
    ::SetWindowPos(Handle(), nullptr, 0, 0, narrow ? narrowWidth_ : fullWidth_, fullHeight_,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    allowResize_ = false;
}

// ---------------------------------------------------------------- menus

void CPlayerDialog::OnContextMenu(HWND window, POINT point) {
    (void)window;
    BusyScope busy(*this);  // the menu's command runs once the menu is gone
    if (point.x == -1 && point.y == -1) ::GetCursorPos(&point);
    ::SetForegroundWindow(Handle());
    HWND list = Item(IDC_TRACK_LIST);
    RECT listArea{};
    ::GetWindowRect(list, &listArea);
    if (::IsWindowVisible(list) && ::PtInRect(&listArea, point)) {
        POINT inList = point;
        ::ScreenToClient(list, &inList);
        LRESULT hit = ::SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(inList.x, inList.y));
        int count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
        if (HIWORD(hit) == 0 && static_cast<int>(LOWORD(hit)) < count) {
            ::SendMessageA(list, LB_SETCURSEL, LOWORD(hit), 0);
            HMENU trackMenu = ::LoadMenuA(::GetModuleHandleA(nullptr),
                                          MAKEINTRESOURCEA(IDR_TRACK_MENU));
            HMENU popup = ::GetSubMenu(trackMenu, 0);
            TrackMenu(popup, point);
            ::DestroyMenu(trackMenu);
            return;
        }
    }
    UpdateMenuStates();
    TrackMenu(PlayerPopup(), point);
}

void CPlayerDialog::TrackMenu(HMENU popup, POINT point) {
    if (popup == nullptr) return;
    // The window must be in front, or the menu would not close on a click
    // elsewhere.
    ::SetForegroundWindow(Handle());
    ::SetMenuDefaultItem(popup, ID_MENU_TITLE, FALSE);
    UINT command = static_cast<UINT>(::TrackPopupMenu(
        popup, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, point.x, point.y, 0, Handle(),
        nullptr));
    ::PostMessageA(Handle(), WM_NULL, 0, 0);
    if (command != 0 && command != ID_MENU_TITLE) {
        keyboardOrigin_ = true;
        OnCommand(static_cast<int>(command), 0, nullptr);
    }
}

void CPlayerDialog::OnDoubleClick(POINT point) {
    BusyScope busy(*this);  // the stream properties are a box of the player
    RECT group = ChildRect(Handle(), Item(IDC_INFO_GROUP));
    if (::PtInRect(&group, point)) {
        ShowStreamProperties(CurrentEntryRecord());
        return;
    }
    SetDialogState(NextLayout(layout_));
}

void CPlayerDialog::ShowAboutBox() {
    CAboutBox about(versionString_.c_str());
    about.DoModal(Handle());
    FocusOpen();
}

void CPlayerDialog::FocusOpen() {
    ::SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_OPEN)), TRUE);
}

// ---------------------------------------------------------------- minimised

void CPlayerDialog::PaintMinimisedIcon() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(Handle(), &paint);
    if (::IsIconic(Handle())) {
        RECT client;
        ::GetClientRect(Handle(), &client);
        ::DrawIcon(dc, (client.right - ::GetSystemMetrics(SM_CXICON)) / 2,
                   (client.bottom - ::GetSystemMetrics(SM_CYICON)) / 2, bigIcon_);
    }
    ::EndPaint(Handle(), &paint);
}

void CPlayerDialog::KeepWindowSize(WINDOWPOS* position) {
    // The frame cannot be dragged to another size.
    if (!(position->flags & SWP_NOSIZE) && !::IsIconic(Handle()) && !allowResize_) {
        RECT window;
        ::GetWindowRect(Handle(), &window);
        position->cx = window.right - window.left;
        position->cy = window.bottom - window.top;
    }
}

void CPlayerDialog::OnSize(UINT type) {
    HWND window = Handle();
    if (type == SIZE_MINIMIZED) {
        minimised_ = true;
        HMENU system = ::GetSystemMenu(window, FALSE);
        HMENU popup = ::GetSubMenu(menu_, 0);
        if (!controlsInSystemMenu_ && system != nullptr && popup != nullptr) {
            // The system menu takes the pop-up over; menu_ keeps only its frame.
            ::RemoveMenu(menu_, 0, MF_BYPOSITION);
            ::InsertMenuA(system, 0, MF_BYPOSITION | MF_POPUP | MF_STRING,
                          reinterpret_cast<UINT_PTR>(popup), "Plyvane Controls");
            ::InsertMenuA(system, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
            ::InsertMenuA(menu_, 0, MF_BYPOSITION | MF_POPUP | MF_STRING,
                          reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), "Plyvane");
            controlsPopup_ = popup;
            controlsInSystemMenu_ = true;
        }
        return;
    }
    if (!minimised_ || (type != SIZE_RESTORED && type != SIZE_MAXIMIZED)) return;
    minimised_ = false;
    if (controlsInSystemMenu_) {
        ::GetSystemMenu(window, TRUE);  // back to the default; our pop-up goes with it
        controlsInSystemMenu_ = false;
        controlsPopup_ = nullptr;
        if (menu_ != nullptr) ::DestroyMenu(menu_);
        menu_ = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_PLAYER_MENU));
        UpdateMenuStates();
    }
    ::SetWindowTextA(window, title_.c_str());
    ::SetDlgItemTextA(window, IDC_TIME, timeText_.c_str());
}

void CPlayerDialog::OnSysCommand(WPARAM command) {
    switch (command) {
    case IDC_EXIT: case IDC_PREVIOUS: case IDC_STOP: case IDC_PLAY: case IDC_PAUSE:
    case IDC_FORWARD: case IDC_NEXT: case IDC_OPEN: case IDC_REWIND: case IDC_PROPERTIES:
    case IDC_PLAYLIST_EDITOR: case IDC_ENDLESS: case IDC_RANDOM: case IDC_OPEN_URL:
    case ID_HIDE: case ID_HELP_INDEX:
        keyboardOrigin_ = true;
        OnCommand(static_cast<int>(command), 0, nullptr);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- drawing

LRESULT CPlayerDialog::OnDrawItem(DRAWITEMSTRUCT* item) {
    if (item == nullptr || DrawDisabledButton(*item)) return TRUE;
    if (item->CtlID == IDC_LOGO) {
        RECT area = item->rcItem;
        ::FillRect(item->hDC, &area, ::GetSysColorBrush(COLOR_BTNFACE));
        LogoGeometry logo = MainWindowLogo(area.right - area.left, area.bottom - area.top);
        plyvane::PaintLogo(item->hDC, POINT{area.left + 2, area.top + 2}, logo);
        return TRUE;
    }
    if (item->CtlID == IDC_TRACK_LIST) {
        char text[256] = "";
        if (item->itemID != static_cast<UINT>(-1)) {
            LRESULT length = ::SendMessageA(item->hwndItem, LB_GETTEXTLEN, item->itemID, 0);
            if (length >= 0 && length < static_cast<LRESULT>(sizeof text)) {
                ::SendMessageA(item->hwndItem, LB_GETTEXT, item->itemID,
                               reinterpret_cast<LPARAM>(text));
            }
        }
        ListItemLook look;
        look.text = text;
        look.played = TrackPlayed(static_cast<int>(item->itemID) + 1);
        DrawListItem(*item, look, widestTrack_);
    }
    return TRUE;
}

HMENU CPlayerDialog::PlayerPopup() const {
    if (controlsInSystemMenu_) return controlsPopup_;
    return menu_ != nullptr ? ::GetSubMenu(menu_, 0) : nullptr;
}

}  // namespace plyvane
