// The framework's controls on real windows under Wine: the drag list moves
// entries as the drop rule says, and the spin control takes its range, its
// position and the program's acceleration.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "drag_list.h"
#include "up_down.h"

namespace plyvane {
namespace {

class FrameworkWindow : public ::testing::Test {
protected:
    void SetUp() override {
        char display[256];
        if (::GetEnvironmentVariableA("DISPLAY", display, sizeof display) == 0)
            GTEST_SKIP() << "no X display: the window tests need Xvfb";
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&controls);
        parent_ = ::CreateWindowExA(0, "STATIC", "test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                    300, 300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent_, nullptr);
    }
    void TearDown() override {
        if (parent_ != nullptr) ::DestroyWindow(parent_);
    }
    HWND parent_ = nullptr;
};

class DragListTest : public FrameworkWindow {
protected:
    void SetUp() override {
        FrameworkWindow::SetUp();
        if (IsSkipped()) return;
        list_ = ::CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY, 10, 10, 200,
                                  200, parent_, reinterpret_cast<HMENU>(100), nullptr, nullptr);
        for (const char* name : {"a", "b", "c", "d", "e"}) {
            LRESULT at = ::SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
            ::SendMessageA(list_, LB_SETITEMDATA, static_cast<WPARAM>(at), name[0]);
        }
        ASSERT_TRUE(drag_.Attach(list_, [this](int from, int to) { moves_.emplace_back(from, to); }));
    }

    // The notification the drag list sends for the pointer over `row` (-1:
    // below the list).
    void Notify(UINT what, int row) {
        RECT area{};
        POINT point{5, 400};
        if (row >= 0) {
            ::SendMessageA(list_, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&area));
            point = {area.left + 5, (area.top + area.bottom) / 2};
        }
        ::ClientToScreen(list_, &point);
        DRAGLISTINFO info{what, list_, point};
        LRESULT result = 0;
        EXPECT_TRUE(drag_.OnMessage(DragListBox::DragMessage(), reinterpret_cast<LPARAM>(&info), result));
    }
    void Drag(int from, int to) {
        Notify(DL_BEGINDRAG, from);
        Notify(DL_DRAGGING, to);
        Notify(DL_DROPPED, to);
    }

    std::string Order() {
        std::string order;
        int count = static_cast<int>(::SendMessageA(list_, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[8] = "";
            ::SendMessageA(list_, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            EXPECT_EQ(::SendMessageA(list_, LB_GETITEMDATA, static_cast<WPARAM>(i), 0), text[0]);
            order += text;
        }
        return order;
    }
    int Selected() { return static_cast<int>(::SendMessageA(list_, LB_GETCURSEL, 0, 0)); }

    HWND list_ = nullptr;
    DragListBox drag_;
    std::vector<std::pair<int, int>> moves_;
};

TEST_F(DragListTest, ADropPutsTheEntryInFrontOfTheRowAndSelectsIt) {
    Drag(3, 0);
    EXPECT_EQ(Order(), "dabce");
    EXPECT_EQ(Selected(), 0);
    Drag(0, 4);  // in front of the last entry
    EXPECT_EQ(Order(), "abcde");
    EXPECT_EQ(Selected(), 3);
    EXPECT_EQ(moves_, (std::vector<std::pair<int, int>>{{3, 0}, {0, 3}}));
}

TEST_F(DragListTest, DropsThatLeaveTheEntryWhereItIsMoveNothing) {
    Drag(1, 1);
    Drag(1, 2);
    Drag(1, -1);
    EXPECT_EQ(Order(), "abcde");
    EXPECT_TRUE(moves_.empty());
    Notify(DL_BEGINDRAG, 2);
    Notify(DL_CANCELDRAG, 2);
    Notify(DL_DROPPED, 0);  // no drag under way any more
    EXPECT_EQ(Order(), "abcde");
}

TEST_F(FrameworkWindow, SpinTakesRangePositionAndAcceleration) {
    HWND field = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 10, 60, 20, parent_,
                                   reinterpret_cast<HMENU>(200), nullptr, nullptr);
    HWND spin = ::CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT,
                                  70, 10, 16, 20, parent_, reinterpret_cast<HMENU>(201), nullptr,
                                  nullptr);
    ::EnableWindow(spin, FALSE);
    SetUpSpin(spin, field, 1, 100, 75);
    EXPECT_TRUE(::IsWindowEnabled(spin));
    EXPECT_EQ(SpinPosition(spin), 75);
    char text[16] = "";
    ::GetWindowTextA(field, text, sizeof text);
    EXPECT_STREQ(text, "75");
    SetSpinPosition(spin, 500);
    EXPECT_EQ(SpinPosition(spin), 100);
    SetSpinPosition(spin, -3);
    EXPECT_EQ(SpinPosition(spin), 1);
    UDACCEL steps[4]{};
    ASSERT_EQ(::SendMessageA(spin, UDM_GETACCEL, 4, reinterpret_cast<LPARAM>(steps)), 3);
    EXPECT_EQ(steps[0].nSec, 1u);
    EXPECT_EQ(steps[0].nInc, 1u);
    EXPECT_EQ(steps[1].nSec, 4u);
    EXPECT_EQ(steps[1].nInc, 2u);
    EXPECT_EQ(steps[2].nSec, 7u);
    EXPECT_EQ(steps[2].nInc, 5u);
}

}  // namespace
}  // namespace plyvane
