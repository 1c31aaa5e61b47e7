#include "drag_move.h"

#include <gtest/gtest.h>

namespace plyvane {
namespace {

TEST(DropDestination, PutsTheEntryInFrontOfTheRowItWasDroppedOn) {
    struct Case {
        int from, dropRow, count, expected;
    };
    const Case cases[] = {
        {3, 0, 5, 0},   // upwards: in front of row 0
        {3, 1, 5, 1},
        {0, 2, 5, 1},   // downwards: row 2 is row 1 once the entry left
        {0, 4, 5, 3},   // in front of the last entry, never behind it
        {1, 4, 5, 3},
        {4, 0, 5, 0},
        {2, 2, 5, -1},  // its own row
        {2, 3, 5, -1},  // the row just below it: already in front of it
        {4, 5, 5, -1},  // below the last row: outside any row
        {1, -1, 5, -1}, // outside the list
        {-1, 2, 5, -1}, // no drag under way
        {0, 0, 0, -1},  // empty list
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DropDestination(c.from, c.dropRow, c.count), c.expected)
            << "from " << c.from << " dropped on " << c.dropRow;
    }
}

}  // namespace
}  // namespace plyvane
