// What the two award check dialogs have in common: the fourteen band boxes,
// the mode and the two date boxes, their texts at opening, and the part of
// "Search" that turns them into the criteria and opens the result list.
#pragma once
#include <string>

#include "awards/AwardFilter.h"
#include "framework/Framework.h"

class AwardListDialog;

// The controls of the shared part in one dialog template.
struct AwardCheckControlIds {
    int Mode;
    int Start;
    int End;
    int FirstAward;          // the radio button ticked at every opening
    int Bands[kBandCount];   // in band-index order
};

class AwardCheckDialog : public CDialog {
public:
    ~AwardCheckDialog() override;

protected:
    // The dialog fills `criteria`, which `resultList` shows a tally of.
    AwardCheckDialog(UINT templateId, const AwardCheckControlIds& ids, AwardCriteria& criteria,
                     AwardListDialog& resultList);

    void DoDataExchange(CDataExchange* dx) override;

    // Opening: start "000000", end today as YYMMDD, mode empty, the first
    // award's radio button ticked, and the texts shown in their boxes.
    void ResetCriteria();
    // The first steps of "Search": the box texts into the members, the mode
    // (cut at its first space) and the band flags into the criteria, then the
    // date rule. false for a silent refusal: no band ticked, or a date text
    // that is not 0 and breaks the rule (the texts are then shown again and
    // StartDate and EndDate keep their values). true: both dates stored.
    bool TakeCriteria();
    // The last steps of "Search": the texts shown again, then the result list
    // run modally when StartDate is not later than EndDate.
    void ShowResultListIfInRange();

    std::string StartText;
    std::string EndText;
    std::string ModeText;
    CButton BandBoxes[kBandCount];
    CButton FirstAwardButton;
    AwardCriteria& criteria_;

private:
    const AwardCheckControlIds& ids_;
    AwardListDialog& resultList_;
};
