// The real player window playing lists under Wine: playlist files from the
// command line, Next, Previous and "Select", random and endless rounds, the
// scan's Cancel, the track list's grey lines; and the window after a failed
// open and with hand-overs that arrive while a box is up. Needs a display
// (Xvfb) and a wave-out device (a PulseAudio server).
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "resource_ids.h"
#include "window_driver.h"

namespace plyvane::testing {
namespace {

const std::string kDir = std::string(PLYVANE_GUI_DIR) + "\\lists";

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string Path(const std::string& name) { return kDir + "\\" + name; }

// A `.pls` of the given files (full paths), no titles.
std::string WritePls(const std::string& name, const std::vector<std::string>& files) {
    std::string text = "[playlist]\r\nNumberOfEntries=" + std::to_string(files.size()) + "\r\n";
    for (size_t i = 0; i < files.size(); ++i) {
        text += "File" + std::to_string(i + 1) + "=" + files[i] + "\r\n";
    }
    WriteBytes(Path(name), text);
    return Path(name);
}

class PlayerLists : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WriteText("Software\\Wine\\X11 Driver", "Decorated", "N");
        for (size_t at = kDir.find('\\', 3); at != std::string::npos; at = kDir.find('\\', at + 1)) {
            ::CreateDirectoryA(kDir.substr(0, at).c_str(), nullptr);
        }
        ::CreateDirectoryA(kDir.c_str(), nullptr);
        const std::string piece =
            ReadBytes(std::string(PLYVANE_SOURCE_DIR) + "/tests/data/layer2/mpeg1_48k_stereo_192k.mp2");
        std::string minute;
        for (int i = 0; i < 30; ++i) minute += piece;
        // Short entries (4 s) that play through, long ones (1 min) to move in.
        for (const char* name : {"one", "two", "four", "five"}) {
            WriteBytes(Path(std::string(name) + ".mp2"), piece + piece);
            WriteBytes(Path(std::string("long ") + name + ".mp2"), minute);
        }
        WriteBytes(Path("empty.mp2"), "");
    }

    void SetUp() override {
        char display[256];
        if (::GetEnvironmentVariableA("DISPLAY", display, sizeof display) == 0) {
            GTEST_SKIP() << "no X display: the window tests need Xvfb";
        }
        if (::waveOutGetNumDevs() == 0) GTEST_SKIP() << "no wave-out device (no PulseAudio)";
        DeleteSettings();
        WriteText(kPlaybackKey, "Version", ProgramVersion().c_str());
        WriteNumber(kConfigurationKey, "CheckExtentions", 0);
        WriteNumber(kConfigurationKey, "WindowXPos", 160);
        WriteNumber(kConfigurationKey, "WindowYPos", 120);
        WriteNumber(kConfigurationKey, "TaskBar", 0);
    }

    // Five entries, the third missing: the scan's box about it is answered.
    static std::string FiveWithAGap(const std::string& prefix) {
        return WritePls(prefix + "five.pls",
                        {Path(prefix + "one.mp2"), Path(prefix + "two.mp2"), Path(prefix + "three.mp2"),
                         Path(prefix + "four.mp2"), Path(prefix + "five.mp2")});
    }
    static void AnswerTheScansBox(PlayerProcess& player) {
        HWND box = player.WaitForMessageBox("Error!", 10000);
        ASSERT_NE(box, nullptr) << "no box about the missing entry";
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    }

    // Records each new playing title (with the counters beside it) from
    // another thread, so none is missed while the test looks elsewhere.
    struct Seen {
        std::string title, track, toGo;
    };
    class TitleRecorder {
    public:
        explicit TitleRecorder(PlayerProcess& player)
            : thread_([this, &player] {
                  std::string last;
                  while (!stop_) {
                      std::string title = player.Title();
                      if (title != last && title.rfind("Plyvane - ", 0) == 0 &&
                          title.find(" (") == std::string::npos) {
                          Seen seen{title, player.Text(IDC_TRACK), player.Text(IDC_TO_GO)};
                          std::lock_guard<std::mutex> lock(mutex_);
                          seen_.push_back(seen);
                      }
                      last = title;
                      ::Sleep(10);
                  }
              }) {}
        ~TitleRecorder() {
            stop_ = true;
            thread_.join();
        }
        std::vector<Seen> Snapshot() {
            std::lock_guard<std::mutex> lock(mutex_);
            return seen_;
        }

    private:
        std::atomic<bool> stop_{false};
        std::mutex mutex_;
        std::vector<Seen> seen_;
        std::thread thread_;
    };

    static std::string Line(PlayerProcess& player, int index) {
        return ListBoxLine(player.Item(IDC_TRACK_LIST), index);
    }

    // Waits for a playing title (not stopped, not paused) other than `not`.
    static std::string NextPlayingTitle(PlayerProcess& player, const std::string& not_, DWORD ms = 8000) {
        std::string title;
        WaitUntil([&] {
            title = player.Title();
            return title.rfind("Plyvane - ", 0) == 0 && title != not_ &&
                   title.find(" (") == std::string::npos;
        }, ms);
        return title;
    }

    // The line's pixels: whether any is in the given colour.
    static bool LineHasColour(PlayerProcess& player, int index, COLORREF colour) {
        HWND list = player.Item(IDC_TRACK_LIST);
        RECT area{};
        ::GetClientRect(list, &area);
        POINT corner{0, 0};
        ::ClientToScreen(list, &corner);
        const int height = static_cast<int>(::SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
        RECT line{corner.x, corner.y + index * height, corner.x + area.right, corner.y + (index + 1) * height};
        std::vector<COLORREF> pixels = ScreenPixels(line);
        return std::find(pixels.begin(), pixels.end(), colour) != pixels.end();
    }
};

TEST_F(PlayerLists, AListWithAMissingFilePlaysTheOthersInOrder) {
    const std::string list = FiveWithAGap("");
    PlayerProcess player;
    ASSERT_TRUE(player.Start("/P \"" + list + "\""));
    AnswerTheScansBox(player);
    ASSERT_NE(player.WaitForWindow(), nullptr);
    TitleRecorder recorder(player);

    // Every line is there; the missing one says so, in grey, while the
    // entries still to play are drawn in the window's text colour.
    ASSERT_EQ(ListBoxCount(player.Item(IDC_TRACK_LIST)), 5);
    EXPECT_EQ(Line(player, 0), "one");
    EXPECT_EQ(Line(player, 2), "Error accessing file!");
    EXPECT_EQ(Line(player, 4), "five");
    EXPECT_EQ(player.Text(IDC_TOTAL_TRACKS), "5 ");
    // Four entries of 4.032 s.
    EXPECT_EQ(player.Text(IDC_LIST_TOTAL_TIME), "0:16min ");
    ::Sleep(300);
    EXPECT_TRUE(LineHasColour(player, 2, ::GetSysColor(COLOR_GRAYTEXT)));
    EXPECT_FALSE(LineHasColour(player, 2, ::GetSysColor(COLOR_WINDOWTEXT)));
    EXPECT_TRUE(LineHasColour(player, 3, ::GetSysColor(COLOR_WINDOWTEXT)));
    EXPECT_TRUE(SaveWindowPng(player.Window(), std::string(PLYVANE_GUI_DIR) + "\\track-list.png"));

    // The list is wider than a single file's window.
    RECT area{};
    ::GetWindowRect(player.Window(), &area);
    RECT separator{};
    ::GetWindowRect(player.Item(IDC_SEPARATOR), &separator);
    EXPECT_GT(area.right, separator.right);

    // Titles and counters as each entry started; at the end the list waits
    // at its first entry, stopped.
    EXPECT_TRUE(WaitUntil([&] {
        return player.Title() == "Plyvane - one (stopped)" && player.Text(IDC_TRACK) == "1 ";
    }, 40000)) << player.Title();
    std::vector<Seen> seen = recorder.Snapshot();
    std::vector<std::string> titles;
    for (const Seen& s : seen) titles.push_back(s.title);
    ASSERT_EQ(titles, (std::vector<std::string>{"Plyvane - one", "Plyvane - two", "Plyvane - four",
                                                "Plyvane - five"}));
    EXPECT_EQ(seen[1].track, "2 ");
    EXPECT_EQ(seen[2].track, "4 ");
    EXPECT_EQ(seen[3].track, "5 ");
    EXPECT_EQ(seen[3].toGo, "0 ");
    EXPECT_EQ(player.Title(), "Plyvane - one (stopped)");
    EXPECT_EQ(player.Text(IDC_TRACK), "1 ");
    EXPECT_EQ(player.Text(IDC_TO_GO), "4 ");  // the rewind counts every other entry
    EXPECT_TRUE(player.Exit());
}

TEST_F(PlayerLists, NextPreviousAndSelectMoveThroughTheList) {
    const std::string list = FiveWithAGap("long ");
    PlayerProcess player;
    ASSERT_TRUE(player.Start("/P \"" + list + "\""));
    AnswerTheScansBox(player);
    ASSERT_NE(player.WaitForWindow(), nullptr);
    ASSERT_EQ(NextPlayingTitle(player, ""), "Plyvane - long one");
    // Four entries of 60.48 s.
    EXPECT_EQ(player.Text(IDC_LIST_TOTAL_TIME), "4:01min ");

    player.Command(IDC_NEXT);
    EXPECT_EQ(NextPlayingTitle(player, "Plyvane - long one"), "Plyvane - long two");
    EXPECT_EQ(player.Text(IDC_TRACK), "2 ");
    // The missing entry is passed over without a question.
    player.Command(IDC_NEXT);
    EXPECT_EQ(NextPlayingTitle(player, "Plyvane - long two"), "Plyvane - long four");
    EXPECT_EQ(player.Text(IDC_TRACK), "4 ");
    EXPECT_EQ(player.Text(IDC_TO_GO), "1 ");
    // The list time goes on from the entries played before this one.
    std::string listTime = player.Text(IDC_LIST_TIME);
    EXPECT_EQ(listTime.rfind(" 2:0", 0), 0u) << listTime;

    player.Command(IDC_PREVIOUS);
    EXPECT_EQ(NextPlayingTitle(player, "Plyvane - long four"), "Plyvane - long two");
    EXPECT_EQ(player.Text(IDC_TRACK), "2 ");

    // "Select" on line 5, then a double click on line 1.
    HWND tracks = player.Item(IDC_TRACK_LIST);
    ::SendMessageA(tracks, LB_SETCURSEL, 4, 0);
    player.Command(ID_SELECT_TRACK);
    EXPECT_EQ(NextPlayingTitle(player, "Plyvane - long two"), "Plyvane - long five");
    EXPECT_EQ(player.Text(IDC_TRACK), "5 ");
    EXPECT_EQ(player.Text(IDC_TO_GO), "0 ");
    ::SendMessageA(tracks, LB_SETCURSEL, 0, 0);
    ::PostMessageA(player.Window(), WM_COMMAND, MAKEWPARAM(IDC_TRACK_LIST, LBN_DBLCLK),
                   reinterpret_cast<LPARAM>(tracks));
    EXPECT_EQ(NextPlayingTitle(player, "Plyvane - long five"), "Plyvane - long one");
    EXPECT_EQ(player.Text(IDC_TO_GO), "3 ");
    // The missing line cannot be selected to play.
    ::SendMessageA(tracks, LB_SETCURSEL, 2, 0);
    player.Command(ID_SELECT_TRACK);
    ::Sleep(800);
    EXPECT_EQ(player.Title(), "Plyvane - long one");

    // Previous and Next from the tray; Stop with the mouse rewinds.
    player.TrayClick(IDI_TRAY_NEXT, WM_LBUTTONUP);
    EXPECT_EQ(NextPlayingTitle(player, "Plyvane - long one"), "Plyvane - long two");
    player.TrayClick(IDI_TRAY_PREVIOUS, WM_LBUTTONUP);
    EXPECT_EQ(NextPlayingTitle(player, "Plyvane - long two"), "Plyvane - long one");
    player.Command(IDC_NEXT);
    EXPECT_EQ(NextPlayingTitle(player, "Plyvane - long one"), "Plyvane - long two");
    player.Click(IDC_STOP);
    // The counters follow the title once the first entry is open again.
    EXPECT_TRUE(WaitUntil([&] {
        return player.Title() == "Plyvane - long one (stopped)" && player.Text(IDC_TRACK) == "1 ";
    })) << player.Title();
    EXPECT_EQ(player.Text(IDC_TRACK), "1 ");
    EXPECT_EQ(player.Text(IDC_TO_GO), "4 ");
    EXPECT_TRUE(player.Exit());
}

TEST_F(PlayerLists, RandomPlaysEachEntryOncePerRoundAndEndlessStartsAnother) {
    const std::string list =
        WritePls("random.pls", {Path("long one.mp2"), Path("long two.mp2"), Path("long four.mp2"),
                                Path("long five.mp2")});
    PlayerProcess player;
    ASSERT_TRUE(player.Start("/R /E /P \"" + list + "\""));
    ASSERT_NE(player.WaitForWindow(), nullptr);
    DWORD stored = 0;
    EXPECT_TRUE(ReadNumber(kConfigurationKey, "RandomPlayback", stored));
    EXPECT_EQ(stored, 1u);
    EXPECT_TRUE(player.Pushed(IDC_RANDOM));
    EXPECT_TRUE(player.Pushed(IDC_ENDLESS));

    // The entry playing, known by its number, once its title shows.
    const char* names[] = {"one", "two", "four", "five"};
    std::vector<std::string> rounds[2];
    for (int step = 0; step < 8; ++step) {
        if (step > 0) player.Command(IDC_NEXT);
        const std::string toGo = std::to_string(3 - step % 4) + " ";
        std::string name;
        ASSERT_TRUE(WaitUntil([&] {
            int track = std::atoi(player.Text(IDC_TRACK).c_str());
            if (player.Text(IDC_TO_GO) != toGo || track < 1 || track > 4) return false;
            name = names[track - 1];
            return player.Title() == "Plyvane - long " + name;
        }, 8000)) << "step " << step << ": " << player.Title() << " / " << player.Text(IDC_TO_GO);
        rounds[step / 4].push_back(name);
    }
    for (auto& round : rounds) {
        std::set<std::string> distinct(round.begin(), round.end());
        EXPECT_EQ(distinct.size(), 4u) << ::testing::PrintToString(round);
    }
    EXPECT_TRUE(player.Exit());
}

TEST_F(PlayerLists, CancelInTheScanLeavesTheRestAborted) {
    std::string text;
    for (int i = 0; i < 4000; ++i) text += Path(i % 2 ? "one.mp2" : "two.mp2") + "\r\n";
    WriteBytes(Path("many.m3u"), text);
    PlayerProcess player;
    ASSERT_TRUE(player.Start("\"" + Path("many.m3u") + "\""));
    HWND progress = player.WaitForMessageBox("Initialize playlist playback", 10000);
    ASSERT_NE(progress, nullptr);
    // Cancel once some entries are scanned.
    HWND bar = ::FindWindowExA(progress, nullptr, "msctls_progress32", nullptr);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageA(bar, PBM_GETPOS, 0, 0) >= 20; }, 10000));
    ::PostMessageA(progress, WM_COMMAND, IDCANCEL, 0);
    ASSERT_NE(player.WaitForWindow(20000), nullptr);
    HWND tracks = player.Item(IDC_TRACK_LIST);
    ASSERT_EQ(ListBoxCount(tracks), 4000);
    EXPECT_EQ(Line(player, 0), "two");
    EXPECT_EQ(Line(player, 3999), "File scan aborted!");
    int firstAborted = 0;
    while (firstAborted < 4000 && Line(player, firstAborted) != "File scan aborted!") ++firstAborted;
    EXPECT_GT(firstAborted, 0);
    EXPECT_LT(firstAborted, 4000);
    EXPECT_EQ(Line(player, firstAborted - 1), firstAborted % 2 ? "two" : "one");
    // Without /P the first entry waits, stopped.
    EXPECT_TRUE(WaitUntil([&] { return player.Title() == "Plyvane - two (stopped)"; })) << player.Title();
    EXPECT_TRUE(player.Exit());
}

TEST_F(PlayerLists, CloseAtEndPlaysTheListAndEnds) {
    std::string text = "#EXTM3U\r\n";
    for (const char* name : {"one", "two", "four"}) text += Path(std::string(name) + ".mp2") + "\r\n";
    WriteBytes(Path("three.m3u"), text);
    PlayerProcess player;
    ASSERT_TRUE(player.Start("/C /P \"" + Path("three.m3u") + "\""));
    ASSERT_NE(player.WaitForWindow(), nullptr);
    std::vector<std::string> titles;
    std::string last;
    WaitUntil([&] {
        std::string title = player.Title();
        if (!title.empty() && title != last && title.find(" (") == std::string::npos) titles.push_back(title);
        last = title;
        return !player.Running();
    }, 30000);
    EXPECT_TRUE(player.WaitForExit(1000));
    EXPECT_EQ(titles, (std::vector<std::string>{"Plyvane - one", "Plyvane - two", "Plyvane - four"}));
}

// Streams that open but never sound (a frame whose audio data never came)
// are excluded as failed opens are: an endless list of them ends, and with
// close-at-end the program, instead of playing nothing for ever.
TEST_F(PlayerLists, AnEndlessListOfStreamsWithoutSoundEnds) {
    const std::string silent = ReadBytes(std::string(PLYVANE_SOURCE_DIR) + "/tests/data/damaged/l3_no_audio.mp3");
    ASSERT_FALSE(silent.empty());
    WriteBytes(Path("silent one.mp3"), silent);
    WriteBytes(Path("silent two.mp3"), silent);
    const std::string list = WritePls("silent.pls", {Path("silent one.mp3"), Path("silent two.mp3")});
    PlayerProcess player;
    ASSERT_TRUE(player.Start("/C /E /P \"" + list + "\""));
    ASSERT_NE(player.WaitForWindow(), nullptr);
    EXPECT_TRUE(player.WaitForExit(20000));
}

TEST_F(PlayerLists, EntriesCarryTitlesVolumePresetsAndDurationLimits) {
    // Entry 1: its own title, half the volume, cut after 3 s; entry 2: a
    // stated hour, so the list times take the hour format.
    const std::string list = WritePls(
        "records.pls", {Path("long one.mp2") + ";First;50;3000", Path("long two.mp2") + ";;;3600000"});
    WriteNumber(kConfigurationKey, "Volume", 65535);
    PlayerProcess player;
    ASSERT_TRUE(player.Start("/P \"" + list + "\""));
    ASSERT_NE(player.WaitForWindow(), nullptr);
    ASSERT_EQ(NextPlayingTitle(player, ""), "Plyvane - First");
    EXPECT_EQ(Line(player, 0), "First");
    EXPECT_EQ(player.Text(IDC_LIST_TOTAL_TIME), "1:00:03h ");
    std::string listTime = player.Text(IDC_LIST_TIME);
    EXPECT_EQ(listTime.rfind(" 0:00:0", 0), 0u) << listTime;
    EXPECT_NEAR(player.SliderPosition(IDC_VOLUME), 4095, 2);

    // Past its limit the entry gives way to the next, at the full volume.
    EXPECT_EQ(NextPlayingTitle(player, "Plyvane - First", 8000), "Plyvane - long two");
    EXPECT_EQ(player.Text(IDC_TRACK), "2 ");
    EXPECT_NEAR(player.SliderPosition(IDC_VOLUME), 8191, 2);
    EXPECT_TRUE(player.Exit());
    // What is stored is the volume without the entry's preset.
    DWORD volume = 0;
    EXPECT_TRUE(ReadNumber(kConfigurationKey, "Volume", volume));
    EXPECT_NEAR(static_cast<double>(volume), 65535.0, 16.0);
}

// ---------------------------------------------------------------- failed opens and busy windows

// Answers the boxes of a failed open ("Error!" from the engine, then "Open
// audio file"); the number answered.
int AnswerOpenFailure(PlayerProcess& player) {
    int answered = 0;
    for (const char* caption : {"Error!", "Open audio file"}) {
        HWND box = player.WaitForMessageBox(caption, 5000);
        if (box == nullptr) continue;
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        WaitUntil([&] { return !::IsWindow(box); });
        ++answered;
    }
    return answered;
}

TEST_F(PlayerLists, AFailedOpenLeavesNothingLoaded) {
    PlayerProcess player;
    ASSERT_TRUE(player.Start("/P \"" + Path("long one.mp2") + "\""));
    ASSERT_NE(player.WaitForWindow(), nullptr);
    ASSERT_EQ(NextPlayingTitle(player, ""), "Plyvane - long one");
    EXPECT_TRUE(::IsWindowEnabled(player.Item(IDC_PLAY)));

    PlayerProcess second;
    ASSERT_TRUE(second.Start("/P \"" + Path("empty.mp2") + "\""));
    EXPECT_TRUE(second.WaitForExit());
    EXPECT_GE(AnswerOpenFailure(player), 1);
    EXPECT_TRUE(WaitUntil([&] { return player.Title() == "Plyvane"; })) << player.Title();
    EXPECT_EQ(player.Text(IDC_SONG_NAME), "");
    EXPECT_EQ(player.Text(IDC_SOURCE_PARAMETERS), "");
    EXPECT_EQ(player.Text(IDC_SCALE_END), "");
    EXPECT_EQ(player.Text(IDC_TIME), " 0:00min ");
    EXPECT_EQ(player.SliderMaximum(IDC_POSITION), 0);
    EXPECT_FALSE(::IsWindowEnabled(player.Item(IDC_PLAY)));
    // Play from the keyboard or the program does nothing.
    player.Command(IDC_PLAY);
    ::Sleep(500);
    EXPECT_EQ(player.Title(), "Plyvane");

    // The next good file plays.
    PlayerProcess third;
    ASSERT_TRUE(third.Start("/P \"" + Path("long two.mp2") + "\""));
    EXPECT_TRUE(third.WaitForExit());
    EXPECT_EQ(NextPlayingTitle(player, "Plyvane"), "Plyvane - long two");
    EXPECT_TRUE(::IsWindowEnabled(player.Item(IDC_PLAY)));
    EXPECT_TRUE(player.Exit());
}

TEST_F(PlayerLists, AHandOverDuringAnErrorBoxIsCarriedOutAfterwards) {
    PlayerProcess player;
    ASSERT_TRUE(player.Start(""));
    ASSERT_NE(player.WaitForWindow(), nullptr);

    PlayerProcess failing;
    ASSERT_TRUE(failing.Start("/P \"" + Path("empty.mp2") + "\""));
    EXPECT_TRUE(failing.WaitForExit());
    HWND box = player.WaitForMessageBox("Error!", 8000);
    ASSERT_NE(box, nullptr);
    // Two more hand-overs while the box is up: the last request wins, and
    // it is carried out once.
    for (const char* name : {"long one.mp2", "long two.mp2"}) {
        PlayerProcess another;
        ASSERT_TRUE(another.Start("/P \"" + Path(name) + "\""));
        EXPECT_TRUE(another.WaitForExit());
    }
    ::Sleep(500);
    EXPECT_EQ(player.Title(), "Plyvane");  // nothing started inside the box
    AnswerOpenFailure(player);
    EXPECT_EQ(NextPlayingTitle(player, "Plyvane"), "Plyvane - long two");
    // And it keeps playing: no second open restarts or stops it.
    EXPECT_TRUE(WaitUntil([&] { return player.Text(IDC_TIME) == " 0:02min "; }, 8000))
        << player.Text(IDC_TIME);
    EXPECT_EQ(player.Title(), "Plyvane - long two");
    EXPECT_TRUE(player.Exit());
}

TEST_F(PlayerLists, AHandOverCarriesAPathAsLongAsWindowsAllows) {
    // A path of 259 characters: a folder of 200 (the most CreateDirectory
    // takes is 247) and a long file name.
    ASSERT_LT(kDir.size(), 190u) << "the results folder is too deep for this test";
    const std::string folder = kDir + "\\" + std::string(199 - kDir.size(), 'f');
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string stem(259 - folder.size() - 1 - 4, 'x');
    const std::string path = folder + "\\" + stem + ".mp2";
    ASSERT_EQ(path.size(), 259u);
    WriteBytes(path, ReadBytes(Path("long one.mp2")));

    PlayerProcess player;
    ASSERT_TRUE(player.Start(""));
    ASSERT_NE(player.WaitForWindow(), nullptr);
    PlayerProcess second;
    ASSERT_TRUE(second.Start("/play \"" + path + "\""));
    EXPECT_TRUE(second.WaitForExit());
    EXPECT_EQ(NextPlayingTitle(player, ""), "Plyvane - " + stem);
    player.Click(IDC_STOP);
    EXPECT_TRUE(WaitUntil([&] { return player.Title() == "Plyvane - " + stem + " (stopped)"; }))
        << player.Title();
    EXPECT_TRUE(player.Exit());
    // As the recent file it survives the next start.
    WriteText(kConfigurationKey, "RecentFile", path.c_str());
    PlayerProcess third;
    ASSERT_TRUE(third.Start(""));
    ASSERT_NE(third.WaitForWindow(), nullptr);
    EXPECT_TRUE(third.Exit());
    std::string recent;
    EXPECT_TRUE(ReadText(kConfigurationKey, "RecentFile", recent));
    EXPECT_EQ(recent, path);
}

TEST_F(PlayerLists, TheEditorsListIsOpenedAndPlayedInItsOrder) {
    const std::string list = WritePls("edit.pls", {Path("long one.mp2"), Path("long two.mp2")});
    PlayerProcess player;
    ASSERT_TRUE(player.Start("/P \"" + list + "\""));
    ASSERT_NE(player.WaitForWindow(), nullptr);
    ASSERT_EQ(NextPlayingTitle(player, ""), "Plyvane - long one");
    EXPECT_TRUE(::IsWindowEnabled(player.Item(IDC_PLAYLIST_EDITOR)));

    // The editor opens on the list that plays.
    player.Command(IDC_PLAYLIST_EDITOR);
    HWND editor = player.WaitForMessageBox(("Plyvane Playlist Editor - " + list).c_str(), 20000);
    ASSERT_NE(editor, nullptr);
    HWND entries = ::GetDlgItem(editor, IDC_EDITOR_LIST);
    ASSERT_EQ(ListBoxCount(entries), 2);
    EXPECT_EQ(ListBoxLine(entries, 0).rfind(Path("long one.mp2"), 0), 0u) << ListBoxLine(entries, 0);

    // The first entry moved behind the second; OK without saving.
    ::SendMessageA(entries, LB_SETCURSEL, 0, 0);
    ::SendMessageA(::GetDlgItem(editor, IDC_EDITOR_BOTTOM), BM_CLICK, 0, 0);
    EXPECT_EQ(ListBoxLine(entries, 0).rfind(Path("long two.mp2"), 0), 0u) << ListBoxLine(entries, 0);
    ::PostMessageA(::GetDlgItem(editor, IDOK), BM_CLICK, 0, 0);
    HWND question = player.WaitForMessageBox("Playlist Editor");
    ASSERT_NE(question, nullptr);
    ::PostMessageA(question, WM_COMMAND, IDNO, 0);

    // The temporary list plays, in the edited order; the saved list is as it was.
    EXPECT_EQ(NextPlayingTitle(player, "Plyvane - long one", 20000), "Plyvane - long two");
    EXPECT_EQ(Line(player, 0), "long two");
    EXPECT_EQ(Line(player, 1), "long one");
    EXPECT_NE(ReadBytes(list).find("File1=" + Path("long one.mp2")), std::string::npos);

    // Cancel leaves the player as it is.
    player.Command(IDC_PLAYLIST_EDITOR);
    char temporary[MAX_PATH] = "";
    ::GetTempPathA(sizeof temporary, temporary);
    editor = player.WaitForMessageBox(("Plyvane Playlist Editor - " + std::string(temporary) + "list.pls").c_str(),
                                      20000);
    ASSERT_NE(editor, nullptr);
    ::PostMessageA(editor, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(editor); }));
    EXPECT_EQ(player.Title(), "Plyvane - long two");
    EXPECT_TRUE(player.Exit());
}

}  // namespace
}  // namespace plyvane::testing
