#include "playlist_source.h"

#include "playlist_entry.h"

namespace plyvane {

EntryStatus DroppedFiles::GetEntry(int index, std::string& entry) {
    entry.clear();
    if (index < 1 || index > Count()) return EntryStatus::kMissing;
    const std::string& name = names_[static_cast<std::size_t>(index - 1)];
    if (name.empty()) return EntryStatus::kMissing;
    if (name.size() > kMaxEntryLength) return EntryStatus::kTooLong;
    entry = name;
    return EntryStatus::kRead;
}

}  // namespace plyvane
