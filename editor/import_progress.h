// The progress windows of the editor's long operations: completing an entry,
// scanning a folder, reading a playlist file. The editor opens one per
// operation (and one per folder of a scan); closing is destroying. Windows
// plug in CProgressWindow; tests and the benchmark plug in their own.
#pragma once

#include <memory>
#include <string>

namespace plyvane {

class ImportProgress {
public:
    virtual ~ImportProgress() = default;
    virtual void ShowItem(const std::string& text) = 0;
    virtual void Step() = 0;
    // Lets waiting window messages through; true once Cancel was pressed.
    virtual bool CancelRequested() = 0;
};

class ProgressWindows {
public:
    virtual ~ProgressWindows() = default;
    // Never null: where no window can be made, one that shows nothing.
    virtual std::unique_ptr<ImportProgress> Open(int low, int high, int step) = 0;
};

// Progress that shows nothing and is never cancelled.
ProgressWindows& NoProgressWindows();

}  // namespace plyvane
