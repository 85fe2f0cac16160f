// The AJD/WAJA check dialog under Wine: its state at every opening, the
// silent refusals of "Search", and searches that end in the result list.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "AwardWindowFixture.h"
#include "GuiDriver.h"
#include "app/MainWindowPlacement.h"
#include "app/ProgramObjects.h"
#include "awards/AjdWajaDialog.h"
#include "awards/AwardFilter.h"
#include "awards/JccJcgDialog.h"
#include "checkwin/CallsignCheckDialog.h"
#include "res/resource.h"

namespace {

using awardgui::BoxText;
using awardgui::Click;
using awardgui::IsTicked;
using awardgui::SetBoxText;

const int kBandIds[kBandCount] = {IDC_AJD_BAND0, IDC_AJD_BAND1, IDC_AJD_BAND2,  IDC_AJD_BAND3, IDC_AJD_BAND4,
                                  IDC_AJD_BAND5, IDC_AJD_BAND6, IDC_AJD_BAND7,  IDC_AJD_BAND8, IDC_AJD_BAND9,
                                  IDC_AJD_BAND10, IDC_AJD_BAND11, IDC_AJD_BAND12, IDC_AJD_BAND13};
constexpr int kBand14MHz = 4;

std::string TodayText() {
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%02d", t.wYear % 100, t.wMonth, t.wDay);
    return text;
}

void SetBand(HWND dialog, int band, bool ticked) {
    ::SendMessageA(::GetDlgItem(dialog, kBandIds[band]), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

class AjdWajaDialogTest : public awardgui::AwardWindowTest {
protected:
    void SetUp() override {
        awardgui::ResetAwardState();
        UseLibrary();
        ASSERT_NO_FATAL_FAILURE(MakeLog({
            {"20100105", "14.025", "CW", "1002", false},
            {"20100110", "14.025", "SSB", "1002", true},
            {"20100115", "7.010", "CW", "1002", true},
            {"20100120", "14.025", "CW", "0801", false},
            {"20100125", "14.025", "cw", "2701", true},
        }));
        MainWindowPlacement = {30, 20, 300};
    }
};

TEST_F(AjdWajaDialogTest, EveryOpeningStartsFromTheDefaults) {
    AjdWajaDialog dialog(AwardFilter, TheAjdWajaList);
    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE(opening == 0 ? "first opening" : "second opening");
        AwardFilter.AwardKind = Waja;
        gui::RunModal(dialog, [&](HWND d) {
            EXPECT_EQ(gui::WindowText(d), "AJD/WAJA Check");
            EXPECT_EQ(BoxText(d, IDC_AJD_START), "000000");
            EXPECT_EQ(BoxText(d, IDC_AJD_END), TodayText());
            EXPECT_EQ(BoxText(d, IDC_AJD_MODE), "");
            EXPECT_TRUE(IsTicked(d, IDC_AJD_AJD));
            EXPECT_FALSE(IsTicked(d, IDC_AJD_WAJA));
            EXPECT_EQ(AwardFilter.AwardKind, Ajd);
            for (int id : kBandIds) EXPECT_FALSE(IsTicked(d, id)) << id;
            for (int id : {IDC_AJD_START, IDC_AJD_END, IDC_AJD_MODE})
                EXPECT_EQ(::SendMessageA(::GetDlgItem(d, id), EM_GETLIMITTEXT, 0, 0), id == IDC_AJD_MODE ? 4 : 6);

            // What the operator leaves behind must not come back next time.
            Click(d, IDC_AJD_WAJA);
            EXPECT_EQ(AwardFilter.AwardKind, Waja);
            Click(d, IDC_AJD_AJD);
            EXPECT_EQ(AwardFilter.AwardKind, Ajd);
            Click(d, IDC_AJD_WAJA);
            Click(d, kBandIds[3]);
            SetBoxText(d, IDC_AJD_START, "100101");
            SetBoxText(d, IDC_AJD_MODE, "FM");
        });
    }
}

TEST_F(AjdWajaDialogTest, SearchRefusesSilentlyOrOpensTheList) {
    struct Case {
        const char* start;
        const char* end;
        bool band;
        bool listOpens;
        bool datesStored;
        int32_t wantStart, wantEnd;
    };
    const std::string today = TodayText();
    const int32_t todayDate = 20000000 + std::atoi(today.c_str());
    const Case cases[] = {
        {"000000", today.c_str(), false, false, false, 0, 0},   // no band
        {"991301", today.c_str(), true, false, false, 0, 0},    // month 13
        {"12345", today.c_str(), true, false, false, 0, 0},     // five digits
        {"990100", today.c_str(), true, true, true, 19990100, todayDate},   // day 00 passes
        {"990231", today.c_str(), true, true, true, 19990231, todayDate},   // no month length
        {"ABC", today.c_str(), true, true, true, 0, todayDate},   // no digits: number 0
        {"260101", "", true, false, true, 20260101, 0},          // empty end: EndDate 0
        {"500101", "510101", true, false, true, 20500101, 19510101},
        {"261231", "260101", true, false, true, 20261231, 20260101},
        {"260101", "261332", true, false, false, 0, 0},          // day 32 in the end text
        {"000000", "000000", true, true, true, 0, 0},
    };
    AjdWajaDialog dialog(AwardFilter, TheAjdWajaList);
    gui::RunModal(dialog, [&](HWND d) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.start) + " to " + c.end + (c.band ? "" : ", no band"));
            AwardFilter.StartDate = 11;
            AwardFilter.EndDate = 22;
            SetBand(d, kBand14MHz, c.band);
            SetBoxText(d, IDC_AJD_START, c.start);
            SetBoxText(d, IDC_AJD_END, c.end);
            HWND list = awardgui::SearchAndWaitForList(d, IDC_AJD_SEARCH);
            EXPECT_EQ(list != nullptr, c.listOpens);
            EXPECT_EQ(AwardFilter.StartDate, c.datesStored ? c.wantStart : 11);
            EXPECT_EQ(AwardFilter.EndDate, c.datesStored ? c.wantEnd : 22);
            EXPECT_EQ(AwardFilter.BandSelected[kBand14MHz], c.band ? 1 : 0);
            EXPECT_EQ(BoxText(d, IDC_AJD_START), c.start);
            EXPECT_EQ(BoxText(d, IDC_AJD_END), c.end);
            if (list) awardgui::CloseAndWait(list, d);
            EXPECT_TRUE(::IsWindow(d)) << "the dialog stays open";
        }
    });
}

TEST_F(AjdWajaDialogTest, BandsAndModeChooseTheQsosTheListCounts) {
    AjdWajaDialog dialog(AwardFilter, TheAjdWajaList);
    gui::RunModal(dialog, [&](HWND d) {
        Click(d, kBandIds[kBand14MHz]);
        HWND mode = ::GetDlgItem(d, IDC_AJD_MODE);
        for (char ch : std::string("cw")) ::PostMessageA(mode, WM_CHAR, static_cast<WPARAM>(ch), 1);
        gui::Settle(d);
        EXPECT_EQ(BoxText(d, IDC_AJD_MODE), "CW") << "typed in small letters, shown in capitals";

        HWND list = awardgui::SearchAndWaitForList(d, IDC_AJD_SEARCH);
        ASSERT_NE(list, nullptr);
        EXPECT_STREQ(AwardFilter.ModeText, "CW");
        awardgui::Rows rows = awardgui::ReadListRows(::GetDlgItem(list, IDC_AWARDLIST));
        ASSERT_EQ(rows.size(), 10u);
        // Only 14 MHz in capital CW: not the SSB, not the 7 MHz, not the "cw".
        EXPECT_EQ(rows[0], (std::vector<std::string>{"Wkd", "1", "2010/01/05", "", "1"}));
        EXPECT_EQ(rows[2], (std::vector<std::string>{"", "3", "", "", "0"}));
        EXPECT_EQ(rows[9], (std::vector<std::string>{"Wkd", "0", "2010/01/20", "", "1"}));
        RECT r;
        ::GetWindowRect(list, &r);
        EXPECT_EQ(r.left, 30);
        EXPECT_EQ(r.top, 20);
        EXPECT_EQ(::GetWindow(list, GW_OWNER), d);
        EXPECT_FALSE(::IsWindowEnabled(d)) << "the dialog waits under the list";
        awardgui::CloseAndWait(list, d);

        // Every band, and a mode text that begins with a blank: any mode.
        for (int b = 0; b < kBandCount; ++b) SetBand(d, b, true);
        SetBoxText(d, IDC_AJD_MODE, " CW");
        Click(d, IDC_AJD_WAJA);
        list = awardgui::SearchAndWaitForList(d, IDC_AJD_SEARCH);
        ASSERT_NE(list, nullptr);
        EXPECT_STREQ(AwardFilter.ModeText, "");
        rows = awardgui::ReadListRows(::GetDlgItem(list, IDC_AWARDLIST));
        ASSERT_EQ(rows.size(), 47u);
        EXPECT_EQ(rows[9], (std::vector<std::string>{"Cfm", "\x93\x8C\x8B\x9E\x93\x73", "2010/01/05", "2010/01/15", "3"}));
        EXPECT_EQ(rows[26], (std::vector<std::string>{"Cfm", "\x95\xBA\x8C\xC9\x8C\xA7", "2010/01/25", "", "1"}));   // 兵庫県
        awardgui::CloseAndWait(list, d);

        SetBoxText(d, IDC_AJD_MODE, "CW X");
        awardgui::CloseAndWait(awardgui::SearchAndWaitForList(d, IDC_AJD_SEARCH), d);
        EXPECT_STREQ(AwardFilter.ModeText, "CW") << "the mode ends at its first blank";
    });
}

TEST_F(AjdWajaDialogTest, EnterSearchesFromTheButtonAndClosesFromABox) {
    AjdWajaDialog dialog(AwardFilter, TheAjdWajaList);
    gui::RunModal(dialog, [&](HWND d) {
        Click(d, kBandIds[kBand14MHz]);
        HWND search = ::GetDlgItem(d, IDC_AJD_SEARCH);
        ::PostMessageA(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(search), TRUE);
        gui::PostKey(search, VK_RETURN);
        gui::Settle(d);
        HWND list = CDialog::CurrentModal()->m_hWnd;
        ASSERT_NE(list, d) << "Enter on Search runs the search";
        gui::PostKey(::GetDlgItem(list, IDC_AWARDLIST), VK_ESCAPE);
        EXPECT_TRUE(gui::WaitUntil([&] { return !::IsWindow(list); })) << "Escape closes the list";
        EXPECT_TRUE(::IsWindow(d));

        HWND mode = ::GetDlgItem(d, IDC_AJD_MODE);
        ::PostMessageA(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(mode), TRUE);
        gui::PostKey(mode, VK_RETURN);
        EXPECT_TRUE(gui::WaitUntil([&] { return !::IsWindow(d); })) << "Enter in a box closes the dialog";
    });
}


// The whole road: the main window's menu opens the program's own check
// dialog, its Search opens the program's own result list, and the list
// stands at the main window's restored position.
TEST_F(AjdWajaDialogTest, TheListOpensAtTheMainWindowsPosition) {
    ASSERT_NO_FATAL_FAILURE(MakeSmallMaster());
    CallsignCheckDialog main(nullptr, ProgramCommands());
    gui::RunModal(main, [&](HWND m) {
        ::SetWindowPos(m, nullptr, 120, 80, 700, 400, SWP_NOZORDER);
        gui::Settle(m);
        struct {
            UINT command;
            int band, search;
            int width, height;
        } checks[] = {{ID_AJDWAJACHECK, IDC_AJD_BAND4, IDC_AJD_SEARCH, ScaleToDpi(310, SystemDpi()), ScaleToDpi(205, SystemDpi())},
                      {ID_JCCJCGCHECK, IDC_JCC_BAND4, IDC_JCC_SEARCH, ScaleToDpi(600, SystemDpi()), 400}};   // the main window's height
        for (const auto& c : checks) {
            SCOPED_TRACE(c.command);
            ::PostMessageA(m, WM_COMMAND, c.command, 0);
            HWND check = gui::WaitForModalAbove(m);
            ASSERT_NE(check, nullptr);
            Click(check, c.band);
            HWND list = awardgui::SearchAndWaitForList(check, c.search);
            ASSERT_NE(list, nullptr);
            RECT r;
            ::GetWindowRect(list, &r);
            EXPECT_EQ(r.left, 120);
            EXPECT_EQ(r.top, 80);
            EXPECT_EQ(r.right - r.left, c.width);
            EXPECT_EQ(r.bottom - r.top, c.height);
            awardgui::CloseAndWait(list, check);
            awardgui::CloseAndWait(check, m);
        }
    });
}

}  // namespace
