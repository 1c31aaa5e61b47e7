#include "editor_list.h"

#include <algorithm>
#include <cstdio>

#include "playlist_entry.h"

namespace plyvane {

namespace {
bool IsStorable(const std::string& record) {
    return !record.empty() && record.find_first_of("\r\n") == std::string::npos;
}
}  // namespace

bool EditorList::Append(std::string record) {
    if (!IsStorable(record)) return false;
    entries_.push_back(std::move(record));
    modified_ = true;
    return true;
}

bool EditorList::Replace(int row, std::string record) {
    if (!IsRow(row) || !IsStorable(record)) return false;
    entries_[static_cast<std::size_t>(row)] = std::move(record);
    modified_ = true;
    return true;
}

int EditorList::Remove(int row) {
    if (!IsRow(row)) return -1;
    entries_.erase(entries_.begin() + row);
    modified_ = true;
    if (entries_.empty()) {
        // With a playlist file behind the list, an empty list differs from
        // it: keep the flag, so the emptied list is saved or handed on.
        if (currentName_.empty()) modified_ = false;
        return -1;
    }
    return std::min(row, Count() - 1);
}

int EditorList::MoveToTop(int row) {
    if (!IsRow(row)) return -1;
    std::rotate(entries_.begin(), entries_.begin() + row, entries_.begin() + row + 1);
    modified_ = true;
    return row;
}

int EditorList::MoveToBottom(int row) {
    if (!IsRow(row)) return -1;
    std::rotate(entries_.begin() + row, entries_.begin() + row + 1, entries_.end());
    modified_ = true;
    return row;
}

int EditorList::MoveBefore(int from, int onto) {
    if (!IsRow(from) || !IsRow(onto) || onto == from || onto == from + 1) return -1;
    if (onto < from) {
        std::rotate(entries_.begin() + onto, entries_.begin() + from, entries_.begin() + from + 1);
    } else {
        std::rotate(entries_.begin() + from, entries_.begin() + from + 1, entries_.begin() + onto);
    }
    modified_ = true;
    return onto < from ? onto : onto - 1;
}

void EditorList::Clear() {
    entries_.clear();
    currentName_.clear();
    modified_ = false;
}

std::string EditorList::DisplayText(int row) const {
    if (!IsRow(row)) return std::string();
    const std::string& record = Entry(row);
    std::string text = EntryField(record, kEntryTitle);
    if (text.empty()) text = DisplayNameOf(EntryField(record, kEntryPath), showPath_, showExtension_);
    char number[16];
    std::snprintf(number, sizeof number, "%d. ", row + 1);
    return number + text;
}

}  // namespace plyvane
