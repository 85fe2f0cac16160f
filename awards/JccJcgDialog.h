// The JCC/JCG check dialog: the criteria of the AJD/WAJA dialog for cities
// or counties, and four options on which master-table entries the result
// list shows (deleted areas, the entry 1001, every area, or the areas never
// worked). The master tables are reloaded at every opening.
#pragma once
#include "awards/AwardCheckDialog.h"
#include "awards/JccJcgOptions.h"
#include "res/resource.h"

class JccJcgDialog : public AwardCheckDialog {
public:
    JccJcgDialog(AwardCriteria& criteria, AwardListDialog& resultList);
    ~JccJcgDialog() override;

    DECLARE_MESSAGE_MAP()

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    void OnJcc();
    void OnJcg();
    void OnIncludeDeleted();
    void OnShow1001();
    void OnFullList();
    void OnUnworked();
    void RunSearch();

    CButton IncludeDeletedBox;   // 1021
    CButton Show1001Box;         // 1022
    CButton FullListBox;         // 1023
    CButton UnworkedBox;         // 1024

private:
    // Runs one option event: the boxes as the table of the options wants
    // them, then the Hidden marks.
    void OnOptionEvent(JccJcgEvent event);
    JccJcgOptionBoxes ReadOptionBoxes() const;
    void ShowOptionBoxes(const JccJcgOptionBoxes& boxes);
    void ReloadAreaMaster();

    TemporaryAreaHiding hiding_;
};
