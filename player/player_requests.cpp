// Requests that arrive while the window is busy. Message boxes, the open
// dialog and the scan's progress window run message loops of their own, so a
// hand-over from a second instance, a posted command, a tray click or a drop
// can arrive in the middle of an open, a scan or a box. Carried out there,
// it would start a new open inside the one in progress, on the same byte
// source; so it is kept and carried out, once, when the outermost request
// is finished.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "player_dialog.h"
#include "resource_ids.h"

namespace plyvane {

namespace {
// Commands that open a source, change the list, or show a box or a window.
// Engine notifications, display modes and the like are carried out at once.
bool WaitsWhileBusy(int id, int code) {
    switch (id) {
    case ID_REMOTE_COMMANDLINE:
    case IDC_OPEN: case IDOK: case IDC_OPEN_URL: case IDC_PLAYLIST_EDITOR:
    case IDC_PLAY: case IDC_STOP: case IDC_NEXT: case IDC_PREVIOUS:
    case ID_SELECT_TRACK: case IDC_RANDOM: case IDC_ENDLESS:
    case IDC_PROPERTIES: case IDC_STREAM_PROPERTIES: case IDC_ABOUT: case ID_HELP_INDEX:
    case IDC_EXIT: case IDCANCEL:
        return true;
    case IDC_TRACK_LIST:
        return code == LBN_DBLCLK;
    default:
        return false;
    }
}

bool IsTransportIcon(UINT icon) {
    return icon == IDI_TRAY_PLAY || icon == IDI_TRAY_STOP || icon == IDI_TRAY_NEXT ||
           icon == IDI_TRAY_PREVIOUS;
}
}  // namespace

bool CPlayerDialog::DeferWhileBusy(UINT message, WPARAM wParam, LPARAM lParam) {
    if (busyDepth_ == 0) return false;
    switch (message) {
    case WM_COMMAND:
        if (!WaitsWhileBusy(LOWORD(wParam), HIWORD(wParam))) return false;
        break;
    case WM_TRAYNOTIFY:
        if (!(lParam == WM_LBUTTONUP && IsTransportIcon(static_cast<UINT>(wParam))) &&
            !(lParam == WM_RBUTTONUP && wParam == IDI_PLYVANE)) {
            return false;
        }
        break;
    case WM_DROPFILES:
        break;
    default:
        return false;
    }
    DeferredRequest request{message, wParam, lParam, keyboardOrigin_};
    // The same request twice is carried out once (a hand-over reads the
    // newest command line when it runs).
    bool known = std::any_of(deferred_.begin(), deferred_.end(), [&](const DeferredRequest& kept) {
        return kept.message == message && kept.wParam == wParam && kept.lParam == lParam;
    });
    if (!known) deferred_.push_back(request);
    return true;
}

void CPlayerDialog::LeaveBusy() {
    if (--busyDepth_ > 0 || runningDeferred_) return;
    runningDeferred_ = true;
    while (!deferred_.empty() && Handle() != nullptr) {
        DeferredRequest request = deferred_.front();
        deferred_.erase(deferred_.begin());
        keyboardOrigin_ = request.keyboardOrigin;
        LRESULT ignored = 0;
        if (request.message == WM_COMMAND) {
            OnCommand(LOWORD(request.wParam), HIWORD(request.wParam),
                      reinterpret_cast<HWND>(request.lParam));
        } else {
            OnMessage(request.message, request.wParam, request.lParam, ignored);
        }
    }
    runningDeferred_ = false;
}

void CPlayerDialog::DropDeferredRequests() {
    for (const DeferredRequest& request : deferred_) {
        if (request.message == WM_DROPFILES) ::DragFinish(reinterpret_cast<HDROP>(request.wParam));
    }
    deferred_.clear();
}

}  // namespace plyvane
