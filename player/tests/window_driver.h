// Drives a running plyvane.exe from another process, as a user would: starts
// it, finds its window, posts commands and mouse clicks, reads control texts,
// the registry and the tray log, answers message boxes and takes screenshots.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace plyvane::testing {

// The settings key of the player, below HKEY_CURRENT_USER.
inline constexpr char kConfigurationKey[] = "Software\\Brindlex\\Plyvane\\Playback\\Configuration";
inline constexpr char kPlaybackKey[] = "Software\\Brindlex\\Plyvane\\Playback";

// Waits until `done` holds, checking every 20 ms; false after `timeoutMs`.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// Registry helpers (the real registry of the Wine prefix).
void DeleteSettings();
void WriteNumber(const char* key, const char* name, DWORD value);
void WriteText(const char* key, const char* name, const char* text);
bool ReadNumber(const char* key, const char* name, DWORD& value);
bool ReadText(const char* key, const char* name, std::string& text);

// A window's text through WM_GETTEXT.
std::string WindowText(HWND window);

// The URL entry dialog's address field set to `text` as if typed (the
// field counts as changed), for OK to take.
void TypeUrl(HWND dialog, const std::string& text);

// The product version of plyvane.exe as the player reads it ("no version"
// when it has none): seeded as "Version" so no first-run set-up comes up.
std::string ProgramVersion();

// Line `index` (from 0) of a list box of another process; the number of lines.
std::string ListBoxLine(HWND list, int index);
int ListBoxCount(HWND list);

// The screen's pixels in a rectangle of screen coordinates, row by row.
std::vector<COLORREF> ScreenPixels(const RECT& area);

class PlayerProcess {
public:
    PlayerProcess() = default;
    ~PlayerProcess();
    PlayerProcess(const PlayerProcess&) = delete;
    PlayerProcess& operator=(const PlayerProcess&) = delete;

    // Starts plyvane.exe with the arguments; `trayLog` (if not empty) names
    // the file that records the tray calls.
    bool Start(const std::string& arguments, const std::string& trayLog = "");
    // Waits for the main window (a dialog with the position slider).
    HWND WaitForWindow(DWORD timeoutMs = 10000);
    // Waits for a message box with this caption; empty when none came.
    HWND WaitForMessageBox(const char* caption, DWORD timeoutMs = 5000);
    bool WaitForExit(DWORD timeoutMs = 10000);
    bool Running() const;
    DWORD ExitCode() const;
    DWORD ProcessId() const { return info_.dwProcessId; }

    HWND Window() const { return window_; }
    HWND Item(int id) const { return ::GetDlgItem(window_, id); }
    std::string Title() const { return WindowText(window_); }
    std::string Text(int id) const;

    // Posted WM_COMMAND, as another part of the program would send it.
    void Command(int id, LPARAM lParam = 0) const;
    // A mouse click on a control: button down and up at its centre.
    void Click(int id) const;
    // A double click in the window's client area.
    void DoubleClick(int x, int y) const;
    // Keys typed on the keyboard (to the foreground window): Alt+key.
    void TypeAltKey(WORD key) const;
    // The mouse pointer moved over a control and left resting there.
    void HoverOver(int id) const;
    // The text of the tool tip the player shows, or empty when none is up.
    std::string VisibleTip() const;
    // A tray icon's callback.
    void TrayClick(UINT iconId, UINT mouseMessage) const;
    // A scroll message from a slider, sent as the trackbar sends it.
    void Scroll(int sliderId, int code, int position) const;
    int SliderPosition(int id) const;
    int SliderMaximum(int id) const;
    void SetSliderPosition(int id, int position) const;
    bool Pushed(int id) const;
    // Ends the player with its Exit command and waits.
    bool Exit(DWORD timeoutMs = 10000);

private:
    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
};

// Texts of a message box: its caption and the message.
std::string MessageBoxText(HWND box);

// Copies the window's area of the screen into a PNG file.
bool SaveWindowPng(HWND window, const std::string& path);

// Writes 24-bit RGB rows (top to bottom) as a PNG (stored, uncompressed).
bool WritePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb);

}  // namespace plyvane::testing
