// How the playlist editor's window resizes: it can't be made smaller than
// its first size, and at any larger size each control keeps its distances
// to the edges its anchor names. Plain rectangles, so the rules are tested
// without a window.
#pragma once

namespace plyvane {

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Box& other) const {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

enum class Anchor {
    kTopLeft,            // the buttons at the top: never move
    kBottomRight,        // OK, Cancel
    kBottomLeft,         // the check boxes and the volume field
    kBottomStretchWidth, // the file-type list and its group
    kStretchBoth,        // the entry list and its group
    kTopStretchWidth,    // the hint above the entry list
};

// A control's box at the first size moved or stretched by the growth of the
// client area (dx, dy) since then.
Box AnchoredBox(const Box& first, Anchor anchor, int dx, int dy);

// The WMSZ_* edge being dragged.
enum class SizingEdge { kLeft = 1, kRight, kTop, kTopLeft, kTopRight, kBottom, kBottomLeft, kBottomRight };

// The window rectangle while a border is dragged: a width or height below
// the minimum is set back to it, the edge opposite the dragged one staying
// in place. True when the rectangle was changed.
bool KeepMinimumSize(Box& window, SizingEdge edge, int minimumWidth, int minimumHeight);

}  // namespace plyvane
