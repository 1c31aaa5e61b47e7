// The drawing rule of the owner-drawn lists (the main window's track list
// and the playlist editor's list): "N. text" on one line, grey for entries
// already played, highlighted only while the list has the keyboard focus.
#pragma once

#include <windows.h>

namespace plyvane {

struct ListItemLook {
    const char* text = "";   // the item's string, shown after "N. "
    bool played = false;     // grey text unless highlighted
};

// Draws one item for WM_DRAWITEM; `widest` is the widest text drawn so far
// in this list and grows the list's horizontal extent when exceeded.
void DrawListItem(const DRAWITEMSTRUCT& item, const ListItemLook& look, int& widest);

}  // namespace plyvane
