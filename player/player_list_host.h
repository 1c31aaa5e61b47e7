// The main window as list playback sees it: PlaylistHost's operations
// carried out on CPlayerDialog, with the engine's probe and the progress
// window ("Initialize playlist playback") of the scan.
#pragma once

#include <memory>
#include <string>

#include "engine_entry_prober.h"
#include "playlist_host.h"
#include "scan_progress_window.h"

namespace plyvane {

class CPlayerDialog;

class PlayerListHost : public PlaylistHost {
public:
    PlayerListHost(CPlayerDialog& window, AudioEngine& engine);

    WindowHandle Owner() override;
    bool OpenEntry(const EntryToOpen& entry) override;
    void Stop() override;
    void StopPlayback(bool releaseDevice) override;
    void ClosePlayback() override;
    void StartOrResume() override;
    void ResetVolumePreset() override;
    bool CloseAtEnd() override;
    void EndProgram() override;
    bool EndedWithoutSound() override;

    void ClearTrackList() override;
    void AddTrackLine(const std::string& text) override;
    void SelectTrackLine(int entry) override;
    void RedrawTrackList() override;
    void ShowTrackDisplays(const TrackDisplays& displays) override;

    EntryProber& Prober() override;
    ScanProgress& Progress() override;

    // Lists named by an address (player_internet.cpp).
    ByteSource* AddressSource() override;
    std::string TemporaryFolder() override;

private:
    CPlayerDialog& window_;
    AudioEngine& engine_;
    EngineEntryProber prober_;
    std::unique_ptr<ScanProgressWindow> progress_;
};

}  // namespace plyvane
