// The screens as they are now, for the placement rules: the monitors' work
// areas and the sizes the system lets a window have.
#pragma once
#include <windows.h>

#include "checkwin/PlacementRules.h"

PlacementLimits CurrentPlacementLimits(HWND hwnd);
