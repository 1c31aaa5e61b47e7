#include "editor_test_support.h"

#include <atomic>
#include <chrono>
#include <fstream>

#include <gtest/gtest.h>

#include "file_system.h"
#include "message_box.h"

namespace plyvane::testing {

namespace fs = std::filesystem;

namespace {
std::string Native(std::string relative) {
    for (char& c : relative) {
        if (c == '/') c = kPathSeparator;
    }
    return relative;
}
}  // namespace

EditorFolder::EditorFolder() {
    static std::atomic<int> counter{0};
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count() % 1000000007;
    path_ = fs::temp_directory_path() / ("plyvane-editor-" + std::string(test != nullptr ? test->name() : "x") + "-" +
                                         std::to_string(stamp) + "-" + std::to_string(++counter));
    fs::remove_all(path_);
    fs::create_directories(path_);
    path_ = fs::canonical(path_);
}

EditorFolder::~EditorFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string EditorFolder::Folder() const { return JoinPath(path_.string(), ""); }

std::string EditorFolder::Path(const std::string& relative) const { return JoinPath(path_.string(), Native(relative)); }

std::string EditorFolder::Write(const std::string& relative, const std::string& bytes) const {
    const std::string path = Path(relative);
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return path;
}

std::string EditorFolder::MakeFolder(const std::string& relative) const {
    const std::string path = Path(relative);
    fs::create_directories(path);
    return path;
}

bool ProbeTable::Probe(const std::string& path, Result& result) {
    probed.push_back(path);
    const auto found = table_.find(path);
    if (found == table_.end()) {
        if (reportFailures) ShowError(nullptr, "This is not a valid audiofile!");
        return false;
    }
    result.durationMs = found->second;
    return true;
}

class RecordedProgress : public ImportProgress {
public:
    RecordedProgress(RecordingWindows& owner, std::shared_ptr<RecordingWindows::Window> window)
        : owner_(owner), window_(std::move(window)) {
        if (++owner_.open_ > owner_.mostOpenAtOnce) owner_.mostOpenAtOnce = owner_.open_;
    }
    ~RecordedProgress() override {
        window_->closed = true;
        --owner_.open_;
    }
    void ShowItem(const std::string& text) override { window_->items.push_back(text); }
    void Step() override {
        ++window_->steps;
        ++owner_.stepsMade;
    }
    bool CancelRequested() override {
        return owner_.cancelAfterSteps >= 0 && owner_.stepsMade >= owner_.cancelAfterSteps;
    }

private:
    RecordingWindows& owner_;
    std::shared_ptr<RecordingWindows::Window> window_;
};

std::unique_ptr<ImportProgress> RecordingWindows::Open(int low, int high, int step) {
    auto window = std::make_shared<Window>();
    window->low = low;
    window->high = high;
    window->step = step;
    windows.push_back(window);
    return std::make_unique<RecordedProgress>(*this, window);
}

std::string FolderLinks() {
#ifdef PLYVANE_FOLDER_LINKS
    const fs::path links = fs::path(PLYVANE_FOLDER_LINKS).make_preferred();
    std::error_code error;
    if (fs::is_directory(links / "loop", error)) return JoinPath(links.string(), "");
#endif
    return std::string();
}

std::string Stream(const std::string& relative) {
    return (fs::path(PLYVANE_SOURCE_DIR) / "tests" / "data" / relative).make_preferred().string();
}

std::string TaggedStream(const std::string& name) {
    return (fs::path(PLYVANE_SOURCE_DIR) / "info" / "tests" / "data" / name).make_preferred().string();
}

}  // namespace plyvane::testing
