// A list box whose entries the user reorders by dragging (COMCTL32's drag
// list): an insertion mark follows the pointer, the list scrolls when the
// pointer leaves it, and a drop moves the entry (its text and item data) in
// front of the entry it was dropped on (see drag_move.h) and selects it.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

namespace plyvane {

class DragListBox {
public:
    // Called after a move with the old and the new row.
    using MovedHandler = std::function<void(int from, int to)>;

    // Makes `list` (a single-selection list box) a drag list. Its parent
    // receives the drag messages and hands them to OnMessage.
    bool Attach(HWND list, MovedHandler moved = nullptr);

    // For the parent's message handler: true when the message was this list's
    // drag notification, with its result.
    bool OnMessage(UINT message, LPARAM lParam, LRESULT& result);

    // Moves row `from` to row `to` (both in range), keeping text and item data,
    // and selects it.
    void MoveEntry(int from, int to);

    // The registered message the drag list sends.
    static UINT DragMessage();

private:
    HWND list_ = nullptr;
    int dragFrom_ = -1;
    MovedHandler moved_;
};

}  // namespace plyvane
