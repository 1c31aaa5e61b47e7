// The playlist editor's view: the entry list, its context menus, and the
// window's layout as it is resized.
#include "owner_drawn_list.h"
#include "playlist_editor.h"
#include "playlist_entry.h"
#include "resource_ids.h"

namespace plyvane {

namespace {
struct Anchored {
    int id;
    Anchor anchor;
};

constexpr Anchored kAnchors[] = {
    {IDOK, Anchor::kBottomRight},
    {IDCANCEL, Anchor::kBottomRight},
    {IDC_EDITOR_SUBFOLDERS, Anchor::kBottomLeft},
    {IDC_EDITOR_SHOW_EXTENSION, Anchor::kBottomLeft},
    {IDC_EDITOR_SHOW_PATH, Anchor::kBottomLeft},
    {IDC_EDITOR_VOLUME_LABEL, Anchor::kBottomLeft},
    {IDC_EDITOR_VOLUME, Anchor::kBottomLeft},
    {IDC_EDITOR_VOLUME_SPIN, Anchor::kBottomLeft},
    {IDC_EDITOR_TYPE_GROUP, Anchor::kBottomStretchWidth},
    {IDC_EDITOR_FILE_TYPE, Anchor::kBottomStretchWidth},
    {IDC_EDITOR_LIST_GROUP, Anchor::kStretchBoth},
    {IDC_EDITOR_LIST, Anchor::kStretchBoth},
    {IDC_EDITOR_HINT, Anchor::kTopStretchWidth},
};

// The entry menu's commands that act on the list's selection.
constexpr int kListCommands[] = {IDC_EDITOR_TOP, IDC_EDITOR_BOTTOM, IDC_EDITOR_DELETE};
}  // namespace

void CPlaylistEditor::SetTitle(const std::string& title) { ::SetWindowTextA(Handle(), title.c_str()); }

int CPlaylistEditor::SelectedRow() const {
    const LRESULT row = ::SendMessageA(Item(IDC_EDITOR_LIST), LB_GETCURSEL, 0, 0);
    return list_.IsRow(static_cast<int>(row)) ? static_cast<int>(row) : -1;
}

void CPlaylistEditor::SelectRow(int row) {
    ::SendMessageA(Item(IDC_EDITOR_LIST), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

void CPlaylistEditor::ShowList(int selectRow, int firstChanged) {
    HWND list = Item(IDC_EDITOR_LIST);
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    int shown = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
    // The rows above the first change stay, and so does the scroll position.
    if (firstChanged <= 0 || firstChanged > shown || firstChanged > list_.Count()) {
        ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
        firstChanged = 0;
        shown = 0;
    }
    while (shown > firstChanged) ::SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(--shown), 0);
    ::SendMessageA(list, LB_INITSTORAGE, static_cast<WPARAM>(list_.Count() - firstChanged), 0);
    for (int row = firstChanged; row < list_.Count(); ++row)
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(list_.Entry(row).c_str()));
    if (list_.IsRow(selectRow)) SelectRow(selectRow);
    ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

void CPlaylistEditor::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const int row = static_cast<int>(item.itemID);
    std::string text;
    if (list_.IsRow(row)) {
        const std::string& record = list_.Entry(row);
        text = EntryField(record, kEntryTitle);
        if (text.empty()) text = DisplayNameOf(EntryField(record, kEntryPath), list_.ShowPath(), list_.ShowExtension());
    }
    DrawListItem(item, ListItemLook{text.c_str(), false}, widest_);
}

void CPlaylistEditor::OnContextMenu(HWND window, POINT point) {
    if (menus_ == nullptr) return;
    HWND list = Item(IDC_EDITOR_LIST);
    bool overEntry = false;
    if (window == list) {
        if (point.x == -1 && point.y == -1) {
            // From the keyboard: the selected entry's menu, below it.
            RECT area{};
            const int row = SelectedRow();
            if (row >= 0 && ::SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(row),
                                           reinterpret_cast<LPARAM>(&area)) != LB_ERR) {
                point = POINT{area.left, area.bottom};
                ::ClientToScreen(list, &point);
                overEntry = true;
            }
        } else {
            POINT inside = point;
            ::ScreenToClient(list, &inside);
            const LRESULT hit = ::SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(inside.x, inside.y));
            const int row = LOWORD(hit);
            if (HIWORD(hit) == 0 && list_.IsRow(row)) {
                SelectRow(row);
                overEntry = true;
            }
        }
    }
    if (point.x == -1 && point.y == -1) {
        RECT area{};
        ::GetWindowRect(Handle(), &area);
        point = POINT{area.left + 8, area.top + 8};
    }
    HMENU popup = ::GetSubMenu(menus_, overEntry ? 0 : 1);
    if (overEntry) {
        const UINT state = ::GetFocus() == list ? MF_ENABLED : MF_GRAYED;
        for (int id : kListCommands) ::EnableMenuItem(popup, static_cast<UINT>(id), MF_BYCOMMAND | state);
    }
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, Handle(), nullptr);
}

void CPlaylistEditor::RecordLayout() {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    firstClient_ = SIZE{client.right, client.bottom};
    RECT window{};
    ::GetWindowRect(Handle(), &window);
    minimumWindow_ = SIZE{window.right - window.left, window.bottom - window.top};
    placed_.clear();
    for (const Anchored& anchored : kAnchors) {
        HWND control = Item(anchored.id);
        if (control == nullptr) continue;
        RECT area{};
        ::GetWindowRect(control, &area);
        ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&area), 2);
        placed_.push_back(Placed{anchored.id, anchored.anchor, Box{area.left, area.top, area.right, area.bottom}});
    }
}

void CPlaylistEditor::ApplyLayout() {
    if (placed_.empty()) return;
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const int dx = client.right - firstClient_.cx;
    const int dy = client.bottom - firstClient_.cy;
    HDWP positions = ::BeginDeferWindowPos(static_cast<int>(placed_.size()));
    for (const Placed& control : placed_) {
        const Box box = AnchoredBox(control.first, control.anchor, dx, dy);
        if (positions != nullptr) {
            positions = ::DeferWindowPos(positions, Item(control.id), nullptr, box.left, box.top, box.right - box.left,
                                         box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (positions != nullptr) ::EndDeferWindowPos(positions);
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void CPlaylistEditor::OnSizing(WPARAM edge, RECT* window) {
    if (window == nullptr || minimumWindow_.cx == 0) return;
    Box box{window->left, window->top, window->right, window->bottom};
    if (KeepMinimumSize(box, static_cast<SizingEdge>(edge), minimumWindow_.cx, minimumWindow_.cy)) {
        *window = RECT{box.left, box.top, box.right, box.bottom};
    }
}

}  // namespace plyvane
