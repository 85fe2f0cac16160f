// The JCC/JCG option boxes and the Hidden marks they drive, with the
// dialog's part played by a few lines that apply each outcome.
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "awards/AwardFilter.h"
#include "awards/JccJcgOptions.h"

namespace {

// The option boxes of a dialog as the user sees them: a click on an enabled
// automatic check box toggles it, then the handler applies the outcome.
struct OptionPanel {
    JccJcgOptionBoxes boxes = {{true, false}, {false, false}, {true, false}, {true, false}};
    int32_t kind = Jcc;

    void Handle(JccJcgEvent event) {
        const JccJcgOptionOutcome out = JccJcgOptionEvent(event, boxes, kind);
        boxes = out.Boxes;
        ApplyOptionMarks(out);
    }
    void Open() { kind = Jcc; Handle(JccJcgEvent::DialogOpened); }
    void Choose(int32_t k) { kind = k; Handle(JccJcgEvent::AwardChosen); }
    bool Click(OptionBox JccJcgOptionBoxes::*box, JccJcgEvent event) {
        if (!(boxes.*box).Enabled) return false;
        (boxes.*box).Ticked = !(boxes.*box).Ticked;
        Handle(event);
        return true;
    }
    bool ClickIncludeDeleted() { return Click(&JccJcgOptionBoxes::IncludeDeleted, JccJcgEvent::IncludeDeletedClicked); }
    bool ClickShow1001() { return Click(&JccJcgOptionBoxes::Show1001, JccJcgEvent::Show1001Clicked); }
    bool ClickFullList() { return Click(&JccJcgOptionBoxes::FullList, JccJcgEvent::FullListClicked); }
    bool ClickUnworked() { return Click(&JccJcgOptionBoxes::Unworked, JccJcgEvent::UnworkedClicked); }
};

std::string Describe(const JccJcgOptionBoxes& b) {
    auto one = [](const OptionBox& x) { return std::string(x.Enabled ? "E" : "D") + (x.Ticked ? "T" : "-"); };
    return one(b.IncludeDeleted) + " " + one(b.Show1001) + " " + one(b.FullList) + " " + one(b.Unworked);
}

class JccJcgOptions : public ::testing::Test {
protected:
    void SetUp() override {
        std::memcpy(savedJcc_, JccTable, sizeof JccTable);
        std::memcpy(savedJcg_, JcgTable, sizeof JcgTable);
        std::memset(JccTable, 0, sizeof JccTable);
        std::memset(JcgTable, 0, sizeof JcgTable);
        Set(JccTable[0], "0101  ", 0);
        Set(JccTable[1], "0102  ", 201003);     // deleted March 2010
        Set(JccTable[2], "1001  ", 0);          // the special entry
        Set(JccTable[3], "0103  ", 201004);     // deleted April 2010
        Set(JccTable[4], "1001  ", 0);          // a second one is never touched
        Set(JcgTable[0], "01001 ", 199903);
        Set(JcgTable[1], "01002 ", 0);
        Set(JcgTable[2], "01003 ", 201012);
        // Past the end of the table: a stray deletion date is still marked
        // by the whole-table operations, which look at all 1000 entries.
        JccTable[999].DeletedYm = 200001;
    }
    void TearDown() override {
        std::memcpy(JccTable, savedJcc_, sizeof JccTable);
        std::memcpy(JcgTable, savedJcg_, sizeof JcgTable);
    }
    static void Set(AreaEntry& e, const char* code, int32_t deletedYm) {
        std::snprintf(e.Code, sizeof e.Code, "%s", code);
        e.DeletedYm = deletedYm;
    }
    // Hidden marks of every entry with a deletion date: all equal to value?
    static bool DeletedMarksAre(int32_t value) {
        for (const AreaEntry* t : {JccTable, JcgTable})
            for (int i = 0; i < kAreaTableSize; ++i)
                if (t[i].DeletedYm != 0 && t[i].Hidden != value) return false;
        return true;
    }
    AreaEntry savedJcc_[kAreaTableSize];
    AreaEntry savedJcg_[kAreaTableSize];
};

TEST_F(JccJcgOptions, MarkOperations) {
    SetDeletedAreasHidden(1);
    EXPECT_TRUE(DeletedMarksAre(1));
    EXPECT_EQ(JccTable[0].Hidden, 0);
    EXPECT_EQ(JcgTable[1].Hidden, 0);
    EXPECT_EQ(JccTable[999].Hidden, 1);
    SetDeletedAreasHidden(0);
    EXPECT_TRUE(DeletedMarksAre(0));

    ApplyJcc1001Option(false);
    EXPECT_EQ(JccTable[2].Hidden, 1);
    EXPECT_EQ(JccTable[4].Hidden, 0);
    ApplyJcc1001Option(true);
    EXPECT_EQ(JccTable[2].Hidden, 0);

    // "1001" must match with its two blanks; a longer or shorter code does not.
    JccTable[2].Hidden = 0;
    std::strcpy(JccTable[2].Code, "1001 ");
    std::strcpy(JccTable[4].Code, "100101");
    ApplyJcc1001Option(false);
    EXPECT_EQ(JccTable[2].Hidden, 0);
    EXPECT_EQ(JccTable[4].Hidden, 0);
}

TEST_F(JccJcgOptions, ClickSequences) {
    OptionPanel p;
    p.Open();
    EXPECT_TRUE(DeletedMarksAre(1));

    // JCG: include-deleted leaves show-1001 disabled.
    p.Choose(Jcg);
    EXPECT_TRUE(p.ClickIncludeDeleted());
    EXPECT_FALSE(p.boxes.Show1001.Enabled);
    EXPECT_TRUE(DeletedMarksAre(0));

    // Switching the award unticks every option and hides the deleted areas.
    p.Choose(Jcc);
    EXPECT_EQ(Describe(p.boxes), "E- D- E- E-");
    EXPECT_TRUE(DeletedMarksAre(1));

    // Full list excludes the three others; unticking it re-enables two.
    EXPECT_TRUE(p.ClickIncludeDeleted());
    EXPECT_TRUE(p.ClickShow1001());
    EXPECT_EQ(JccTable[2].Hidden, 0);
    EXPECT_TRUE(p.ClickFullList());
    EXPECT_EQ(Describe(p.boxes), "D- D- ET D-");
    EXPECT_TRUE(DeletedMarksAre(0));
    EXPECT_FALSE(p.ClickIncludeDeleted());
    EXPECT_TRUE(p.ClickFullList());
    EXPECT_EQ(Describe(p.boxes), "E- D- E- E-");
    EXPECT_TRUE(DeletedMarksAre(1));

    // Unworked keeps include-deleted's tick; unticking unworked clears it.
    EXPECT_TRUE(p.ClickIncludeDeleted());
    EXPECT_TRUE(p.ClickUnworked());
    EXPECT_EQ(Describe(p.boxes), "ET D- D- ET");
    EXPECT_TRUE(DeletedMarksAre(0));
    EXPECT_TRUE(p.ClickUnworked());
    EXPECT_EQ(Describe(p.boxes), "E- D- E- E-");
    EXPECT_TRUE(DeletedMarksAre(1));

    // Show-1001 is usable only with include-deleted and without unworked;
    // unticking include-deleted hides the 1001 entry again.
    EXPECT_TRUE(p.ClickIncludeDeleted());
    EXPECT_TRUE(p.ClickShow1001());
    EXPECT_EQ(JccTable[2].Hidden, 0);
    EXPECT_TRUE(p.ClickShow1001());
    EXPECT_EQ(JccTable[2].Hidden, 1);
    EXPECT_TRUE(p.ClickShow1001());
    EXPECT_TRUE(p.ClickIncludeDeleted());
    EXPECT_EQ(JccTable[2].Hidden, 1);
    EXPECT_FALSE(p.ClickShow1001());

    // Ticking include-deleted with unworked ticked keeps show-1001 disabled.
    EXPECT_TRUE(p.ClickUnworked());
    EXPECT_TRUE(p.ClickIncludeDeleted());
    EXPECT_EQ(Describe(p.boxes), "ET D- D- ET");

    // Only the full-list and include-deleted handlers exchange the texts.
    const JccJcgEvent events[] = {JccJcgEvent::DialogOpened, JccJcgEvent::AwardChosen,
                                  JccJcgEvent::IncludeDeletedClicked, JccJcgEvent::Show1001Clicked,
                                  JccJcgEvent::FullListClicked, JccJcgEvent::UnworkedClicked};
    const bool exchanges[] = {false, false, true, false, true, false};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(JccJcgOptionEvent(events[i], p.boxes, Jcc).ExchangeTexts, exchanges[i]) << i;
}

TEST_F(JccJcgOptions, RandomClicksKeepTheBoxesConsistent) {
    std::mt19937 random(12345);
    OptionPanel p;
    p.Open();
    for (int step = 0; step < 5000; ++step) {
        switch (random() % 6) {
        case 0: p.Choose(random() % 2 ? Jcc : Jcg); break;
        case 1: p.ClickIncludeDeleted(); break;
        case 2: p.ClickShow1001(); break;
        case 3: p.ClickFullList(); break;
        case 4: p.ClickUnworked(); break;
        case 5: if (random() % 20 == 0) p.Open(); break;
        }
        const JccJcgOptionBoxes& b = p.boxes;
        const std::string state = Describe(b) + (p.kind == Jcc ? " JCC" : " JCG");
        // Deleted areas are shown exactly when include-deleted or full-list is ticked.
        EXPECT_TRUE(DeletedMarksAre(b.IncludeDeleted.Ticked || b.FullList.Ticked ? 0 : 1)) << state;
        // Full list excludes the others; unworked excludes full list and show-1001.
        if (b.FullList.Ticked) {
            EXPECT_TRUE(!b.IncludeDeleted.Ticked && !b.Show1001.Ticked && !b.Unworked.Ticked) << state;
        }
        if (b.Unworked.Ticked) {
            EXPECT_TRUE(!b.FullList.Ticked && !b.Show1001.Ticked) << state;
        }
        if (b.Show1001.Enabled || b.Show1001.Ticked) {
            EXPECT_TRUE(p.kind == Jcc && b.IncludeDeleted.Ticked && !b.Unworked.Ticked) << state;
        }
        if (b.Show1001.Ticked) {
            EXPECT_EQ(JccTable[2].Hidden, 0) << state;
        }
        if (HasFailure()) break;
    }
}

TEST_F(JccJcgOptions, TemporaryHidingOfAreasDeletedBeforeTheStart) {
    // Unworked with include-deleted: the deleted areas are shown.
    SetDeletedAreasHidden(0);
    {
        TemporaryAreaHiding hiding;
        EXPECT_EQ(hiding.Apply(true, false, 20100401), 3);   // 2010-03, 1999-03 and the stray 2000-01
        EXPECT_EQ(JccTable[1].Hidden, 1);    // 2010-03: before April
        EXPECT_EQ(JccTable[3].Hidden, 0);    // 2010-04: the start month itself
        EXPECT_EQ(JcgTable[0].Hidden, 1);
        EXPECT_EQ(JcgTable[2].Hidden, 0);
        hiding.Restore();
        EXPECT_TRUE(DeletedMarksAre(0));
        // The same search again hides the same areas.
        EXPECT_EQ(hiding.Apply(true, false, 20100401), 3);
        EXPECT_EQ(JccTable[1].Hidden, 1);
    }   // going away gives the marks back
    EXPECT_TRUE(DeletedMarksAre(0));

    // Without include-deleted every deleted area is hidden before and after.
    SetDeletedAreasHidden(1);
    {
        TemporaryAreaHiding hiding;
        hiding.Apply(true, false, 20100401);
        EXPECT_TRUE(DeletedMarksAre(1));
    }
    EXPECT_TRUE(DeletedMarksAre(1));

    // No hiding without unworked, with the full list, or without a start date.
    SetDeletedAreasHidden(0);
    const struct { bool unworked, full; int32_t start; } none[] = {
        {false, false, 20100401}, {true, true, 20100401}, {true, false, 0},
    };
    for (const auto& c : none) {
        TemporaryAreaHiding hiding;
        EXPECT_EQ(hiding.Apply(c.unworked, c.full, c.start), 0);
        EXPECT_TRUE(DeletedMarksAre(0));
    }
}

}  // namespace
