// The application object: its start hook runs the main dialog modally and
// then reports failure, so that the process ends when the dialog ends.
#pragma once
#include "framework/Framework.h"

class CallsignCheckApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
