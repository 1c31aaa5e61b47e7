// Fakes for the playlist tests: a folder of test files, a probe that answers
// from a table, a progress window that can press Cancel, and a window that
// records what list playback asked of it.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "playlist_host.h"
#include "playlist_scan.h"

namespace plyvane::testing {

// A fresh folder for one test, removed with its content afterwards.
class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    // The path of `name` in the folder (with its separator).
    std::string Path(const std::string& name) const;
    // Writes `bytes` (binary) and returns the path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    // The folder with a trailing separator.
    std::string Folder() const;

private:
    std::filesystem::path path_;
};

// Probes answer from a table of paths; anything else fails.
class TableProber : public EntryProber {
public:
    void Add(const std::string& path, int32_t durationMs, const std::string& title = "");
    bool Probe(const std::string& path, Result& result) override;
    std::vector<std::string> probed;

private:
    std::map<std::string, Result> table_;
};

class RecordingProgress : public ScanProgress {
public:
    void Begin(int count) override { begun = count; }
    bool CancelRequested() override { return ++polls > cancelAfter; }
    void ShowItem(const std::string& text) override { items.push_back(text); }
    void Step() override { ++steps; }
    void End() override { ++ended; }

    int cancelAfter = 1 << 30;  // polls answered "not yet"
    int begun = -1;
    int polls = 0;
    int steps = 0;
    int ended = 0;
    std::vector<std::string> items;
};

class RecordingHost : public PlaylistHost {
public:
    WindowHandle Owner() override { return nullptr; }
    bool OpenEntry(const EntryToOpen& entry) override;
    void Stop() override { log.push_back("stop"); }
    void StopPlayback(bool releaseDevice) override {
        log.push_back(releaseDevice ? "stop-release" : "stop-keep");
    }
    void ClosePlayback() override { log.push_back("close"); }
    void StartOrResume() override { log.push_back("start"); }
    void ResetVolumePreset() override { log.push_back("preset-100"); }
    bool CloseAtEnd() override { return closeAtEnd; }
    void EndProgram() override { log.push_back("end-program"); }
    bool EndedWithoutSound() override;
    void ClearTrackList() override { lines.clear(); }
    void AddTrackLine(const std::string& text) override { lines.push_back(text); }
    void SelectTrackLine(int entry) override { selected = entry; }
    void RedrawTrackList() override { ++redraws; }
    void ShowTrackDisplays(const TrackDisplays& shown) override { displays = shown; }
    EntryProber& Prober() override { return prober; }
    ScanProgress& Progress() override { return progress; }
    ByteSource* AddressSource() override { return addressSource; }
    std::string TemporaryFolder() override { return temporaryFolder; }

    // What fails to open: field 0 of the source (a path or a "list:" name).
    std::vector<std::string> failing;
    bool closeAtEnd = false;
    // What ends without a sound: field 0 of the entry opened last.
    std::vector<std::string> silent;
    ByteSource* addressSource = nullptr;
    std::string temporaryFolder;

    std::vector<EntryToOpen> opened;  // every successful open
    std::vector<std::string> log;
    std::vector<std::string> lines;
    int selected = 0;
    int redraws = 0;
    TrackDisplays displays;
    TableProber prober;
    RecordingProgress progress;
};

}  // namespace plyvane::testing
