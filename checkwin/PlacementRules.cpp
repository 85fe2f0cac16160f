#include "checkwin/PlacementRules.h"

#include <algorithm>
#include <cstdint>

bool IsUsablePlacement(int left, int top, int width, int height, const PlacementLimits& limits) {
    if (width < limits.MinWidth || height < limits.MinHeight) return false;
    if (width > limits.MaxWidth || height > limits.MaxHeight) return false;
    // In 64 bits: a stored place near INT_MAX must not wrap round.
    const int64_t right = static_cast<int64_t>(left) + width;
    const int64_t gripBottom = static_cast<int64_t>(top) + limits.GripHeight;
    for (const ScreenRect& area : limits.WorkAreas) {
        const int64_t w = std::min<int64_t>(right, area.Right) - std::max<int64_t>(left, area.Left);
        const int64_t h = std::min<int64_t>(gripBottom, area.Bottom) - std::max<int64_t>(top, area.Top);
        if (w >= limits.GripWidth && h >= limits.GripHeight) return true;
    }
    return false;
}

int UsableColumnWidth(int stored, int defaultWidth) {
    return stored >= 0 && stored <= kMaxStoredColumnWidth ? stored : defaultWidth;
}
