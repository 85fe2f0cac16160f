// The QSO list: header-click sorting and its state, the list following the
// window's size; the window's placement and column widths in the INI file.
#include <algorithm>
#include <sstream>

#include "CheckWindowFixture.h"
#include "checkwin/CheckRules.h"
#include "checkwin/PlacementRules.h"
#include "res/resource.h"

namespace checkwin_test {
namespace {

const std::vector<Qso> kLog = {
    Station("JA1XYZ", "20210101", "1001", "", ""),
    Station("JA1ABC", "20210102", "100101", "", ""),
    Station("JA1MMM", "20210103", "0101", "", ""),
    Station("JA1ABC/2", "20210104", "01001A", "", ""),
};

std::vector<std::string> Sorted(std::vector<std::string> texts, bool descending) {
    std::stable_sort(texts.begin(), texts.end(), [&](const std::string& a, const std::string& b) {
        const int c = CompareCellText(a.c_str(), b.c_str());
        return descending ? c > 0 : c < 0;
    });
    return texts;
}

class ListTest : public CheckWindowTest {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(MakeLog(kLog)); }
};

TEST_F(ListTest, HeaderClicksSortSortableColumnsAlternatelyAndLeaveTheOthers) {
    Run([&](HWND main) {
        HWND box = ::GetDlgItem(main, IDC_CALLSIGN);
        for (int column = 0; column < kQsoColumnCount; ++column) {
            SCOPED_TRACE(QsoColumns[column].Title);
            Type(main, "JA1");
            Press(box, VK_F3);
            auto inSearchOrder = ListRows(main);
            ASSERT_EQ(inSearchOrder.size(), 4u);
            std::vector<std::string> texts = ListColumn(main, column);
            int first = QsoColumns[column].InitialSort;
            for (int click = 0; click < 3; ++click) {
                ClickHeader(main, column);
                gui::Settle(main);
                if (first < 0) {
                    EXPECT_EQ(ListRows(main), inSearchOrder) << "not sortable";
                } else {
                    bool descending = (first + click) % 2 == 1;
                    EXPECT_EQ(ListColumn(main, column), Sorted(texts, descending)) << "click " << click;
                }
            }
        }
        // Rec.No sorts descending first; its blanks make it sort by number.
        Type(main, "JA1");
        Press(box, VK_F3);
        EXPECT_EQ(ListColumn(main, 0), (std::vector<std::string>{"     1", "     2", "     3", "     4"}));
    });
}

TEST_F(ListTest, SortStateLastsAcrossLookupsAndTheSelectionStaysOnItsRow) {
    Run([&](HWND main) {
        HWND box = ::GetDlgItem(main, IDC_CALLSIGN);
        Type(main, "JA1");
        Press(box, VK_F3);
        SelectRow(main, 0);   // JA1XYZ
        ClickHeader(main, 1);
        gui::Settle(main);
        EXPECT_EQ(ListColumn(main, 1), (std::vector<std::string>{"JA1ABC", "JA1ABC/2", "JA1MMM", "JA1XYZ"}));
        EXPECT_EQ(::SendMessageA(::GetDlgItem(main, IDC_QSOLIST), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                 LVNI_SELECTED), 3);
        // A new search lists in its own order; the next click goes on from
        // the state the last one left.
        Type(main, "JA1");
        Press(box, VK_F3);
        EXPECT_EQ(ListColumn(main, 1), (std::vector<std::string>{"JA1XYZ", "JA1ABC", "JA1MMM", "JA1ABC/2"}));
        ClickHeader(main, 1);
        gui::Settle(main);
        EXPECT_EQ(ListColumn(main, 1), (std::vector<std::string>{"JA1XYZ", "JA1MMM", "JA1ABC/2", "JA1ABC"}));
        EXPECT_EQ(Dialog().SortDirection(1), 0);
    });
}

// A size the window gives in pixels at 96 DPI, at the DPI the test runs at
// (the prefix's; every window of the program has the system's DPI).
int Px(int pixels96) { return ScaleToDpi(pixels96, SystemDpi()); }

TEST_F(ListTest, CtrlAAndCtrlCCopyTheRowsWhileTheListHasTheFocus) {
    Run([&](HWND main) {
        Type(main, "JA1");
        Press(::GetDlgItem(main, IDC_CALLSIGN), VK_F3);
        HWND list = ::GetDlgItem(main, IDC_QSOLIST);
        ::SendMessageA(main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
        gui::PostCtrlKey(list, 'A');
        EXPECT_EQ(::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 4);
        gui::PostCtrlKey(list, 'C');
        std::string want;
        for (int c = 0; c < kQsoColumnCount; ++c) want += std::string(c ? "\t" : "") + QsoColumns[c].Title;
        want += "\r\n";
        for (const auto& row : ListRows(main)) {
            for (size_t c = 0; c < row.size(); ++c) want += (c ? "\t" : "") + row[c];
            want += "\r\n";
        }
        EXPECT_EQ(gui::ClipboardText(), want);
        EXPECT_EQ(CallBox(main), "JA1???") << "the keys reach the list, not the call-sign box";
    });
}

// The status bar along the bottom edge of the client area, sized by itself
// to its font (so larger at a higher DPI), and the list between the boxes
// and the bar.
void ExpectListAndStatusBarFill(HWND main) {
    RECT client;
    ::GetClientRect(main, &client);
    RECT bar = gui::ClientRectOf(::GetDlgItem(main, IDC_STATUSBAR));
    EXPECT_EQ(bar.left, 0);
    EXPECT_EQ(bar.right, client.right);
    EXPECT_EQ(bar.bottom, client.bottom);
    EXPECT_GE(bar.bottom - bar.top, Px(18));
    EXPECT_LE(bar.bottom - bar.top, Px(40));
    RECT list = gui::ClientRectOf(::GetDlgItem(main, IDC_QSOLIST));
    EXPECT_EQ(list.left, 0);
    EXPECT_EQ(list.top, Px(50));
    EXPECT_EQ(list.right, client.right);
    EXPECT_EQ(list.bottom, bar.top);
}

TEST_F(ListTest, ListFillsTheClientAreaBetweenTheBoxesAndTheStatusBar) {
    // A size stored by an earlier run is the whole window's, as before the bar.
    test::WriteFileBytes(IniPath(), "[Aplication]\r\nTOP=80\r\nLEFT=90\r\nWIDTH=760\r\nHIGHT=460\r\n");
    Run([&](HWND main) {
        RECT r;
        ::GetWindowRect(main, &r);
        EXPECT_EQ(r.right - r.left, 760);
        EXPECT_EQ(r.bottom - r.top, 460);
        {
            SCOPED_TRACE("at start");
            ExpectListAndStatusBarFill(main);
        }
        for (SIZE size : {SIZE{700, 400}, SIZE{1000, 600}, SIZE{918, 547}}) {
            SCOPED_TRACE(size.cx);
            ::SetWindowPos(main, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
            gui::Settle(main);
            ExpectListAndStatusBarFill(main);
        }
        ::ShowWindow(main, SW_MAXIMIZE);
        gui::Settle(main);
        {
            SCOPED_TRACE("maximised");
            ExpectListAndStatusBarFill(main);
        }
        ::ShowWindow(main, SW_RESTORE);
        gui::Settle(main);
        ::PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(gui::WaitUntil([&] { return !::IsWindow(main); }));
    });
    EXPECT_NE(IniText().find("WIDTH=918"), std::string::npos) << IniText();
    EXPECT_NE(IniText().find("HIGHT=547"), std::string::npos) << IniText();
}

// ---- placement and column widths

// The keys of a section in file order, with their values.
std::vector<std::pair<std::string, std::string>> SectionOf(const std::string& ini, const std::string& section) {
    std::vector<std::pair<std::string, std::string>> keys;
    std::istringstream lines(ini);
    std::string line, current;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line[0] == '[') {
            current = line.substr(1, line.find(']') - 1);
            continue;
        }
        size_t eq = line.find('=');
        if (current == section && eq != std::string::npos) keys.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    }
    return keys;
}

std::vector<std::pair<std::string, std::string>> Expected(int top, int left, int width, int height,
                                                          const std::vector<int>& columns) {
    std::vector<std::pair<std::string, std::string>> keys = {
        {"TOP", std::to_string(top)}, {"LEFT", std::to_string(left)}, {"WIDTH", std::to_string(width)},
        {"HIGHT", std::to_string(height)}};
    for (size_t i = 0; i < columns.size(); ++i) keys.emplace_back("COLUMN" + std::to_string(i), std::to_string(columns[i]));
    return keys;
}

std::vector<int> DefaultWidths() {
    std::vector<int> widths;
    for (const ::ListColumn& c : QsoColumns) widths.push_back(Px(c.Width));
    return widths;
}

std::vector<int> ColumnWidths(HWND main) {
    std::vector<int> widths;
    for (int i = 0; i < kQsoColumnCount; ++i)
        widths.push_back(static_cast<int>(::SendMessageA(::GetDlgItem(main, IDC_QSOLIST), LVM_GETCOLUMNWIDTH, i, 0)));
    return widths;
}

RECT WindowRect(HWND main) {
    RECT r;
    ::GetWindowRect(main, &r);
    return r;
}

void Close(HWND main) {
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(gui::WaitUntil([&] { return !::IsWindow(main); }));
}

TEST_F(CheckWindowTest, WithoutAnIniTheWindowOpensAtTheDefaultsAndClosingStoresEveryKeyInOrder) {
    ASSERT_FALSE(test::FileExists(IniPath()));
    Run([&](HWND main) {
        RECT r = WindowRect(main);
        EXPECT_EQ(r.left, 100);
        EXPECT_EQ(r.top, 100);
        EXPECT_EQ(r.right - r.left, Px(918));
        EXPECT_EQ(r.bottom - r.top, Px(547));
        EXPECT_EQ(ColumnWidths(main), DefaultWidths());
        EXPECT_FALSE(test::FileExists(IniPath())) << "nothing is written while the window is open";
        Close(main);
    });
    EXPECT_EQ(SectionOf(IniText(), "Aplication"), Expected(100, 100, Px(918), Px(547), DefaultWidths()));
    EXPECT_TRUE(SectionOf(IniText(), "List").empty());
}

TEST_F(CheckWindowTest, StoredPlacementAndWidthsComeBackIncludingAWidthOfZero) {
    std::vector<int> widths = DefaultWidths();
    widths[3] = 0;
    widths[11] = 150;
    std::string ini = "[Aplication]\r\nTOP=130\r\nLEFT=120\r\nWIDTH=800\r\nHIGHT=500\r\n";
    for (int i = 0; i < kQsoColumnCount; ++i) ini += "COLUMN" + std::to_string(i) + "=" + std::to_string(widths[i]) + "\r\n";
    test::WriteFileBytes(IniPath(), ini);
    Run([&](HWND main) {
        RECT r = WindowRect(main);
        EXPECT_EQ(r.left, 120);
        EXPECT_EQ(r.top, 130);
        EXPECT_EQ(r.right - r.left, 800);
        EXPECT_EQ(r.bottom - r.top, 500);
        EXPECT_EQ(ColumnWidths(main), widths);
        ::SendMessageA(::GetDlgItem(main, IDC_QSOLIST), LVM_SETCOLUMNWIDTH, 5, 77);
        Close(main);
    });
    widths[5] = 77;
    EXPECT_EQ(SectionOf(IniText(), "Aplication"), Expected(130, 120, 800, 500, widths));
}

TEST_F(CheckWindowTest, MaximisedWindowStoresItsRestoredRectangle) {
    Run([&](HWND main) {
        ::SetWindowPos(main, nullptr, 140, 90, 700, 420, SWP_NOZORDER);
        ::ShowWindow(main, SW_MAXIMIZE);
        gui::Settle(main);
        ASSERT_TRUE(::IsZoomed(main));
        Close(main);
    });
    EXPECT_EQ(SectionOf(IniText(), "Aplication"), Expected(90, 140, 700, 420, DefaultWidths()));
}

TEST_F(CheckWindowTest, StoredPlacementAndWidthsOpenOnlyWhenUsableAndWhatOpensIsWrittenBack) {
    RECT work;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    struct Case {
        const char* what;
        std::string placement;   // the stored TOP, LEFT, WIDTH and HIGHT lines
        bool usable;             // opens as stored, else at the defaults
        int left;                // the stored left of a usable one
    };
    const Case cases[] = {
        {"sound", "TOP=130\r\nLEFT=120\r\nWIDTH=800\r\nHIGHT=500\r\n", true, 120},
        {"garbage", "TOP=top\r\nLEFT=?\r\nWIDTH=wide\r\nHIGHT=\r\n", false, 0},
        {"zeros", "TOP=0\r\nLEFT=0\r\nWIDTH=0\r\nHIGHT=0\r\n", false, 0},
        {"5 x 4 pixels on the screen",
         "TOP=" + std::to_string(work.bottom - 4) + "\r\nLEFT=" + std::to_string(work.right - 5) +
             "\r\nWIDTH=800\r\nHIGHT=500\r\n", false, 0},
        {"a grip's width on the screen",
         "TOP=130\r\nLEFT=" + std::to_string(work.right - Px(kPlacementGripWidth)) + "\r\nWIDTH=800\r\nHIGHT=500\r\n", true,
         static_cast<int>(work.right) - Px(kPlacementGripWidth)},
        {"past every screen", "TOP=130\r\nLEFT=120\r\nWIDTH=99999999\r\nHIGHT=99999999\r\n", false, 0},
        {"on a monitor that is gone", "TOP=4000\r\nLEFT=-6000\r\nWIDTH=800\r\nHIGHT=500\r\n", false, 0},
    };
    // Widths: one hidden, one as wide as a column may be, and the damaged
    // ones, which give the default.
    struct Width { int column; const char* stored; int opens; };
    const Width widths[] = {{1, "-5", -1},   {2, "0", 0},      {3, "99999999", -1}, {4, "4096", 4096},
                            {5, "4097", -1}, {6, "abc", -1},   {7, "45px", -1},     {11, "150", 150}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string ini = "[Aplication]\r\n" + c.placement;
        std::vector<int> want = DefaultWidths();
        std::vector<std::string> stored;
        for (int width : want) stored.push_back(std::to_string(width));
        for (const Width& w : widths) {
            stored[static_cast<size_t>(w.column)] = w.stored;
            if (w.opens >= 0) want[static_cast<size_t>(w.column)] = w.opens;
        }
        for (int i = 0; i < kQsoColumnCount; ++i) ini += "COLUMN" + std::to_string(i) + "=" + stored[static_cast<size_t>(i)] + "\r\n";
        test::WriteFileBytes(IniPath(), ini);
        RECT opened{};
        Run([&](HWND main) {
            opened = WindowRect(main);
            if (c.usable) {
                EXPECT_EQ(opened.left, c.left);
                EXPECT_EQ(opened.top, 130);
                EXPECT_EQ(opened.right - opened.left, 800);
                EXPECT_EQ(opened.bottom - opened.top, 500);
            } else {
                EXPECT_EQ(opened.left, 100);
                EXPECT_EQ(opened.top, 100);
                EXPECT_EQ(opened.right - opened.left, Px(918));
                EXPECT_EQ(opened.bottom - opened.top, Px(547));
            }
            EXPECT_EQ(ColumnWidths(main), want);
            EXPECT_EQ(IniText(), ini) << "nothing is written while the window is open";
            Close(main);
        });
        EXPECT_EQ(SectionOf(IniText(), "Aplication"),
                  Expected(opened.top, opened.left, opened.right - opened.left, opened.bottom - opened.top, want));
    }
}

TEST_F(CheckWindowTest, SettingsThatCannotBeStoredAreToldOnceAtTheClose) {
    const std::string ini = "[Aplication]\r\nTOP=130\r\nLEFT=120\r\n";
    test::WriteFileBytes(IniPath(), ini);
    // Read-only as Windows keeps it even from an administrator.
    if (!test::MakeUnwritable(IniPath(), true)) GTEST_SKIP() << "a file cannot be made unwritable here";
    struct Restore {
        std::string file;
        ~Restore() { test::MakeUnwritable(file, false); }
    } restore{IniPath()};
    Run([&](HWND main) {
        ::SendMessageA(::GetDlgItem(main, IDC_QSOLIST), LVM_SETCOLUMNWIDTH, 5, 77);
        ::PostMessageA(main, WM_CLOSE, 0, 0);
        MessageBoxSeen seen = WaitForMessageBox(main);
        ASSERT_NE(seen.Window, nullptr) << "the failed write is told";
        EXPECT_EQ(seen.Text, "CallsignCheck.ini に設定を保存できません");
        EXPECT_EQ(seen.Caption, "checkwin_gui_tests");
        EXPECT_EQ(seen.Buttons, 1);
        EXPECT_TRUE(seen.HasOkButton);
        EXPECT_TRUE(seen.Exclamation);
        EXPECT_TRUE(::IsWindow(main)) << "the window waits for the answer";
        Dismiss(seen);
        EXPECT_TRUE(gui::WaitUntil([&] { return !::IsWindow(main); })) << "then it closes, with one message";
    });
    EXPECT_EQ(IniText(), ini) << "the file is left as it was";
}

TEST_F(CheckWindowTest, SessionEndStoresTheSettingsAsACloseWouldAndACancelledOneNothing) {
    for (BOOL ending : {FALSE, TRUE}) {
        SCOPED_TRACE(ending);
        test::RemoveFile(IniPath());
        Run([&](HWND main) {
            ::SetWindowPos(main, nullptr, 140, 90, 700, 420, SWP_NOZORDER);
            ::SendMessageA(::GetDlgItem(main, IDC_QSOLIST), LVM_SETCOLUMNWIDTH, 5, 77);
            EXPECT_NE(::SendMessageA(main, WM_QUERYENDSESSION, 0, 0), 0) << "the window lets Windows end";
            ::SendMessageA(main, WM_ENDSESSION, static_cast<WPARAM>(ending), 0);
            if (ending) {
                std::vector<int> widths = DefaultWidths();
                widths[5] = 77;
                EXPECT_EQ(SectionOf(IniText(), "Aplication"), Expected(90, 140, 700, 420, widths));
            } else {
                EXPECT_FALSE(test::FileExists(IniPath())) << "the session goes on";
            }
            EXPECT_TRUE(::IsWindow(main));
        });
    }
}

}  // namespace
}  // namespace checkwin_test
