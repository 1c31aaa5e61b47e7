#include "import_progress.h"

namespace plyvane {

namespace {
class NoProgress : public ImportProgress {
public:
    void ShowItem(const std::string&) override {}
    void Step() override {}
    bool CancelRequested() override { return false; }
};

class NoWindows : public ProgressWindows {
public:
    std::unique_ptr<ImportProgress> Open(int, int, int) override { return std::make_unique<NoProgress>(); }
};
}  // namespace

ProgressWindows& NoProgressWindows() {
    static NoWindows windows;
    return windows;
}

}  // namespace plyvane
