// The part of "Search" that both check dialogs share and that needs no
// window: from the three edit-box texts and the fourteen band boxes, what
// goes into the criteria, or which silent refusal ends the search.
#pragma once
#include <cstdint>

#include "awards/AwardFilter.h"

enum class SearchRefusal {
    None,          // criteria stand; the list opens when StartDate <= EndDate
    NoBand,        // no band ticked: nothing more happens
    BadStartDate,  // start text breaks the date rule: show the texts again, stop
    BadEndDate,    // end text breaks the date rule: show the texts again, stop
};

struct SearchInput {
    const char* StartText;
    const char* EndText;
    const char* ModeText;
    bool BandTicked[kBandCount];   // in band-index order
};

struct SearchCriteria {
    // Stored whatever the refusal: the mode cut at its first space and the
    // band flags.
    char ModeText[kModeTextSize];
    int32_t BandSelected[kBandCount];
    // Stored only when Refusal is None.
    int32_t StartDate;
    int32_t EndDate;
    SearchRefusal Refusal;
};

// A date text is accepted when its number is 0 or it passes
// IsValidShortDateText.
bool IsAcceptedDateText(const char* text);

SearchCriteria CheckSearchInput(const SearchInput& input);

// Writes what the search took into `into`: mode and bands always, the dates
// only when the search was not refused. Returns true when the result list
// should open: no refusal and StartDate <= EndDate.
bool StoreSearchCriteria(const SearchCriteria& criteria, AwardCriteria& into);
