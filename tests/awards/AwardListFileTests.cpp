// The files the award result list writes: the list as CSV, the application
// list read back from the log as it is when written, and names the operator
// gives that the code page cannot hold, that the dialog cannot take, or of a
// file that cannot be replaced.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "AwardListWindowFixture.h"
#include "GuiDriver.h"
#include "app/MainWindowPlacement.h"
#include "app/ProgramObjects.h"
#include "awards/AwardFilter.h"
#include "awards/AwardList.h"
#include "awards/AwardListDialog.h"
#include "lists/FileSave.h"
#include "logstore/AreaMaster.h"
#include "res/resource.h"

namespace {

using namespace awardlist;

TEST_F(AwardListWindowTest, CtrlSAndTheMenuSaveTheListAndTheApplicationList) {
    SetFilter(Jcc, 0, 20501231);
    const std::string csv = Dir().File("list.csv"), application = Dir().File("apply.csv");
    const std::vector<test::DumpedRecord> dump = test::DumpLog(Dir().Path());
    ShowList([&](HWND window, HWND list) {
        gui::PostCtrlKey(list, 'S', [] { return gui::FindProcessWindow("CSV で保存") != nullptr; });
        EXPECT_EQ(AnswerSaveDialog("CSV で保存", csv), "JCC-" + TodayYmd() + ".csv");
        gui::Settle(window);
        Rows rows = awardgui::ReadListRows(list);
        for (Row& row : rows) {
            // The file has the codes without the master's padding.
            while (!row[2].empty() && row[2].back() == ' ') row[2].pop_back();
            for (std::string& cell : row)
                if (cell.find(',') != std::string::npos) cell = "\"" + cell + "\"";
        }
        EXPECT_EQ(test::ReadFileBytes(csv), Joined(list, rows, ','));

        ::PostMessageA(window, WM_COMMAND, ID_LIST_SAVEAPPLICATION, 0);
        EXPECT_EQ(AnswerSaveDialog("申請リストを保存", application), "JCC-申請リスト-" + TodayYmd() + ".csv");
        gui::Settle(window);
        // 0101 first confirmed by record 7, 1002 by record 6, in table order.
        auto line = [&](int no, const char* code, const std::string& name, int recNo) {
            const test::DumpedRecord& r = dump[static_cast<size_t>(recNo - 1)];
            return std::to_string(no) + "," + code + "," + name + "," + r.Call() + ",2011/05/13," +
                   r.Fields[test::kDumpTime] + ",14," + r.Fields[test::kDumpMode] + "\r\n";
        };
        EXPECT_EQ(test::ReadFileBytes(application),
                  "No,Code,Qth,Call,Date,Time,Band,Mode\r\n" + line(1, "0101", JccTable[0].Name, 7) +
                      line(2, "1002", JccTable[6].Name, 6));
    });
}

std::string ApplicationLine(int no, const char* code, const std::string& name, const test::DumpedRecord& r,
                            const char* date, const char* band) {
    return std::to_string(no) + "," + code + "," + name + "," + r.Call() + "," + date + "," +
           r.Fields[test::kDumpTime] + "," + band + "," + r.Fields[test::kDumpMode] + "\r\n";
}

TEST_F(AwardListWindowTest, CtrlLAfterTheLogChangedWritesTheFreshSearchAndNothingWhenTheLogIsGone) {
    SetFilter(Jcc, 0, 20501231);
    const std::string application = Dir().File("apply.csv");
    ShowList([&](HWND window, HWND list) {
        EXPECT_EQ(ColumnOf(awardgui::ReadListRows(list), 2), (std::vector<std::string>{"0101  ", "0104  ", "1001  ", "1002  "}));
        // The logger adds an older QSO while the list is open (it keeps the
        // log in date order): every record after it moves up by one number.
        std::vector<awardgui::Qso> changed = kLog;
        awardgui::Qso older{"20080101", "7.010", "SSB", "0102", true};
        older.Call = "JA1NEW";
        changed.insert(changed.begin() + 1, older);
        changed[7].Call = "JA1MID";   // 0101's confirmed QSO, now record 8
        ASSERT_NO_FATAL_FAILURE(MakeLog(changed));
        const std::vector<test::DumpedRecord> dump = test::DumpLog(Dir().Path());
        ASSERT_EQ(dump.size(), changed.size());

        gui::PostCtrlKey(list, 'L', [] { return gui::FindProcessWindow("申請リストを保存") != nullptr; });
        AnswerSaveDialog("申請リストを保存", application);
        gui::Settle(window);
        EXPECT_EQ(test::ReadFileBytes(application),
                  "No,Code,Qth,Call,Date,Time,Band,Mode\r\n" +
                      ApplicationLine(1, "0101", JccTable[0].Name, dump[7], "2011/05/13", "14") +
                      ApplicationLine(2, "0102", JccTable[1].Name, dump[1], "2008/01/01", "7") +
                      ApplicationLine(3, "1002", JccTable[6].Name, dump[6], "2011/05/13", "14"));
        EXPECT_EQ(dump[1].Call(), "JA1NEW");
        EXPECT_EQ(dump[7].Call(), "JA1MID");
        // The list shows the search the file was written from.
        EXPECT_EQ(ColumnOf(awardgui::ReadListRows(list), 2),
                  (std::vector<std::string>{"0101  ", "0102  ", "0104  ", "1001  ", "1002  "}));
        EXPECT_EQ(StatusOf(window), "Cfm 3  Wkd 2  全 7  JCC-100 まで 97");

        // The log gone: said as the list says it, and no file asked for.
        test::RemoveFile(application);
        test::RemoveFile(Dir().File("vireon.vdb"));
        gui::PostCtrlKey(list, 'L', [] { return gui::FindProcessWindow("award_list_window_tests") != nullptr; });
        EXPECT_EQ(TakeMessage(window), "vireon.vdb を開けません");
        EXPECT_EQ(gui::FindProcessWindow("申請リストを保存"), nullptr);
        EXPECT_FALSE(test::FileExists(application));
        EXPECT_EQ(StatusOf(window), "Cfm 3  Wkd 2  全 7  JCC-100 まで 97") << "the list keeps what it showed";
    });
}

TEST_F(AwardListWindowTest, CtrlLWithNoAreaConfirmedSaysSoAndAsksForNoFile) {
    SetFilter(Jcc, 0, 20101231);   // the JCC QSOs confirmed are of 2011
    ShowList([&](HWND window, HWND list) {
        ASSERT_EQ(StatusOf(window).rfind("Cfm 0  ", 0), 0u);
        gui::PostCtrlKey(list, 'L', [] {
            return gui::FindProcessWindow("award_list_window_tests") || gui::FindProcessWindow("申請リストを保存");
        });
        if (HWND save = gui::FindProcessWindow("申請リストを保存")) {
            ADD_FAILURE() << "a save dialog for a list without a line";
            ::PostMessageA(save, WM_COMMAND, IDCANCEL, 0);
            gui::WaitUntil([&] { return !::IsWindow(save); });
        }
        EXPECT_EQ(TakeMessage(window, 2000), "申請できる地域がありません");
    });
    for (const std::wstring& name : FilesIn(Wide(Dir().Path())))
        EXPECT_EQ(name.find(L".csv"), std::wstring::npos) << "no file written";
}

TEST_F(AwardListWindowTest, AFileIsWrittenExactlyWhereTheDialogSaysEvenOutsideTheCodePage) {
    SetFilter(Jcc, 0, 20501231);
    const std::wstring dir = Wide(Dir().Path());
    const std::wstring plain = dir + L"\\cafe", accented = dir + L"\\caf\u00E9",
                       beyond = dir + L"\\\U00020BB7\u7530\u00E9";   // 𠮷田é
    for (const std::wstring& folder : {plain, accented, beyond}) ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    WriteWide(plain + L"\\a.csv", "earlier\r\n");
    ShowList([&](HWND window, HWND list) {
        for (const std::wstring& folder : {accented, beyond}) {
            gui::PostCtrlKey(list, 'S', [] { return gui::FindProcessWindow("CSV で保存") != nullptr; });
            HWND dialog = nullptr;
            TypeIntoSaveDialog("CSV で保存", folder + L"\\a.csv", &dialog);
            ASSERT_TRUE(gui::WaitUntil([&] { return !::IsWindow(dialog); }));
            gui::Settle(window);
            EXPECT_EQ(TakeMessage(window, 500), "") << "no failure to tell";
            EXPECT_EQ(test::ReadFileBytes(folder + L"\\a.csv").rfind("No,C/W,Code,Qth,", 0), 0u) << "written into the folder chosen";
        }
    });
    EXPECT_EQ(test::ReadFileBytes(plain + L"\\a.csv"), "earlier\r\n") << "the folder whose name looks alike is left alone";
}

TEST_F(AwardListWindowTest, ANameLongerThanTheDialogTakesIsRefusedWithTheMessage) {
    SetFilter(Jcc, 0, 20501231);
    // 281 characters, as a person may paste into the name box.
    const std::string folder = Dir().Path() + "\\";
    const std::string path = folder + std::string(281 - folder.size() - 4, 'a') + ".csv";
    ASSERT_EQ(path.size(), 281u);
    ShowList([&](HWND window, HWND list) {
        gui::PostCtrlKey(list, 'S', [] { return gui::FindProcessWindow("CSV で保存") != nullptr; });
        TypeIntoSaveDialog("CSV で保存", Wide(path));
        const std::string told = TakeMessage(window);
        EXPECT_EQ(told.rfind("ファイルに書き込めません", 0), 0u) << told;
        HWND save = gui::FindProcessWindow("CSV で保存");
        if (save) ::PostMessageA(save, WM_COMMAND, IDCANCEL, 0);   // a dialog that refuses the name itself
        EXPECT_TRUE(::IsWindow(window)) << "the list is still there";
    });
    for (const std::wstring& name : FilesIn(Wide(Dir().Path())))
        EXPECT_NE(name.rfind(L"aaaa", 0), 0u) << "nothing written";
}

TEST_F(AwardListWindowTest, SavingOverAFileThatCannotBeReplacedSaysSoAndKeepsIt) {
    SetFilter(Jcc, 0, 20501231);
    const std::string target = Dir().File("list.csv");
    const std::wstring wideTarget = Wide(target);
    for (bool readOnly : {true, false}) {
        SCOPED_TRACE(readOnly ? "read-only" : "held open by another program without sharing");
        test::WriteFileBytes(target, "earlier\r\n");
        HANDLE held = INVALID_HANDLE_VALUE;
        if (readOnly)
            ASSERT_TRUE(::SetFileAttributesW(wideTarget.c_str(), FILE_ATTRIBUTE_READONLY));
        else
            held = ::CreateFileW(wideTarget.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_TRUE(readOnly || held != INVALID_HANDLE_VALUE);
        ShowList([&](HWND window, HWND list) {
            gui::PostCtrlKey(list, 'S', [] { return gui::FindProcessWindow("CSV で保存") != nullptr; });
            HWND dialog = nullptr;
            TypeIntoSaveDialog("CSV で保存", wideTarget, &dialog);
            AnswerReplaceYes();
            ASSERT_TRUE(gui::WaitUntil([&] { return !::IsWindow(dialog); }));
            const std::string told = TakeMessage(window);
            EXPECT_EQ(told.rfind("ファイルに書き込めません\n", 0), 0u) << told;
            EXPECT_NE(told.find("\\list.csv\n"), std::string::npos) << told << ": the file is named";
        });
        if (held != INVALID_HANDLE_VALUE) ::CloseHandle(held);
        EXPECT_EQ(test::ReadFileBytes(target), "earlier\r\n");
        const DWORD attributes = ::GetFileAttributesW(wideTarget.c_str());
        EXPECT_EQ((attributes & FILE_ATTRIBUTE_READONLY) != 0, readOnly) << "the mark is kept";
        ::SetFileAttributesW(wideTarget.c_str(), FILE_ATTRIBUTE_NORMAL);
        for (const std::wstring& name : FilesIn(Wide(Dir().Path())))
            EXPECT_EQ(name.find(L".tmp"), std::wstring::npos) << "no temporary file is left";
    }
}

}  // namespace
