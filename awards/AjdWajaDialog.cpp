#include "awards/AjdWajaDialog.h"

namespace {

const AwardCheckControlIds kAjdWajaControls = {
    IDC_AJD_MODE, IDC_AJD_START, IDC_AJD_END, IDC_AJD_AJD,
    {IDC_AJD_BAND0, IDC_AJD_BAND1, IDC_AJD_BAND2, IDC_AJD_BAND3, IDC_AJD_BAND4, IDC_AJD_BAND5,
     IDC_AJD_BAND6, IDC_AJD_BAND7, IDC_AJD_BAND8, IDC_AJD_BAND9, IDC_AJD_BAND10, IDC_AJD_BAND11,
     IDC_AJD_BAND12, IDC_AJD_BAND13},
};

}  // namespace

AjdWajaDialog::AjdWajaDialog(AwardCriteria& criteria, AwardListDialog& resultList)
    : AwardCheckDialog(IDD_AJDWAJA, kAjdWajaControls, criteria, resultList) {}

AjdWajaDialog::~AjdWajaDialog() = default;

FRAMEWORK_MESSAGE_MAP(AjdWajaDialog, AwardCheckDialog,
    MapCommand(IDC_AJD_AJD, &AjdWajaDialog::OnAjd),
    MapCommand(IDC_AJD_WAJA, &AjdWajaDialog::OnWaja),
    MapCommand(IDC_AJD_SEARCH, &AjdWajaDialog::RunSearch))

void AjdWajaDialog::DoDataExchange(CDataExchange* dx) { AwardCheckDialog::DoDataExchange(dx); }

BOOL AjdWajaDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    ResetCriteria();
    criteria_.AwardKind = Ajd;
    return TRUE;
}

void AjdWajaDialog::OnAjd() { criteria_.AwardKind = Ajd; }

void AjdWajaDialog::OnWaja() { criteria_.AwardKind = Waja; }

void AjdWajaDialog::RunSearch() {
    if (!TakeCriteria()) return;
    ShowResultListIfInRange();
}
