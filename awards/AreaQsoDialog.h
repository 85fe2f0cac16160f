// The QSOs behind a row of the award results or a cell of the band grid: a
// window "<code> <name>" over the list it was opened from, with the QSOs of
// that area the check counted (a cell's: those on its band) in the QSO
// list's columns, sortable, copied and saved as the other lists are; the
// status bar tells the area's bands and modes as the main window's area
// lookup does.
#pragma once
#include <string>

#include "awards/AwardListDialog.h"
#include "checkwin/AreaLookup.h"
#include "checkwin/QsoRows.h"

class AreaQsoDialog : public AwardTableWindow {
public:
    // band 0..13: that band's QSOs only; -1: every band the criteria tick.
    AreaQsoDialog(const AwardCriteria& criteria, const AreaTarget& target, int band);
    ~AreaQsoDialog() override;

    const QsoRows& QsoList() const { return qsoRows_; }

    DECLARE_MESSAGE_MAP()

protected:
    BOOL OnInitDialog() override;
    ListRows& TableRows() override { return qsoRows_; }
    const char* CsvFileKind() const override { return fileKind_.c_str(); }
    void OnColumnClick(NMHDR* header, LRESULT* result);

private:
    AreaTarget target_;
    int band_;
    QsoRows qsoRows_;
    ListSortState sortState_;
    std::string fileKind_;
};
