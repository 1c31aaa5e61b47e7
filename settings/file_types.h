// The file types the program plays and registers in the shell as its own:
// four audio extensions and two playlist extensions, their registered types
// (ProgIDs) with description and icon, and the key tree written for them.
#pragma once

#include <string>
#include <vector>

namespace plyvane {

struct FileType {
    const char* progId;
    const char* description;
    int iconIndex;  // of the program's icons
};

inline constexpr FileType kAudioFileType = {"Plyvane.AudioFile", "Plyvane MPEG audio file", 0};
inline constexpr FileType kPlaylistFileType = {"Plyvane.PlaylistFile", "Plyvane playlist file", 3};
inline constexpr const FileType* kFileTypes[] = {&kAudioFileType, &kPlaylistFileType};

struct FileExtension {
    const char* extension;
    const FileType* type;
};
// The audio extensions, then the playlist extensions, in the order in which
// they are checked and written (the playlist editor takes its file filters
// from the same table).
inline constexpr FileExtension kRegisteredExtensions[] = {
    {".mp2", &kAudioFileType}, {".mp3", &kAudioFileType},    {".l2", &kAudioFileType},
    {".l3", &kAudioFileType},  {".pls", &kPlaylistFileType}, {".m3u", &kPlaylistFileType},
};
inline constexpr int kRegisteredExtensionCount =
    static_cast<int>(sizeof kRegisteredExtensions / sizeof kRegisteredExtensions[0]);

// The values below a type key, for the program at `programPath`. The path
// and the file name are quoted, so blanks in either survive the shell.
std::string PlayCommandFor(const std::string& programPath);  // "E" /play "%1"
std::string OpenCommandFor(const std::string& programPath);  // "E" "%1"
std::string IconFor(const std::string& programPath, int iconIndex);  // "E",N

// The same values as earlier versions wrote them, without quotes: still the
// program's own registration, only in a form that breaks on blanks.
std::string LegacyPlayCommandFor(const std::string& programPath);  // E /play %1
std::string LegacyOpenCommandFor(const std::string& programPath);  // E %1
std::string LegacyIconFor(const std::string& programPath, int iconIndex);  // E, N

// One key and its default value.
struct ClassesEntry {
    std::string key;
    std::string value;
};

// The type key and its subtree, parents before children: the type with its
// description, "DefaultIcon", "shell" with "play" as the default verb, "play"
// and its "command", "open" and its "command".
std::vector<ClassesEntry> TypeKeyTree(const FileType& type, const std::string& programPath);

}  // namespace plyvane
