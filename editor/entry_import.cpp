#include "entry_import.h"

#include "input_file.h"
#include "playlist_entry.h"
#include "playlist_file.h"
#include "settings_store.h"
#include "stream_properties.h"
#include "stream_tag.h"

namespace plyvane {

namespace {
bool SkipAddressScan() {
    uint32_t skip = 0;  // the editor reads addresses unless told not to
    ReadDwordSetting(kConfigurationKey, "SkipHTTPFileScan", skip);
    return skip != 0;
}

// Control characters in a tag would break the line of a playlist file.
std::string EntryTitle(std::string title) {
    for (char& c : title) {
        if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') c = ' ';
    }
    return title;
}

// A title from the tag is cut so the record stays within what the player
// reads; the record's own fields are never cut.
void FitTitle(std::string& record) {
    if (record.size() <= kMaxEntryLength) return;
    const std::string title = EntryField(record, kEntryTitle);
    const std::size_t over = record.size() - kMaxEntryLength;
    record = SetEntryField(record, kEntryTitle, title.substr(0, title.size() > over ? title.size() - over : 0));
}

// Error boxes while a folder is scanned: a folder of files that are not
// streams would otherwise stop at a box for each.
class MutedMessageBoxes : public MessageBoxPort {
public:
    MutedMessageBoxes() : previous_(CurrentMessageBox()) { SetMessageBoxPort(this); }
    ~MutedMessageBoxes() override { SetMessageBoxPort(&previous_); }
    MutedMessageBoxes(const MutedMessageBoxes&) = delete;
    MutedMessageBoxes& operator=(const MutedMessageBoxes&) = delete;

    MessageAnswer Show(WindowHandle, const char*, const char*, MessageButtons buttons, MessageIcon) override {
        return buttons == MessageButtons::kYesNo || buttons == MessageButtons::kYesNoCancel ? MessageAnswer::kYes
                                                                                            : MessageAnswer::kOk;
    }

private:
    MessageBoxPort& previous_;
};
}  // namespace

bool EditorImport::CompleteEntry(std::string& record) {
    const auto progress = services_.progress.Open(1, 100, 1);
    progress->ShowItem(MaskedEntryRecord(record));

    const std::string path = EntryField(record, kEntryPath);
    const bool address = IsHttpAddress(path);
    const PathKind kind = address ? PathKind::kMissing : services_.files.KindOf(path);
    bool titled = false;
    if (EntryField(record, kEntryTitle).empty() && kind == PathKind::kFile) {
        std::string title;
        if (ReadTagTitle(path.c_str(), title)) {
            record = SetEntryField(record, kEntryTitle, EntryTitle(title));
            titled = true;
        }
    }
    bool completed = true;
    if (EntryNumber(record, kEntryDuration) == 0) {
        // Addresses are not read while the setting says so; a pipe or a
        // device would never end.
        EntryProber::Result probed;
        completed = !(address && SkipAddressScan()) && kind != PathKind::kOther && services_.prober.Probe(path, probed);
        if (completed) record = SetEntryField(record, kEntryDuration, probed.durationMs);
    }
    if (completed && EntryNumber(record, kEntryVolume) == 0)
        record = SetEntryField(record, kEntryVolume, DefaultEntryVolume());
    if (titled) FitTitle(record);
    return completed;
}

void EditorImport::AddEntry(const std::string& text) {
    std::string record = text;
    CompleteEntry(record);
    list_.Append(std::move(record));
}

void EditorImport::AddFilteredFile(const std::string& path) {
    if (!list_.Filter().Accepts(path)) return;
    if (path.size() > kMaxEntryLength) return;
    if (services_.files.KindOf(path) != PathKind::kFile) return;
    {
        InputFile file;
        if (!file.Open(path.c_str())) return;
    }
    AddEntry(path);
}

void EditorImport::AddPath(const std::string& path) {
    const PathKind kind = services_.files.KindOf(path);
    if (kind == PathKind::kFile || kind == PathKind::kOther) return AddFilteredFile(path);
    // A path that cannot be examined is taken for a folder, and adds nothing
    // when it cannot be listed either.
    MutedMessageBoxes muted;
    std::set<FolderIdentity> visited;
    ScanFolder(path, visited);
}

bool EditorImport::ScanFolder(const std::string& folder, std::set<FolderIdentity>& visited) {
    FolderIdentity identity;
    if (services_.files.IdentityOf(folder, identity) && !visited.insert(identity).second) return true;
    std::vector<FolderItem> items;
    if (!services_.files.ListFolder(folder, items)) return true;

    const auto progress = services_.progress.Open(1, 100, 10);
    for (const FolderItem& item : items) {
        const std::string path = JoinPath(folder, item.name);
        if (item.kind == PathKind::kFolder) {
            if (list_.IncludeSubfolders() && !ScanFolder(path, visited)) return false;
            continue;
        }
        if (item.kind != PathKind::kFile) continue;  // vanished, broken link, pipe, device
        progress->ShowItem(path);
        AddFilteredFile(path);
        progress->Step();
        if (progress->CancelRequested()) return false;
    }
    return true;
}

bool EditorImport::AskToStopImport() {
    return AskQuestion(services_.owner, kAbortImportCaption, MessageButtons::kYesNo, "%s", kAbortImportQuestion) ==
           MessageAnswer::kYes;
}

bool EditorImport::AppendPlaylistFile(const std::string& name) {
    const bool m3u = PlaylistKindOf(name) == PlaylistKind::kM3u;
    PlaylistFile file(services_.profile);
    const LoadResult loaded = file.Load(name, m3u ? PlaylistKind::kM3u : PlaylistKind::kPls);
    if (loaded != LoadResult::kLoaded) {
        if (!m3u) return true;  // no such list: no entries
        if (loaded == LoadResult::kCannotOpen) {
            ShowError(services_.owner, "Unable to open the playlist file %s!", name.c_str());
        } else {
            ShowError(services_.owner, "The file %s is not a playlist!", name.c_str());
        }
        return false;
    }

    const auto progress = m3u ? services_.progress.Open(0, 100, 1) : services_.progress.Open(0, file.Count(), 10);
    for (int index = 1; index <= file.Count(); ++index) {
        std::string record;
        if (file.GetEntry(index, record) == EntryStatus::kRead) {
            progress->ShowItem(MaskedEntryRecord(record));
            const bool completed = CompleteEntry(record);
            // A .pls keeps the flag as it is; every .m3u entry sets it.
            const bool modified = list_.Modified();
            list_.Append(std::move(record));
            if (!m3u) list_.SetModified(modified);
            if (!completed && AskToStopImport()) return true;
        }
        progress->Step();
        if (progress->CancelRequested()) return true;
    }
    return true;
}

void EditorImport::LoadPlaylist(const std::string& name) {
    list_.Clear();
    list_.SetCurrentName(name);
    AppendPlaylistFile(name);
    WriteStringSetting(kConfigurationKey, "RecentPlaylistFile", name.c_str());
}

void EditorImport::ImportPlaylist(const std::string& name) {
    list_.SetCurrentName(name);
    AppendPlaylistFile(name);
    list_.SetModified(true);
}

void EditorImport::AddDroppedFiles(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (PlaylistKindOf(name) != PlaylistKind::kNone) {
            ImportPlaylist(name);
        } else {
            AddPath(name);
        }
    }
}

}  // namespace plyvane
