// The AJD/WAJA check dialog: bands, mode, dates and the award (the ten call
// areas or the 47 prefectures); "Search" fills the criteria and shows the
// result list over the dialog.
#pragma once
#include "awards/AwardCheckDialog.h"
#include "res/resource.h"

class AjdWajaDialog : public AwardCheckDialog {
public:
    AjdWajaDialog(AwardCriteria& criteria, AwardListDialog& resultList);
    ~AjdWajaDialog() override;

    DECLARE_MESSAGE_MAP()

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    void OnAjd();
    void OnWaja();
    void RunSearch();
};
