// The award result list window (its template only, for now: the columns,
// rows and placement are added with the award checks).
#pragma once
#include "framework/Framework.h"
#include "res/resource.h"

class AwardListDialog : public CDialog {
public:
    AwardListDialog() : CDialog(IDD_AWARDLIST) {}
};
