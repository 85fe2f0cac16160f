// What the award window tests share: a test folder entered as the current
// directory with the stand-in library, a log made by vireon-tool from an
// ADIF text and an area master made from small JARL-style lists, and
// helpers that read the windows back from the driver thread.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "TestSupport.h"

namespace awardgui {

using test::Qso;

// One entry line of a JARL city or county list; deletedOn is the list's
// date text ("Mar.31,2010") of a deleted entry, "" for an existing one.
using test::JarlListLine;

class AwardWindowTest : public ::testing::Test {
protected:
    AwardWindowTest() : dir_("award-gui", true) {}
    void TearDown() override;

    const test::TempDir& Dir() const { return dir_; }
    void UseLibrary();
    void MakeLog(const std::vector<Qso>& qsos);
    void MakeMaster(const std::string& jccLines, const std::string& jcgLines);
    // The master of the check dialog tests: cities 0101, 0102, 0103 (deleted
    // 2010-03), 0104 (deleted 2010-04), 0105 (deleted 2009-12), 1001, 1002;
    // counties 01001, 01002 (deleted 2009-03).
    void MakeSmallMaster();
    // Binds the library, loads the tables from vireon.mst and releases it.
    void LoadTables();

private:
    test::TempDir dir_;
};

// Every award filter field zero, every statistics table zero and the sort
// state as at program start: each test starts from the program's start.
void ResetAwardState();

// Reading the windows from the driver thread (each call is a message to the
// dialog's thread).
using Rows = std::vector<std::vector<std::string>>;
Rows ReadListRows(HWND list);
std::vector<std::string> ColumnOf(const Rows& rows, int column);
struct ColumnInfo {
    std::string Title;
    int Width;
    int Format;   // LVCFMT_LEFT or LVCFMT_RIGHT
};
std::vector<ColumnInfo> ReadColumns(HWND list);
bool IsTicked(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
std::string BoxText(HWND dialog, int id);
// Puts a text into an edit box, as the keyboard would leave it.
void SetBoxText(HWND dialog, int id, const std::string& text);
// A click on a button (check box, radio button, push button) through the
// dialog's queue.
void Click(HWND dialog, int id);
// A click on a column header of the list, as the header reports it.
void ClickColumn(HWND dialog, HWND list, int column);
// The result list window opened above `check` by its Search, or null when
// none opened; the dialog's thread has handled the click either way.
HWND SearchAndWaitForList(HWND check, int searchId);
// Closes a modal window and waits until the window under it is usable again.
void CloseAndWait(HWND window, HWND under);
// The save dialog titled `title`, once it shows: the name it offers, then
// `path` typed into its name box and saved.
std::string AnswerSaveDialog(const std::string& title, const std::string& path);

}  // namespace awardgui
