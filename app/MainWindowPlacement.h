// The main window's restored rectangle, recorded just before an award check
// dialog opens and read when the award result list places itself.
#pragma once
#include <cstdint>

struct MainWindowPlacementRecord {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Height = 0;
};

extern MainWindowPlacementRecord MainWindowPlacement;
