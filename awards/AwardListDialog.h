// The award result list: a resizable window with one report list, one row
// per area of the award the criteria name. Its initialisation sets up the
// columns, runs the tally, fills the rows and places the window at the main
// window's recorded position; a click on the first or second column header
// sorts the rows by that column.
#pragma once
#include <cstdint>

#include "awards/AwardFilter.h"
#include "awards/AwardTally.h"
#include "framework/Framework.h"
#include "lists/ReportList.h"
#include "res/resource.h"

// Where the list opens: the left and top of the main window's restored
// rectangle, and its height, which the JCC/JCG lists take.
struct ListAnchor {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Height = 0;
};

class AwardListDialog : public CDialog {
public:
    // The list shows a tally under `criteria`, read at every opening; it
    // opens at `anchor`, sorts with `sortState` and keeps the last result
    // of a tally in `results`.
    AwardListDialog(const AwardCriteria& criteria, const ListAnchor& anchor, ListSortState& sortState,
                    AwardStatistics& results);
    ~AwardListDialog() override;

    const ListRows& Rows() const { return rows_; }

    DECLARE_MESSAGE_MAP()

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    void OnSize(UINT type, int cx, int cy);
    void OnColumnClick(NMHDR* header, LRESULT* result);

    // Left and top of the anchor, with the size of the award kind.
    void PlaceAtMainWindow(int32_t kind);

    ReportList m_List;
    const AwardCriteria& criteria_;
    const ListAnchor& anchor_;
    ListSortState& sortState_;
    AwardStatistics& results_;
    ListRows rows_;
};

// A message of the award windows: a box with an OK button and the
// exclamation icon, captioned with the executable's base name.
void ShowAwardMessage(const char* text);
