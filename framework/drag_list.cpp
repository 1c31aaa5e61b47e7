#include "drag_list.h"

#include <commctrl.h>

#include <vector>

#include "drag_move.h"

namespace plyvane {

UINT DragListBox::DragMessage() {
    static const UINT message = ::RegisterWindowMessageA(DRAGLISTMSGSTRING);
    return message;
}

bool DragListBox::Attach(HWND list, MovedHandler moved) {
    list_ = list;
    moved_ = std::move(moved);
    dragFrom_ = -1;
    return list != nullptr && ::MakeDragList(list) != FALSE;
}

void DragListBox::MoveEntry(int from, int to) {
    LRESULT data = ::SendMessageA(list_, LB_GETITEMDATA, static_cast<WPARAM>(from), 0);
    LONG_PTR style = ::GetWindowLongPtrA(list_, GWL_STYLE);
    bool hasStrings = (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) == 0 ||
                      (style & LBS_HASSTRINGS) != 0;
    std::vector<char> text(1, '\0');
    if (hasStrings) {
        LRESULT length = ::SendMessageA(list_, LB_GETTEXTLEN, static_cast<WPARAM>(from), 0);
        if (length > 0) {
            text.assign(static_cast<size_t>(length) + 1, '\0');
            ::SendMessageA(list_, LB_GETTEXT, static_cast<WPARAM>(from),
                           reinterpret_cast<LPARAM>(text.data()));
        }
    }
    ::SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(list_, LB_DELETESTRING, static_cast<WPARAM>(from), 0);
    LPARAM item = hasStrings ? reinterpret_cast<LPARAM>(text.data()) : static_cast<LPARAM>(data);
    ::SendMessageA(list_, LB_INSERTSTRING, static_cast<WPARAM>(to), item);
    ::SendMessageA(list_, LB_SETITEMDATA, static_cast<WPARAM>(to), static_cast<LPARAM>(data));
    ::SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(to), 0);
    ::SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, TRUE);
}

bool DragListBox::OnMessage(UINT message, LPARAM lParam, LRESULT& result) {
    if (list_ == nullptr || message != DragMessage()) return false;
    auto* info = reinterpret_cast<DRAGLISTINFO*>(lParam);
    if (info == nullptr || info->hWnd != list_) return false;
    HWND parent = ::GetParent(list_);
    switch (info->uNotification) {
    case DL_BEGINDRAG:
        dragFrom_ = ::LBItemFromPt(list_, info->ptCursor, FALSE);
        result = dragFrom_ >= 0;
        return true;
    case DL_DRAGGING: {
        // Scrolls the list when the pointer is above or below it.
        int row = ::LBItemFromPt(list_, info->ptCursor, TRUE);
        ::DrawInsert(parent, list_, row);
        result = row >= 0 ? DL_MOVECURSOR : DL_STOPCURSOR;
        return true;
    }
    case DL_DROPPED: {
        ::DrawInsert(parent, list_, -1);
        int row = ::LBItemFromPt(list_, info->ptCursor, FALSE);
        int count = static_cast<int>(::SendMessageA(list_, LB_GETCOUNT, 0, 0));
        int to = DropDestination(dragFrom_, row, count);
        int from = dragFrom_;
        dragFrom_ = -1;
        if (to >= 0) {
            MoveEntry(from, to);
            if (moved_) moved_(from, to);
        }
        result = 0;
        return true;
    }
    case DL_CANCELDRAG:
        ::DrawInsert(parent, list_, -1);
        dragFrom_ = -1;
        result = 0;
        return true;
    default:
        return false;
    }
}

}  // namespace plyvane
