#include "file_dialog.h"

#include <commdlg.h>

#include <string>

#include "file_selection.h"
#include "text.h"

namespace plyvane {

namespace {
// The dialog with `chosen` (of `size` bytes, holding the initial name) as
// its file buffer.
bool RunFileDialog(const FileDialogRequest& request, char* chosen, size_t size, DWORD moreFlags,
                   bool save) {
    std::string filter = request.filter != nullptr ? request.filter : "";
    for (char& c : filter) {
        if (c == '|') c = '\0';
    }
    filter.push_back('\0');

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = request.owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = static_cast<DWORD>(size);
    dialog.lpstrDefExt = request.defaultExtension;
    dialog.Flags = request.flags | moreFlags | OFN_EXPLORER;
    return (save ? ::GetSaveFileNameA(&dialog) : ::GetOpenFileNameA(&dialog)) != FALSE;
}

bool RunFileDialog(const FileDialogRequest& request, char* name, size_t size, bool save) {
    if (name == nullptr || size == 0) return false;
    char chosen[MAX_PATH];
    CopyText(chosen, sizeof chosen, name);
    if (!RunFileDialog(request, chosen, sizeof chosen, 0, save)) return false;
    CopyText(name, size, chosen);
    return true;
}
}  // namespace

bool ChooseOpenFile(const FileDialogRequest& request, char* name, size_t size) {
    return RunFileDialog(request, name, size, false);
}

bool ChooseSaveFile(const FileDialogRequest& request, char* name, size_t size) {
    return RunFileDialog(request, name, size, true);
}

std::vector<std::string> ChooseOpenFiles(const FileDialogRequest& request, const char* initialName) {
    // Room for a folder full of chosen names.
    std::vector<char> chosen(64 * 1024, '\0');
    CopyText(chosen.data(), MAX_PATH, initialName != nullptr ? initialName : "");
    if (!RunFileDialog(request, chosen.data(), chosen.size(), OFN_ALLOWMULTISELECT, false)) return {};
    return SplitFileSelection(chosen.data(), chosen.size());
}

}  // namespace plyvane
