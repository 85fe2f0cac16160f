// The program-wide objects that live for the whole run, and how they are
// connected: the main window's menus open the check dialogs, the check
// dialogs fill the one set of criteria and run their result lists, the
// lists open at the main window's recorded place.
#pragma once
#include "app/MainWindowPlacement.h"
#include "awards/AwardTally.h"
#include "checkwin/CallsignCheckDialog.h"

class CallsignCheckApp;
class SettingsFile;
class AjdWajaDialog;
class JccJcgDialog;
class AwardListDialog;

extern CallsignCheckApp TheApp;
extern SettingsFile TheSettingsFile;
extern AjdWajaDialog TheAjdWajaDialog;
extern JccJcgDialog TheJccJcgDialog;
extern AwardListDialog TheJccJcgList;    // shown by the JCC/JCG dialog
extern AwardListDialog TheAjdWajaList;   // shown by the AJD/WAJA dialog
// The last result of a tally of either list.
extern AwardStatistics TheAwardResults;

// What the main window's menus open in the program: the version box, and
// each award check after recording the main window's place.
MainWindowCommands ProgramCommands();

// Where the program's windows show their messages; set before the first
// window opens.
void ConnectProgramMessages();
