// The progress window itself, under Wine on a real (virtual) display.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "playlist_queue.h"
#include "playlist_scan.h"
#include "playlist_source.h"
#include "progress_window.h"
#include "resource_ids.h"
#include "scan_progress_window.h"

namespace plyvane {
namespace {

std::string TextOf(HWND window) {
    char text[256] = "";
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

class ProgressWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&controls);
        owner_ = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200,
                                   nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override { ::DestroyWindow(owner_); }

    std::string Percent(CProgressWindow& window) { return TextOf(window.Item(IDC_PROGRESS_PERCENT)); }

    HWND owner_ = nullptr;
};

TEST_F(ProgressWindowTest, ComesUpWithItsDefaultsAndDisablesTheOwner) {
    CProgressWindow window;
    ASSERT_TRUE(window.Create(owner_));
    EXPECT_TRUE(::IsWindowVisible(window.Handle()));
    EXPECT_EQ(TextOf(window.Handle()), "Progress indicator");
    EXPECT_EQ(Percent(window), " 0 %");
    EXPECT_EQ(TextOf(window.Item(IDCANCEL)), "Cancel");
    EXPECT_FALSE(::IsWindowEnabled(owner_));
    EXPECT_EQ(::GetWindow(window.Handle(), GW_OWNER), owner_);
    RECT area{0, 0, 186, 79};
    ::MapDialogRect(window.Handle(), &area);
    RECT client;
    ::GetClientRect(window.Handle(), &client);
    EXPECT_EQ(client.right, area.right);
    EXPECT_EQ(client.bottom, area.bottom);

    window.ShowItem("C:\\Music\\song.mp3");
    EXPECT_EQ(TextOf(window.Item(IDC_PROGRESS_ITEM)), "C:\\Music\\song.mp3");
    window.Close();
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_TRUE(::IsWindowEnabled(owner_));
}

TEST_F(ProgressWindowTest, StepsShowThePercentageAndTheBarWraps) {
    struct Case {
        int low, high, step;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {0, 100, 10, {"10%", "20%", "30%", "40%", "50%", "60%", "70%", "80%", "90%", "100%", "10%", "20%"}},
        {0, 4, 10, {"50%", "0%", "50%"}},
        {0, 4, 1, {"25%", "50%", "75%", "100%", "25%"}},
        {0, 100000, 25000, {"25%", "50%", "75%", "100%"}},
    };
    for (const Case& c : cases) {
        CProgressWindow window;
        window.SetRange(c.low, c.high);
        window.SetStep(c.step);
        ASSERT_TRUE(window.Create(owner_));
        std::vector<std::string> texts;
        for (size_t i = 0; i < c.texts.size(); ++i) {
            window.Step();
            texts.push_back(Percent(window));
        }
        EXPECT_EQ(texts, c.texts) << c.low << ".." << c.high << " step " << c.step;
    }
    // After ten steps of ten the bar is full; the eleventh starts it again.
    CProgressWindow window;
    ASSERT_TRUE(window.Create(owner_));
    HWND bar = window.Item(IDC_PROGRESS_BAR);
    for (int i = 0; i < 10; ++i) window.Step();
    EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 100);
    window.Step();
    EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 10);
}

TEST_F(ProgressWindowTest, CancelIsAFlagThatThePollTakes) {
    CProgressWindow window;
    ASSERT_TRUE(window.Create(owner_));
    EXPECT_FALSE(window.PollCancel());
    // A click posted to the button arrives through the poll's message loop.
    ::PostMessageA(window.Item(IDCANCEL), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageA(window.Item(IDCANCEL), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(window.PollCancel());
    EXPECT_FALSE(window.PollCancel()) << "the poll clears the flag";
    EXPECT_TRUE(::IsWindow(window.Handle())) << "Cancel leaves the window up";

    // Escape goes through the dialog's keyboard handling.
    ::PostMessageA(window.Item(IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0);
    window.Step();
    EXPECT_TRUE(window.PollCancel());
}

TEST_F(ProgressWindowTest, AnOwnerDisabledBeforeStaysDisabled) {
    ::EnableWindow(owner_, FALSE);
    CProgressWindow window(IDS_INITIALIZE_PLAYLIST);
    ASSERT_TRUE(window.Create(owner_));
    EXPECT_FALSE(window.OwnerDisabled());
    EXPECT_EQ(TextOf(window.Handle()), "Initialize playlist playback");
    window.Close();
    EXPECT_FALSE(::IsWindowEnabled(owner_));

    CProgressWindow without;
    ASSERT_TRUE(without.Create(nullptr));
    without.Step();
    without.Close();
}

// Entries whose probe presses Cancel in the scan's window after the tenth.
class CancellingProber : public EntryProber {
public:
    bool Probe(const std::string&, Result& result) override {
        if (++probes == 10) {
            HWND progress = ::FindWindowA(nullptr, "Initialize playlist playback");
            if (progress != nullptr) ::PostMessageA(progress, WM_COMMAND, IDCANCEL, 0);
        }
        result.durationMs = 1000;
        return true;
    }
    int probes = 0;
};

TEST_F(ProgressWindowTest, CancelInTheScanMarksTheRestAborted) {
    std::vector<std::string> names;
    for (int i = 1; i <= 30; ++i) names.push_back("C:\\n" + std::to_string(i) + ".mp3");
    DroppedFiles files(names);
    PlaylistQueue queue;
    ASSERT_EQ(queue.Allocate(files.Count()), PlaylistQueue::TableFailure::kNone);
    CancellingProber prober;
    ScanProgressWindow progress(owner_);
    progress.Begin(files.Count());
    EXPECT_FALSE(::IsWindowEnabled(owner_));
    const auto lines = ScanEntries(files, queue, prober, progress, ScanOptions{});
    progress.End();
    EXPECT_TRUE(::IsWindowEnabled(owner_));
    EXPECT_EQ(::FindWindowA(nullptr, "Initialize playlist playback"), nullptr);

    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(prober.probes, 10);
    EXPECT_EQ(lines[9], "n10");
    for (int entry = 11; entry <= 30; ++entry) {
        EXPECT_EQ(lines[static_cast<size_t>(entry - 1)], kScanAbortedLine);
        EXPECT_FALSE(queue.IsPlayable(entry));
    }
}

}  // namespace
}  // namespace plyvane
