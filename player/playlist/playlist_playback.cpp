#include "playlist_playback.h"

#include "continuous_lists.h"
#include "playlist_download.h"
#include "playlist_entry.h"
#include "settings_store.h"

namespace plyvane {

namespace {
constexpr char kAbortCaption[] = "Playlist abort";
constexpr char kAbortQuestion[] = "Do you want to cancel the actual playback request?";

uint32_t ReadFlag(const char* name, uint32_t fallback) {
    uint32_t value = fallback;
    ReadDwordSetting(kConfigurationKey, name, value);
    return value;
}
}  // namespace

PlaylistPlayback::PlaylistPlayback(PlaylistHost& host, IniProfile& profile, PlaylistQueue::RandomSource random)
    : host_(host), profile_(profile), queue_(std::move(random)) {}

PlaylistPlayback::~PlaylistPlayback() { ForgetContinuousList(); }

bool PlaylistPlayback::LoadPlaylist(const std::string& name) {
    if (PlaylistKindOf(name) == PlaylistKind::kNone) return false;
    std::string local = name;
    if (IsHttpAddress(name)) {
        ByteSource* source = host_.AddressSource();
        if (source == nullptr) return false;
        host_.ClosePlayback();
        local = DownloadPlaylist(*source, name, host_.TemporaryFolder());
        if (local.empty()) return false;
    }
    auto file = std::make_unique<PlaylistFile>(profile_);
    if (file->Load(local) != LoadResult::kLoaded) return false;
    listName_ = local;
    list_ = std::move(file);
    ScanPlaylist();
    return true;
}

void PlaylistPlayback::LoadDroppedFiles(std::vector<std::string> names) {
    listName_.clear();
    list_ = std::make_unique<DroppedFiles>(std::move(names));
    ScanPlaylist();
}

void PlaylistPlayback::Release() {
    list_.reset();
    listName_.clear();
    queue_.Free();
    trackLines_.clear();
    listPlayed_ = 0;
    host_.ClearTrackList();
}

void PlaylistPlayback::ScanPlaylist() {
    const int count = list_->Count();
    queue_.Free();
    trackLines_.clear();
    host_.StopPlayback(false);

    ScanProgress& progress = host_.Progress();
    progress.Begin(count);
    switch (queue_.Allocate(count)) {
    case PlaylistQueue::TableFailure::kPlayedFlags:
        progress.End();
        ShowWarning(host_.Owner(), "Tag list error", "Sorry, not enough memory for random playback");
        return;
    case PlaylistQueue::TableFailure::kDurations:
        progress.End();
        ShowWarning(host_.Owner(), "Time list error", "Sorry, not enough memory for total time display");
        return;
    case PlaylistQueue::TableFailure::kNone:
        break;
    }
    host_.ClearTrackList();
    ScanOptions options;
    options.skipAddressScan = ReadFlag("SkipHTTPFileScan", 1) != 0;
    trackLines_ = ScanEntries(*list_, queue_, host_.Prober(), progress, options,
                              [this](const std::string& line) { host_.AddTrackLine(line); });
    progress.End();
}

std::string PlaylistPlayback::TrackLine(int entry) const {
    if (entry < 1 || entry > static_cast<int>(trackLines_.size())) return std::string();
    return trackLines_[static_cast<std::size_t>(entry - 1)];
}

std::string PlaylistPlayback::EntryRecord(int entry) {
    std::string record;
    if (IsActive() && queue_.Contains(entry)) list_->GetEntry(entry, record);
    return record;
}

void PlaylistPlayback::ShowChosen(int entry) {
    TrackCounters counters = queue_.CountersFor(entry);
    UpdateTrackDisplays(counters.track, counters.total, counters.toGo);
    host_.SelectTrackLine(entry);
    host_.RedrawTrackList();
}

int PlaylistPlayback::NextIndex() {
    const int entry = queue_.NextIndex();
    if (queue_.Contains(entry)) ShowChosen(entry);
    return entry;
}

int PlaylistPlayback::PreviousIndex() {
    const int entry = queue_.PreviousIndex();
    if (queue_.Contains(entry)) ShowChosen(entry);
    return entry;
}

void PlaylistPlayback::ForgetContinuousList() {
    if (continuousList_ != 0) ContinuousLists::Instance().Unregister(continuousList_);
    continuousList_ = 0;
}

std::string PlaylistPlayback::SourceFor(int index, const std::string& record) {
    const std::string path = EntryField(record, kEntryPath);
    const int count = queue_.Count();
    const int current = queue_.CurrentIndex();
    if (ReadFlag("DisableContinuous", 0) != 0 || queue_.Random() || current < 1 || current >= count ||
        current != index || IsHttpAddress(path))
        return record;

    // The files from this entry on, up to the end of the list, the first
    // address or the first entry that cannot play (it would end the stream).
    ContinuousList names{path};
    for (int next = current + 1; next <= count && queue_.IsPlayable(next); ++next) {
        std::string nextRecord;
        if (list_->GetEntry(next, nextRecord) != EntryStatus::kRead) break;
        std::string nextPath = EntryField(nextRecord, kEntryPath);
        if (nextPath.empty() || IsHttpAddress(nextPath)) break;
        names.push_back(std::move(nextPath));
    }
    if (names.size() < 2) return record;
    ForgetContinuousList();
    continuousList_ = ContinuousLists::Instance().Register(std::move(names));
    return ContinuousLists::ListName(continuousList_);
}

bool PlaylistPlayback::PlayEntry(int index) {
    if (!IsActive() || !queue_.Contains(index) || !queue_.IsPlayable(index)) return false;
    EntryToOpen entry;
    entry.index = index;
    bool opened = false;
    if (list_->GetEntry(index, entry.record) == EntryStatus::kRead) {
        entry.source = SourceFor(index, entry.record);
        entry.volumePreset = queue_.Volume(index);
        entry.durationLimit = queue_.Duration(index) > 0 ? queue_.Duration(index) : 0;
        opened = host_.OpenEntry(entry);
    }
    if (opened) return true;
    queue_.Exclude(index);
    host_.RedrawTrackList();
    // With nothing left to play the advance ends here.
    return !queue_.AnyPlayable();
}

bool PlaylistPlayback::ExcludeSilentEntry() {
    // Excluded as a failed open is, or an endless list of such entries
    // would play nothing for ever.
    const int current = queue_.CurrentIndex();
    if (queue_.Contains(current)) {
        queue_.Exclude(current);
        host_.RedrawTrackList();
    }
    if (queue_.AnyPlayable()) return false;
    // Nothing left that sounds: the list ends without opening anything again.
    host_.ClosePlayback();
    host_.ResetVolumePreset();
    if (host_.CloseAtEnd()) host_.EndProgram();
    return true;
}

void PlaylistPlayback::PlayFirstEntry(bool start) {
    if (PlayEntry(NextIndex())) {
        if (start) host_.StartOrResume();
    } else {
        AdvancePlaylist(AdvanceCause::kOpenFailed, start);
    }
}

bool PlaylistPlayback::AdvancePlaylist(AdvanceCause cause, bool start) {
    if (!IsActive()) return false;
    if (cause == AdvanceCause::kEndOfStream && host_.EndedWithoutSound() && ExcludeSilentEntry()) return true;
    for (;;) {
        const int entry = NextIndex();
        if (!queue_.Contains(entry)) {
            if (cause != AdvanceCause::kEndOfStream) return true;
            RewindToFirst();
            host_.StopPlayback(true);
            host_.ResetVolumePreset();
            if (host_.CloseAtEnd()) host_.EndProgram();
            return true;
        }
        host_.Stop();
        // An entry the scan already found unplayable is passed over without
        // asking: only an entry that fails now is worth a question.
        const bool knownUnplayable = !queue_.IsPlayable(entry);
        if (PlayEntry(entry)) {
            if (start) host_.StartOrResume();
            return true;
        }
        if (knownUnplayable) continue;
        if (AskQuestion(host_.Owner(), kAbortCaption, MessageButtons::kYesNo, "%s", kAbortQuestion) ==
            MessageAnswer::kYes)
            return true;
    }
}

void PlaylistPlayback::Previous() {
    if (!IsActive()) return;
    for (;;) {
        if (!queue_.AnyPlayable()) return;
        const int entry = PreviousIndex();
        if (entry == 0) return;
        host_.Stop();
        if (PlayEntry(entry)) break;
    }
    host_.StartOrResume();
}

void PlaylistPlayback::PlaySelected(int entry) {
    if (!IsActive() || !queue_.IsPlayable(entry)) return;
    host_.Stop();
    queue_.SetCurrentIndex(entry);
    queue_.SetPlayed(entry, true);
    if (!queue_.Random()) queue_.MarkPlayedUpTo(entry);
    UpdateTrackDisplays(entry, queue_.Count(), queue_.Count() - queue_.PlayedCount());
    host_.RedrawTrackList();
    if (PlayEntry(entry)) {
        host_.StartOrResume();
    } else {
        AdvancePlaylist(AdvanceCause::kOpenFailed);
    }
}

void PlaylistPlayback::RewindToFirst() {
    queue_.ResetFlags();
    queue_.SetCurrentIndex(1);
    queue_.SetPlayed(1, true);
    host_.SelectTrackLine(1);
    PlayEntry(1);
    UpdateTrackDisplays(1, queue_.Count(), queue_.Count() - 1);
    host_.RedrawTrackList();
}

void PlaylistPlayback::Rewind() {
    if (IsActive()) RewindToFirst();
}

EntryToOpen PlaylistPlayback::OnNextFile() {
    EntryToOpen entry;
    if (!IsActive()) return entry;
    const int index = NextIndex();
    if (!queue_.Contains(index)) return entry;
    entry.index = index;
    list_->GetEntry(index, entry.record);
    entry.source = entry.record;
    entry.volumePreset = queue_.Volume(index);
    entry.durationLimit = queue_.Duration(index) > 0 ? queue_.Duration(index) : 0;
    UpdateTrackDisplays(index, queue_.Count(), queue_.Count() - index);
    return entry;
}

void PlaylistPlayback::SetRandom(bool on) {
    queue_.SetRandom(on);
    WriteDwordSetting(kConfigurationKey, "RandomPlayback", on ? 1 : 0);
    if (!IsActive()) return;
    const int count = queue_.Count();
    int index = queue_.CurrentIndex() > count ? lastShownTrack_ : queue_.CurrentIndex();
    if (on) {
        queue_.ResetFlags();
        queue_.SetPlayed(index, true);
        UpdateTrackDisplays(index, count, count - 1);
    } else {
        queue_.SetCurrentIndex(index);
        queue_.MarkPlayedUpTo(index);
        UpdateTrackDisplays(index, count, count - index);
    }
    host_.RedrawTrackList();
}

void PlaylistPlayback::SetEndless(bool on) {
    queue_.SetEndless(on);
    WriteDwordSetting(kConfigurationKey, "EndlessPlayback", on ? 1 : 0);
}

void PlaylistPlayback::UpdateTrackDisplays(int track, int total, int toGo) {
    TrackDisplays displays;
    if (total <= 1) {
        lastShownTrack_ = 1;
        listPlayed_ = 0;
        host_.ShowTrackDisplays(displays);
        return;
    }
    lastShownTrack_ = track;
    listPlayed_ = queue_.PlayedTime(track);
    displays.list = true;
    displays.counters = TrackCounters{track, total, toGo};
    displays.listTotal = queue_.ListTotal();
    displays.listPlayed = listPlayed_;
    host_.ShowTrackDisplays(displays);
}

}  // namespace plyvane
