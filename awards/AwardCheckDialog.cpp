#include "awards/AwardCheckDialog.h"

#include "awards/AwardListDialog.h"
#include "awards/AwardSearch.h"

namespace {
constexpr int kDateTextMax = 6;
constexpr int kModeTextMax = 4;
}  // namespace

AwardCheckDialog::AwardCheckDialog(UINT templateId, const AwardCheckControlIds& ids, AwardCriteria& criteria,
                                   AwardListDialog& resultList)
    : CDialog(templateId), criteria_(criteria), ids_(ids), resultList_(resultList) {}

AwardCheckDialog::~AwardCheckDialog() = default;

void AwardCheckDialog::DoDataExchange(CDataExchange* dx) {
    for (int b = 0; b < kBandCount; ++b) DDX_Control(dx, ids_.Bands[b], BandBoxes[b]);
    DDX_Control(dx, ids_.FirstAward, FirstAwardButton);
    DDX_Text(dx, ids_.Start, StartText, kDateTextMax);
    DDX_Text(dx, ids_.End, EndText, kDateTextMax);
    DDX_Text(dx, ids_.Mode, ModeText, kModeTextMax);
}

void AwardCheckDialog::ResetCriteria() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    char today[kTodayTextSize];
    FormatTodayText(now.wYear, now.wMonth, now.wDay, today);
    StartText = "000000";
    EndText = today;
    ModeText.clear();
    FirstAwardButton.SetCheck(BST_CHECKED);
    UpdateData(FALSE);
}

bool AwardCheckDialog::TakeCriteria() {
    UpdateData(TRUE);
    SearchInput input{};
    input.StartText = StartText.c_str();
    input.EndText = EndText.c_str();
    input.ModeText = ModeText.c_str();
    for (int b = 0; b < kBandCount; ++b) input.BandTicked[b] = BandBoxes[b].GetCheck() == BST_CHECKED;

    const SearchCriteria criteria = CheckSearchInput(input);
    StoreSearchCriteria(criteria, criteria_);
    switch (criteria.Refusal) {
    case SearchRefusal::None:
        return true;
    case SearchRefusal::NoBand:
        return false;
    case SearchRefusal::BadStartDate:
    case SearchRefusal::BadEndDate:
        UpdateData(FALSE);
        return false;
    }
    return false;
}

void AwardCheckDialog::ShowResultListIfInRange() {
    UpdateData(FALSE);
    if (criteria_.StartDate <= criteria_.EndDate) resultList_.DoModal();
}
