#include "app/CallsignCheckApp.h"

#include "app/ProgramObjects.h"
#include "app/SettingsFile.h"
#include "checkwin/CallsignCheckDialog.h"

BOOL CallsignCheckApp::InitInstance() {
    EnableControlContainer();
    Enable3dControls();

    CallsignCheckDialog dialog(&TheSettingsFile, ProgramCommands());
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    // Whatever the dialog's result: the program ends with it.
    return FALSE;
}
