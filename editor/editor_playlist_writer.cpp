#include "editor_playlist_writer.h"

#include <cstdio>

#include "input_file.h"
#include "playlist_entry.h"
#include "settings_store.h"

namespace plyvane {

namespace {
constexpr char kSection[] = "playlist";
constexpr uint32_t kLargestKeptFile = 64 * 1024 * 1024;

// Whether a shortened entry reads back as written: INI values lose their
// leading blanks and a pair of quotes; `.m3u` lines beginning with "#" are
// comments.
bool ReadsBackAsWritten(std::string_view entry, PlaylistKind form) {
    if (entry.empty()) return false;
    const char first = entry.front();
    if (first == ' ' || first == '\t' || first == '\v' || first == '\f' || first == '"' || first == '\'') return false;
    return form != PlaylistKind::kM3u || first != '#';
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\v\f\x1a");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\v\f\x1a") - first + 1);
}

bool IsPlaylistSection(std::string_view line) {
    line = Trimmed(line);
    if (line.empty() || line.front() != '[') return false;
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos) return false;
    std::string_view name = Trimmed(line.substr(1, close - 1));
    if (name.size() != sizeof kSection - 1) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kSection[i]) return false;
    }
    return true;
}

bool IsSection(std::string_view line) {
    line = Trimmed(line);
    return !line.empty() && line.front() == '[' && line.find(']') != std::string_view::npos;
}

// `text` is lines ended with CR-LF.
void DropTrailingBlankLines(std::string& text) {
    while (text.size() >= 2) {
        const std::size_t end = text.size() - 2;
        const std::size_t newline = end == 0 ? std::string::npos : text.rfind('\n', end - 1);
        const std::size_t start = newline == std::string::npos ? 0 : newline + 1;
        if (!Trimmed(std::string_view(text).substr(start, end - start)).empty()) return;
        text.erase(start);
    }
}

// The lines of `existing` before its first section, and its sections other
// than "playlist", each line ended with CR-LF.
void SplitKeptLines(std::string_view existing, std::string& before, std::string& after) {
    bool inSection = false;
    bool inPlaylist = false;
    while (!existing.empty()) {
        const std::size_t end = existing.find('\n');
        std::string_view line = existing.substr(0, end);
        existing.remove_prefix(end == std::string_view::npos ? existing.size() : end + 1);
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (IsSection(line)) {
            inSection = true;
            inPlaylist = IsPlaylistSection(line);
        }
        if (inPlaylist) continue;
        std::string& target = inSection ? after : before;
        target.append(line);
        target += "\r\n";
    }
    DropTrailingBlankLines(before);
}

std::string ExistingText(const std::string& name) {
    InputFile file;
    if (!file.Open(name.c_str())) return std::string();
    const uint32_t size = file.Size();
    if (size > kLargestKeptFile) return std::string();
    std::string text(size, '\0');
    if (file.Read(text.data(), size) != size) return std::string();
    // A binary file is not a list whose other sections could be kept.
    if (text.find('\0') != std::string::npos) return std::string();
    return text;
}
}  // namespace

std::string ListedEntry(std::string_view record, std::string_view folder, PlaylistKind form) {
    const std::string path = EntryField(record, kEntryPath);
    if (folder.empty() || path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0)
        return std::string(record);
    const std::string relative = path.substr(folder.size());
    if (!IsRelativeEntry(relative) || ResolveEntry(folder, relative) != path || !ReadsBackAsWritten(relative, form))
        return std::string(record);
    return relative + std::string(record.substr(path.size()));
}

std::string EditorPlaylistText(const std::vector<std::string>& entries, const std::string& name,
                               std::string_view existing) {
    const PlaylistKind form = PlaylistKindOf(name) == PlaylistKind::kM3u ? PlaylistKind::kM3u : PlaylistKind::kPls;
    const std::string folder = ListFolderOf(name);
    std::string text;
    if (form == PlaylistKind::kM3u) {
        for (const std::string& entry : entries) {
            text += ListedEntry(entry, folder, form);
            text += "\r\n";
        }
        return text;
    }

    std::string before;
    std::string after;
    SplitKeptLines(existing, before, after);
    text = before;
    char line[48];
    std::snprintf(line, sizeof line, "[%s]\r\nNumberOfEntries=%d\r\n", kSection, static_cast<int>(entries.size()));
    text += line;
    int number = 0;
    for (const std::string& entry : entries) {
        std::snprintf(line, sizeof line, "File%d=", ++number);
        text += line;
        text += ListedEntry(entry, folder, form);
        text += "\r\n";
    }
    if (!after.empty()) {
        text += "\r\n";
        text += after;
    }
    return text;
}

bool WriteEditorPlaylist(const std::vector<std::string>& entries, const std::string& name, FileSystem& files) {
    if (name.empty()) return false;
    const std::string existing =
        PlaylistKindOf(name) == PlaylistKind::kM3u ? std::string() : ExistingText(name);
    return files.ReplaceFile(name, EditorPlaylistText(entries, name, existing));
}

bool SaveEditorList(EditorList& list, const std::string& name, FileSystem& files, WindowHandle owner) {
    if (!WriteEditorPlaylist(list.Entries(), name, files)) {
        ShowError(owner, "Unable to save the playlist file %s!", name.c_str());
        return false;
    }
    list.SetCurrentName(name);
    WriteStringSetting(kConfigurationKey, "RecentPlaylistFile", name.c_str());
    list.SetModified(false);
    return true;
}

bool SaveTemporaryList(EditorList& list, FileSystem& files, WindowHandle owner) {
    const std::string name = files.TemporaryFolder() + "list.pls";
    if (!WriteEditorPlaylist(list.Entries(), name, files)) {
        ShowError(owner, "Unable to save the playlist file %s!", name.c_str());
        return false;
    }
    list.SetCurrentName(name);
    list.SetModified(false);
    return true;
}

}  // namespace plyvane
