// The JCC/JCG dialog's four list options without the window: how each click
// enables, disables and unticks the option boxes, and what it does to the
// Hidden marks of the master-table entries that the result list honours.
#pragma once
#include <cstdint>

#include "logstore/AreaMaster.h"

// Stores value (0 or 1) in Hidden of every entry of JccTable and JcgTable
// whose DeletedYm is not 0.
void SetDeletedAreasHidden(int32_t value);

// The first JccTable entry whose Code is exactly "1001  " is shown (Hidden
// 0) when show1001Ticked, else hidden (1). No such entry: nothing happens.
void ApplyJcc1001Option(bool show1001Ticked);

// For the length of one search with the unworked option: hides the areas
// deleted before the start month, noting each mark it changes, and gives
// the marks back afterwards (Restore, or at the latest when it goes away).
class TemporaryAreaHiding {
public:
    TemporaryAreaHiding() = default;
    ~TemporaryAreaHiding() { Restore(); }
    TemporaryAreaHiding(const TemporaryAreaHiding&) = delete;
    TemporaryAreaHiding& operator=(const TemporaryAreaHiding&) = delete;

    // When showUnworked, startDate is not 0 and not showFullList: every
    // entry of both tables with 0 < DeletedYm < startDate / 100 gets Hidden
    // 1, its previous mark noted. Otherwise nothing. Returns the number of
    // entries noted.
    int Apply(bool showUnworked, bool showFullList, int32_t startDate);
    // Gives every noted entry its noted mark back, once.
    void Restore();
    int NotedCount() const { return count_; }

private:
    struct Noted {
        AreaEntry* Entry;
        int32_t Hidden;
    };
    Noted noted_[2 * kAreaTableSize];
    int count_ = 0;
};

// One option box as the dialog shows it.
struct OptionBox {
    bool Enabled;
    bool Ticked;
};

struct JccJcgOptionBoxes {
    OptionBox IncludeDeleted;   // 1021 "消滅地域含む表示"
    OptionBox Show1001;         // 1022 "JCC1001表示"
    OptionBox FullList;         // 1023 "全リスト表示"
    OptionBox Unworked;         // 1024 "未交信地域表示"
};

enum class JccJcgEvent {
    DialogOpened,           // the window has just been made and the tables reloaded
    AwardChosen,            // "JCC" or "JCG" clicked
    IncludeDeletedClicked,
    Show1001Clicked,
    FullListClicked,
    UnworkedClicked,
};

enum class MarksChange {
    None,
    HideDeleted,   // SetDeletedAreasHidden(1)
    ShowDeleted,   // SetDeletedAreasHidden(0)
};

struct JccJcgOptionOutcome {
    JccJcgOptionBoxes Boxes;   // the boxes as they must now be shown
    MarksChange Marks;         // run first
    bool Apply1001;            // then ApplyJcc1001Option(Boxes.Show1001.Ticked)
    bool ExchangeTexts;        // take the edit-box texts and show them again
};

// The boxes after an event. `boxes` is their state as the click left it (an
// automatic check box has already toggled its tick); `awardKind` is the
// award chosen after the event (Jcc or Jcg).
JccJcgOptionOutcome JccJcgOptionEvent(JccJcgEvent event, const JccJcgOptionBoxes& boxes,
                                      int32_t awardKind);

// Runs the marks part of an outcome on the tables.
void ApplyOptionMarks(const JccJcgOptionOutcome& outcome);
