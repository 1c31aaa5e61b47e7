// The editor's progress windows on Windows: a CProgressWindow ("Progress
// indicator") over the owner for each operation; where one cannot be
// created the operation goes on without it.
#pragma once

#include <windows.h>

#include "import_progress.h"

namespace plyvane {

class EditorProgressWindows : public ProgressWindows {
public:
    explicit EditorProgressWindows(HWND owner) : owner_(owner) {}
    std::unique_ptr<ImportProgress> Open(int low, int high, int step) override;

private:
    HWND owner_;
};

}  // namespace plyvane
