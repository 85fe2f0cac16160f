#include "awards/JccJcgOptions.h"

#include <cstring>
#include <initializer_list>

#include "awards/AwardFilter.h"

void SetDeletedAreasHidden(int32_t value) {
    for (AreaEntry* table : {JccTable, JcgTable})
        for (int i = 0; i < kAreaTableSize; ++i)
            if (table[i].DeletedYm != 0) table[i].Hidden = value;
}

void ApplyJcc1001Option(bool show1001Ticked) {
    for (int i = 0; i < kAreaTableSize; ++i) {
        if (std::strncmp(JccTable[i].Code, "1001  ", sizeof JccTable[i].Code) == 0) {
            JccTable[i].Hidden = show1001Ticked ? 0 : 1;
            return;
        }
    }
}

int TemporaryAreaHiding::Apply(bool showUnworked, bool showFullList, int32_t startDate) {
    if (!showUnworked || startDate == 0 || showFullList) return count_;
    const int32_t startMonth = startDate / 100;
    for (AreaEntry* table : {JccTable, JcgTable}) {
        for (int i = 0; i < kAreaTableSize; ++i) {
            AreaEntry& e = table[i];
            if (e.DeletedYm != 0 && e.DeletedYm < startMonth && count_ < 2 * kAreaTableSize) {
                noted_[count_++] = {&e, e.Hidden};
                e.Hidden = 1;
            }
        }
    }
    return count_;
}

void TemporaryAreaHiding::Restore() {
    // Last noted first, so an entry noted twice ends with its first mark.
    while (count_ > 0) {
        --count_;
        noted_[count_].Entry->Hidden = noted_[count_].Hidden;
    }
}

namespace {

void Enable(OptionBox& box) { box.Enabled = true; }
void Disable(OptionBox& box) { box.Enabled = false; }
void UntickDisable(OptionBox& box) { box = {false, false}; }
void UntickEnable(OptionBox& box) { box = {true, false}; }

}  // namespace

JccJcgOptionOutcome JccJcgOptionEvent(JccJcgEvent event, const JccJcgOptionBoxes& boxes,
                                      int32_t awardKind) {
    JccJcgOptionOutcome out = {boxes, MarksChange::None, false, false};
    JccJcgOptionBoxes& b = out.Boxes;
    switch (event) {
    case JccJcgEvent::DialogOpened:
    case JccJcgEvent::AwardChosen:
        UntickEnable(b.IncludeDeleted);
        UntickDisable(b.Show1001);
        UntickEnable(b.FullList);
        UntickEnable(b.Unworked);
        out.Marks = MarksChange::HideDeleted;
        break;
    case JccJcgEvent::FullListClicked:
        out.ExchangeTexts = true;
        if (boxes.FullList.Ticked) {
            UntickDisable(b.IncludeDeleted);
            UntickDisable(b.Show1001);
            UntickDisable(b.Unworked);
            out.Marks = MarksChange::ShowDeleted;
        } else {
            Enable(b.IncludeDeleted);
            Disable(b.Show1001);
            Enable(b.Unworked);
            out.Marks = MarksChange::HideDeleted;
        }
        break;
    case JccJcgEvent::IncludeDeletedClicked:
        out.ExchangeTexts = true;
        out.Apply1001 = true;
        if (boxes.IncludeDeleted.Ticked) {
            b.Show1001.Enabled = !boxes.Unworked.Ticked && awardKind == Jcc;
            out.Marks = MarksChange::ShowDeleted;
        } else {
            UntickDisable(b.Show1001);
            out.Marks = MarksChange::HideDeleted;
        }
        break;
    case JccJcgEvent::Show1001Clicked:
        out.Apply1001 = true;
        break;
    case JccJcgEvent::UnworkedClicked:
        if (boxes.Unworked.Ticked) {
            Enable(b.IncludeDeleted);
            UntickDisable(b.Show1001);
            UntickDisable(b.FullList);
        } else {
            UntickEnable(b.IncludeDeleted);
            Disable(b.Show1001);
            Enable(b.FullList);
            out.Marks = MarksChange::HideDeleted;
        }
        break;
    }
    return out;
}

void ApplyOptionMarks(const JccJcgOptionOutcome& outcome) {
    if (outcome.Marks == MarksChange::HideDeleted) SetDeletedAreasHidden(1);
    if (outcome.Marks == MarksChange::ShowDeleted) SetDeletedAreasHidden(0);
    if (outcome.Apply1001) ApplyJcc1001Option(outcome.Boxes.Show1001.Ticked);
}
