// The kinds of file the playlist editor knows, the accepted-extension filter
// of folder scans and drops, and the filter texts of its file dialogs.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace plyvane {

inline constexpr std::array<const char*, 4> kAudioExtensions = {".mp2", ".mp3", ".l2", ".l3"};
inline constexpr std::array<const char*, 2> kPlaylistExtensions = {".pls", ".m3u"};

// The file-type list: "MPEG audio file (*.mp2;*.mp3;*.l2;*.l3)" first, then
// "All files (*.*)".
enum class AcceptedFileType { kMpegAudio = 0, kAllFiles = 1 };
std::vector<std::string> FileTypeListItems();

// The extensions a folder scan or a drop accepts: up to 32; none accepts
// every file.
class ExtensionFilter {
public:
    static constexpr std::size_t kMaxExtensions = 32;

    // The audio extensions.
    ExtensionFilter();
    void Choose(AcceptedFileType type);
    // False (nothing changed) beyond 32 extensions.
    bool SetExtensions(const std::vector<std::string>& extensions);
    const std::vector<std::string>& Extensions() const { return extensions_; }

    // Whether the file is taken: for some extension, its first occurrence in
    // the lower-cased name ends where the name ends. (A folder whose name
    // holds the extension hides it in the file name: "x.mp3\a.mp3" is not
    // taken.)
    bool Accepts(std::string_view name) const;

private:
    std::vector<std::string> extensions_;
};

// The filters of the editor's file dialogs, in the "text|patterns|...|" form.
std::string LoadDialogFilter();      // audio files, playlists, all files
std::string PlaylistDialogFilter();  // playlists, all files (Import, Save)

}  // namespace plyvane
