// Which stored placement and column widths the main window may open with.
// Window-free: the caller hands in the monitors' work areas and the
// window's tracking limits, in screen pixels.
#pragma once
#include <vector>

struct ScreenRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct PlacementLimits {
    std::vector<ScreenRect> WorkAreas;   // one per monitor
    int MinWidth = 0, MinHeight = 0;     // the window's minimum tracking size
    int MaxWidth = 0, MaxHeight = 0;     // and its maximum
    // How much of the window's top strip (its title bar area) must lie on
    // one work area for the operator to see and drag it.
    int GripWidth = 0, GripHeight = 0;
};

// The grip at 96 DPI; the caller scales it to the window's DPI.
constexpr int kPlacementGripWidth = 100;
constexpr int kPlacementGripHeight = 50;

// True when a window at (left, top) of width x height can be used: its size
// within the tracking limits, and at least GripWidth x GripHeight of the
// strip of GripHeight pixels at its top on one work area. No overflow for
// any ints.
bool IsUsablePlacement(int left, int top, int width, int height, const PlacementLimits& limits);

// Widest column the list takes from the settings.
constexpr int kMaxStoredColumnWidth = 4096;
// The stored width when a column can have it (0, a column the operator
// hid, up to kMaxStoredColumnWidth); the default otherwise.
int UsableColumnWidth(int stored, int defaultWidth);
