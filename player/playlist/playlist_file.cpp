#include "playlist_file.h"

#include <cstdio>
#include <cstring>

#include "input_file.h"
#include "playlist_entry.h"

namespace plyvane {

namespace {
constexpr char kSection[] = "playlist";

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(text[i]) != Lower(prefix[i])) return false;
    }
    return true;
}

std::string LowerCopy(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = Lower(c);
    return lower;
}

// "#EXTINF:seconds,title": the seconds (whole, a fraction is dropped) and
// the title after the first comma. Zero or negative seconds mean unknown.
void ReadExtinf(std::string_view line, M3uLine& info) {
    line.remove_prefix(std::strlen("#EXTINF:"));
    std::size_t at = 0;
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    bool negative = at < line.size() && line[at] == '-';
    if (at < line.size() && (line[at] == '-' || line[at] == '+')) ++at;
    int64_t seconds = 0;
    for (; at < line.size() && line[at] >= '0' && line[at] <= '9'; ++at) {
        if (seconds < INT32_MAX) seconds = seconds * 10 + (line[at] - '0');
    }
    int64_t ms = negative ? 0 : seconds * 1000;
    info.durationMs = static_cast<int32_t>(ms > INT32_MAX ? INT32_MAX : ms);

    info.title.clear();
    std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) return;
    std::string_view title = line.substr(comma + 1);
    while (!title.empty() && (title.front() == ' ' || title.front() == '\t')) title.remove_prefix(1);
    while (!title.empty() && (title.back() == ' ' || title.back() == '\t')) title.remove_suffix(1);
    info.title.assign(title);
}

// "File12" -> 12; 0 for any other key (also "File012": the reader asks for
// "File12" and would never find it).
int FileKeyNumber(const std::string& key) {
    if (!StartsWithNoCase(key, "file") || key.size() == 4 || key[4] == '0') return 0;
    int64_t number = 0;
    for (std::size_t i = 4; i < key.size(); ++i) {
        if (key[i] < '0' || key[i] > '9') return 0;
        number = number * 10 + (key[i] - '0');
        if (number > kMaxPlaylistEntries) return kMaxPlaylistEntries;
    }
    return static_cast<int>(number);
}

EntryStatus Refuse(EntryStatus status, std::string& entry) {
    entry.clear();
    return status;
}
}  // namespace

PlaylistKind PlaylistKindOf(std::string_view name) {
    const std::string lower = LowerCopy(name);
    if (lower.find(".pls") != std::string::npos) return PlaylistKind::kPls;
    if (lower.find(".m3u") != std::string::npos) return PlaylistKind::kM3u;
    return PlaylistKind::kNone;
}

std::string ListFolderOf(std::string_view listName) {
    std::size_t last = listName.find_last_of("\\/");
    return last == std::string_view::npos ? std::string() : std::string(listName.substr(0, last + 1));
}

bool IsRelativeEntry(std::string_view entry) {
    if (IsHttpAddress(entry)) return false;
    if (!entry.empty() && (entry[0] == '\\' || entry[0] == '/')) return false;
    if (entry.size() >= 3 && entry[1] == ':' && (entry[2] == '\\' || entry[2] == '/')) return false;
    return true;
}

std::string ResolveEntry(std::string_view folder, std::string_view entry) {
    if (!IsRelativeEntry(entry)) return std::string(entry);
    std::string resolved(folder);
    resolved += entry;
    return resolved;
}

std::vector<M3uLine> ParseM3u(std::string_view text, std::size_t maxEntries) {
    std::vector<M3uLine> entries;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    const bool extended = StartsWithNoCase(text, "#EXTM3U");
    M3uLine pending;
    while (!text.empty() && entries.size() < maxEntries) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        if (!line.empty() && line.front() == '#') {
            if (StartsWithNoCase(line, "#EXTINF:")) ReadExtinf(line, pending);
            continue;
        }
        if (line.empty() && extended) continue;
        pending.text.assign(line);
        entries.push_back(std::move(pending));
        pending = M3uLine();
    }
    return entries;
}

LoadResult PlaylistFile::Load(const std::string& name) {
    name_.clear();
    folder_.clear();
    kind_ = PlaylistKind::kNone;
    count_ = 0;
    m3uLines_.clear();

    PlaylistKind kind = PlaylistKindOf(name);
    if (kind == PlaylistKind::kNone) return LoadResult::kNotAPlaylistName;
    name_ = name;
    folder_ = ListFolderOf(name);
    kind_ = kind;
    LoadResult result = kind == PlaylistKind::kPls ? LoadPls() : LoadM3u();
    if (result != LoadResult::kLoaded) {
        name_.clear();
        folder_.clear();
        kind_ = PlaylistKind::kNone;
        count_ = 0;
        m3uLines_.clear();
    }
    return result;
}

LoadResult PlaylistFile::LoadPls() {
    InputFile file;
    if (!file.Open(name_.c_str())) return LoadResult::kCannotOpen;
    const bool empty = file.Size() == 0;
    file.Close();
    // An empty file is an empty list, as an empty `.m3u` is. Any other file
    // reads as an INI file; only one with a playlist section is a list.
    if (empty) return LoadResult::kLoaded;
    if (!profile_.HasSection(name_.c_str(), kSection)) return LoadResult::kNotAList;

    int count = profile_.ReadInt(name_.c_str(), kSection, "NumberOfEntries", 0);
    if (count <= 0) return LoadResult::kLoaded;
    // A count beyond the last entry present (or a huge one) ends with it.
    int last = 0;
    for (const std::string& key : profile_.KeysOf(name_.c_str(), kSection)) {
        int number = FileKeyNumber(key);
        if (number > last) last = number;
    }
    count_ = count < last ? count : last;
    return LoadResult::kLoaded;
}

LoadResult PlaylistFile::LoadM3u() {
    InputFile file;
    if (!file.Open(name_.c_str())) return LoadResult::kCannotOpen;
    uint32_t size = file.Size();
    if (size > kMaxM3uBytes) return LoadResult::kNotAList;
    std::string text(size, '\0');
    if (file.Read(text.data(), size) != size) return LoadResult::kCannotOpen;
    // Text lists hold no zero bytes; audio files (x.m3u.mp3) always do.
    if (text.find('\0') != std::string::npos) return LoadResult::kNotAList;
    m3uLines_ = ParseM3u(text);
    count_ = static_cast<int>(m3uLines_.size());
    return LoadResult::kLoaded;
}

EntryStatus PlaylistFile::GetEntry(int index, std::string& entry) {
    if (index < 1 || index > count_) return Refuse(EntryStatus::kMissing, entry);
    if (kind_ == PlaylistKind::kM3u) return M3uEntry(index, entry);

    char key[32];
    std::snprintf(key, sizeof key, "File%d", index);
    std::string value = profile_.ReadString(name_.c_str(), kSection, key, "");
    if (value.empty()) return Refuse(EntryStatus::kMissing, entry);
    entry = ResolveEntry(folder_, value);
    if (entry.size() > kMaxEntryLength) return Refuse(EntryStatus::kTooLong, entry);
    return EntryStatus::kRead;
}

EntryStatus PlaylistFile::M3uEntry(int index, std::string& entry) const {
    const M3uLine& line = m3uLines_[static_cast<std::size_t>(index - 1)];
    if (line.text.empty()) return Refuse(EntryStatus::kMissing, entry);
    const std::string path = ResolveEntry(folder_, line.text);
    if (path.size() > kMaxEntryLength) return Refuse(EntryStatus::kTooLong, entry);

    entry = path;
    if (!line.title.empty() && EntryField(entry, kEntryTitle).empty())
        entry = SetEntryField(entry, kEntryTitle, line.title);
    if (line.durationMs > 0 && EntryNumber(entry, kEntryDuration) == 0)
        entry = SetEntryField(entry, kEntryDuration, line.durationMs);
    if (entry.size() > kMaxEntryLength) {
        // The title is only shown: cut it rather than lose the entry.
        const std::string title = EntryField(entry, kEntryTitle);
        const std::size_t over = entry.size() - kMaxEntryLength;
        entry = title.size() > over && !line.title.empty()
                    ? SetEntryField(entry, kEntryTitle, std::string_view(title).substr(0, title.size() - over))
                    : path;
    }
    return EntryStatus::kRead;
}

}  // namespace plyvane
