// The main window's lookups driven through its modal loop: the keys from
// every control, the exact lookup with its length rule and bound and the
// worked/confirmed status it leaves, the partial search, the clear, command
// 1001, the failure messages and the copy of the call index.
#include <cstdlib>

#include "CheckWindowFixture.h"
#include "logstore/Bands.h"
#include "res/resource.h"

namespace checkwin_test {
namespace {

Qso ConfirmedOn(Qso q, const std::string& freq, const std::string& mode) {
    q.Freq = freq;
    q.Mode = mode;
    q.Confirmed = true;
    return q;
}

// Record numbers follow the dates. Every QSO but the last is on 7 MHz FT8
// and not confirmed.
const std::vector<Qso> kLog = {
    Station("JA1ABC", "20210101", "1001", "佐藤", "千代田区"),
    Station("JA1ABC/1", "20210102", "1001", "鈴木", "横浜市"),
    Station("JA1AB", "20210103", "100101", "", ""),
    Station("JA1AB/3", "20210104", "", "", ""),
    Station("JA1ABD", "20210105", "", "", ""),
    Station("JR1XYZ", "20210106", "", "", ""),
    Station("K1ABC", "20210107", "", "", ""),
    Station("JA1BCD", "20210108", "", "", ""),
    ConfirmedOn(Station("JA1ABC/P", "20210109", "", "", ""), "14.074", "CW"),
};

std::vector<int> RecordNumbers(HWND main) {
    std::vector<int> numbers;
    for (const std::string& t : ListColumn(main, 0)) numbers.push_back(std::atoi(t.c_str()));
    return numbers;
}

class LookupTest : public CheckWindowTest {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(MakeLog(kLog)); }
};

TEST_F(LookupTest, EachSearchListsItsRecordsAndShowsItsCount) {
    enum Trigger { Enter, Down, F3, Command1001 };
    struct Case {
        const char* typed;
        Trigger trigger;
        const char* box;     // the call-sign box afterwards
        const char* count;
        std::vector<int> recNos;
        const char* status;
    };
    const char* const kJa1abc = "Cfm 14  Wkd 7  /  Cfm CW  Wkd FT8";
    const Case cases[] = {
        // The key is the first six characters cut at '/': suffixed calls of
        // the same station are listed in the index's order. The status tells
        // the bands and modes of the rows listed.
        {"JA1ABC/1", Enter, "JA1ABC/1", "交信回数 3 回", {1, 2, 9}, kJa1abc},
        {"JA1ABC", Down, "JA1ABC", "交信回数 3 回", {1, 2, 9}, kJa1abc},
        // A five-character key lists only that exact call.
        {"JA1AB", Enter, "JA1AB", "交信回数 1 回", {3}, "Wkd 7  /  Wkd FT8"},
        {"JR1XY", Enter, "JR1XY", "交信回数 0 回", {}, ""},
        // Keys under five characters and unknown calls find nothing.
        {"JD1/JA1ABC", Enter, "JD1/JA1A", "", {}, ""},
        {"", Enter, "", "", {}, ""},
        {"JA9ZZZ", Enter, "JA9ZZZ", "", {}, ""},
        // Command 1001 lists every hit of the key.
        {"JA1AB", Command1001, "JA1AB", "交信回数 6 回", {3, 4, 1, 2, 9, 5}, kJa1abc},
        {"JR1XY", Command1001, "JR1XY", "交信回数 1 回", {6}, "Wkd 7  /  Wkd FT8"},
        // The partial search shows its pattern and lists in record order; it
        // is about many stations, so the status stays empty.
        {"JA1", F3, "JA1???", "検索件数 7 件", {1, 2, 3, 4, 5, 8, 9}, ""},
        {"K1ABC", F3, "???BC?", "検索件数 2 件", {7, 8}, ""},
        {"?A1ABC", F3, "?A1ABC", "検索件数 3 件", {1, 2, 9}, ""},
        {"JA1ABC", F3, "JA1ABC", "検索件数 3 件", {1, 2, 9}, ""},
        // After F3 the box holds the pattern, and Enter looks that up as it is.
        {"JA1???", Enter, "JA1???", "", {}, ""},
    };
    Run([&](HWND main) {
        HWND box = ::GetDlgItem(main, IDC_CALLSIGN);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.typed) + " trigger " + std::to_string(c.trigger));
            Type(main, "JA1ABC");
            Press(box, VK_RETURN);   // something listed before, to be replaced
            ASSERT_EQ(ListCount(main), 3);
            ASSERT_EQ(StatusBar(main), kJa1abc);
            Type(main, c.typed);
            if (c.trigger == Command1001) {
                ::PostMessageA(main, WM_COMMAND, IDC_LOOKUPUNFILTERED, 0);
                gui::Settle(main);
            } else {
                Press(box, c.trigger == Enter ? VK_RETURN : c.trigger == Down ? VK_DOWN : VK_F3);
            }
            EXPECT_EQ(CallBox(main), c.box);
            EXPECT_EQ(CountBox(main), c.count);
            EXPECT_EQ(RecordNumbers(main), c.recNos);
            EXPECT_EQ(StatusBar(main), c.status);
        }
    });
}

TEST_F(LookupTest, RowsShowTheRecordsTexts) {
    Run([&](HWND main) {
        Type(main, "JA1ABC/1");
        Press(::GetDlgItem(main, IDC_CALLSIGN), VK_RETURN);
        auto rows = ListRows(main);
        ASSERT_EQ(rows.size(), 3u);
        // QSL as stored: three blank positions for a QSO neither sent nor confirmed.
        const std::vector<std::string> want = {"     2", "JA1ABC/1", "21/01/02", "12:00", "", "", "7.041", "FT8",
                                               "1001  ", "", "   ", Cp932(L"鈴木"), Cp932(L"横浜市"), "", ""};
        EXPECT_EQ(rows[1], want);
    });
}

TEST_F(LookupTest, KeysActWhicheverControlHasTheFocusAndNeverReachIt) {
    Run([&](HWND main) {
        const int controls[] = {IDC_CALLSIGN, IDC_LINKTOLOGGER, IDC_QSOLIST};
        DWORD thread = ::GetWindowThreadProcessId(main, nullptr);
        auto focus = [&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            ::GetGUIThreadInfo(thread, &info);
            return info.hwndFocus;
        };
        for (int id : controls) {
            SCOPED_TRACE(id);
            HWND control = ::GetDlgItem(main, id);
            ::SendMessageA(main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
            ASSERT_EQ(focus(), control);

            Type(main, "JA1ABC");
            Press(control, VK_RETURN);
            EXPECT_EQ(ListCount(main), 3);
            EXPECT_EQ(CountBox(main), "交信回数 3 回");

            EXPECT_NE(StatusBar(main), "");

            Press(control, VK_TAB);
            EXPECT_EQ(ListCount(main), 0);
            EXPECT_EQ(StatusBar(main), "");
            EXPECT_EQ(CallBox(main), "");
            EXPECT_EQ(CountBox(main), "");
            EXPECT_EQ(focus(), control) << "Tab does not move the focus";

            Type(main, "JA1ABC");
            SelectRow(main, 0);
            Press(control, VK_DOWN);
            EXPECT_EQ(ListCount(main), 3);
            EXPECT_EQ(::SendMessageA(::GetDlgItem(main, IDC_QSOLIST), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                     LVNI_SELECTED), -1)
                << "Down runs the lookup again instead of moving the selection";

            Type(main, "JA1");
            Press(control, VK_F3);
            EXPECT_EQ(ListCount(main), 7);
            EXPECT_EQ(CallBox(main), "JA1???");

            Type(main, "JA1ABC");
            Press(control, VK_RETURN);
            ASSERT_NE(StatusBar(main), "");
            Press(control, VK_ESCAPE);
            EXPECT_TRUE(::IsWindow(main)) << "Escape does not close the window";
            EXPECT_EQ(StatusBar(main), "");
            EXPECT_TRUE(::IsWindowVisible(main));
            EXPECT_EQ(ListCount(main), 0);
            EXPECT_EQ(CallBox(main), "");
            EXPECT_EQ(CountBox(main), "");
            EXPECT_EQ(focus(), control);
            EXPECT_EQ(::SendMessageA(::GetDlgItem(main, IDC_LINKTOLOGGER), BM_GETCHECK, 0, 0), BST_UNCHECKED)
                << "Enter and the other keys never reach the check box";
        }
    });
}

TEST_F(CheckWindowTest, AStatusTooLongForTheBarEndsInAnEllipsisAndIsWholeInItsTooltip) {
    // A station worked on every band in twenty modes.
    const char* const freqs[] = {"1.910", "3.535", "7.041", "10.120", "14.074", "18.100", "21.074",
                                 "24.915", "28.074", "50.313", "144.100", "430.100", "1294.000", "2427.000"};
    const char* const modes[] = {"SSB", "FM", "RTTY", "CW",   "FT8",   "FT4",  "JT65",  "PSK31", "AM",  "SSTV",
                                 "JT9", "MSK144", "OLIVIA", "HELL", "WSPR", "Q65", "FST4", "DSTAR", "C4FM", "PKT"};
    std::vector<Qso> log;
    std::string bands, modeList;
    for (int i = 0; i < 20; ++i) {
        Qso q = Station("JA1ABC", "202101" + std::string(i < 9 ? "0" : "") + std::to_string(i + 1));
        q.Freq = freqs[i % 14];
        q.Mode = modes[i];
        log.push_back(q);
        modeList += std::string(i ? " " : "") + modes[i];
    }
    for (int b = 0; b < 14; ++b) bands += std::string(b ? " " : "") + BandName(b);
    const std::string whole = "Wkd " + bands + "  /  Wkd " + modeList;
    ASSERT_NO_FATAL_FAILURE(MakeLog(log));
    Run([&](HWND main) {
        Type(main, "JA1ABC");
        Press(::GetDlgItem(main, IDC_CALLSIGN), VK_RETURN);
        ASSERT_EQ(ListCount(main), 20);
        HWND bar = ::GetDlgItem(main, IDC_STATUSBAR);
        const std::string shown = StatusBar(main);
        ASSERT_GE(shown.size(), 2u);
        EXPECT_EQ(shown.substr(shown.size() - 2), "…") << shown;
        EXPECT_EQ(whole.rfind(shown.substr(0, shown.size() - 2), 0), 0u) << shown << ": the start of the text";
        EXPECT_EQ(gui::ToolTipOf(main, bar), whole);
        // The clear empties both.
        Press(::GetDlgItem(main, IDC_CALLSIGN), VK_ESCAPE);
        EXPECT_EQ(StatusBar(main), "");
        EXPECT_EQ(gui::ToolTipOf(main, bar), "");
    });
}

TEST_F(LookupTest, TooFewFixedCharactersShowTheMessageAndThePattern) {
    Run([&](HWND main) {
        HWND box = ::GetDlgItem(main, IDC_CALLSIGN);
        Type(main, "JA1ABC");
        Press(box, VK_RETURN);
        Type(main, "A1");
        gui::PostKey(box, VK_F3);
        MessageBoxSeen seen = WaitForMessageBox(main);
        ASSERT_NE(seen.Window, nullptr);
        EXPECT_EQ(seen.Text, "検索文字数はが2文字以上を入力してください");
        EXPECT_EQ(seen.Caption, AfxGetAppName());
        EXPECT_EQ(seen.Caption, "checkwin_gui_tests");
        EXPECT_EQ(seen.Buttons, 1);
        EXPECT_TRUE(seen.HasOkButton);
        EXPECT_TRUE(seen.Exclamation);
        EXPECT_EQ(CallBox(main), "??????");
        EXPECT_EQ(ListCount(main), 0);
        Dismiss(seen);
        gui::Settle(main);
        EXPECT_EQ(CountBox(main), "");
        EXPECT_EQ(ListCount(main), 0);
    });
}

TEST_F(LookupTest, MissingLibraryAtALookupEmptiesTheListAndKeepsTheCount) {
    Run([&](HWND main) {
        HWND box = ::GetDlgItem(main, IDC_CALLSIGN);
        Type(main, "JA1ABC");
        Press(box, VK_RETURN);
        ASSERT_EQ(ListCount(main), 3);
        UseLibrary(false);
        for (UINT key : {VK_RETURN, VK_F3}) {
            SCOPED_TRACE(key);
            Type(main, "JA1AB");
            gui::PostKey(box, key);
            MessageBoxSeen seen = WaitForMessageBox(main);
            ASSERT_NE(seen.Window, nullptr);
            EXPECT_EQ(seen.Text, "VIREON50.DLLがみつかりません");
            EXPECT_EQ(seen.Caption, "checkwin_gui_tests");
            EXPECT_EQ(seen.Buttons, 1);
            EXPECT_TRUE(seen.Exclamation);
            EXPECT_EQ(ListCount(main), 0);
            Dismiss(seen);
            gui::Settle(main);
            EXPECT_EQ(CountBox(main), "交信回数 3 回");
            EXPECT_EQ(CallBox(main), "JA1AB") << "F3 stops before it forms its pattern";
        }
        UseLibrary(true);
        Press(box, VK_RETURN);
        EXPECT_EQ(CountBox(main), "交信回数 1 回");
    });
}

TEST_F(LookupTest, ALogThatCannotBeOpenedIsToldOnceAndAnEmptyLogStaysSilent) {
    const std::string good = test::ReadFileBytes(Folder().File("vireon.vdb"));
    enum Trigger { Enter, Down, F3, Command1001 };
    struct Case {
        const char* what;
        std::string log;
        Trigger trigger;
        bool told;
        const char* count;
    };
    const std::string garbage(good.size(), '\x5a');
    const Case cases[] = {
        {"garbage, Enter", garbage, Enter, true, ""},
        {"garbage, Down", garbage, Down, true, ""},
        {"garbage, F3", garbage, F3, true, "検索件数 0 件"},
        {"garbage, command 1001", garbage, Command1001, true, ""},
        {"no records, Enter", test::WithNoRecords(good), Enter, false, ""},
        {"no records, F3", test::WithNoRecords(good), F3, false, "検索件数 0 件"},
    };
    Run([&](HWND main) {
        HWND box = ::GetDlgItem(main, IDC_CALLSIGN);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            test::WriteFileBytes(Folder().File("vireon.vdb"), good);
            Type(main, "JA1ABC");
            Press(box, VK_RETURN);
            ASSERT_EQ(ListCount(main), 3);
            test::WriteFileBytes(Folder().File("vireon.vdb"), c.log);
            if (c.trigger == Command1001) {
                ::PostMessageA(main, WM_COMMAND, IDC_LOOKUPUNFILTERED, 0);
                gui::Settle(main);
            } else {
                Press(box, c.trigger == Enter ? VK_RETURN : c.trigger == Down ? VK_DOWN : VK_F3);
            }
            // A box is up before the key's handling ends: with none by then, none comes.
            MessageBoxSeen seen = WaitForMessageBox(main, c.told ? 10000 : 0);
            EXPECT_EQ(seen.Window != nullptr, c.told);
            if (seen.Window) {
                EXPECT_EQ(seen.Text, "vireon.vdb を開けません");
                EXPECT_EQ(seen.Caption, "checkwin_gui_tests");
                EXPECT_EQ(seen.Buttons, 1);
                EXPECT_TRUE(seen.HasOkButton);
                EXPECT_TRUE(seen.Exclamation);
                Dismiss(seen);
                gui::Settle(main);
                EXPECT_EQ(WaitForMessageBox(main, 0).Window, nullptr) << "one message";
            }
            EXPECT_EQ(ListCount(main), 0);
            EXPECT_EQ(CountBox(main), c.count);
        }
    });
}

TEST_F(LookupTest, PartialSearchSkipsARecordItCannotReadAndGoesOn) {
    // Record 3 (JA1AB) loses the mark that tells a written record.
    std::string log = test::ReadFileBytes(Folder().File("vireon.vdb"));
    const size_t mark = 64 + 2 * 256 + 255;
    ASSERT_GT(log.size(), mark);
    log[mark] = 0;
    test::WriteFileBytes(Folder().File("vireon.vdb"), log);
    Run([&](HWND main) {
        Type(main, "JA1");
        Press(::GetDlgItem(main, IDC_CALLSIGN), VK_F3);
        EXPECT_EQ(RecordNumbers(main), (std::vector<int>{1, 2, 4, 5, 8, 9}));
        EXPECT_EQ(CountBox(main), "検索件数 6 件");
    });
}

TEST_F(LookupTest, ExactLookupStopsAfterAThousandFurtherMatches) {
    ASSERT_NO_FATAL_FAILURE(GenerateLog(2400));   // JA1ABC has more than 1001 QSOs in it
    Run([&](HWND main) {
        HWND box = ::GetDlgItem(main, IDC_CALLSIGN);
        Type(main, "JA1ABC");
        Press(box, VK_RETURN);
        EXPECT_EQ(ListCount(main), 1001);
        EXPECT_EQ(CountBox(main), "交信回数 1001 回");
        ::PostMessageA(main, WM_COMMAND, IDC_LOOKUPUNFILTERED, 0);
        gui::Settle(main);
        EXPECT_EQ(ListCount(main), 1001);
        // The partial search has no such bound.
        Press(box, VK_F3);
        EXPECT_GT(ListCount(main), 1001);
        EXPECT_EQ(CountBox(main), "検索件数 " + std::to_string(ListCount(main)) + " 件");
    });
}

TEST_F(CheckWindowTest, MissingLibraryAtStartShowsTheMessageAndEndsWithoutWriting) {
    UseLibrary(false);
    ASSERT_NO_FATAL_FAILURE(MakeLog({Station("JA1ABC", "20210101", "", "", "")}));
    bool seenBox = false;
    INT_PTR result = Run([&](HWND main) {
        MessageBoxSeen seen = WaitForMessageBox(main);
        ASSERT_NE(seen.Window, nullptr);
        seenBox = true;
        EXPECT_EQ(seen.Text, "VIREON50.DLLがみつかりません\nプログラムを終了します");
        EXPECT_EQ(seen.Caption, "checkwin_gui_tests");
        EXPECT_EQ(seen.Buttons, 1);
        EXPECT_TRUE(seen.Exclamation);
        Dismiss(seen);
        EXPECT_TRUE(gui::WaitUntil([&] { return !::IsWindow(main); })) << "the window ends by itself";
    });
    EXPECT_TRUE(seenBox);
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(test::FileExists(IniPath())) << "nothing is stored";
    EXPECT_FALSE(test::FileExists(Folder().File("call.idx"))) << "nothing is copied";
}

uint64_t WriteTimeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

TEST_F(CheckWindowTest, StartBringsTheCallIndexCopyUpToTheLoggers) {
    ASSERT_NO_FATAL_FAILURE(MakeLog(kLog));
    const std::string copy = Folder().File("call.idx"), logger = Folder().File("vireon.dx0");
    const std::string loggerBytes = test::ReadFileBytes(logger);
    enum Copy { None, Current, Stale, StaleReadOnly };
    const struct Case { Copy copy; const char* name; bool replaced; } cases[] = {
        {None, "no copy", true},
        {Current, "a copy of the same time and size", false},
        {Stale, "an old copy", true},
        {StaleReadOnly, "an old copy marked read-only (the program's own file all the same)", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
        test::RemoveFile(copy);
        if (c.copy == Current) {
            ASSERT_TRUE(::CopyFileA(logger.c_str(), copy.c_str(), FALSE));
        }
        if (c.copy == Stale || c.copy == StaleReadOnly) test::WriteFileBytes(copy, "an old copy");
        if (c.copy == StaleReadOnly) ::SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_READONLY);
        const std::string before = test::FileIdentityOf(copy);
        Run([&](HWND main) { EXPECT_TRUE(::IsWindow(main)); });
        EXPECT_EQ(test::ReadFileBytes(copy), loggerBytes);
        if (c.replaced) {
            EXPECT_EQ(WriteTimeOf(copy), WriteTimeOf(logger)) << "the copy keeps the logger's time";
            EXPECT_EQ(::GetFileAttributesA(copy.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
        } else {
            EXPECT_EQ(test::FileIdentityOf(copy), before) << "the same file, not written again";
        }
        WIN32_FIND_DATAA found;
        HANDLE temp = ::FindFirstFileA(Folder().File("*.tmp").c_str(), &found);
        EXPECT_EQ(temp, INVALID_HANDLE_VALUE) << "no temporary file is left: " << found.cFileName;
        if (temp != INVALID_HANDLE_VALUE) ::FindClose(temp);
    }
    ::SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace checkwin_test
