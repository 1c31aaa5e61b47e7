#include "owner_drawn_list.h"

#include "text.h"

namespace plyvane {

void DrawListItem(const DRAWITEMSTRUCT& item, const ListItemLook& look, int& widest) {
    HDC dc = item.hDC;
    RECT area = item.rcItem;
    if (item.itemID == static_cast<UINT>(-1)) {
        ::DrawFocusRect(dc, &area);
        return;
    }
    bool listHasFocus = ::GetFocus() == item.hwndItem;
    bool highlighted = listHasFocus && (item.itemState & (ODS_SELECTED | ODS_FOCUS)) != 0;

    ::FillRect(dc, &area, ::GetSysColorBrush(highlighted ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    COLORREF colour = ::GetSysColor(COLOR_WINDOWTEXT);
    if (highlighted) {
        colour = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else if (look.played) {
        colour = ::GetSysColor(COLOR_GRAYTEXT);
    }
    if (item.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &area);

    char line[300];
    FormatText(line, sizeof line, "%d. %s", static_cast<int>(item.itemID) + 1,
               look.text != nullptr ? look.text : "");
    COLORREF oldColour = ::SetTextColor(dc, colour);
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    RECT textArea = area;
    textArea.left += 2;
    ::DrawTextA(dc, line, -1, &textArea, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColour);

    SIZE extent{};
    ::GetTextExtentPoint32A(dc, line, lstrlenA(line), &extent);
    if (extent.cx + 4 > widest) {
        widest = extent.cx + 4;
        ::SendMessageA(item.hwndItem, LB_SETHORIZONTALEXTENT, widest, 0);
    }
}

}  // namespace plyvane
