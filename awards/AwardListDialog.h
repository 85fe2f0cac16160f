// The award result list: a resizable window with one report list, one row
// per area of the award the criteria name, and a status bar with the award's
// totals. Its initialisation sets up the columns, runs the tally, fills the
// rows and places the window at the main window's recorded position; a
// click on the first or second column header sorts the rows by that
// column. Its rows can be copied and saved as CSV, the list JARL asks for
// with an application saved, and the areas shown by band.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "awards/AwardFilter.h"
#include "awards/AwardTally.h"
#include "framework/Framework.h"
#include "lists/ReportList.h"
#include "lists/StatusBar.h"
#include "res/resource.h"

// Where the list opens: the left and top of the main window's restored
// rectangle, and its height, which the JCC/JCG lists take.
struct ListAnchor {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Height = 0;
};

// What the result list and its band grid share: a report list over the
// window with a status bar under it; Ctrl+C, Ctrl+A, Ctrl+S and a context
// menu of the commands the window offers.
class AwardTableWindow : public CDialog {
public:
    ~AwardTableWindow() override;
    const ListRows& Rows() const { return rows_; }

    DECLARE_MESSAGE_MAP()

protected:
    explicit AwardTableWindow(const AwardCriteria& criteria);

    void DoDataExchange(CDataExchange* dx) override;
    // The list made anew and the status bar under it; call first in OnInitDialog.
    void SetUpTable();
    void SetStatusText(const std::string& text);
    // The list over the client area above the status bar (cx, cy: its size).
    void LayOut(int cx, int cy);
    // The commands of the context menu, in order, with their texts.
    virtual std::vector<std::pair<UINT, const char*>> MenuCommands() const;
    // Saves every row as shown (Ctrl+S).
    void SaveCsv();
    // A file name asked for with the standard save dialog, then the bytes
    // written whole; a failure is told with its reason.
    void SaveFile(const char* title, const std::string& defaultName, const std::string& bytes);
    // "<KIND>-<what>YYYYMMDD.csv".
    std::string DefaultFileName(const char* what) const;
    virtual const char* CsvFileKind() const { return ""; }

    void OnSize(UINT type, int cx, int cy);
    void OnListKeyDown(NMHDR* header, LRESULT* result);
    void OnListRightClick(NMHDR* header, LRESULT* result);
    void OnCopy();
    void OnSelectAll();
    void OnSaveCsv();
    // Enter on a row, or a double click on a cell (column -1: Enter): the
    // QSOs behind it in a window of their own. false when the row stands
    // for nothing to open (Enter then closes the window, as it always did).
    virtual bool OpenRowQsos(int /*position*/, int /*column*/) { return false; }
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnListDoubleClick(NMHDR* header, LRESULT* result);
    // The rows the list shows; a window with rows of another kind says so.
    virtual ListRows& TableRows() { return rows_; }
    // On the window under this one, as wide as the columns (at most
    // maxWidth pixels when it is not 0).
    void PlaceOverOwner(int maxWidth = 0);
    // Keys of the window's own commands besides Ctrl+C, Ctrl+A, Ctrl+S.
    virtual bool OnCommandKey(WORD) { return false; }

    ReportList m_List;
    const AwardCriteria& criteria_;
    ListRows rows_;
    StatusBar status_;
};

class AwardListDialog : public AwardTableWindow {
public:
    // The list shows a tally under `criteria`, read at every opening; it
    // opens at `anchor`, sorts with `sortState` and keeps the last result
    // of a tally in `results`.
    AwardListDialog(const AwardCriteria& criteria, const ListAnchor& anchor, ListSortState& sortState,
                    AwardStatistics& results);
    ~AwardListDialog() override;

    // Ctrl+L: the list JARL asks for with an application, asked for a file.
    void SaveApplicationList();
    // Ctrl+B: the band grid, modally on top.
    void ShowBandGrid();
    // Ctrl+M: the map of the result, modally on top.
    void ShowMap();

    DECLARE_MESSAGE_MAP()

protected:
    BOOL OnInitDialog() override;
    std::vector<std::pair<UINT, const char*>> MenuCommands() const override;
    bool OnCommandKey(WORD key) override;

    void OnColumnClick(NMHDR* header, LRESULT* result);
    bool OpenRowQsos(int position, int column) override;
    void OnSaveApplication();
    void OnBandGrid();
    void OnMap();

    // Left and top of the anchor, with the size of the award kind.
    void PlaceAtMainWindow(int32_t kind);
    // The rows and totals of results_, in table order.
    void ShowResults();

    const ListAnchor& anchor_;
    ListSortState& sortState_;
    AwardStatistics& results_;
    bool tallied_ = false;
};

// The areas of the last result by band: one row per area as the result list
// shows them, a column per ticked band, "C" or "W", and the totals per band.
class BandGridDialog : public AwardTableWindow {
public:
    BandGridDialog(const AwardCriteria& criteria, const AwardStatistics& results);
    ~BandGridDialog() override;

protected:
    BOOL OnInitDialog() override;
    const char* CsvFileKind() const override { return "バンド別-"; }
    bool OpenRowQsos(int position, int column) override;

    const AwardStatistics& results_;
    std::vector<ListColumn> columns_;
};

// The save dialog for files of the extension `type`, then the bytes that
// `make` gives (made only once a name is chosen) written whole; a name too
// long, bytes that cannot be made and a failed write are told with the
// path and the reason.
void SaveAwardFile(HWND owner, const char* title, const std::string& defaultName, const char* type,
                   const std::function<bool(std::string* bytes, std::string* reason)>& make);

// A message of the award windows: a box with an OK button and the
// exclamation icon, captioned with the executable's base name.
void ShowAwardMessage(const char* text);
// The same for a text that may name a file outside code page 932.
void ShowAwardMessage(const std::wstring& text);
