// Feeds arbitrary bytes to the playlist readers and the entry record
// helpers, and checks what they promise:
//   - the `.m3u` and `.pls` readers (through a file, as the player reads
//     them): every entry read is non-empty and at most 255 characters, any
//     other result leaves the text empty;
//   - the INI reader and writer: a value written reads back as written;
//   - the record helpers: setting a field changes that field only.
// The first byte picks the list form and the field to set.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ini_document.h"
#include "playlist_download.h"
#include "playlist_entry.h"
#include "playlist_file.h"
#include "posix_ini_profile.h"

namespace {

using namespace plyvane;

void Check(bool condition) {
    if (!condition) std::abort();
}

// One file per process and form, rewritten for each input and removed at
// the end (plain arrays: they outlive the exit handler).
char plsPath[64];
char m3uPath[64];

const char* ListPath(bool pls) {
    if (plsPath[0] == '\0') {
        std::snprintf(plsPath, sizeof plsPath, "/tmp/plyvane-playlist-fuzz-%ld.pls", static_cast<long>(::getpid()));
        std::snprintf(m3uPath, sizeof m3uPath, "/tmp/plyvane-playlist-fuzz-%ld.m3u", static_cast<long>(::getpid()));
        std::atexit([] {
            std::remove(plsPath);
            std::remove(m3uPath);
        });
    }
    return pls ? plsPath : m3uPath;
}

void ReadList(std::string_view bytes, bool pls) {
    const std::string path = ListPath(pls);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);

    PlaylistFile list;
    if (list.Load(path) != LoadResult::kLoaded) {
        Check(list.Count() == 0);
        return;
    }
    Check(list.Count() >= 0 && list.Count() <= kMaxPlaylistEntries);
    const int last = list.Count() < 300 ? list.Count() + 1 : 300;
    for (int index = 0; index <= last; ++index) {
        std::string entry = "untouched";
        EntryStatus status = list.GetEntry(index, entry);
        if (status == EntryStatus::kRead) {
            Check(!entry.empty() && entry.size() <= kMaxEntryLength);
        } else {
            Check(entry.empty());
        }
    }
}

void CheckRecordHelpers(std::string_view record, int field, std::string_view value) {
    const std::string changed = SetEntryField(record, field, value);
    std::string expected(value);
    for (char& c : expected) {
        if (c == ';') c = ',';
    }
    Check(EntryField(changed, field) == expected);
    for (int before = 0; before < field; ++before) Check(EntryField(changed, before) == EntryField(record, before));
    Check(EntryField(changed, field + 1) == EntryField(record, field + 1));
    EntryNumber(record, field);
    DisplayNameOf(record, field & 1, field & 2);
    IsHttpAddress(record);
    ResolveEntry("C:\\Music\\", record);
    const std::string name = DownloadNameOf(record);
    Check(!name.empty() && name.find_first_of("\\/:*?\"<>|") == std::string::npos);
}

void CheckIniRoundTrip(std::string_view text, std::string_view value) {
    IniDocument document = IniDocument::Parse(text);
    document.KeysOf("playlist");
    document.HasSection("playlist");
    PosixIniProfile::ParseProfileInt(std::string(text.substr(0, 40)));
    // A value as the writer takes it: no line breaks, no leading blanks.
    std::string clean;
    for (char c : value) {
        if (c != '\r' && c != '\n' && c != '\0') clean += c;
    }
    while (!clean.empty() && (clean.front() == ' ' || clean.front() == '\t' || clean.front() == '\v' ||
                              clean.front() == '\f' || clean.front() == '\x1a'))
        clean.erase(0, 1);
    while (!clean.empty() && (clean.back() == ' ' || clean.back() == '\t' || clean.back() == '\v' ||
                              clean.back() == '\f' || clean.back() == '\x1a'))
        clean.pop_back();
    document.Set("playlist", "File7", clean);
    IniDocument again = IniDocument::Parse(document.Serialize());
    const std::string* back = again.Find("playlist", "File7");
    Check(back != nullptr && *back == clean);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t options = data[0];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    ReadList(bytes, (options & 1) != 0);

    const std::size_t cut = bytes.size() / 2;
    CheckRecordHelpers(bytes.substr(0, cut), (options >> 1) & 7, bytes.substr(cut, 64));
    CheckIniRoundTrip(bytes, bytes.substr(cut, 300));
    return 0;
}
