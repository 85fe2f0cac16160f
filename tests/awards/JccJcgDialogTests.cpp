// The JCC/JCG check dialog under Wine: the four options and the Hidden
// marks click by click, the temporary hiding of an unworked search with a
// start date, the 1001 entry, and the reload at every opening.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "AwardWindowFixture.h"
#include "GuiDriver.h"
#include "app/MainWindowPlacement.h"
#include "app/ProgramObjects.h"
#include "awards/AwardFilter.h"
#include "awards/JccJcgDialog.h"
#include "logstore/AreaMaster.h"
#include "res/resource.h"

namespace {

using awardgui::Click;
using awardgui::IsEnabled;
using awardgui::IsTicked;
using awardgui::SetBoxText;
using Codes = std::vector<std::string>;

constexpr int kInc = IDC_JCC_INCLUDEDELETED;
constexpr int kS1001 = IDC_JCC_SHOW1001;
constexpr int kFull = IDC_JCC_FULLLIST;
constexpr int kUnw = IDC_JCC_UNWORKED;

// -1: every deleted entry of both tables holds a different mark.
int DeletedMark() {
    int mark = -2;
    for (const AreaEntry* table : {JccTable, JcgTable})
        for (int i = 0; i < kAreaTableSize; ++i) {
            if (table[i].DeletedYm == 0) continue;
            if (mark == -2) mark = table[i].Hidden;
            else if (mark != table[i].Hidden) return -1;
        }
    return mark;
}

const AreaEntry* Entry(const char* code) {
    for (const AreaEntry& e : JccTable)
        if (std::strcmp(e.Code, code) == 0) return &e;
    return nullptr;
}

class JccJcgDialogTest : public awardgui::AwardWindowTest {
protected:
    void SetUp() override {
        awardgui::ResetAwardState();
        UseLibrary();
        ASSERT_NO_FATAL_FAILURE(MakeSmallMaster());
        ASSERT_NO_FATAL_FAILURE(MakeLog({
            {"20100201", "14.025", "CW", "0104", false},
            {"20110513", "14.025", "CW", "0101", true},
            {"20120101", "14.025", "CW", "1001", false},
        }));
        MainWindowPlacement = {10, 10, 400};
    }

    // The codes the list of one Search shows; empty when no list opened
    // (opened is then false).
    static Codes SearchCodes(HWND d, bool* opened = nullptr) {
        HWND list = awardgui::SearchAndWaitForList(d, IDC_JCC_SEARCH);
        if (opened) *opened = list != nullptr;
        if (!list) return {};
        Codes codes = awardgui::ColumnOf(awardgui::ReadListRows(::GetDlgItem(list, IDC_AWARDLIST)), 2);
        awardgui::CloseAndWait(list, d);
        return codes;
    }
};

struct Box {
    bool enabled, ticked;
};
struct Step {
    const char* what;
    int click;         // 0: the state right after opening
    Box inc, s1001, full, unw;
    int deletedMark;   // Hidden of every deleted entry
    int mark1001;      // Hidden of "1001  "; -1 not looked at
};

constexpr Box EU{true, false}, ET{true, true}, DU{false, false};

TEST_F(JccJcgDialogTest, OptionBoxesAndMarksFollowEveryClick) {
    const Step steps[] = {
        {"opened", 0, EU, DU, EU, EU, 1, 0},
        {"full-list ticked", kFull, DU, DU, ET, DU, 0, -1},
        {"full-list unticked", kFull, EU, DU, EU, EU, 1, -1},
        {"include-deleted ticked", kInc, ET, EU, EU, EU, 0, 1},
        {"show-1001 ticked", kS1001, ET, ET, EU, EU, 0, 0},
        {"show-1001 unticked", kS1001, ET, EU, EU, EU, 0, 1},
        {"show-1001 ticked again", kS1001, ET, ET, EU, EU, 0, 0},
        {"include-deleted unticked", kInc, EU, DU, EU, EU, 1, 1},
        {"include-deleted ticked again", kInc, ET, EU, EU, EU, 0, 1},
        {"unworked ticked: include-deleted keeps its tick", kUnw, ET, DU, DU, ET, 0, 1},
        {"unworked unticked: include-deleted ends unticked", kUnw, EU, DU, EU, EU, 1, 1},
        {"unworked ticked", kUnw, EU, DU, DU, ET, 1, 1},
        {"include-deleted ticked under unworked: show-1001 stays off", kInc, ET, DU, DU, ET, 0, 1},
        {"JCG chosen: every option unticked", IDC_JCC_JCG, EU, DU, EU, EU, 1, 1},
        {"JCG, include-deleted ticked: show-1001 stays off", kInc, ET, DU, EU, EU, 0, 1},
        {"full-list ticked", kFull, DU, DU, ET, DU, 0, 1},
        {"JCC chosen: every option unticked", IDC_JCC_JCC, EU, DU, EU, EU, 1, 1},
    };
    JccJcgDialog dialog(AwardFilter, TheJccJcgList);
    gui::RunModal(dialog, [&](HWND d) {
        SetBoxText(d, IDC_JCC_START, "100401");
        SetBoxText(d, IDC_JCC_MODE, "CW");
        for (const Step& s : steps) {
            SCOPED_TRACE(s.what);
            if (s.click) Click(d, s.click);
            const struct {
                int id;
                Box want;
            } boxes[] = {{kInc, s.inc}, {kS1001, s.s1001}, {kFull, s.full}, {kUnw, s.unw}};
            for (const auto& b : boxes) {
                EXPECT_EQ(IsEnabled(d, b.id), b.want.enabled) << "box " << b.id;
                EXPECT_EQ(IsTicked(d, b.id), b.want.ticked) << "box " << b.id;
            }
            EXPECT_EQ(DeletedMark(), s.deletedMark);
            if (s.mark1001 >= 0) {
                EXPECT_EQ(Entry("1001  ")->Hidden, s.mark1001);
            }
            EXPECT_EQ(awardgui::BoxText(d, IDC_JCC_START), "100401") << "the texts stay as typed";
            EXPECT_EQ(awardgui::BoxText(d, IDC_JCC_MODE), "CW");
        }
        EXPECT_EQ(AwardFilter.AwardKind, Jcc);
    });
}

TEST_F(JccJcgDialogTest, UnworkedFromAStartDateLeavesOutAreasDeletedBeforeItsMonth) {
    JccJcgDialog dialog(AwardFilter, TheJccJcgList);
    gui::RunModal(dialog, [&](HWND d) {
        Click(d, IDC_JCC_BAND4);
        SetBoxText(d, IDC_JCC_START, "100401");
        Click(d, kInc);
        Click(d, kUnw);
        // 0103 went in 2010-03, 0105 in 2009-12: left out; 0104 went in
        // 2010-04 and has no QSO since the start: listed. 1001 is never
        // listed unworked.
        const Codes withDeleted = {"0102  ", "0104  ", "1002  "};
        EXPECT_EQ(SearchCodes(d), withDeleted);
        EXPECT_EQ(AwardFilter.ShowUnworked, 1);
        EXPECT_EQ(DeletedMark(), 0) << "the marks come back once the list is closed";
        EXPECT_EQ(SearchCodes(d), withDeleted) << "the same search again";

        Click(d, kInc);
        EXPECT_EQ(SearchCodes(d), (Codes{"0102  ", "1002  "}));
        EXPECT_EQ(DeletedMark(), 1);
        EXPECT_EQ(SearchCodes(d), (Codes{"0102  ", "1002  "}));

        // A start later than the end: no list, and the marks as they were.
        Click(d, kInc);
        SetBoxText(d, IDC_JCC_START, "261231");
        SetBoxText(d, IDC_JCC_END, "260101");
        bool opened = true;
        SearchCodes(d, &opened);
        EXPECT_FALSE(opened);
        EXPECT_EQ(DeletedMark(), 0);

        // The default start: no temporary hiding, include-deleted alone decides.
        SetBoxText(d, IDC_JCC_START, "000000");
        SetBoxText(d, IDC_JCC_END, "301231");
        EXPECT_EQ(SearchCodes(d), (Codes{"0102  ", "0103  ", "0105  ", "1002  "}));
    });
}

TEST_F(JccJcgDialogTest, TheEntry1001FollowsShow1001InTheWorkedListOnly) {
    JccJcgDialog dialog(AwardFilter, TheJccJcgList);
    gui::RunModal(dialog, [&](HWND d) {
        Click(d, IDC_JCC_BAND4);
        EXPECT_EQ(SearchCodes(d), (Codes{"0101  "})) << "deleted 0104 and 1001 hidden";
        Click(d, kInc);
        Click(d, kS1001);
        EXPECT_EQ(SearchCodes(d), (Codes{"0101  ", "0104  ", "1001  "}));
        Click(d, kS1001);
        EXPECT_EQ(SearchCodes(d), (Codes{"0101  ", "0104  "}));
        Click(d, kS1001);
        Click(d, kInc);
        EXPECT_EQ(SearchCodes(d), (Codes{"0101  "})) << "unticking include-deleted hides 1001 again";
        Click(d, kFull);
        EXPECT_EQ(SearchCodes(d), (Codes{"0101  ", "0102  ", "0103  ", "0104  ", "0105  ", "1001  ", "1002  "}));
        EXPECT_EQ(AwardFilter.ShowFullList, 1);

        Click(d, IDC_JCC_JCG);
        EXPECT_EQ(AwardFilter.AwardKind, Jcg);
        EXPECT_EQ(SearchCodes(d), Codes{}) << "no county worked";
        Click(d, kUnw);
        EXPECT_EQ(SearchCodes(d), (Codes{"01001 "})) << "deleted 01002 hidden";
    });
}

TEST_F(JccJcgDialogTest, AMasterThatCannotBeLoadedIsToldOnceAtOpeningAndTheSearchStillRuns) {
    const std::string good = test::ReadFileBytes(Dir().File("vireon.mst"));
    JccJcgDialog dialog(AwardFilter, TheJccJcgList);
    std::vector<test::DamagedFile> masters = test::DamagedFiles(good);
    masters.push_back({"no JCC and no JCG entry", true, test::WithNoRecords(good)});
    for (const test::DamagedFile& master : masters) {
        SCOPED_TRACE(master.What);
        test::PutDamagedFile(master, Dir().File("vireon.mst"));
        gui::RunModal(dialog, [&](HWND d) {
            HWND box = gui::WaitFor([] { return gui::FindProcessWindow("award_check_dialog_tests"); });
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(::GetWindow(box, GW_OWNER), d);
            EXPECT_NE(::FindWindowExA(box, nullptr, "Static", "vireon.mst を読み込めません"), nullptr);
            EXPECT_NE(::GetDlgItem(box, IDOK), nullptr);
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            ASSERT_TRUE(gui::WaitUntil([&] { return !::IsWindow(box); }));
            gui::Settle(d);
            EXPECT_EQ(gui::FindProcessWindow("award_check_dialog_tests"), nullptr) << "one message";
            Click(d, IDC_JCC_BAND4);
            bool opened = false;
            EXPECT_EQ(SearchCodes(d, &opened), Codes{});
            EXPECT_TRUE(opened) << "the search runs without the master";
        });
    }
    // A sound master is loaded without a word.
    test::WriteFileBytes(Dir().File("vireon.mst"), good);
    gui::RunModal(dialog, [&](HWND d) {
        EXPECT_EQ(gui::FindProcessWindow("award_check_dialog_tests"), nullptr);
        Click(d, IDC_JCC_BAND4);
        EXPECT_EQ(SearchCodes(d), (Codes{"0101  "})) << "0104 deleted and 1001 hidden at opening";
    });
}

TEST_F(JccJcgDialogTest, EveryOpeningReloadsTheTablesAndResetsTheOptions) {
    JccJcgDialog dialog(AwardFilter, TheJccJcgList);
    gui::RunModal(dialog, [&](HWND d) {
        Click(d, IDC_JCC_JCG);
        Click(d, kUnw);
        Click(d, IDC_JCC_BAND4);
        SetBoxText(d, IDC_JCC_MODE, "SSB");
        EXPECT_EQ(SearchCodes(d), (Codes{"01001 "}));
    });
    ASSERT_EQ(AwardFilter.ShowUnworked, 1);
    JccTable[1].Hidden = 5;
    JccTable[1].Code[0] = 'X';

    gui::RunModal(dialog, [&](HWND d) {
        EXPECT_EQ(gui::WindowText(d), "JCC/JCG Check");
        EXPECT_TRUE(IsTicked(d, IDC_JCC_JCC));
        EXPECT_FALSE(IsTicked(d, IDC_JCC_JCG));
        EXPECT_EQ(AwardFilter.AwardKind, Jcc);
        EXPECT_EQ(AwardFilter.ShowUnworked, 0);
        EXPECT_EQ(awardgui::BoxText(d, IDC_JCC_START), "000000");
        EXPECT_EQ(awardgui::BoxText(d, IDC_JCC_MODE), "");
        EXPECT_FALSE(IsTicked(d, IDC_JCC_BAND4));
        for (int id : {kInc, kS1001, kFull, kUnw}) EXPECT_FALSE(IsTicked(d, id));
        EXPECT_FALSE(IsEnabled(d, kS1001));
        EXPECT_STREQ(JccTable[1].Code, "0102  ");
        EXPECT_EQ(JccTable[1].Hidden, 0);
        EXPECT_EQ(DeletedMark(), 1);
    });

    // Without the library nothing can be read: the tables are left empty,
    // not as the last opening left them.
    test::RemoveFile(Dir().File(test::LibraryFileName()));
    gui::RunModal(dialog, [&](HWND d) {
        EXPECT_TRUE(::IsWindow(d));
        EXPECT_EQ(JccTable[0].Code[0], '\0');
        EXPECT_EQ(JcgTable[0].Code[0], '\0');
    });
}

}  // namespace
