// The scan that builds the queue of a new list: every entry is fetched, its
// duration taken from the record or learnt by probing the stream, and its
// track-list line made. The progress window and the stream probe are
// interfaces, so the window plugs in its own and tests their fakes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "playlist_queue.h"
#include "playlist_source.h"

namespace plyvane {

// Learns a stream's playing time: the engine's probe of the first frame.
class EntryProber {
public:
    struct Result {
        int32_t durationMs = -1;  // -1: the stream's length is not known
        std::string title;
    };
    virtual ~EntryProber() = default;
    // `path` is a file or an address (field 0 of the record).
    virtual bool Probe(const std::string& path, Result& result) = 0;
};

// The progress window of the scan: "Initialize playlist playback", range
// 0..count, step 1, with a Cancel button that the scan polls.
class ScanProgress {
public:
    virtual ~ScanProgress() = default;
    virtual void Begin(int count) = 0;
    // Lets waiting window messages through; true once Cancel was pressed.
    virtual bool CancelRequested() = 0;
    virtual void ShowItem(const std::string& text) = 0;
    virtual void Step() = 0;
    virtual void End() = 0;
};

inline constexpr char kScanCaption[] = "Initialize playlist playback";
inline constexpr char kEntryErrorLine[] = "Error accessing file!";
inline constexpr char kScanAbortedLine[] = "File scan aborted!";

struct ScanOptions {
    // "SkipHTTPFileScan": addresses keep the duration of their record, -1
    // when it has none, instead of being read.
    bool skipAddressScan = true;
};

// Fills the queue's tables (already allocated for source.Count() entries)
// and returns the track-list line of every entry, in order, handing each to
// `onLine` as soon as it is known. Unplayable entries are excluded; after
// Cancel the rest are excluded as aborted.
std::vector<std::string> ScanEntries(PlaylistSource& source, PlaylistQueue& queue, EntryProber& prober,
                                     ScanProgress& progress, const ScanOptions& options,
                                     const std::function<void(const std::string&)>& onLine = nullptr);

}  // namespace plyvane
