#include "editor_progress_windows.h"

#include "progress_window.h"

namespace plyvane {

namespace {
class WindowProgress : public ImportProgress {
public:
    WindowProgress() : window_(0) {}

    bool Create(HWND owner, int low, int high, int step) {
        window_.SetRange(low, high);
        window_.SetStep(step);
        return window_.Create(owner);
    }
    void ShowItem(const std::string& text) override { window_.ShowItem(text.c_str()); }
    void Step() override { window_.Step(); }
    bool CancelRequested() override { return window_.PollCancel(); }

private:
    CProgressWindow window_;
};
}  // namespace

std::unique_ptr<ImportProgress> EditorProgressWindows::Open(int low, int high, int step) {
    auto window = std::make_unique<WindowProgress>();
    if (window->Create(owner_, low, high, step)) return window;
    return NoProgressWindows().Open(low, high, step);
}

}  // namespace plyvane
