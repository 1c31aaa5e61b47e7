// Fakes and fixtures of the editor's tests: a folder of files with paths in
// the system's own spelling, a probe answering from a table, progress
// windows that record what they were shown (and can press Cancel).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "import_progress.h"
#include "playlist_scan.h"

namespace plyvane::testing {

// A fresh folder, removed with its content afterwards. Relative names use
// "/" and come back with the system's separator.
class EditorFolder {
public:
    EditorFolder();
    ~EditorFolder();
    EditorFolder(const EditorFolder&) = delete;
    EditorFolder& operator=(const EditorFolder&) = delete;

    // The folder with a separator at its end.
    std::string Folder() const;
    std::string Path(const std::string& relative) const;
    // Writes the bytes (binary), making the folders on the way.
    std::string Write(const std::string& relative, const std::string& bytes = "x") const;
    std::string MakeFolder(const std::string& relative) const;

private:
    std::filesystem::path path_;
};

// Probes answer from a table of paths; anything else fails.
class ProbeTable : public EntryProber {
public:
    void Add(const std::string& path, int32_t durationMs) { table_[path] = durationMs; }
    bool Probe(const std::string& path, Result& result) override;
    std::vector<std::string> probed;
    // A failure shows an error box first, as the engine's probe does.
    bool reportFailures = false;

private:
    std::map<std::string, int32_t> table_;
};

// Every window opened, what it showed, how often it stepped.
class RecordingWindows : public ProgressWindows {
public:
    struct Window {
        int low = 0, high = 0, step = 0;
        std::vector<std::string> items;
        int steps = 0;
        bool closed = false;
    };
    std::unique_ptr<ImportProgress> Open(int low, int high, int step) override;

    // Cancel is pressed once this many steps were made in all windows.
    int cancelAfterSteps = -1;
    int stepsMade = 0;
    int mostOpenAtOnce = 0;
    std::vector<std::shared_ptr<Window>> windows;

private:
    friend class RecordedProgress;
    int open_ = 0;
};

// The folders with links the tests' set-up made (make_folder_links.cmake),
// with a separator at the end; empty when they are not there.
std::string FolderLinks();

// A test stream of tests/data, and a tagged one of info/tests/data.
std::string Stream(const std::string& relative);
std::string TaggedStream(const std::string& name);

}  // namespace plyvane::testing
