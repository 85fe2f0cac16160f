// Definitions of the program-wide objects. Within one file they are
// constructed in the order written here, before WinMain runs, and destroyed
// in the reverse order after it returns.
#include "app/ProgramObjects.h"

#include "app/CallsignCheckApp.h"
#include "app/MainWindowPlacement.h"
#include "app/SettingsFile.h"
#include "awards/AjdWajaDialog.h"
#include "awards/AwardListDialog.h"
#include "awards/JccJcgDialog.h"

MainWindowPlacementRecord MainWindowPlacement;

CallsignCheckApp TheApp;
SettingsFile TheSettingsFile;
AjdWajaDialog TheAjdWajaDialog;
JccJcgDialog TheJccJcgDialog;
AwardListDialog TheJccJcgList;
AwardListDialog TheAjdWajaList;
