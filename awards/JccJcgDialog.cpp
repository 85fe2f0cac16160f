#include "awards/JccJcgDialog.h"

#include <cstring>

#include "logstore/AreaMaster.h"
#include "logstore/LoggerLibrary.h"

namespace {

const AwardCheckControlIds kJccJcgControls = {
    IDC_JCC_MODE, IDC_JCC_START, IDC_JCC_END, IDC_JCC_JCC,
    {IDC_JCC_BAND0, IDC_JCC_BAND1, IDC_JCC_BAND2, IDC_JCC_BAND3, IDC_JCC_BAND4, IDC_JCC_BAND5,
     IDC_JCC_BAND6, IDC_JCC_BAND7, IDC_JCC_BAND8, IDC_JCC_BAND9, IDC_JCC_BAND10, IDC_JCC_BAND11,
     IDC_JCC_BAND12, IDC_JCC_BAND13},
};

const char kMasterCannotBeLoaded[] = "vireon.mst を読み込めません";

OptionBox ReadBox(const CButton& box) {
    return {box.IsWindowEnabled() != FALSE, box.GetCheck() == BST_CHECKED};
}

void ShowBox(CButton& box, const OptionBox& state) {
    box.SetCheck(state.Ticked ? BST_CHECKED : BST_UNCHECKED);
    box.EnableWindow(state.Enabled ? TRUE : FALSE);
}

}  // namespace

JccJcgDialog::JccJcgDialog(AwardCriteria& criteria, AwardListDialog& resultList)
    : AwardCheckDialog(IDD_JCCJCG, kJccJcgControls, criteria, resultList) {}

JccJcgDialog::~JccJcgDialog() = default;

FRAMEWORK_MESSAGE_MAP(JccJcgDialog, AwardCheckDialog,
    MapCommand(IDC_JCC_JCC, &JccJcgDialog::OnJcc),
    MapCommand(IDC_JCC_JCG, &JccJcgDialog::OnJcg),
    MapCommand(IDC_JCC_INCLUDEDELETED, &JccJcgDialog::OnIncludeDeleted),
    MapCommand(IDC_JCC_SHOW1001, &JccJcgDialog::OnShow1001),
    MapCommand(IDC_JCC_FULLLIST, &JccJcgDialog::OnFullList),
    MapCommand(IDC_JCC_UNWORKED, &JccJcgDialog::OnUnworked),
    MapCommand(IDC_JCC_SEARCH, &JccJcgDialog::RunSearch))

void JccJcgDialog::DoDataExchange(CDataExchange* dx) {
    AwardCheckDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_JCC_INCLUDEDELETED, IncludeDeletedBox);
    DDX_Control(dx, IDC_JCC_SHOW1001, Show1001Box);
    DDX_Control(dx, IDC_JCC_FULLLIST, FullListBox);
    DDX_Control(dx, IDC_JCC_UNWORKED, UnworkedBox);
}

BOOL JccJcgDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    ResetCriteria();
    criteria_.AwardKind = Jcc;
    ReloadAreaMaster();
    // The option boxes in their opening state, the deleted areas hidden.
    OnOptionEvent(JccJcgEvent::DialogOpened);
    criteria_.ShowUnworked = 0;
    return TRUE;
}

void JccJcgDialog::ReloadAreaMaster() {
    if (LoadLoggerLibrary() == 0) {
        const bool loaded = LoadAreaMaster() == 0;
        FreeLoggerLibrary();
        // Without the master the lists lack areas, and an empty unworked
        // list would read as "nothing missing": say so once. The search
        // still runs with what was read.
        if (!loaded) ::MessageBoxA(m_hWnd, kMasterCannotBeLoaded, AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // The missing library is told by the search, as the AJD/WAJA check does.
    // Without the library no table can be read: the lists are empty rather
    // than showing the tables of an earlier opening.
    std::memset(JccTable, 0, sizeof JccTable);
    std::memset(JcgTable, 0, sizeof JcgTable);
}

void JccJcgDialog::OnJcc() {
    criteria_.AwardKind = Jcc;
    OnOptionEvent(JccJcgEvent::AwardChosen);
}

void JccJcgDialog::OnJcg() {
    criteria_.AwardKind = Jcg;
    OnOptionEvent(JccJcgEvent::AwardChosen);
}

void JccJcgDialog::OnIncludeDeleted() { OnOptionEvent(JccJcgEvent::IncludeDeletedClicked); }
void JccJcgDialog::OnShow1001() { OnOptionEvent(JccJcgEvent::Show1001Clicked); }
void JccJcgDialog::OnFullList() { OnOptionEvent(JccJcgEvent::FullListClicked); }
void JccJcgDialog::OnUnworked() { OnOptionEvent(JccJcgEvent::UnworkedClicked); }

JccJcgOptionBoxes JccJcgDialog::ReadOptionBoxes() const {
    return {ReadBox(IncludeDeletedBox), ReadBox(Show1001Box), ReadBox(FullListBox), ReadBox(UnworkedBox)};
}

void JccJcgDialog::ShowOptionBoxes(const JccJcgOptionBoxes& boxes) {
    ShowBox(IncludeDeletedBox, boxes.IncludeDeleted);
    ShowBox(Show1001Box, boxes.Show1001);
    ShowBox(FullListBox, boxes.FullList);
    ShowBox(UnworkedBox, boxes.Unworked);
}

void JccJcgDialog::OnOptionEvent(JccJcgEvent event) {
    const JccJcgOptionOutcome outcome = JccJcgOptionEvent(event, ReadOptionBoxes(), criteria_.AwardKind);
    if (outcome.ExchangeTexts) UpdateData(TRUE);
    ShowOptionBoxes(outcome.Boxes);
    ApplyOptionMarks(outcome);
    if (outcome.ExchangeTexts) UpdateData(FALSE);
}

void JccJcgDialog::RunSearch() {
    if (!TakeCriteria()) return;
    const bool unworked = UnworkedBox.GetCheck() == BST_CHECKED;
    const bool fullList = FullListBox.GetCheck() == BST_CHECKED;
    criteria_.ShowUnworked = unworked ? 1 : 0;
    criteria_.ShowFullList = fullList ? 1 : 0;
    ApplyJcc1001Option(Show1001Box.GetCheck() == BST_CHECKED);
    // Areas deleted before the start month leave the unworked list for this
    // search only; their marks come back once the list is closed.
    hiding_.Apply(unworked, fullList, criteria_.StartDate);
    ShowResultListIfInRange();
    hiding_.Restore();
}
