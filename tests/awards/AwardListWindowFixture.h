// The fixture of the award result list's window tests: a small log and
// master, the filter, the list shown for it, and what the tests use to read
// the window and to answer the dialogs it opens.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "AwardWindowFixture.h"
#include "GuiDriver.h"
#include "app/MainWindowPlacement.h"
#include "app/ProgramObjects.h"
#include "awards/AwardFilter.h"
#include "awards/AwardList.h"
#include "awards/AwardListDialog.h"
#include "res/resource.h"

namespace awardlist {

using awardgui::ColumnOf;
using awardgui::Rows;
using Row = std::vector<std::string>;

// The test log, in date order, the order the log keeps: every kind counts
// them.
extern const std::vector<awardgui::Qso> kLog;

void SetFilter(int32_t kind, int32_t start, int32_t end, int32_t unworked = 0, int32_t full = 0);

class AwardListWindowTest : public awardgui::AwardWindowTest {
protected:
    void SetUp() override;

    // Shows the list for the current filter and hands its window and list
    // control to check().
    void ShowList(const std::function<void(HWND, HWND)>& check) {
        AwardListDialog list(AwardFilter, MainWindowPlacement, ColumnSortState, TheAwardResults);
        gui::RunModal(list, [&](HWND window) { check(window, ::GetDlgItem(window, IDC_AWARDLIST)); });
    }
};

// A size the list gives in pixels at 96 DPI, at the DPI the test runs at.
int Px(int pixels96);
void ExpectWindowRect(HWND window, int left, int top, int width, int height);

std::string StatusOf(HWND window);
std::string StatusTip(HWND window, int barId);

// The save dialog titled `title`, once it shows: the name it offers, then
// `path` typed into its name box (as UTF-16, as the keyboard gives it) and
// saved. The dialog may still be open afterwards (a question on top).
std::string TypeIntoSaveDialog(const std::string& title, const std::wstring& path, HWND* dialogOut = nullptr);
// The same with a path in the code page, the dialog then closed.
std::string AnswerSaveDialog(const std::string& title, const std::string& path);
std::wstring Wide(const std::string& cp932);

// A window of this process whose class is `className` and that `accept`s.
HWND FindOwnWindow(const char* className, const std::function<bool(HWND)>& accept);
// The save dialog's question whether to replace a file, answered Yes.
void AnswerReplaceYes();
// The program's message box, once it shows, with an OK button and the
// exclamation icon: its text, the box closed. "" when none shows.
std::string TakeMessage(HWND window, int timeoutMs = 10000);

// The files of a folder (not its subfolders), by name.
std::vector<std::wstring> FilesIn(const std::wstring& folder);
void WriteWide(const std::wstring& path, const std::string& bytes);
// The titles and rows of a list as shown, joined as the program copies them.
std::string Joined(HWND list, const Rows& rows, char separator);

}  // namespace awardlist
