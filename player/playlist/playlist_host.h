// What list playback needs from the main window: its playback operations,
// its track section and its progress window. The window implements this;
// tests implement it with a recorder.
#pragma once

#include <cstdint>
#include <string>

#include "byte_source.h"
#include "message_box.h"
#include "playlist_queue.h"
#include "playlist_scan.h"

namespace plyvane {

// One entry handed to the window to open.
struct EntryToOpen {
    int index = 0;              // entry number from 1
    std::string record;         // the entry's record
    std::string source;         // what to open: the record, or "list:<handle>"
    int32_t volumePreset = 0;   // percent, 0 = none (100 %)
    int32_t durationLimit = 0;  // ms after which the entry is cut short, 0 = none
};

// What UpdateTrackDisplays shows.
struct TrackDisplays {
    // More than one track: the full width in layout 0, the three counters
    // ("%d "), the list total ("Total time:") and the list times. Otherwise
    // the narrow width and nothing else.
    bool list = false;
    TrackCounters counters;
    uint32_t listTotal = 0;   // ms, for the list total and the list time
    uint32_t listPlayed = 0;  // ms of the played entries before this one
};

class PlaylistHost {
public:
    virtual ~PlaylistHost() = default;

    // The owner of message boxes.
    virtual WindowHandle Owner() = 0;

    // OpenSource (no save dialog) for the entry: field 0 of `source`; the
    // duration limit and the volume preset of the entry. True on success.
    virtual bool OpenEntry(const EntryToOpen& entry) = 0;
    // The Stop command without rewinding the list.
    virtual void Stop() = 0;
    // The engine's StopPlayback and ClosePlayback.
    virtual void StopPlayback(bool releaseDevice) = 0;
    virtual void ClosePlayback() = 0;
    // Starting or resuming (nothing without an open source).
    virtual void StartOrResume() = 0;
    // The volume preset back to 100 %.
    virtual void ResetVolumePreset() = 0;
    // Close-at-end (/C) and ending the program.
    virtual bool CloseAtEnd() = 0;
    virtual void EndProgram() = 0;

    // Whether the stream that just ended gave no sample at all (junk that
    // passed the open, a header alone): such an entry is as unplayable as
    // one that failed to open.
    virtual bool EndedWithoutSound() = 0;

    // The track list (1065): lines without their numbers; grey for played
    // and excluded entries is the list's own drawing rule.
    virtual void ClearTrackList() = 0;
    virtual void AddTrackLine(const std::string& text) = 0;
    virtual void SelectTrackLine(int entry) = 0;
    virtual void RedrawTrackList() = 0;
    virtual void ShowTrackDisplays(const TrackDisplays& displays) = 0;

    // The scan's probe and progress window.
    virtual EntryProber& Prober() = 0;
    virtual ScanProgress& Progress() = 0;

    // For lists named by an address: the byte source that reads addresses
    // (none yet: such lists are not lists) and the temporary folder.
    virtual ByteSource* AddressSource() { return nullptr; }
    virtual std::string TemporaryFolder() { return std::string(); }
};

}  // namespace plyvane
