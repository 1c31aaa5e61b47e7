// Drives an open property sheet "Plyvane Properties" as its user would:
// shows pages, clicks choices, moves the buffer slider, types into fields,
// presses Apply, OK and Cancel, and takes screenshots. Shared by the sheet's
// own window tests and the player's.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource_ids.h"
#include "ui_thread.h"
#include "window_driver.h"

namespace plyvane::testing {

constexpr int kApplyButton = 0x3021;  // the sheet's Apply button
constexpr int kAudioDevice = 0, kPlaybackMode = 1, kBuffers = 2, kControls = 3, kInternet = 4;

// The open sheet "Plyvane Properties", driven from another thread or
// process with the messages its controls send.
class Sheet {
public:
    explicit Sheet(HWND window) : sheet_(window) {}
    HWND Window() const { return sheet_; }

    HWND Show(int page) {
        Send(sheet_, PSM_SETCURSEL, static_cast<WPARAM>(page), 0);
        page_ = reinterpret_cast<HWND>(Send(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0));
        return page_;
    }
    HWND Item(int id) const { return ::GetDlgItem(page_, id); }

    void Click(int id) { Send(Item(id), BM_CLICK, 0, 0); }
    bool Checked(int id) { return Send(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Pushed(int id) { return (Send(Item(id), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }
    std::string Text(int id) const { return WindowText(Item(id)); }

    // A choice in a drop-down list, as the list reports the user's choice.
    void Choose(int id, int entry) {
        Send(Item(id), CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        Send(page_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(id)));
    }
    int Chosen(int id) { return static_cast<int>(Send(Item(id), CB_GETCURSEL, 0, 0)); }
    std::vector<std::string> Entries(int id) {
        std::vector<std::string> entries;
        int count = static_cast<int>(Send(Item(id), CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[128] = "";
            Send(Item(id), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            entries.push_back(text);
        }
        return entries;
    }

    // The slider moved by the user to `position` and let go.
    void Slide(int position) {
        HWND slider = Item(IDC_BUFFER_SLIDER);
        Send(slider, TBM_SETPOS, TRUE, position);
        Send(page_, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
        Send(page_, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
    }
    int SliderPosition() { return static_cast<int>(Send(Item(IDC_BUFFER_SLIDER), TBM_GETPOS, 0, 0)); }

    // Text typed into a field (the field tells its page it changed).
    void Type(int id, const char* text) { Send(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }

    bool ApplyEnabled() const { return ::IsWindowEnabled(::GetDlgItem(sheet_, kApplyButton)) != FALSE; }
    void Apply() { Send(sheet_, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0); }
    // Posted, as a click arrives: the sheet's loop sees that it has ended
    // only when a message wakes it.
    void Ok() { ::PostMessageA(sheet_, PSM_PRESSBUTTON, PSBTN_OK, 0); }
    void Cancel() { ::PostMessageA(sheet_, PSM_PRESSBUTTON, PSBTN_CANCEL, 0); }

    std::vector<std::string> Tabs() {
        HWND tabs = reinterpret_cast<HWND>(Send(sheet_, PSM_GETTABCONTROL, 0, 0));
        std::vector<std::string> titles;
        int count = static_cast<int>(Send(tabs, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[64] = "";
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            Send(tabs, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            titles.push_back(text);
        }
        return titles;
    }

    void Screenshot(const std::string& path) {
        ::RedrawWindow(sheet_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        ::Sleep(300);
        EXPECT_TRUE(SaveWindowPng(sheet_, path)) << path;
    }

protected:
    static LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 5000, &result);
        return static_cast<LRESULT>(result);
    }

private:
    HWND sheet_;
    HWND page_ = nullptr;
};

// Ends the sheet that `ui` runs with OK or Cancel and waits for the thread;
// the sheet's result.
inline INT_PTR CloseSheet(UiThread& ui, Sheet& sheet, bool ok) {
    if (ok) {
        sheet.Ok();
    } else {
        sheet.Cancel();
    }
    EXPECT_TRUE(ui.Join());
    return ui.Result();
}

}  // namespace plyvane::testing
