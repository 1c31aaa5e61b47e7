// The playlist editor's list: the entry records in display order, the
// modified flag, the current playlist name, the display options and the
// accepted-extension filter. The editor window is a view of it; rows count
// from 0 here (the window numbers them from 1).
#pragma once

#include <string>
#include <vector>

#include "editor_file_types.h"

namespace plyvane {

class EditorList {
public:
    int Count() const { return static_cast<int>(entries_.size()); }
    bool IsRow(int row) const { return row >= 0 && row < Count(); }
    const std::string& Entry(int row) const { return entries_[static_cast<std::size_t>(row)]; }
    const std::vector<std::string>& Entries() const { return entries_; }

    // Appends a record and sets the modified flag. A record that is empty
    // or holds a line break (no playlist file could keep it) is refused.
    bool Append(std::string record);
    // The record of a row replaced (Properties): the flag is set, also when
    // the record is unchanged. False for a row that is not there or a record
    // Append would refuse.
    bool Replace(int row, std::string record);

    // Delete item: the row to select afterwards (the same row, or the last
    // when the last was removed), -1 when none is left or the row is not
    // there. The flag is set; it is cleared when the list becomes empty and
    // there is no playlist file it could differ from.
    int Remove(int row);
    // Move to top / bottom: the row to select afterwards is the same row
    // number, which now holds another entry (-1: no such row). Sets the flag.
    int MoveToTop(int row);
    int MoveToBottom(int row);
    // A drag that drops the entry of row `from` on row `onto` (counted before
    // the move): the entry goes in front of that row's entry. The new row of
    // the moved entry, or -1 when nothing changes (its own row, the row just
    // below it, no row). Sets the flag when the order changed.
    int MoveBefore(int from, int onto);

    // New: no entries, no current name, not modified.
    void Clear();

    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // The playlist file loaded or saved last ("" for none).
    const std::string& CurrentName() const { return currentName_; }
    void SetCurrentName(std::string name) { currentName_ = std::move(name); }

    // Display options: with show path the folder, with show extension the
    // extension of entries without a title stays in their text.
    bool IncludeSubfolders() const { return includeSubfolders_; }
    void SetIncludeSubfolders(bool on) { includeSubfolders_ = on; }
    bool ShowPath() const { return showPath_; }
    void SetShowPath(bool on) { showPath_ = on; }
    bool ShowExtension() const { return showExtension_; }
    void SetShowExtension(bool on) { showExtension_ = on; }

    // "%d. " with the row number from 1, then the title, or the file name
    // as the display options leave it.
    std::string DisplayText(int row) const;

    ExtensionFilter& Filter() { return filter_; }
    const ExtensionFilter& Filter() const { return filter_; }

private:
    std::vector<std::string> entries_;
    std::string currentName_;
    bool modified_ = false;
    bool includeSubfolders_ = true;
    bool showPath_ = false;
    bool showExtension_ = false;
    ExtensionFilter filter_;
};

}  // namespace plyvane
