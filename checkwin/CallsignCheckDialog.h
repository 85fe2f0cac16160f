// The program's main window (template 102): the call-sign box, the link box,
// the QSO list and the count box; the menu that opens the award checks; the
// version box on the system menu; the icon drawn while minimised.
//
// Enter (or the Down arrow) lists every QSO with the typed station through
// the call index (the program's copy, brought up to the logger's first), and
// the status bar tells on which bands and modes the station is confirmed or
// worked; F3 lists every QSO whose call fits a pattern, Escape and Tab
// clear; with the link box ticked the call sign, or a row's texts, go to the
// running logging program.
#pragma once
#include <functional>
#include <string>

#include "checkwin/CheckRules.h"
#include "checkwin/CheckWindow.h"
#include "checkwin/QsoRows.h"
#include "framework/Framework.h"
#include "lists/ReportList.h"
#include "lists/StatusBar.h"
#include "logstore/QsoRecord.h"

// What the main window's menus open; the program fills these in. An empty
// one does nothing.
struct MainWindowCommands {
    std::function<void()> ShowVersionBox;
    // The two award checks, each given the main window's restored rectangle
    // in screen coordinates.
    std::function<void(const RECT& restored)> OpenAjdWajaCheck;
    std::function<void(const RECT& restored)> OpenJccJcgCheck;
};

class CallsignCheckDialog : public CDialog {
public:
    // The window keeps its placement and column widths in `settings` (none:
    // it opens at its defaults and keeps nothing).
    explicit CallsignCheckDialog(SettingsStore* settings = nullptr, MainWindowCommands commands = {});

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // The searches and the clear, as the keys run them.
    void LookupCall();             // Enter, Down arrow: with the key-length rule
    void LookupCallUnfiltered();   // command 1001: every hit
    void PartialSearch();          // F3
    void ClearLookup();            // Escape, Tab
    // The area lookups (AreaLookup.h): Enter on a JCC/JCG code typed in the
    // box, F4 on the listed QSO selected (the first without a selection).
    void LookupArea();
    void LookupAreaOfRow();

    // The QSO list.
    void SetupColumns();
    void AddQsoRow(const QsoRecord& record, int row, int recNo);
    void DeleteAllRows();
    void SortByColumn(int column);
    void RestorePlacement();
    // Stores the window's place and column widths; false when the settings
    // could not all be written.
    bool SavePlacement();
    const QsoRows& Rows() const { return rows_; }
    int SortDirection(int column) const { return sortState_.Direction(column); }

    // The link with the running logging program.
    void SendCallToLogger(const std::string& text, bool toFront);
    void SendClearToLogger();
    void SendRowToLogger();
    void SendRowCallToLogger();   // double-click

    // The check window beside this one (F6, the menu): follows the call box.
    void ToggleCheckWindow();
    CheckWindow& CheckWin() { return checkWindow_; }

    ReportList m_QsoList;
    CButton m_LinkToLogger;
    std::string CallText;
    std::string CountText;

    DECLARE_MESSAGE_MAP()

protected:
    void OnSysCommand(UINT id, LPARAM lp);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnAjdWajaCheck();
    void OnJccJcgCheck();
    void OnClose();
    LRESULT OnEndSession(WPARAM ending, LPARAM);
    void OnSize(UINT type, int cx, int cy);
    void OnColumnClick(NMHDR* header, LRESULT* result);
    void OnListDoubleClick(NMHDR* header, LRESULT* result);
    void OnListRightClick(NMHDR* header, LRESULT* result);
    void OnCallTextChange();
    std::string CallBoxText() const;

private:
    void AddAboutEntryToSystemMenu();
    // The start every search shares: the list emptied, the library bound
    // (its absence reported), the box texts taken and the count emptied.
    // False when the library is missing.
    bool BeginSearch();
    void RunLookup(LookupFilter filter);
    void ShowAreaLookup(const struct AreaRequest& request);
    // Lets the list control show the rows held now.
    void ShowRows();
    void SetStatusText(const std::string& text);
    // The list between the boxes and the status bar, which sits at the
    // bottom edge.
    void LayOut(int cx, int cy);
    bool LinkIsOn() const;
    // The texts of the first selected row as the list shows them; false
    // when no row is selected.
    bool FirstSelectedRow(LinkRow* row) const;
    void ShowFailure(const char* text);

    StatusBar statusBar_;
    SettingsStore* settings_;
    MainWindowCommands commands_;
    QsoRows rows_;
    ListSortState sortState_;
    HICON m_hIcon;
    CheckWindow checkWindow_;
};
