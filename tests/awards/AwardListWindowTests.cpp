// The award result list window on its own: columns, rows and cells of each
// award kind from a real tally, the sort by header clicks, the placement
// and the resize, the window without the logging library, and what a chaser
// takes out of the list (totals, copies, the menu, the band grid, the QSOs).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "AwardListWindowFixture.h"
#include "GuiDriver.h"
#include "app/MainWindowPlacement.h"
#include "app/ProgramObjects.h"
#include "awards/AwardFilter.h"
#include "awards/AwardList.h"
#include "awards/AwardListDialog.h"
#include "logstore/AreaMaster.h"
#include "res/resource.h"

namespace {

using namespace awardlist;

TEST_F(AwardListWindowTest, AjdListsTheTenCallAreasOneToNineThenZero) {
    SetFilter(Ajd, 0, 20501231);
    ShowList([](HWND window, HWND list) {
        EXPECT_EQ(gui::WindowText(window), "\x88\xEA\x97\x97");   // 一覧
        EXPECT_EQ(::SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0x31, 0x31);
        const auto columns = awardgui::ReadColumns(list);
        ASSERT_EQ(columns.size(), 5u);
        EXPECT_EQ(columns[1].Title, "\xB4\xD8\xB1");   // ｴﾘｱ
        EXPECT_EQ(columns[1].Width, Px(33));
        EXPECT_EQ(columns[1].Format, LVCFMT_RIGHT);
        EXPECT_EQ(columns[2].Title, "\x8F\x89\x89\xF1\x8C\xF0\x90\x4D\x93\xFA");   // 初回交信日
        EXPECT_EQ(columns[4].Width, Px(50));

        const Rows rows = awardgui::ReadListRows(list);
        const Rows want = {
            {"Cfm", "1", "2010/01/05", "2013/01/01", "4"},
            {"", "2", "", "", "0"},
            {"", "3", "", "", "0"},
            {"", "4", "", "", "0"},
            {"", "5", "", "", "0"},
            {"Cfm", "6", "1999/12/31", "", "1"},
            {"", "7", "", "", "0"},
            {"Cfm", "8", "2009/05/01", "2011/05/13", "4"},
            {"", "9", "", "", "0"},
            {"Wkd", "0", "2012/03/01", "", "2"},
        };
        EXPECT_EQ(rows, want);
        ExpectWindowRect(window, 50, 40, Px(310), Px(205));
    });
}

TEST_F(AwardListWindowTest, WajaListsTheFortySevenPrefecturesByNumber) {
    SetFilter(Waja, 0, 20501231);
    ShowList([](HWND window, HWND list) {
        const Rows rows = awardgui::ReadListRows(list);
        ASSERT_EQ(rows.size(), 47u);
        EXPECT_EQ(rows[0], (Row{"Cfm", "\x96\x6B\x8A\x43\x93\xB9", "2009/05/01", "2011/05/13", "4"}));   // 北海道
        EXPECT_EQ(rows[7], (Row{"Wkd", "\x90\x56\x8A\x83\x8C\xA7", "2012/03/01", "", "2"}));   // 新潟県
        EXPECT_EQ(rows[9], (Row{"Cfm", "\x93\x8C\x8B\x9E\x93\x73", "2010/01/05", "2012/01/01", "3"}));   // 東京都
        EXPECT_EQ(rows[10], (Row{"Wkd", "\x90\x5F\x93\xDE\x90\xEC", "2013/01/01", "", "1"}));   // 神奈川
        EXPECT_EQ(rows[46], (Row{"Cfm", "\x89\xAB\x93\xEA\x8C\xA7", "1999/12/31", "", "1"}));   // 沖縄県
        EXPECT_EQ(rows[1], (Row{"", "\x90\xC2\x90\x58\x8C\xA7", "", "", "0"}));   // 青森県
        EXPECT_EQ(awardgui::ReadColumns(list)[2].Format, LVCFMT_LEFT);
        ExpectWindowRect(window, 50, 40, Px(355), 333);
    });
}

TEST_F(AwardListWindowTest, JccRowsFollowTheHiddenMarksAndTheChosenList) {
    struct Case {
        const char* what;
        int32_t kind, start, unworked, full;
        bool hideDeleted;
        std::vector<std::string> codes;   // column 2 of every row, in order
    };
    const Case cases[] = {
        {"worked", Jcc, 0, 0, 0, false, {"0101  ", "0104  ", "1001  ", "1002  "}},
        {"worked, deleted hidden", Jcc, 0, 0, 0, true, {"0101  ", "1001  ", "1002  "}},
        {"unworked", Jcc, 0, 1, 0, false, {"0102  ", "0103  ", "0105  "}},
        {"unworked, deleted hidden", Jcc, 0, 1, 0, true, {"0102  "}},
        // From April 2010: 0103 and 0105 went before it and are not worked
        // since; 0104 went in that month and stays; the mark plays no part.
        {"full list from 2010-04", Jcc, 20100401, 0, 1, true, {"0101  ", "0102  ", "0104  ", "1001  ", "1002  "}},
        {"both options", Jcc, 0, 1, 1, false, {}},
        {"JCG worked", Jcg, 0, 0, 0, false, {"01001 "}},
        {"JCG unworked", Jcg, 0, 1, 0, false, {"01002 "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetFilter(c.kind, c.start, 20501231, c.unworked, c.full);
        for (AreaEntry* table : {JccTable, JcgTable})
            for (int i = 0; i < kAreaTableSize; ++i)
                if (table[i].DeletedYm != 0) table[i].Hidden = c.hideDeleted ? 1 : 0;
        ShowList([&](HWND window, HWND list) {
            const Rows rows = awardgui::ReadListRows(list);
            EXPECT_EQ(ColumnOf(rows, 2), c.codes);
            for (size_t i = 0; i < rows.size(); ++i) {
                char number[8];
                std::snprintf(number, sizeof number, "%4d", static_cast<int>(i + 1));
                EXPECT_EQ(rows[i][0], number);
            }
            ExpectWindowRect(window, 50, 40, Px(600), 333);
        });
    }
}

TEST_F(AwardListWindowTest, JccCellsShowTheEntryAndItsStatistics) {
    SetFilter(Jcc, 20100401, 20501231, 0, 1);
    ShowList([](HWND, HWND list) {
        const auto columns = awardgui::ReadColumns(list);
        ASSERT_EQ(columns.size(), 7u);
        EXPECT_EQ(columns[3].Title, "Qth");
        EXPECT_EQ(columns[3].Width, Px(210));
        EXPECT_EQ(columns[1].Format, LVCFMT_RIGHT);
        const Rows rows = awardgui::ReadListRows(list);
        ASSERT_EQ(rows.size(), 5u);
        EXPECT_EQ(rows[0], (Row{"   1", "Cfm", "0101  ", "\x8E\x44\x96\x79", "2011/05/13", "", "1"}));   // 札幌
        EXPECT_EQ(rows[2][1], "") << "0104's only QSO is before the start date";
        EXPECT_NE(rows[2][3].find("*10/04"), std::string::npos) << rows[2][3] << ": the deletion mark stays in the name";
        EXPECT_EQ(rows[3], (Row{"   4", "Wkd", "1001  ", JccTable[5].Name, "2012/01/01", "", "1"}));
    });
}

TEST_F(AwardListWindowTest, ColumnClicksSortAndTheStateCarriesToTheNextList) {
    SetFilter(Ajd, 0, 20501231);
    ShowList([](HWND window, HWND list) {
        awardgui::ClickColumn(window, list, 0);
        EXPECT_EQ(ColumnOf(awardgui::ReadListRows(list), 0),
                  (std::vector<std::string>{"Wkd", "Cfm", "Cfm", "Cfm", "", "", "", "", "", ""}));
        awardgui::ClickColumn(window, list, 0);
        EXPECT_EQ(ColumnOf(awardgui::ReadListRows(list), 0),
                  (std::vector<std::string>{"", "", "", "", "", "", "Cfm", "Cfm", "Cfm", "Wkd"}));
        const Rows before = awardgui::ReadListRows(list);
        for (int column : {2, 3, 4, 7}) awardgui::ClickColumn(window, list, column);
        EXPECT_EQ(awardgui::ReadListRows(list), before) << "dates and counts do not sort";
        awardgui::ClickColumn(window, list, 1);
        EXPECT_EQ(ColumnOf(awardgui::ReadListRows(list), 1),
                  (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
        awardgui::ClickColumn(window, list, 0);   // descending; the next click on 0 sorts ascending
    });

    SetFilter(Jcc, 0, 20501231);
    ShowList([](HWND window, HWND list) {
        const std::vector<std::string> tableOrder = {"   1", "   2", "   3", "   4"};
        awardgui::ClickColumn(window, list, 0);
        EXPECT_EQ(ColumnOf(awardgui::ReadListRows(list), 0), tableOrder) << "ascending, as the AJD list left it";
        awardgui::ClickColumn(window, list, 0);
        EXPECT_EQ(ColumnOf(awardgui::ReadListRows(list), 0),
                  (std::vector<std::string>{"   4", "   3", "   2", "   1"}));
        // A row keeps its cells together when the rows move.
        const Rows rows = awardgui::ReadListRows(list);
        EXPECT_EQ(rows[0][2], "1002  ");
        EXPECT_EQ(rows[0][4], "2010/01/05");
    });
}

TEST_F(AwardListWindowTest, TheListFillsTheWindowAtEverySize) {
    SetFilter(Waja, 0, 20501231);
    ShowList([](HWND window, HWND list) {
        for (SIZE size : {SIZE{400, 300}, SIZE{250, 120}, SIZE{900, 700}}) {
            ::SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
            gui::Settle(window);
            RECT client;
            ::GetClientRect(window, &client);
            RECT got = gui::ClientRectOf(list);
            const RECT bar = gui::ClientRectOf(::GetDlgItem(window, IDC_AWARDSTATUS));
            EXPECT_EQ(got.left, 0);
            EXPECT_EQ(got.top, 0);
            EXPECT_EQ(got.right, client.right);
            EXPECT_EQ(got.bottom, bar.top) << "the list ends where the status bar begins";
            EXPECT_EQ(bar.bottom, client.bottom);
            EXPECT_EQ(bar.right, client.right);
            EXPECT_GT(bar.bottom - bar.top, 0);
        }
    });
}

TEST_F(AwardListWindowTest, ALogThatCannotBeOpenedIsToldOnceAndListsAsAnEmptyLogDoes) {
    const std::string good = test::ReadFileBytes(Dir().File("vireon.vdb"));
    struct Case {
        const char* what;
        std::string log;
        int32_t kind, unworked;
        bool told;
        size_t rows;   // every area, not worked
    };
    const std::string garbage(good.size(), '\x5a');
    const Case cases[] = {
        {"AJD", garbage, Ajd, 0, true, 10},
        {"WAJA", garbage, Waja, 0, true, 47},
        {"JCC unworked", garbage, Jcc, 1, true, 7},
        {"JCG worked", garbage, Jcg, 0, true, 0},
        {"AJD, no records", test::WithNoRecords(good), Ajd, 0, false, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::WriteFileBytes(Dir().File("vireon.vdb"), c.log);
        SetFilter(c.kind, 0, 20501231, c.unworked);
        ShowList([&](HWND window, HWND list) {
            // The list's initialisation shows the box before the window.
            HWND box = c.told ? gui::WaitFor([] { return gui::FindProcessWindow("award_list_window_tests"); })
                              : gui::FindProcessWindow("award_list_window_tests");
            EXPECT_EQ(box != nullptr, c.told);
            if (box) {
                EXPECT_NE(::FindWindowExA(box, nullptr, "Static", "vireon.vdb を開けません"), nullptr);
                EXPECT_NE(::GetDlgItem(box, IDOK), nullptr);
                ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                ASSERT_TRUE(gui::WaitUntil([&] { return !::IsWindow(box); }));
                gui::Settle(window);
                EXPECT_EQ(gui::FindProcessWindow("award_list_window_tests"), nullptr) << "one message";
            }
            const Rows rows = awardgui::ReadListRows(list);
            EXPECT_EQ(rows.size(), c.rows);
            for (const Row& row : rows) EXPECT_EQ(row.back(), "0");
        });
        for (const AreaStat& a : TheAwardResults.Areas) EXPECT_EQ(a.QsoCount, 0);
    }
}

TEST_F(AwardListWindowTest, WithoutTheLibraryTheListKeepsItsHeadersItsTemplateSizeAndThePreviousResult) {
    SetFilter(Waja, 0, 20501231);
    ShowList([](HWND, HWND) {});   // a first result of the program's lists
    const AreaStat before = TheAwardResults.Areas[1];
    ASSERT_EQ(before.QsoCount, 4);
    test::RemoveFile(Dir().File(test::LibraryFileName()));

    AwardListDialog list(AwardFilter, MainWindowPlacement, ColumnSortState, TheAwardResults);
    gui::RunModal(list, [&](HWND window) {
        // "<executable's base name>": the program names its message boxes so.
        HWND box = gui::WaitFor([] { return gui::FindProcessWindow("award_list_window_tests"); });
        ASSERT_NE(box, nullptr) << "the missing library is reported";
        EXPECT_NE(::FindWindowExA(box, nullptr, "Static",
                                  "VIREON50.DLL\x82\xAA\x82\xDD\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1"),
                  nullptr);   // VIREON50.DLLがみつかりません
        EXPECT_NE(::GetDlgItem(box, IDOK), nullptr);
        HICON exclamation = ::LoadIconA(nullptr, IDI_EXCLAMATION);
        bool iconShown = false;
        for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
            if ((::GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && gui::ClassOf(c) == "Static")
                iconShown = iconShown || reinterpret_cast<HICON>(::SendMessageA(c, STM_GETICON, 0, 0)) == exclamation;
        EXPECT_TRUE(iconShown) << "the exclamation icon";
        HWND cancel = ::GetDlgItem(box, IDCANCEL);
        EXPECT_TRUE(!cancel || !::IsWindowVisible(cancel)) << "OK only";
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(gui::WaitUntil([&] { return !::IsWindow(box); }));
        gui::Settle(window);

        HWND control = ::GetDlgItem(window, IDC_AWARDLIST);
        EXPECT_EQ(awardgui::ReadColumns(control).size(), 5u);
        EXPECT_EQ(::SendMessageA(control, LVM_GETITEMCOUNT, 0, 0), 0);
        RECT client;
        ::GetClientRect(window, &client);
        RECT want = gui::DialogUnitsToPixels(window, 0, 0, 184, 101);
        EXPECT_EQ(client.right, want.right);
        EXPECT_EQ(client.bottom, want.bottom);
    });
    EXPECT_EQ(TheAwardResults.Areas[1].QsoCount, before.QsoCount);
    EXPECT_EQ(TheAwardResults.Areas[1].FirstDate, before.FirstDate);
}


// ---- What a chaser takes out of the list ------------------------------------

TEST_F(AwardListWindowTest, TheStatusBarGivesTheTotalsOfTheAwardWhateverRowsAreShown) {
    struct { int32_t kind; int32_t unworked; const char* text; } cases[] = {
        {Waja, 0, "Cfm 3  Wkd 2  全 47"},
        {Jcc, 0, "Cfm 2  Wkd 2  全 7  JCC-100 まで 98"},
        {Jcc, 1, "Cfm 2  Wkd 2  全 7  JCC-100 まで 98"},
    };
    for (const auto& c : cases) {
        SetFilter(c.kind, 0, 20501231, c.unworked);
        ShowList([&](HWND window, HWND) { EXPECT_EQ(StatusOf(window), c.text) << c.kind << "/" << c.unworked; });
    }
}

TEST_F(AwardListWindowTest, CtrlAAndCtrlCPutTheRowsOnTheClipboardAndNothingWithoutASelection) {
    SetFilter(Ajd, 0, 20501231);
    ShowList([](HWND window, HWND list) {
        gui::SetClipboardText("before");
        gui::PostCtrlKey(list, 'C');
        EXPECT_EQ(gui::ClipboardText(), "before") << "no row selected: the clipboard keeps its text";
        gui::PostCtrlKey(list, 'A');
        EXPECT_EQ(::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 10);
        awardgui::ClickColumn(window, list, 0);   // copied in the order shown
        gui::PostCtrlKey(list, 'C');
        const std::string want = Joined(list, awardgui::ReadListRows(list), '\t');
        EXPECT_EQ(gui::ClipboardText(), want);
        const std::wstring unicode = gui::ClipboardUnicode();
        EXPECT_EQ(unicode.substr(0, 4), L"C/W\t");
        EXPECT_NE(unicode.find(L"\uFF74\uFF98\uFF71"), std::wstring::npos) << "ｴﾘｱ as Unicode";
    });
}

TEST_F(AwardListWindowTest, TheContextMenuOffersTheCommandsAndTheBandGridShowsTheAreasByBand) {
    SetFilter(Jcc, 0, 20501231);
    ShowList([](HWND window, HWND list) {
        // The right-click runs the menu's own loop on the window's thread.
        std::thread click([&] {
            NMITEMACTIVATE nm{};
            nm.hdr.hwndFrom = list;
            nm.hdr.idFrom = IDC_AWARDLIST;
            nm.hdr.code = NM_RCLICK;
            nm.iItem = -1;
            ::SendMessageA(window, WM_NOTIFY, IDC_AWARDLIST, reinterpret_cast<LPARAM>(&nm));
        });
        HWND menuWindow = gui::WaitFor([] { return ::FindWindowA("#32768", nullptr); });
        ASSERT_NE(menuWindow, nullptr);
        HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
        std::vector<std::string> items;
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            char text[64] = {};
            ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            items.push_back(text);
        }
        EXPECT_EQ(items, (std::vector<std::string>{"コピー\tCtrl+C", "すべて選択\tCtrl+A", "CSV で保存...\tCtrl+S",
                                                   "申請リストを保存...\tCtrl+L", "バンド別表示\tCtrl+B",
                                                   "地図\tCtrl+M"}));
        ::PostMessageA(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
        click.join();

        gui::PostCtrlKey(list, 'B', [&] { return gui::WaitForModalAbove(window, 100) != nullptr; });
        HWND grid = gui::WaitForModalAbove(window);
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(gui::WindowText(grid), "バンド別");
        HWND gridList = ::GetDlgItem(grid, IDC_AWARDLIST);
        std::vector<std::string> titles;
        for (const auto& c : awardgui::ReadColumns(gridList)) titles.push_back(c.Title);
        EXPECT_EQ(titles.size(), 3u + kBandCount);
        EXPECT_EQ(titles[3 + 4], "14");
        const Rows rows = awardgui::ReadListRows(gridList);
        // The worked list's four areas (0101, 0104, 1001, 1002), then the totals.
        ASSERT_EQ(rows.size(), 5u);
        EXPECT_EQ(rows[0][1], "0101  ");
        EXPECT_EQ(rows[0][3 + 4], "C") << "0101 confirmed on 14 MHz";
        EXPECT_EQ(rows[1][3 + 4], "W") << "0104 worked before its deletion";
        EXPECT_EQ(rows[0][3 + 2], "");
        EXPECT_EQ(rows[4][0], "計");
        EXPECT_EQ(rows[4][3 + 4], "2");
        EXPECT_EQ(rows[4][3 + 2], "0");
        EXPECT_EQ(StatusOf(grid), "Cfm 2  Wkd 2  全 7  JCC-100 まで 98");
        awardgui::CloseAndWait(grid, window);
    });
}

// Enter on a result row, a double click on a grid cell: the QSOs behind
// them in a window over the list, in the QSO list's columns.
TEST_F(AwardListWindowTest, EnterOnARowAndADoubleClickOnAGridCellShowTheQsosBehindThem) {
    SetFilter(Jcc, 0, 20501231);
    ShowList([](HWND window, HWND list) {
        auto select = [](HWND l, int position) {
            LVITEMA item{};
            item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
            ::SendMessageA(l, LVM_SETITEMSTATE, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&item));
        };
        auto recNos = [](HWND qsos) {
            std::vector<int> numbers;
            for (const auto& cell : ColumnOf(awardgui::ReadListRows(::GetDlgItem(qsos, IDC_AWARDLIST)), 0))
                numbers.push_back(std::atoi(cell.c_str()));
            return numbers;
        };
        // The worked list: 0101, 0104, 1001, 1002.
        select(list, 3);
        gui::PostKey(list, VK_RETURN);
        HWND qsos = gui::WaitForModalAbove(window);
        ASSERT_NE(qsos, nullptr);
        EXPECT_EQ(gui::WindowText(qsos), "1002 八王子");
        EXPECT_EQ(recNos(qsos), (std::vector<int>{3, 6}));
        const auto titles = awardgui::ReadColumns(::GetDlgItem(qsos, IDC_AWARDLIST));
        ASSERT_EQ(titles.size(), 15u) << "the QSO list's columns";
        EXPECT_EQ(StatusOf(qsos), "JCC 1002 八王子  Cfm 14  /  Cfm CW");
        awardgui::CloseAndWait(qsos, window);
        EXPECT_TRUE(::IsWindowVisible(window)) << "Enter on a row leaves the list open";

        gui::PostCtrlKey(list, 'B', [&] { return gui::WaitForModalAbove(window, 100) != nullptr; });
        HWND grid = gui::WaitForModalAbove(window);
        ASSERT_NE(grid, nullptr);
        HWND gridList = ::GetDlgItem(grid, IDC_AWARDLIST);
        struct Cell {
            int row, column;
            const char* caption;
            std::vector<int> recNos;
            const char* status;
        };
        const Cell cells[] = {
            {0, 3 + 4, "0101 札幌", {2, 7}, "JCC 0101 札幌  Cfm 14  /  Cfm CW"},
            {0, 3 + 2, "0101 札幌", {}, "JCC 0101 札幌  未交信"},       // 7 MHz: none
            {2, 1, "1001 東京23区", {8}, "JCC 1001 東京23区  Wkd 14  /  Wkd CW"},   // the code: every band
        };
        for (const Cell& c : cells) {
            SCOPED_TRACE(c.caption + std::to_string(c.column));
            // The notification as the list sends it, on the window's thread: the
            // window it opens is modal, so the sender waits in a thread of its own.
            std::thread click([&] {
                NMITEMACTIVATE nm{};
                nm.hdr.hwndFrom = gridList;
                nm.hdr.idFrom = IDC_AWARDLIST;
                nm.hdr.code = NM_DBLCLK;
                nm.iItem = c.row;
                nm.iSubItem = c.column;
                ::SendMessageA(grid, WM_NOTIFY, IDC_AWARDLIST, reinterpret_cast<LPARAM>(&nm));
            });
            HWND cellQsos = gui::WaitForModalAbove(grid);
            EXPECT_NE(cellQsos, nullptr);
            if (cellQsos) {
                EXPECT_EQ(gui::WindowText(cellQsos), c.caption);
                EXPECT_EQ(recNos(cellQsos), c.recNos);
                EXPECT_EQ(StatusOf(cellQsos), c.status);
                awardgui::CloseAndWait(cellQsos, grid);
            }
            click.join();
        }
        awardgui::CloseAndWait(grid, window);
    });
}

TEST_F(AwardListWindowTest, AStatusTooLongForTheBarEndsInAnEllipsisAndIsWholeInItsTooltip) {
    SetFilter(Jcc, 0, 20501231);
    const std::string whole = "Cfm 2  Wkd 2  全 7  JCC-100 まで 98";
    ShowList([&](HWND window, HWND) {
        RECT r;
        ::GetWindowRect(window, &r);
        ::SetWindowPos(window, nullptr, 0, 0, Px(170), r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
        gui::Settle(window);
        const std::string shown = StatusOf(window);
        ASSERT_GE(shown.size(), 2u);
        EXPECT_EQ(shown.substr(shown.size() - 2), "…") << shown;
        EXPECT_LT(shown.size(), whole.size());
        EXPECT_EQ(whole.rfind(shown.substr(0, shown.size() - 2), 0), 0u) << shown << ": the start of the text";
        EXPECT_EQ(StatusTip(window, IDC_AWARDSTATUS), whole);
        // Wide again: all of it, and no tooltip.
        ::SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
        gui::Settle(window);
        EXPECT_EQ(StatusOf(window), whole);
        EXPECT_EQ(StatusTip(window, IDC_AWARDSTATUS), "");
    });
}

}  // namespace
