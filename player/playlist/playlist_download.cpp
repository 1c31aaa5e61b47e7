#include "playlist_download.h"

#include <cstdio>
#include <cstring>

#include "playlist_file.h"

namespace plyvane {

namespace {
// A copy longer than this is a stream, not a list.
constexpr uint32_t kLargestDownload = kMaxM3uBytes;
}  // namespace

std::string DownloadNameOf(std::string_view address) {
    std::size_t end = address.find_first_of("?#");
    std::string_view path = address.substr(0, end);
    std::size_t slash = path.rfind('/');
    std::string name(slash == std::string_view::npos ? path : path.substr(slash + 1));
    for (char& c : name) {
        if (std::strchr("\\/:*?\"<>|", c) != nullptr || static_cast<unsigned char>(c) < ' ') c = '_';
    }
    // Windows drops trailing dots and blanks; "." and ".." name folders.
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    if (name.empty()) name = "playlist";
    PlaylistKind kind = PlaylistKindOf(address);
    if (PlaylistKindOf(name) != kind) name += kind == PlaylistKind::kPls ? ".pls" : kind == PlaylistKind::kM3u ? ".m3u" : "";
    return name;
}

std::string DownloadPlaylist(ByteSource& source, const std::string& address,
                             const std::string& temporaryFolder) {
    const std::string target = temporaryFolder + DownloadNameOf(address);
    if (!source.Open(address.c_str())) return std::string();
    std::FILE* copy = std::fopen(target.c_str(), "wb");
    if (copy == nullptr) {
        source.Close();
        return std::string();
    }
    bool complete = false;
    bool written = true;
    uint32_t total = 0;
    char piece[4096];
    while (written) {
        uint32_t got = source.Read(piece, sizeof piece) & ~kNewStreamFlag;
        if (got == 0) {
            complete = true;
            break;
        }
        if (got > sizeof piece || total + got > kLargestDownload) break;
        total += got;
        written = std::fwrite(piece, 1, got, copy) == got;
    }
    source.Close();
    written = std::fclose(copy) == 0 && written;
    if (!complete || !written) {
        std::remove(target.c_str());
        return std::string();
    }
    return target;
}

}  // namespace plyvane
