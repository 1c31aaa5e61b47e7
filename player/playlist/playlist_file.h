// Playlist files: recognition by name, the `.pls` form (through the INI
// profile port) and the `.m3u` form (text lines, with the extended form's
// "#EXTINF" lines), and completion of relative entries with the list's
// folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ini_profile.h"
#include "playlist_source.h"

namespace plyvane {

enum class PlaylistKind { kNone, kPls, kM3u };

// A name is a playlist when its lower-case form contains ".pls" or ".m3u"
// anywhere; ".pls" is tested first.
PlaylistKind PlaylistKindOf(std::string_view name);

// The list's folder: its name up to and including the last "\" or "/"
// (empty without one).
std::string ListFolderOf(std::string_view listName);
// An entry is relative unless it is an address, begins with "\" or "/", or
// has ":\" or ":/" as its second and third characters.
bool IsRelativeEntry(std::string_view entry);
// The entry with the folder in front when it is relative.
std::string ResolveEntry(std::string_view folder, std::string_view entry);

// More entries than this are not read (the queue's tables and the track
// list stay within reason); a bigger `.m3u` file is not taken as a list.
inline constexpr int kMaxPlaylistEntries = 100000;
inline constexpr std::size_t kMaxM3uBytes = 16 * 1024 * 1024;

// One entry of an `.m3u` file: the line, and what an "#EXTINF:seconds,title"
// line before it said.
struct M3uLine {
    std::string text;
    std::string title;
    int32_t durationMs = 0;  // 0: not given
};
// The entries of an `.m3u` text. Comment lines ("#...") are not entries;
// empty lines are, except in an extended list ("#EXTM3U" first). A first
// line's UTF-8 mark and the CRs of CR-LF line ends are dropped.
std::vector<M3uLine> ParseM3u(std::string_view text, std::size_t maxEntries = kMaxPlaylistEntries);

enum class LoadResult {
    kLoaded,
    kNotAPlaylistName,  // the name has neither extension
    kCannotOpen,        // missing, a folder, unreadable
    kNotAList,          // its content is no list of that form (x.pls.mp3)
};

class PlaylistFile : public PlaylistSource {
public:
    explicit PlaylistFile(IniProfile& profile = PlatformIniProfile()) : profile_(profile) {}

    // Reads the list's entry count (`.pls`) or its entries (`.m3u`). On
    // anything but kLoaded the object holds no list.
    LoadResult Load(const std::string& name);

    const std::string& Name() const { return name_; }
    const std::string& Folder() const { return folder_; }
    PlaylistKind Kind() const { return kind_; }

    int Count() const override { return count_; }
    EntryStatus GetEntry(int index, std::string& entry) override;

private:
    LoadResult LoadPls();
    LoadResult LoadM3u();
    EntryStatus M3uEntry(int index, std::string& entry) const;

    IniProfile& profile_;
    std::string name_;
    std::string folder_;
    PlaylistKind kind_ = PlaylistKind::kNone;
    int count_ = 0;
    std::vector<M3uLine> m3uLines_;
};

}  // namespace plyvane
