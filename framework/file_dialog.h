// The system's open and save dialogs. Filters are written as the player
// names them, "Text|patterns|Text|patterns|", and converted here.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace plyvane {

struct FileDialogRequest {
    HWND owner = nullptr;
    const char* filter = "";      // "A (*.a)|*.a|All Files (*.*)|*.*|"
    const char* defaultExtension = nullptr;  // without the dot
    DWORD flags = 0;              // OFN_* options
};

// `name` holds the initial name and receives the chosen one (bounded).
bool ChooseOpenFile(const FileDialogRequest& request, char* name, size_t size);
bool ChooseSaveFile(const FileDialogRequest& request, char* name, size_t size);

// An open dialog in which several files can be chosen at once (the request's
// flags gain OFN_ALLOWMULTISELECT): their full paths, none when cancelled.
std::vector<std::string> ChooseOpenFiles(const FileDialogRequest& request, const char* initialName);

}  // namespace plyvane
