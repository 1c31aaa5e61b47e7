#include "playlist_test_support.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>

#include <gtest/gtest.h>

#include "playlist_entry.h"

namespace plyvane::testing {

namespace fs = std::filesystem;

TestFolder::TestFolder() {
    static std::atomic<int> counter{0};
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count() % 1000000007;
    path_ = fs::temp_directory_path() / ("plyvane-playlist-" + std::string(test != nullptr ? test->name() : "x") +
                                         "-" + std::to_string(stamp) + "-" + std::to_string(++counter));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TestFolder::~TestFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TestFolder::Folder() const { return (path_ / "").string(); }

std::string TestFolder::Path(const std::string& name) const { return (path_ / name).string(); }

std::string TestFolder::Write(const std::string& name, const std::string& bytes) const {
    const std::string path = Path(name);
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return path;
}

void TableProber::Add(const std::string& path, int32_t durationMs, const std::string& title) {
    table_[path] = Result{durationMs, title};
}

bool TableProber::Probe(const std::string& path, Result& result) {
    probed.push_back(path);
    auto found = table_.find(path);
    if (found == table_.end()) return false;
    result = found->second;
    return true;
}

bool RecordingHost::OpenEntry(const EntryToOpen& entry) {
    const std::string path = EntryField(entry.source, kEntryPath);
    log.push_back("open " + path);
    if (std::find(failing.begin(), failing.end(), path) != failing.end()) return false;
    opened.push_back(entry);
    return true;
}

bool RecordingHost::EndedWithoutSound() {
    if (opened.empty()) return false;
    const std::string path = EntryField(opened.back().record, kEntryPath);
    return std::find(silent.begin(), silent.end(), path) != silent.end();
}

}  // namespace plyvane::testing
