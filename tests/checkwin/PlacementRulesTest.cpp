// Which stored placements and column widths the main window opens with.
#include <climits>

#include <gtest/gtest.h>

#include "checkwin/PlacementRules.h"

namespace {

// Two monitors of 1280 x 1024 side by side, the first with a taskbar of 40
// pixels at its foot; a window of at least 112 x 27 and at most the two
// screens' width.
PlacementLimits TwoScreens(int gripWidth = 100, int gripHeight = 50) {
    PlacementLimits limits;
    limits.WorkAreas = {{0, 0, 1280, 984}, {1280, 0, 2560, 1024}};
    limits.MinWidth = 112;
    limits.MinHeight = 27;
    limits.MaxWidth = 2572;
    limits.MaxHeight = 1036;
    limits.GripWidth = gripWidth;
    limits.GripHeight = gripHeight;
    return limits;
}

TEST(PlacementRules, AStoredPlacementIsUsedOnlyWhenItsTitleBarAreaCanBeReachedAndItsSizeAllowed) {
    struct Case {
        const char* what;
        int left, top, width, height;
        bool usable;
    };
    const Case cases[] = {
        {"the defaults", 100, 100, 918, 547, true},
        {"on the second screen", 1400, 200, 800, 500, true},
        {"across both screens", 900, 100, 918, 547, true},
        // Size
        {"nothing stored readable: zeros", 0, 0, 0, 0, false},
        {"the minimum tracking size", 0, 0, 112, 27, true},
        {"one pixel narrower", 0, 0, 111, 27, false},
        {"one pixel lower", 0, 0, 112, 26, false},
        {"negative size", 300, 300, -800, -500, false},
        {"huge size", 100, 100, 99999999, 99999999, false},
        {"as wide as the largest window", 0, 0, 2572, 500, true},
        {"one pixel wider", 0, 0, 2573, 500, false},
        // The title bar area on a work area: 100 x 50 of the top strip.
        {"5 x 4 pixels left at the bottom right", 2555, 1020, 800, 500, false},
        {"100 pixels left on the right", 2460, 100, 800, 500, true},
        {"99 pixels left on the right", 2461, 100, 800, 500, false},
        {"100 pixels left on the left", -700, 100, 800, 500, true},
        {"99 pixels left on the left", -701, 100, 800, 500, false},
        {"the strip just above the taskbar", 100, 934, 800, 500, true},
        {"one pixel into the taskbar", 100, 935, 800, 500, false},
        {"the top one pixel above the screen", 100, -1, 800, 500, false},
        {"top 0", 100, 0, 800, 500, true},
        {"a monitor that is gone", -6000, 4000, 800, 500, false},
        {"below the first screen, beside the second one's foot", 100, 990, 800, 500, false},
        {"near INT_MAX", INT_MAX - 10, INT_MAX - 10, 800, 500, false},
        {"near INT_MIN", INT_MIN, INT_MIN, 800, 500, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsUsablePlacement(c.left, c.top, c.width, c.height, TwoScreens()), c.usable) << c.what;
    }
    // At twice the DPI the grip is twice as large.
    EXPECT_TRUE(IsUsablePlacement(2360, 100, 800, 500, TwoScreens(200, 100)));
    EXPECT_FALSE(IsUsablePlacement(2361, 100, 800, 500, TwoScreens(200, 100)));
    // Without any monitor nothing can be used.
    PlacementLimits none = TwoScreens();
    none.WorkAreas.clear();
    EXPECT_FALSE(IsUsablePlacement(100, 100, 918, 547, none));
}

TEST(PlacementRules, StoredColumnWidthsOutsideZeroTo4096GiveTheDefault) {
    struct Case {
        int stored, expected;
    };
    const Case cases[] = {
        {0, 0},   // hidden by the operator
        {1, 1},         {60, 60},       {4096, 4096}, {4097, 78},
        {-1, 78},       {-60, 78},      {99999999, 78}, {INT_MAX, 78}, {INT_MIN, 78},
    };
    for (const Case& c : cases) EXPECT_EQ(UsableColumnWidth(c.stored, 78), c.expected) << c.stored;
}

}  // namespace
