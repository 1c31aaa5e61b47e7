// Internet streams in the real player window under Wine, against the test
// server of tests/http (WinINet): Open URL with a typed address, the URL
// check, "RecentURL", the copy of "Download and save", the ICY title, a
// password that never shows, and Stop while the server stalls.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "resource_ids.h"
#include "window_driver.h"

namespace plyvane::testing {
namespace {

const std::string kDir = PLYVANE_GUI_DIR;
constexpr char kStream[] = "layer2/mpeg1_48k_stereo_192k.mp2";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string CurrentVersion() {
    std::string exe = PLYVANE_PLAYER_EXE;
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    std::string block(size, '\0');
    void* value = nullptr;
    UINT length = 0;
    if (size == 0 || !::GetFileVersionInfoA(exe.c_str(), 0, size, block.data()) ||
        !::VerQueryValueA(block.data(), "\\StringFileInfo\\000004b0\\ProductVersion", &value, &length)) {
        return "no version";
    }
    std::string version;
    for (const char* p = static_cast<const char*>(value); *p != '\0'; ++p) {
        if (*p >= '0' && *p <= '9') version.push_back(*p);
        if (*p == ',') version.push_back('.');
    }
    return version;
}

// The file dialog's name field (an edit inside combo box 0x47C, or edit
// 0x480), through the system's calling convention.
BOOL CALLBACK FindFileNameBox(HWND child, LPARAM found) {
    int id = ::GetDlgCtrlID(child);
    if (id != 0x47C && id != 0x480) return TRUE;
    HWND edit = ::FindWindowExA(child, nullptr, "Edit", nullptr);
    *reinterpret_cast<HWND*>(found) = edit != nullptr ? edit : child;
    return FALSE;
}

class InternetWindow : public ::testing::Test {
protected:
    void SetUp() override {
        char text[256];
        if (::GetEnvironmentVariableA("DISPLAY", text, sizeof text) == 0) GTEST_SKIP() << "no X display";
        if (::waveOutGetNumDevs() == 0) GTEST_SKIP() << "no wave-out device (no PulseAudio)";
        ASSERT_NE(::GetEnvironmentVariableA("PLYVANE_HTTP_PORT", text, sizeof text), 0u)
            << "run under tests/http/with_http_server.sh";
        port_ = text;
        WriteText("Software\\Wine\\X11 Driver", "Decorated", "N");
        ::CreateDirectoryA(kDir.c_str(), nullptr);
        DeleteSettings();
        WriteText(kPlaybackKey, "Version", CurrentVersion().c_str());
        WriteNumber(kConfigurationKey, "WindowXPos", 160);
        WriteNumber(kConfigurationKey, "WindowYPos", 120);
        WriteNumber(kConfigurationKey, "TaskBar", 0);
    }

    std::string Server() const { return "127.0.0.1:" + port_; }

    // Open URL, the text typed into the field (a screenshot of the dialog
    // when shot is given), OK.
    HWND TypeIntoOpenUrl(PlayerProcess& player, const std::string& text, const char* shot = nullptr) {
        ::PostMessageA(player.Window(), WM_COMMAND, IDC_OPEN_URL, 0);
        HWND dialog = player.WaitForMessageBox("Internet streaming", 8000);
        if (dialog == nullptr) return nullptr;
        TypeUrl(dialog, text);
        if (shot != nullptr) {
            WaitUntil([&] { return ::IsWindowVisible(dialog) != FALSE; });
            ::SetForegroundWindow(dialog);
            ::Sleep(500);  // mapped and drawn by the X server
            ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            EXPECT_TRUE(SaveWindowPng(dialog, kDir + "\\" + shot));
        }
        ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return dialog;
    }

    static void Dismiss(HWND box) {
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        WaitUntil([&] { return !::IsWindow(box); });
    }

    std::string port_;
};

TEST_F(InternetWindow, OpenUrlCompletesATypedAddressAndRemembersItOnlyAfterAnOpen) {
    PlayerProcess player;
    ASSERT_TRUE(player.Start(""));
    ASSERT_NE(player.WaitForWindow(), nullptr);
    EXPECT_TRUE(::IsWindowEnabled(player.Item(IDC_OPEN_URL)));

    // A missing stream: the Part's boxes, and nothing remembered.
    ASSERT_NE(TypeIntoOpenUrl(player, Server() + "/files/none.mp2"), nullptr);
    HWND box = player.WaitForMessageBox("Error!", 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "URL 'http://" + Server() + "/files/none.mp2' not found");
    Dismiss(box);
    for (HWND more; (more = player.WaitForMessageBox("Error!", 3000)) != nullptr;) Dismiss(more);
    HWND failed = player.WaitForMessageBox("Open audio file", 5000);
    ASSERT_NE(failed, nullptr);
    EXPECT_EQ(MessageBoxText(failed), "MPEG stream init faild!");
    Dismiss(failed);
    std::string recent;
    EXPECT_FALSE(ReadText(kConfigurationKey, "RecentURL", recent)) << recent;

    // Typed without scheme (and in capitals): completed in lower case.
    ASSERT_NE(TypeIntoOpenUrl(player, "  " + Server() + "/FILES/" + kStream + " ", "open-url.png"), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return player.Title() == "Plyvane - mpeg1_48k_stereo_192k"; }, 10000))
        << player.Title();
    EXPECT_TRUE(ReadText(kConfigurationKey, "RecentURL", recent));
    EXPECT_EQ(recent, "http://" + Server() + "/files/" + kStream);

    // Another scheme: the URL check, and the dialog stays for a correction.
    ::PostMessageA(player.Window(), WM_COMMAND, IDC_OPEN_URL, 0);
    HWND dialog = player.WaitForMessageBox("Internet streaming", 8000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDC_URL_EDIT)), recent);
    TypeUrl(dialog, "ftp://server/a.mp3");
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    HWND check = player.WaitForMessageBox("URL check", 5000);
    ASSERT_NE(check, nullptr);
    Dismiss(check);
    EXPECT_TRUE(WaitUntil([&] { return player.WaitForMessageBox("URL check", 100) == nullptr; }));
    EXPECT_TRUE(::IsWindow(dialog));
    ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }));
    EXPECT_TRUE(ReadText(kConfigurationKey, "RecentURL", recent));
    EXPECT_EQ(recent, "http://" + Server() + "/files/" + kStream);
    EXPECT_TRUE(player.Exit());
}

TEST_F(InternetWindow, DownloadAndSaveCopiesExactlyTheAudio) {
    WriteNumber(kConfigurationKey, "PlayAndSave", 1);
    const std::string copy = kDir + "\\radio-copy.mp2";
    ::DeleteFileA(copy.c_str());
    PlayerProcess player;
    ASSERT_TRUE(player.Start(""));
    ASSERT_NE(player.WaitForWindow(), nullptr);
    // ICY metadata in the stream: the copy holds the audio alone.
    ASSERT_NE(TypeIntoOpenUrl(player, "http://" + Server() + "/icy/" + kStream + "?metaint=3000&title=Song"),
              nullptr);
    HWND save = player.WaitForMessageBox("Save As", 10000);
    ASSERT_NE(save, nullptr);
    HWND name = nullptr;
    ::EnumChildWindows(save, &FindFileNameBox, reinterpret_cast<LPARAM>(&name));
    ASSERT_NE(name, nullptr);
    ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
    ::PostMessageA(save, WM_COMMAND, IDOK, 0);
    // The ICY title shows in the caption and the song line.
    EXPECT_TRUE(WaitUntil([&] { return player.Title().rfind("Plyvane - Song ", 0) == 0; }, 10000))
        << player.Title();
    EXPECT_TRUE(WaitUntil([&] { return player.Text(IDC_SONG_NAME).rfind("Song ", 0) == 0; }, 5000))
        << player.Text(IDC_SONG_NAME);
    // The two-second stream ends (the copy is closed as the stream opens
    // again to wait at its start).
    EXPECT_TRUE(WaitUntil([&] { return player.Pushed(IDC_STOP); }, 15000));
    EXPECT_TRUE(player.Exit());
    EXPECT_EQ(ReadFile(copy), ReadFile(std::string(PLYVANE_SOURCE_DIR) + "/tests/data/" + kStream));
}

TEST_F(InternetWindow, APasswordInTheAddressNeverShows) {
    PlayerProcess player;
    ASSERT_TRUE(player.Start("/P http://alice:s3cret@" + Server() + "/auth/" + kStream));
    ASSERT_NE(player.WaitForWindow(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return player.Title() == "Plyvane - mpeg1_48k_stereo_192k"; }, 10000))
        << player.Title();
    EXPECT_EQ(player.Text(IDC_SONG_NAME).find("s3cret"), std::string::npos);
    EXPECT_TRUE(player.Exit());

    // Without a path the title is made of the host part: masked. The boxes
    // come while the window starts.
    PlayerProcess bare;
    ASSERT_TRUE(bare.Start("/P http://alice:s3cret@" + Server()));
    int boxes = 0;
    for (HWND box; (box = bare.WaitForMessageBox("Error!", 4000)) != nullptr; ++boxes) {
        EXPECT_EQ(MessageBoxText(box).find("s3cret"), std::string::npos) << MessageBoxText(box);
        Dismiss(box);
    }
    EXPECT_GE(boxes, 1);
    if (HWND failed = bare.WaitForMessageBox("Open audio file", 3000)) Dismiss(failed);
    ASSERT_NE(bare.WaitForWindow(), nullptr);
    EXPECT_EQ(bare.Title().find("s3cret"), std::string::npos) << bare.Title();
    EXPECT_TRUE(bare.Exit());
}

TEST_F(InternetWindow, StopAnswersAtOnceWhileTheServerStalls) {
    PlayerProcess player;
    // Six seconds of audio (the stream five times over), then a server that
    // sends nothing more.
    ASSERT_TRUE(player.Start("/P \"http://" + Server() + "/stall/" + kStream +
                             "?repeat=5&after=144000&seconds=60\""));
    ASSERT_NE(player.WaitForWindow(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return player.Pushed(IDC_PLAY); }, 10000));
    // The refresh waits for the server: the position stands still (the
    // ring holds a few seconds, so it shows less than six).
    std::string before;
    EXPECT_TRUE(WaitUntil([&] {
        before = player.Text(IDC_TIME);
        ::Sleep(1500);
        return before != " 0:00min " && player.Text(IDC_TIME) == before;
    }, 20000)) << before;

    using std::chrono::milliseconds;
    using std::chrono::steady_clock;
    auto start = steady_clock::now();
    ::PostMessageA(player.Window(), WM_COMMAND, IDC_PAUSE, 0);
    EXPECT_TRUE(WaitUntil([&] { return player.Pushed(IDC_PAUSE); }, 3000));
    EXPECT_LT(steady_clock::now() - start, milliseconds(1000));

    start = steady_clock::now();
    ::PostMessageA(player.Window(), WM_COMMAND, IDC_STOP, 0);
    EXPECT_TRUE(WaitUntil([&] { return player.Pushed(IDC_STOP); }, 3000));
    EXPECT_LT(steady_clock::now() - start, milliseconds(1000));
    // The window answers and repaints.
    DWORD_PTR answer = 0;
    EXPECT_NE(::SendMessageTimeoutA(player.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer), 0);
    EXPECT_TRUE(::RedrawWindow(player.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW));
    EXPECT_TRUE(SaveWindowPng(player.Window(), kDir + "\\internet-stalled-stopped.png"));
    EXPECT_TRUE(player.Exit());
}

// How long the window takes to close while a stream plays: ms.
long CloseWhilePlaying(PlayerProcess& player, const std::string& address) {
    if (!player.Start("/P \"" + address + "\"")) return -1;
    HWND window = player.WaitForWindow();
    if (window == nullptr || !WaitUntil([&] { return player.Pushed(IDC_PLAY); }, 10000)) return -1;
    // Playing, or (stalled) waiting for the server: the position stands still.
    std::string before;
    WaitUntil([&] {
        before = player.Text(IDC_TIME);
        ::Sleep(1500);
        return before != " 0:00min " && (address.find("/stall/") == std::string::npos || player.Text(IDC_TIME) == before);
    }, 20000);
    const auto start = std::chrono::steady_clock::now();
    ::PostMessageA(window, WM_COMMAND, IDC_EXIT, 0);
    if (!WaitUntil([&] { return !::IsWindow(window); }, 10000)) return -1;
    const auto closed = std::chrono::steady_clock::now() - start;
    player.WaitForExit(10000);
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(closed).count());
}

TEST_F(InternetWindow, TheWindowClosesAtOnceWhileTheServerStalls) {
    PlayerProcess playing;
    const long normal = CloseWhilePlaying(playing, "http://" + Server() + "/files/" + kStream + "?repeat=5");
    PlayerProcess stalled;
    const long waiting =
        CloseWhilePlaying(stalled, "http://" + Server() + "/stall/" + kStream + "?repeat=5&after=144000&seconds=60");
    ASSERT_GE(normal, 0);
    ASSERT_GE(waiting, 0);
    // A stalled server adds nothing noticeable to what closing always takes.
    EXPECT_LT(waiting, normal + 1000) << "normal " << normal << " ms, stalled " << waiting << " ms";
    std::printf("closing: %ld ms while playing, %ld ms while the server stalls\n", normal, waiting);
}

}  // namespace
}  // namespace plyvane::testing
