// The URL entry dialog on a real window under Wine: what it shows, what OK
// hands back for typed text, the URL check for another scheme, Cancel.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "resource_ids.h"
#include "ui_thread.h"
#include "url_entry.h"
#include "url_entry_dialog.h"
#include "window_driver.h"

namespace plyvane::testing {
namespace {

const std::string kGuiDir = PLYVANE_GUI_DIR;
constexpr char kCaption[] = "Internet streaming";

void Click(HWND dialog, int id) {
    ::SendMessageTimeoutA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, nullptr);
}

// The text of the dialog's label (the one static).
BOOL CALLBACK LabelText(HWND child, LPARAM parameter) {
    if (::GetDlgCtrlID(child) != IDC_STATIC) return TRUE;
    ::GetWindowTextA(child, reinterpret_cast<char*>(parameter), 64);
    return FALSE;
}

class UrlEntryWindow : public ::testing::Test {
protected:
    void SetUp() override {
        char display[256];
        if (::GetEnvironmentVariableA("DISPLAY", display, sizeof display) == 0)
            GTEST_SKIP() << "no X display: the window tests need Xvfb";
    }

    // Shows the dialog on its own thread; its window once it is up.
    HWND Open(const std::string& initial) {
        dialog_ = std::make_unique<CUrlEntryDialog>(initial);
        ui_ = std::make_unique<UiThread>();
        CUrlEntryDialog* dialog = dialog_.get();
        ui_->Start([dialog](HWND owner) { return dialog->Show(owner); });
        return ui_->WaitForDialog(kCaption);
    }
    INT_PTR Result() {
        EXPECT_TRUE(ui_->Join());
        return ui_->Result();
    }

    std::unique_ptr<CUrlEntryDialog> dialog_;
    std::unique_ptr<UiThread> ui_;
};

TEST_F(UrlEntryWindow, ShowsTheRecentAddressAndOkUntouchedKeepsIt) {
    HWND window = Open("http://radio.example/Live.mp3");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(window), kCaption);
    EXPECT_EQ(WindowText(::GetDlgItem(window, IDC_URL_EDIT)), "http://radio.example/Live.mp3");
    EXPECT_EQ(WindowText(::GetDlgItem(window, IDOK)), "OK");
    EXPECT_EQ(WindowText(::GetDlgItem(window, IDCANCEL)), "Cancel");
    char labelText[64] = "";
    ::EnumChildWindows(window, &LabelText, reinterpret_cast<LPARAM>(labelText));
    EXPECT_STREQ(labelText, "Open URL:");
    ::Sleep(300);
    EXPECT_TRUE(SaveWindowPng(window, kGuiDir + "\\url_entry.png"));
    Click(window, IDOK);
    EXPECT_EQ(Result(), IDOK);
    EXPECT_EQ(dialog_->Url(), "http://radio.example/Live.mp3");
}

TEST_F(UrlEntryWindow, OkUntouchedOnAnEmptyFieldHandsBackTheEmptyAddress) {
    HWND window = Open("");
    ASSERT_NE(window, nullptr);
    Click(window, IDOK);
    EXPECT_EQ(Result(), IDOK);
    EXPECT_EQ(dialog_->Url(), "");
}

TEST_F(UrlEntryWindow, AnAddressWithoutSchemeIsCompletedInLowerCase) {
    HWND window = Open("http://old/");
    ASSERT_NE(window, nullptr);
    TypeUrl(window, " Server/Path/File.MP3 ");
    Click(window, IDOK);
    EXPECT_EQ(Result(), IDOK);
    EXPECT_EQ(dialog_->Url(), "http://server/path/file.mp3");
}

TEST_F(UrlEntryWindow, AnotherSchemeShowsTheUrlCheckAndTheDialogStays) {
    HWND window = Open("");
    ASSERT_NE(window, nullptr);
    TypeUrl(window, "ftp://host/a.mp3");
    ::PostMessageA(::GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
    HWND box = ui_->WaitForDialog(kUrlCheckCaption);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), kUrlCheckMessage);
    Click(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindow(box) == FALSE; }));
    EXPECT_FALSE(ui_->Finished());
    EXPECT_TRUE(::IsWindowVisible(window));

    // The scheme in capitals is taken as typed.
    TypeUrl(window, "HTTP://Host/A.mp3");
    Click(window, IDOK);
    EXPECT_EQ(Result(), IDOK);
    EXPECT_EQ(dialog_->Url(), "HTTP://Host/A.mp3");
}

TEST_F(UrlEntryWindow, CancelHandsBackNothing) {
    HWND window = Open("http://old/a.mp3");
    ASSERT_NE(window, nullptr);
    TypeUrl(window, "new/b.mp3");
    Click(window, IDCANCEL);
    EXPECT_EQ(Result(), IDCANCEL);
    EXPECT_EQ(dialog_->Url(), "http://old/a.mp3");
}

}  // namespace
}  // namespace plyvane::testing
