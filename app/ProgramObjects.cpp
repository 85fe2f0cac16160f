// Definitions of the program-wide objects. Within one file they are
// constructed in the order written here, before WinMain runs, and destroyed
// in the reverse order after it returns.
#include "app/ProgramObjects.h"

#include "app/AboutDialog.h"
#include "app/CallsignCheckApp.h"
#include "app/SettingsFile.h"
#include "awards/AjdWajaDialog.h"
#include "awards/AwardList.h"
#include "awards/AwardListDialog.h"
#include "awards/JccJcgDialog.h"

MainWindowPlacementRecord MainWindowPlacement;
AwardStatistics TheAwardResults;

CallsignCheckApp TheApp;
SettingsFile TheSettingsFile;
AjdWajaDialog TheAjdWajaDialog(AwardFilter, TheAjdWajaList);
JccJcgDialog TheJccJcgDialog(AwardFilter, TheJccJcgList);
AwardListDialog TheJccJcgList(AwardFilter, MainWindowPlacement, ColumnSortState, TheAwardResults);
AwardListDialog TheAjdWajaList(AwardFilter, MainWindowPlacement, ColumnSortState, TheAwardResults);

namespace {

void RecordMainWindowPlacement(const RECT& restored) {
    MainWindowPlacement.Top = restored.top;
    MainWindowPlacement.Left = restored.left;
    MainWindowPlacement.Height = restored.bottom - restored.top;
}

}  // namespace

MainWindowCommands ProgramCommands() {
    MainWindowCommands commands;
    commands.ShowVersionBox = [] {
        AboutDialog about;
        about.DoModal();
    };
    commands.OpenAjdWajaCheck = [](const RECT& restored) {
        RecordMainWindowPlacement(restored);
        TheAjdWajaDialog.DoModal();
    };
    commands.OpenJccJcgCheck = [](const RECT& restored) {
        RecordMainWindowPlacement(restored);
        TheJccJcgDialog.DoModal();
    };
    return commands;
}

void ConnectProgramMessages() { AwardMessageSink = &ShowAwardMessage; }
