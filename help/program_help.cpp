#include "program_help.h"

#include <shellapi.h>

#include <string>

#include "help_file.h"
#include "message_box.h"

namespace plyvane {

namespace {

std::string RunningProgramPath() {
    char path[MAX_PATH] = "";
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return std::string();
    return std::string(path, length);
}

bool IsFile(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

void ShowProgramHelp(HWND owner) {
    std::string help = FindHelpFile(RunningProgramPath(), &IsFile);
    if (!help.empty()) {
        // No error box of the shell's own: the short help box is the answer.
        SHELLEXECUTEINFOA execute{};
        execute.cbSize = sizeof execute;
        execute.fMask = SEE_MASK_FLAG_NO_UI;
        execute.hwnd = owner;
        execute.lpVerb = "open";
        execute.lpFile = help.c_str();
        execute.nShow = SW_SHOWNORMAL;
        if (::ShellExecuteExA(&execute)) return;
    }
    ShowMessage(owner, kHelpBoxCaption,
                "Open an MPEG audio file with Open (Alt+O) or drop it on the window.\n"
                "Play, Pause and Stop control playback; drag the position slider to move\n"
                "within the song and the small slider to set the volume.\n"
                "Double-click the window to switch between its three layouts; the\n"
                "right mouse button and the tray icon offer every command.",
                MessageButtons::kOk, MessageIcon::kInformation);
}

}  // namespace plyvane
