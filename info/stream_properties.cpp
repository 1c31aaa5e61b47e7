#include "stream_properties.h"

#include <cstdio>
#include <cstring>

#include "http_address.h"
#include "playlist_entry.h"
#include "settings_store.h"

namespace plyvane {

namespace {
constexpr uint32_t kVolumeWhenAbsent = 75;
constexpr int32_t kShortestPlaybackSeconds = 5;

template <typename... Values>
std::string Format(const char* format, Values... values) {
    char text[64];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}
}  // namespace

int32_t DefaultEntryVolume() {
    uint32_t volume = kVolumeWhenAbsent;
    ReadDwordSetting(kConfigurationKey, "DefaultVolume", volume);
    return volume >= 1 && volume <= 100 ? static_cast<int32_t>(volume) : 100;
}

bool MayProbeEntry(const std::string& record) {
    if (!IsHttpAddress(EntryField(record, kEntryPath))) return true;
    uint32_t skip = 0;
    ReadDwordSetting(kConfigurationKey, "SkipHTTPFileScan", skip);
    return skip == 0;
}

TagPage DescribeTagPage(const std::string& record) {
    TagPage page;
    page.fields.fill(kNoTagText);
    const std::string path = EntryField(record, kEntryPath);
    if (IsHttpAddress(path)) return page;
    Id3Fields fields;
    page.kind = ReadStreamTag(path.c_str(), fields);
    if (page.kind != StreamTagKind::kNone)
        page.fields = {fields.title, fields.artist, fields.album, fields.year, fields.comment};
    return page;
}

std::string MinutesAndSeconds(int32_t milliseconds) {
    return Format("%d:%.2d", milliseconds / 60000, (milliseconds / 1000) % 60);
}

PropertiesPage DescribePropertiesPage(const std::string& record, int32_t probedMs) {
    PropertiesPage page;
    page.fileName = MaskAddressPassword(EntryField(record, kEntryPath));
    page.volume = EntryNumber(record, kEntryVolume);
    if (page.volume == 0) page.volume = DefaultEntryVolume();
    page.fileMs = probedMs < 0 ? -1 : probedMs;
    const int32_t own = EntryNumber(record, kEntryDuration);
    page.playbackMs = page.fileMs < 0 ? -1 : (own != 0 ? own : page.fileMs);
    page.fileText = page.fileMs < 0 ? kNotAvailable : MinutesAndSeconds(page.fileMs);
    page.playbackText = page.playbackMs < 0 ? kNotAvailable : MinutesAndSeconds(page.playbackMs);
    page.playbackEditable = page.playbackMs >= 0;
    if (page.playbackEditable) {
        page.spinHighSeconds = page.fileMs / 1000;
        // A file shorter than the shortest limit gets a range of one value,
        // not one whose ends are swapped.
        page.spinLowSeconds = page.spinHighSeconds < kShortestPlaybackSeconds ? page.spinHighSeconds
                                                                              : kShortestPlaybackSeconds;
        page.spinSeconds = page.playbackMs / 1000;
        if (page.spinSeconds > page.spinHighSeconds) page.spinSeconds = page.spinHighSeconds;
        if (page.spinSeconds < page.spinLowSeconds) page.spinSeconds = page.spinLowSeconds;
    }
    return page;
}

std::string EntryWithEditedValues(const std::string& record, const PropertiesPage& shown, int32_t volume,
                                  int32_t playbackSeconds) {
    std::string edited = record;
    if (volume != shown.volume && volume >= 1 && volume <= 100) edited = SetEntryField(edited, kEntryVolume, volume);
    if (shown.playbackEditable && playbackSeconds != shown.spinSeconds && playbackSeconds >= shown.spinLowSeconds &&
        playbackSeconds <= shown.spinHighSeconds)
        edited = SetEntryField(edited, kEntryDuration, playbackSeconds * 1000);
    return edited;
}

std::array<std::string, 6> DescribeStreamPage(const PlaybackInfo* probe) {
    std::array<std::string, 6> texts;
    if (probe == nullptr) {
        texts.fill(kNotAvailable);
        return texts;
    }
    static constexpr const char* kLayers[] = {"?", "I", "II", "III"};
    texts[0] = Format("MPEG %d Audio Layer %s", probe->version, kLayers[probe->layer <= 3 ? probe->layer : 0]);
    texts[1] = Format("%4.1fkHz", probe->streamSampleRate * 0.001);
    texts[2] = probe->streamChannels == 1 ? "Mono" : "Stereo";
    texts[3] = Format("%dkBit/sec", probe->bitratePerChannel * probe->streamChannels);
    texts[4] = Format("1:%5.2f", static_cast<double>(probe->compressionRatio));
    const std::string description(probe->description, strnlen(probe->description, sizeof probe->description));
    texts[5] = description.empty() ? std::string(kNoTagText) : description;
    return texts;
}

}  // namespace plyvane
