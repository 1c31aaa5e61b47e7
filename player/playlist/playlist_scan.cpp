#include "playlist_scan.h"

#include "playlist_entry.h"

namespace plyvane {

namespace {
// What the scan learns about one entry.
struct ScannedEntry {
    int32_t duration = 0;
    int32_t volume = 0;
    std::string line;
};

ScannedEntry ScanEntry(const std::string& record, EntryProber& prober, const ScanOptions& options) {
    ScannedEntry scanned;
    const std::string path = EntryField(record, kEntryPath);
    const int32_t volume = EntryNumber(record, kEntryVolume);
    scanned.volume = volume > 0 ? volume : 0;
    std::string name = EntryField(record, kEntryTitle);
    std::string scannedTitle;

    // Any negative duration in a record means "not known", as -1 does.
    int32_t duration = EntryNumber(record, kEntryDuration);
    if (duration < 0) duration = -1;
    const bool address = IsHttpAddress(path);
    if (path.empty()) {
        duration = 0;
    } else if (address && options.skipAddressScan) {
        if (duration == 0) duration = -1;
    } else {
        if (!address && name.empty()) name = DisplayNameOf(path, false, false);
        if (duration == 0) {
            EntryProber::Result probe;
            if (prober.Probe(path, probe)) {
                // A stream that opened is playable even when its length
                // rounds to nothing.
                duration = probe.durationMs > 0 ? probe.durationMs : -1;
                scannedTitle = probe.title;
            }
        }
    }
    scanned.duration = duration;
    if (duration == 0) {
        scanned.line = kEntryErrorLine;
    } else if (!name.empty()) {
        scanned.line = name;
    } else if (!scannedTitle.empty()) {
        scanned.line = scannedTitle;
    } else {
        scanned.line = DisplayNameOf(path, false, false);
    }
    return scanned;
}
}  // namespace

std::vector<std::string> ScanEntries(PlaylistSource& source, PlaylistQueue& queue, EntryProber& prober,
                                     ScanProgress& progress, const ScanOptions& options,
                                     const std::function<void(const std::string&)>& onLine) {
    std::vector<std::string> lines;
    auto add = [&](std::string line) {
        if (onLine) onLine(line);
        lines.push_back(std::move(line));
    };
    const int count = queue.Count();
    lines.reserve(static_cast<std::size_t>(count));
    for (int entry = 1; entry <= count; ++entry) {
        if (progress.CancelRequested()) {
            for (; entry <= count; ++entry) {
                queue.Exclude(entry);
                add(kScanAbortedLine);
            }
            break;
        }
        std::string record;
        source.GetEntry(entry, record);
        progress.ShowItem(MaskedEntryRecord(record));
        ScannedEntry scanned = ScanEntry(record, prober, options);
        queue.SetVolume(entry, scanned.volume);
        queue.SetDuration(entry, scanned.duration);
        queue.SetPlayed(entry, scanned.duration == 0);
        progress.Step();
        add(std::move(scanned.line));
    }
    return lines;
}

}  // namespace plyvane
