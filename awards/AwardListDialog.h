// The award result list: a resizable window with one report list, one row
// per area of the award in AwardFilter. Its initialisation sets up the
// columns, runs the tally, fills the rows and places the window at the main
// window's recorded position; a click on the first or second column header
// sorts the rows by that column.
#pragma once
#include <cstdint>

#include "framework/Framework.h"
#include "res/resource.h"

struct AwardListRows;

class AwardListDialog : public CDialog {
public:
    AwardListDialog();
    ~AwardListDialog() override;

    DECLARE_MESSAGE_MAP()

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    void OnSize(UINT type, int cx, int cy);
    void OnColumnClick(NMHDR* header, LRESULT* result);

    void InsertColumns(int32_t kind);
    // Replaces every item of the list by the rows, in their order; each item
    // carries its row's id as item data.
    void ShowRows(const AwardListRows& rows);
    // Left and top of the main window's recorded rectangle, with the size
    // of the award kind.
    void PlaceAtMainWindow(int32_t kind);

    CListCtrl m_List;
};

// The message the tally gives when the logging library is missing: a box
// with an OK button and the exclamation icon, captioned with the
// executable's base name. AwardMessageSink points here in the program.
void ShowAwardMessage(const char* text);
