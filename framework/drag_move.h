// Where a list entry dragged from row `from` ends when it is dropped on row
// `dropRow` (-1: outside any row) of a list of `count` rows: in front of the
// entry on the drop row, counted before the move. A drop on its own row or on
// the row just below it (both leave it where it is) or outside the rows moves
// nothing. An entry cannot be dropped behind the last one.
#pragma once

namespace plyvane {

// The entry's new row, or -1 when nothing moves.
inline int DropDestination(int from, int dropRow, int count) {
    if (from < 0 || from >= count || dropRow < 0 || dropRow >= count) return -1;
    if (dropRow == from || dropRow == from + 1) return -1;
    return dropRow < from ? dropRow : dropRow - 1;
}

}  // namespace plyvane
