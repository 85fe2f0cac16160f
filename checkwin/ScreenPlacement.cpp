#include "checkwin/ScreenPlacement.h"

#include <vector>

#include "framework/Framework.h"

namespace {

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM lp) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoA(monitor, &info)) {
        const RECT& r = info.rcWork;
        reinterpret_cast<std::vector<ScreenRect>*>(lp)->push_back({r.left, r.top, r.right, r.bottom});
    }
    return TRUE;
}

}  // namespace

PlacementLimits CurrentPlacementLimits(HWND hwnd) {
    PlacementLimits limits;
    ::EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&limits.WorkAreas));
    limits.MinWidth = ::GetSystemMetrics(SM_CXMINTRACK);
    limits.MinHeight = ::GetSystemMetrics(SM_CYMINTRACK);
    limits.MaxWidth = ::GetSystemMetrics(SM_CXMAXTRACK);
    limits.MaxHeight = ::GetSystemMetrics(SM_CYMAXTRACK);
    limits.GripWidth = ScaleToWindowDpi(hwnd, kPlacementGripWidth);
    limits.GripHeight = ScaleToWindowDpi(hwnd, kPlacementGripHeight);
    return limits;
}
