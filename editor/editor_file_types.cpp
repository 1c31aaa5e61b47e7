#include "editor_file_types.h"

namespace plyvane {

namespace {
std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// "*.mp2;*.mp3;*.l2;*.l3"
template <std::size_t N>
std::string Patterns(const std::array<const char*, N>& extensions) {
    std::string patterns;
    for (const char* extension : extensions) {
        if (!patterns.empty()) patterns += ';';
        patterns += '*';
        patterns += extension;
    }
    return patterns;
}
}  // namespace

std::vector<std::string> FileTypeListItems() {
    return {"MPEG audio file (" + Patterns(kAudioExtensions) + ")", "All files (*.*)"};
}

ExtensionFilter::ExtensionFilter() { Choose(AcceptedFileType::kMpegAudio); }

void ExtensionFilter::Choose(AcceptedFileType type) {
    extensions_.clear();
    if (type == AcceptedFileType::kMpegAudio) extensions_.assign(kAudioExtensions.begin(), kAudioExtensions.end());
}

bool ExtensionFilter::SetExtensions(const std::vector<std::string>& extensions) {
    if (extensions.size() > kMaxExtensions) return false;
    extensions_.clear();
    for (const std::string& extension : extensions) extensions_.push_back(Lower(extension));
    return true;
}

bool ExtensionFilter::Accepts(std::string_view name) const {
    if (extensions_.empty()) return true;
    const std::string lower = Lower(name);
    for (const std::string& extension : extensions_) {
        if (extension.empty()) continue;
        const std::size_t at = lower.find(extension);
        if (at != std::string::npos && at + extension.size() == lower.size()) return true;
    }
    return false;
}

std::string LoadDialogFilter() {
    const std::string audio = Patterns(kAudioExtensions);
    const std::string lists = Patterns(kPlaylistExtensions);
    return "MPEG Audio Files (" + audio + ")|" + audio + "|Playlist Files (" + lists + ")|" + lists +
           "|All Files (*.*)|*.*|";
}

std::string PlaylistDialogFilter() {
    const std::string lists = Patterns(kPlaylistExtensions);
    return "Playlist Files (" + lists + ")|" + lists + "|All Files (*.*)|*.*|";
}

}  // namespace plyvane
