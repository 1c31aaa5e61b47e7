// How the playlist editor writes its list: the `.pls` form, entries that lie
// in the playlist's folder or below it written relative to it, so the
// player's reading rules resolve them to the same files again. A name the
// player reads as an `.m3u` list gets the `.m3u` form instead (the player
// would take every line of a `.pls` text in it for an entry). The file is
// replaced in one step: a save that fails leaves the old file as it was.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor_list.h"
#include "file_system.h"
#include "message_box.h"
#include "playlist_file.h"

namespace plyvane {

// The record as a list in `folder` (the list's name up to its last "\" or
// "/") holds it: the folder cut from the front of its path when the path
// begins with it (case counts) and the shortened entry reads back as the
// same path; otherwise whole.
std::string ListedEntry(std::string_view record, std::string_view folder, PlaylistKind form);

// The text of the list file. `.pls` form: section "playlist" with
// "NumberOfEntries" and "File1"... first; the other sections and the lines
// before the first section of `existing` (the file's present text) follow
// as they were.
std::string EditorPlaylistText(const std::vector<std::string>& entries, const std::string& name,
                               std::string_view existing = {});

// Writes the list under `name`; false when it could not be written.
bool WriteEditorPlaylist(const std::vector<std::string>& entries, const std::string& name,
                         FileSystem& files = PlatformFileSystem());

// Save: writes the list; on success the name becomes the current name,
// "RecentPlaylistFile" and the flag is cleared. On failure the list stays
// as it is (still modified) and the user is told.
bool SaveEditorList(EditorList& list, const std::string& name, FileSystem& files, WindowHandle owner);

// OK without saving: the list written to "list.pls" in the temporary folder,
// which becomes the current name. False (told) when it could not be written.
bool SaveTemporaryList(EditorList& list, FileSystem& files, WindowHandle owner);

}  // namespace plyvane
