// The AJD/WAJA check dialog: bands, mode, dates and the award (the ten call
// areas or the 47 prefectures); "Search" fills AwardFilter and shows the
// result list over the dialog.
#pragma once
#include "app/ProgramObjects.h"
#include "awards/AwardCheckDialog.h"
#include "res/resource.h"

class AjdWajaDialog : public AwardCheckDialog {
public:
    explicit AjdWajaDialog(AwardListDialog& resultList = TheAjdWajaList);
    ~AjdWajaDialog() override;

    DECLARE_MESSAGE_MAP()

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    void OnAjd();
    void OnWaja();
    void RunSearch();
};
