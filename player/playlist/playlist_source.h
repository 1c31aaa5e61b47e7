// The active list the player plays from: a playlist file or the files
// dropped on the window. Entries are fetched one at a time by number.
#pragma once

#include <string>
#include <vector>

namespace plyvane {

enum class EntryStatus {
    kRead,     // the entry is in the text
    kMissing,  // no such entry, or it cannot be read: empty text
    kTooLong,  // longer than kMaxEntryLength once completed: empty text
};

class PlaylistSource {
public:
    virtual ~PlaylistSource() = default;
    virtual int Count() const = 0;
    // Entry `index` counted from 1, completed with the list's folder when
    // it is relative. Anything but kRead leaves the text empty.
    virtual EntryStatus GetEntry(int index, std::string& entry) = 0;
};

// The files dropped on the window, taken as they are (no completion).
class DroppedFiles : public PlaylistSource {
public:
    explicit DroppedFiles(std::vector<std::string> names) : names_(std::move(names)) {}
    int Count() const override { return static_cast<int>(names_.size()); }
    EntryStatus GetEntry(int index, std::string& entry) override;

private:
    std::vector<std::string> names_;
};

}  // namespace plyvane
