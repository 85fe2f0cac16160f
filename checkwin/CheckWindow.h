// The check window (template 150, "チェック"): a tool window beside the main
// window that follows the call box as the operator types. It lists the
// log's calls that contain the typed text and those one character off it,
// from a table of the log's distinct calls that it builds when it opens and
// again when vireon.vdb changes. It never takes the focus from the call box
// by itself; a double click or Enter on a row hands the call back to the
// main window's lookup.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "checkwin/CheckWindowTable.h"
#include "framework/Framework.h"
#include "lists/ReportList.h"
#include "lists/StatusBar.h"
#include "logstore/CallIndexCopy.h"

class CheckWindow : public CDialog {
public:
    // The window keeps its place, size and whether it is open in `settings`
    // (none: it opens beside its owner and keeps nothing).
    explicit CheckWindow(SettingsStore* settings = nullptr);
    ~CheckWindow() override;

    // What the owner does with a call chosen in the list: put it in the call
    // box and look it up.
    std::function<void(const std::string& call)> LookUp;
    // Told whenever the window is shown or hidden (the menu's check mark).
    std::function<void(bool open)> OpenChanged;

    // Shows the window beside `owner` without activating it, reads the log's
    // calls anew and lists those for `text`.
    void Open(HWND owner, const std::string& text);
    // Hides it; its place is kept.
    void Close();
    bool IsOpen() const;
    // The call box's text changed: the list follows once the message that
    // changed it has been handled (a posted message, so typing is never held
    // up, and a burst of changes is listed once).
    void FollowText(const std::string& text);
    // Whether the window was open when its owner closed last.
    bool WasOpen() const;
    // Writes the place, size and open state, when the window was opened in
    // this run; the caller brackets the writes.
    void SavePlacement();

    // What the window shows.
    const ListRows& Rows() const { return rows_; }
    const std::vector<CheckRowLook>& Looks() const { return looks_; }
    const std::string& StatusText() const { return statusText_; }
    const CallTable& Table() const { return table_; }

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override {}
    void OnCancel() override {}

    DECLARE_MESSAGE_MAP()

protected:
    void OnSize(UINT type, int cx, int cy);
    void OnClose();
    void OnDestroy();
    LRESULT OnFollow(WPARAM, LPARAM);
    void OnListActivate(NMHDR* header, LRESULT* result);
    void OnListKeyDown(NMHDR* header, LRESULT* result);
    void OnListCustomDraw(NMHDR* header, LRESULT* result);

private:
    // Builds the table from the log through the library (bound only for
    // this), telling a failure once per state of the log file.
    void ReadLog();
    // Reads the log again when vireon.vdb differs from when it was read.
    void ReadLogIfChanged();
    void ShowMatches();
    void SetStatus(const std::string& text);
    void RestorePlacement(HWND owner);
    void ChooseRow(int position);

    SettingsStore* settings_;
    ReportList list_;
    ListRows rows_;
    std::vector<CheckRowLook> looks_;
    CallTable table_;
    StatusBar statusBar_;
    HFONT boldFont_ = nullptr;
    std::string text_;          // the call box's text, as last told
    std::string statusText_;
    bool updatePending_ = false;
    bool open_ = false;         // shown by the operator (also while the owner is minimised)
    bool placed_ = false;       // restored once; from then on the window keeps its place
    // The log file as it was when the table was read, and whether that read
    // failed (then the failure was told, once for this state of the file).
    IndexFileStamp logStamp_;
    bool logRead_ = false;
    bool logUnreadable_ = false;
};

// Names of the window's settings, in the program's settings file.
extern const char kCheckLeftKey[], kCheckTopKey[], kCheckWidthKey[], kCheckHeightKey[], kCheckOpenKey[];
