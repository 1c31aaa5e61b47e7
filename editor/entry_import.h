// How the playlist editor fills its list: completing a new entry's record
// with its title, duration and volume (CompleteEntry), adding a file through
// the accepted-extension filter (AddFilteredFile), adding a dropped path and
// scanning folders (AddPath), and appending the entries of a playlist file
// (AppendPlaylistFile). They run on the window thread; their progress
// windows have a Cancel button that ends scans and imports early.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "editor_list.h"
#include "file_system.h"
#include "import_progress.h"
#include "ini_profile.h"
#include "message_box.h"
#include "playlist_scan.h"

namespace plyvane {

// What the operations reach outside the list.
struct EditorServices {
    FileSystem& files;
    IniProfile& profile;
    EntryProber& prober;  // the engine's ProbeFileInfo
    ProgressWindows& progress;
    WindowHandle owner = nullptr;  // of the message boxes
};

inline constexpr char kAbortImportCaption[] = "Abort import";
inline constexpr char kAbortImportQuestion[] = "Do you want to cancel the actual import process?";

class EditorImport {
public:
    EditorImport(EditorList& list, const EditorServices& services) : list_(list), services_(services) {}

    // Fills what the record leaves open: the title from the file's tag, the
    // duration from a probe of the stream, the volume from "DefaultVolume".
    // False when the duration could not be learnt (then the volume stays
    // open too): a probe that failed, or an address while
    // "SkipHTTPFileScan" is set.
    bool CompleteEntry(std::string& record);

    // Load of an audio file, URL: completed (whatever that reports) and
    // appended.
    void AddEntry(const std::string& text);

    // Completes and appends the file when the filter accepts it. Names the
    // player could not read back from a list (longer than 255 characters)
    // and files that cannot be opened are skipped.
    void AddFilteredFile(const std::string& path);

    // A dropped path: a file goes through the filter; a folder is scanned in
    // the order the system lists it, its subfolders too when the list says
    // so. A folder met again (through a link) is not scanned twice; what
    // cannot be listed adds nothing. A scan does not show the probe's error
    // box for each file that is not a stream: such files are added without
    // a duration, as the filter took them.
    void AddPath(const std::string& path);

    // Appends the entries of a `.m3u` file (a name containing ".m3u") or of
    // a file in the `.pls` form (any other name), relative ones completed
    // with the list's folder. Empty entries and entries the player could not
    // read back (too long) are skipped. After a failed completion the user
    // is asked whether to stop. False, with a message, when an `.m3u` file
    // cannot be read as a list; a `.pls` that cannot be read has no entries.
    bool AppendPlaylistFile(const std::string& name);

    // The editor's commands that read playlist files (the save question
    // before them is the window's):
    // Load of a playlist file: the list replaced by the file's entries, the
    // file the current name and "RecentPlaylistFile".
    void LoadPlaylist(const std::string& name);
    // Import: the file's entries appended; it becomes the current name and
    // the list is modified.
    void ImportPlaylist(const std::string& name);
    // Files dropped on the window: playlist files are imported, anything
    // else goes to AddPath.
    void AddDroppedFiles(const std::vector<std::string>& names);

private:
    // False once the scan was cancelled.
    bool ScanFolder(const std::string& folder, std::set<FolderIdentity>& visited);
    bool AskToStopImport();

    EditorList& list_;
    EditorServices services_;
};

}  // namespace plyvane
