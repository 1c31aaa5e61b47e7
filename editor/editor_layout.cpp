#include "editor_layout.h"

namespace plyvane {

Box AnchoredBox(const Box& first, Anchor anchor, int dx, int dy) {
    Box box = first;
    switch (anchor) {
    case Anchor::kTopLeft:
        break;
    case Anchor::kBottomRight:
        box.left += dx;
        box.right += dx;
        box.top += dy;
        box.bottom += dy;
        break;
    case Anchor::kBottomLeft:
        box.top += dy;
        box.bottom += dy;
        break;
    case Anchor::kBottomStretchWidth:
        box.right += dx;
        box.top += dy;
        box.bottom += dy;
        break;
    case Anchor::kStretchBoth:
        box.right += dx;
        box.bottom += dy;
        break;
    case Anchor::kTopStretchWidth:
        box.right += dx;
        break;
    }
    return box;
}

namespace {
bool DragsLeft(SizingEdge edge) {
    return edge == SizingEdge::kLeft || edge == SizingEdge::kTopLeft || edge == SizingEdge::kBottomLeft;
}
bool DragsTop(SizingEdge edge) {
    return edge == SizingEdge::kTop || edge == SizingEdge::kTopLeft || edge == SizingEdge::kTopRight;
}
}  // namespace

bool KeepMinimumSize(Box& window, SizingEdge edge, int minimumWidth, int minimumHeight) {
    bool changed = false;
    if (window.right - window.left < minimumWidth) {
        if (DragsLeft(edge)) {
            window.left = window.right - minimumWidth;
        } else {
            window.right = window.left + minimumWidth;
        }
        changed = true;
    }
    if (window.bottom - window.top < minimumHeight) {
        if (DragsTop(edge)) {
            window.top = window.bottom - minimumHeight;
        } else {
            window.bottom = window.top + minimumHeight;
        }
        changed = true;
    }
    return changed;
}

}  // namespace plyvane
