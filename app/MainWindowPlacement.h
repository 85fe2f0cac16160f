// The main window's restored rectangle, recorded just before an award check
// dialog opens and read when the award result list places itself.
#pragma once
#include "awards/AwardListDialog.h"

using MainWindowPlacementRecord = ListAnchor;

extern MainWindowPlacementRecord MainWindowPlacement;
