// The program-wide objects that live for the whole run.
#pragma once

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
