#include "tray_icons.h"

#include <cstdio>
#include <cstdlib>

#include "text.h"

namespace plyvane {

namespace {
NotifyIconFunction notifyFunction = nullptr;
int iconResourceInCall = 0;
char recorderPath[MAX_PATH] = "";

BOOL WINAPI RecordNotifyIcon(DWORD message, PNOTIFYICONDATAA data) {
    static const char* const kNames[] = {"ADD", "MODIFY", "DELETE"};
    if (FILE* log = std::fopen(recorderPath, "a")) {
        std::fprintf(log, "%s id=%u flags=%u callback=%u icon=%d tip=%s\n",
                     message < 3 ? kNames[message] : "OTHER", data->uID, data->uFlags,
                     data->uCallbackMessage, (data->uFlags & NIF_ICON) ? iconResourceInCall : 0,
                     (data->uFlags & NIF_TIP) ? data->szTip : "");
        std::fclose(log);
    }
    return ::Shell_NotifyIconA(message, data);
}
}  // namespace

void TrayIcons::SetNotifyFunction(NotifyIconFunction function) { notifyFunction = function; }

void TrayIcons::InstallRecorderFromEnvironment() {
    const char* path = std::getenv("PLYVANE_TRAY_LOG");
    if (path == nullptr || *path == '\0') return;
    CopyText(recorderPath, path);
    SetNotifyFunction(&RecordNotifyIcon);
}

int TrayIcons::IconResourceInCall() { return iconResourceInCall; }

bool TrayIcons::Add(UINT id, int iconResource, const char* tip) {
    return Call(NIM_ADD, id, iconResource, tip);
}

bool TrayIcons::Modify(UINT id, int iconResource, const char* tip) {
    return Call(NIM_MODIFY, id, iconResource, tip);
}

bool TrayIcons::Delete(UINT id) { return Call(NIM_DELETE, id, 0, nullptr); }

bool TrayIcons::Call(DWORD message, UINT id, int iconResource, const char* tip) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window_;
    data.uID = id;
    if (message != NIM_DELETE) {
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = callbackMessage_;
        data.hIcon = static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr),
                                                     MAKEINTRESOURCEA(iconResource), IMAGE_ICON,
                                                     ::GetSystemMetrics(SM_CXSMICON),
                                                     ::GetSystemMetrics(SM_CYSMICON), 0));
        // The version-1 structure holds 63 characters; longer tips are cut.
        CopyText(data.szTip, kTrayTipSize, tip);
    }
    iconResourceInCall = iconResource;
    BOOL ok = (notifyFunction != nullptr ? notifyFunction : &::Shell_NotifyIconA)(message, &data);
    iconResourceInCall = 0;
    if (data.hIcon != nullptr) ::DestroyIcon(data.hIcon);
    return ok != FALSE;
}

}  // namespace plyvane
