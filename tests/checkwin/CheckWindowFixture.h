// The main window run for real in a test folder: the stand-in library, a
// log made by vireon-tool, an INI file of the test's own, and helpers that
// type into the window and read it back from the driver thread.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GuiDriver.h"
#include "TestSupport.h"
#include "app/SettingsFile.h"
#include "checkwin/CallsignCheckDialog.h"

namespace checkwin_test {

using test::Qso;
// A QSO of these tests: a station on a date, with its code, name and QTH
// (UTF-8, stored as code page 932); at 12:00 on 7.041 MHz FT8, not confirmed.
inline Qso Station(const std::string& call, const std::string& date, const std::string& cnty = "",
                   const std::string& name = "", const std::string& qth = "") {
    Qso q;
    q.Call = call;
    q.Date = date;
    q.Time = "1200";
    q.Cnty = cnty;
    q.Name = name;
    q.Qth = qth;
    return q;
}

// Texts as the program holds them, code page 932.
std::string Cp932(const std::wstring& text);

struct MessageBoxSeen {
    HWND Window = nullptr;
    std::string Caption, Text;
    int Buttons = 0;          // push buttons in the box
    bool HasOkButton = false;
    bool Exclamation = false;  // the icon shown is the exclamation icon
};

class CheckWindowTest : public ::testing::Test {
protected:
    CheckWindowTest();
    ~CheckWindowTest() override;

    // Writes the QSOs as ADIF and imports them: vireon.vdb and vireon.dx0.
    void MakeLog(const std::vector<Qso>& qsos);
    void GenerateLog(int count);
    // vireon.mst from the team's demo lists (demodata/): 1001 deleted 2010-03,
    // its wards 100101... by themselves, cities 0101..., counties 01004 (deleted), 01005...
    void MakeDemoMaster();
    void UseLibrary(bool present);
    std::string IniPath() const { return folder_.File("CallsignCheck.ini"); }
    std::string IniText() const { return test::ReadFileBytes(IniPath()); }
    // A fresh settings object, as the program has at each start.
    SettingsFile* Settings();

    // Runs a new main window modally with driver(window) on a second thread.
    INT_PTR Run(const std::function<void(HWND)>& driver);
    CallsignCheckDialog& Dialog() { return *dialog_; }

    const test::TempDir& Folder() const { return folder_; }

private:
    test::TempDir folder_;
    std::unique_ptr<SettingsFile> settings_;
    std::unique_ptr<CallsignCheckDialog> dialog_;
};

// ---- driving the window from the driver thread

void Type(HWND main, const std::string& text);   // into the call-sign box
void Press(HWND target, UINT vk);                // posts the key, waits until handled
std::string CallBox(HWND main);
std::string CountBox(HWND main);
std::string StatusBar(HWND main);   // the status bar's text
void SetLink(HWND main, bool on);

// The rows as the list control shows them, selected columns (all when empty).
std::vector<std::vector<std::string>> ListRows(HWND main, const std::vector<int>& columns = {});
std::vector<std::string> ListColumn(HWND main, int column);
int ListCount(HWND main);
void SelectRow(HWND main, int position);   // -1: none
void ClickHeader(HWND main, int column);
void NotifyList(HWND main, UINT code);     // NM_DBLCLK, NM_RCLICK

// A message box the main window owns, once it shows (Window null if none).
MessageBoxSeen WaitForMessageBox(HWND main, int timeoutMs = 10000);
void Dismiss(const MessageBoxSeen& box);

}  // namespace checkwin_test
