#include "file_dialog.h"

#include <commdlg.h>

#include <string>

#include "text.h"

namespace plyvane {

namespace {
bool RunFileDialog(const FileDialogRequest& request, char* name, size_t size, bool save) {
    if (name == nullptr || size == 0) return false;
    std::string filter = request.filter != nullptr ? request.filter : "";
    for (char& c : filter) {
        if (c == '|') c = '\0';
    }
    filter.push_back('\0');

    char chosen[MAX_PATH];
    CopyText(chosen, sizeof chosen, name);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = request.owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = sizeof chosen;
    dialog.lpstrDefExt = request.defaultExtension;
    dialog.Flags = request.flags | OFN_EXPLORER;
    BOOL ok = save ? ::GetSaveFileNameA(&dialog) : ::GetOpenFileNameA(&dialog);
    if (!ok) return false;
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

}  // namespace plyvane
