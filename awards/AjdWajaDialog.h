// The AJD/WAJA check dialog (its template only, for now: it opens and closes; its
// criteria and search are added with the award checks).
#pragma once
#include "framework/Framework.h"
#include "res/resource.h"

class AjdWajaDialog : public CDialog {
public:
    AjdWajaDialog() : CDialog(IDD_AJDWAJA) {}
};
