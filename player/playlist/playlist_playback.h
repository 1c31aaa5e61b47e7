// Playing a list: the active list (a playlist file or dropped files), its
// queue and track lines, and every list behaviour of the main window: the
// first entry, Next and the end of a stream, Previous, "Select", Stop's
// rewind, the next file of a continuous source, random and endless.
//
// The window owns one object and calls it from its command handlers; the
// object calls back through PlaylistHost. Everything runs on the window's
// thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ini_profile.h"
#include "playlist_file.h"
#include "playlist_host.h"
#include "playlist_queue.h"
#include "playlist_source.h"

namespace plyvane {

enum class AdvanceCause {
    kNext,           // the Next command
    kEndOfStream,    // the engine reported the end (only this rewinds)
    kOpenFailed,     // the first entry or a selected one would not open
    kDurationLimit,  // the entry's duration limit was passed
};

class PlaylistPlayback {
public:
    explicit PlaylistPlayback(PlaylistHost& host, IniProfile& profile = PlatformIniProfile(),
                              PlaylistQueue::RandomSource random = nullptr);
    ~PlaylistPlayback();
    PlaylistPlayback(const PlaylistPlayback&) = delete;
    PlaylistPlayback& operator=(const PlaylistPlayback&) = delete;

    // Makes the playlist `name` (a file, or an address of one) the active
    // list and scans it. False when it is no playlist or cannot be read:
    // the window then opens the name as a single source.
    bool LoadPlaylist(const std::string& name);
    // Makes the dropped files the active list and scans them.
    void LoadDroppedFiles(std::vector<std::string> names);
    // No active list: tables freed, track list emptied.
    void Release();
    bool IsActive() const { return list_ != nullptr; }
    // The playlist file's name (the downloaded copy for an address); empty
    // for dropped files and without a list.
    const std::string& ListName() const { return listName_; }

    // The first entry: NextIndex, PlayEntry, then start (unless `start` is
    // false: the command line without /P only opens) or advance.
    void PlayFirstEntry(bool start = true);
    // The next entry after Next, the end of a stream, a failed open or a
    // duration limit; the entry that opens is started unless `start` is
    // false. False without an active list (the window then handles its
    // single source).
    bool AdvancePlaylist(AdvanceCause cause, bool start = true);
    // The Previous command: back to the previous entry that opens.
    void Previous();
    // "Select" or a double click on the track list (entry from 1).
    void PlaySelected(int entry);
    // Stop's rewind: entry 1 opened and waiting.
    void Rewind();
    // ID_PLAYBACK_NEXTFILE: the continuous source moved on; the entry now
    // playing (its preset and limit to apply), index 0 when none.
    EntryToOpen OnNextFile();
    // Single source: the narrow layout and one track.
    void ShowSingleTrack() { UpdateTrackDisplays(1, 1, 0); }

    // The random and endless switches; each writes its setting.
    void SetRandom(bool on);
    void SetEndless(bool on);
    bool Random() const { return queue_.Random(); }
    bool Endless() const { return queue_.Endless(); }

    // The queue steps, as the window's handlers use them.
    int NextIndex();
    int PreviousIndex();
    bool PlayEntry(int index);

    // For the displays and the track list's drawing.
    const PlaylistQueue& Queue() const { return queue_; }
    int CurrentIndex() const { return queue_.CurrentIndex(); }
    // The track-list line of an entry; empty outside the list.
    std::string TrackLine(int entry) const;
    // The record of an entry as the list gives it; empty outside the list.
    std::string EntryRecord(int entry);
    // The list total and the time played before the current entry, as
    // UpdateTrackDisplays last computed them.
    uint32_t ListTotal() const { return queue_.ListTotal(); }
    uint32_t ListPlayed() const { return listPlayed_; }
    int LastShownTrack() const { return lastShownTrack_; }

    void UpdateTrackDisplays(int track, int total, int toGo);

private:
    void ScanPlaylist();
    // Counters and selection for an entry the queue just chose.
    void ShowChosen(int entry);
    void RewindToFirst();
    // The current entry ended without a sound: it is excluded; true when
    // nothing playable is left and the list has ended.
    bool ExcludeSilentEntry();
    // The source for an entry: the record, or a continuous list of it and
    // the consecutive files after it.
    std::string SourceFor(int index, const std::string& record);
    void ForgetContinuousList();

    PlaylistHost& host_;
    IniProfile& profile_;
    PlaylistQueue queue_;
    std::unique_ptr<PlaylistSource> list_;
    std::string listName_;
    std::vector<std::string> trackLines_;
    long continuousList_ = 0;
    int lastShownTrack_ = 1;
    uint32_t listPlayed_ = 0;
};

}  // namespace plyvane
