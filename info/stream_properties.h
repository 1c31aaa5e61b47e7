// What the three pages of the stream file properties sheet show for one
// playlist entry, and the entry as the sheet leaves it. The pages are views
// of these; the probe itself (the engine's ProbeFileInfo through the page's
// own byte sources) is the caller's.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "playback_info.h"
#include "stream_tag.h"

namespace plyvane {

inline constexpr char kNotAvailable[] = "Not available!";
inline constexpr char kNoTagText[] = "---";

// The volume preset an entry without one plays with, and new entries get:
// "DefaultVolume", 75 when absent, 100 for a value outside 1..100 (as the
// editor's volume field takes it).
int32_t DefaultEntryVolume();

// Whether the pages may probe the entry: not an address while
// "SkipHTTPFileScan" is set (absent: 0).
bool MayProbeEntry(const std::string& record);

// "ID3 Tag": Song Name, Artist Name, Album Name, Year, Comment; "---" in
// each without a tag (always for an address). The ID3v1 tag, or else the
// ID3v2 tag.
struct TagPage {
    StreamTagKind kind = StreamTagKind::kNone;
    std::array<std::string, 5> fields;
};
TagPage DescribeTagPage(const std::string& record);

// "%d:%.2d": minutes and seconds.
std::string MinutesAndSeconds(int32_t milliseconds);

// "Properties": the file name, the volume preset, the file's duration (the
// probe's) and the playback duration (the entry's own, else the file's).
struct PropertiesPage {
    std::string fileName;
    int32_t volume = 0;          // percent, 1..100 on its spin
    int32_t fileMs = -1;         // -1: not available
    int32_t playbackMs = -1;     // -1: not available
    std::string fileText;        // "m:ss" or "Not available!"
    std::string playbackText;
    bool playbackEditable = false;  // the playback edit and its spin enabled
    int32_t spinLowSeconds = 0;
    int32_t spinHighSeconds = 0;
    int32_t spinSeconds = 0;
};
// `probedMs`: the probe's length in whole milliseconds, -1 without a result.
PropertiesPage DescribePropertiesPage(const std::string& record, int32_t probedMs);

// The entry after OK when the sheet was opened from the playlist editor:
// the volume and the playback duration the user moved with the spins are
// written into it; values left as shown change nothing.
std::string EntryWithEditedValues(const std::string& record, const PropertiesPage& shown, int32_t volume,
                                  int32_t playbackSeconds);

// "MPEG statistics": Type, Sample frequency, Channel mode, Bitrate, Pack
// ratio, Description; "Not available!" in each without a probe result.
std::array<std::string, 6> DescribeStreamPage(const PlaybackInfo* probe);

}  // namespace plyvane
