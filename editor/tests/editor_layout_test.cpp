// The editor's resizing rules.
#include <gtest/gtest.h>

#include "editor_layout.h"

namespace plyvane {
namespace {

TEST(EditorLayout, EachAnchorKeepsItsEdgesDistances) {
    const Box first{10, 20, 110, 60};
    struct Case {
        Anchor anchor;
        Box expected;
    } cases[] = {
        {Anchor::kTopLeft, {10, 20, 110, 60}},
        {Anchor::kBottomRight, {40, 70, 140, 110}},
        {Anchor::kBottomLeft, {10, 70, 110, 110}},
        {Anchor::kBottomStretchWidth, {10, 70, 140, 110}},
        {Anchor::kStretchBoth, {10, 20, 140, 110}},
        {Anchor::kTopStretchWidth, {10, 20, 140, 60}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AnchoredBox(first, c.anchor, 30, 50), c.expected) << static_cast<int>(c.anchor);
        EXPECT_EQ(AnchoredBox(first, c.anchor, 0, 0), first);
    }
}

TEST(EditorLayout, ATooSmallRectangleIsSetBackWithTheOppositeEdgesInPlace) {
    struct Case {
        SizingEdge edge;
        Box dragged;
        Box expected;
        bool changed;
    } cases[] = {
        // Large enough: untouched.
        {SizingEdge::kBottomRight, {100, 100, 500, 400}, {100, 100, 500, 400}, false},
        // Dragging right or bottom: the left and top edges stay.
        {SizingEdge::kRight, {100, 100, 200, 400}, {100, 100, 400, 400}, true},
        {SizingEdge::kBottom, {100, 100, 500, 150}, {100, 100, 500, 300}, true},
        {SizingEdge::kBottomRight, {100, 100, 150, 150}, {100, 100, 400, 300}, true},
        // Dragging left or top: the right and bottom edges stay.
        {SizingEdge::kLeft, {350, 100, 500, 400}, {200, 100, 500, 400}, true},
        {SizingEdge::kTop, {100, 300, 500, 400}, {100, 200, 500, 400}, true},
        {SizingEdge::kTopLeft, {450, 350, 500, 400}, {200, 200, 500, 400}, true},
        // Mixed corners.
        {SizingEdge::kTopRight, {100, 350, 150, 400}, {100, 200, 400, 400}, true},
        {SizingEdge::kBottomLeft, {450, 100, 500, 150}, {200, 100, 500, 300}, true},
        // Only the dimension that is too small is set back.
        {SizingEdge::kBottomRight, {100, 100, 150, 900}, {100, 100, 400, 900}, true},
    };
    for (const Case& c : cases) {
        Box window = c.dragged;
        EXPECT_EQ(KeepMinimumSize(window, c.edge, 300, 200), c.changed) << static_cast<int>(c.edge);
        EXPECT_EQ(window, c.expected) << static_cast<int>(c.edge);
    }
}

}  // namespace
}  // namespace plyvane
