#include "awards/AwardSearch.h"

#include <cstring>

bool IsAcceptedDateText(const char* text) {
    return ReadDecimalText(text) == 0 || IsValidShortDateText(text);
}

SearchCriteria CheckSearchInput(const SearchInput& input) {
    SearchCriteria c = {};
    const char* mode = input.ModeText ? input.ModeText : "";
    for (int i = 0; i + 1 < kModeTextSize && mode[i] != '\0' && mode[i] != ' '; ++i)
        c.ModeText[i] = mode[i];

    bool anyBand = false;
    for (int b = 0; b < kBandCount; ++b) {
        c.BandSelected[b] = input.BandTicked[b] ? 1 : 0;
        anyBand = anyBand || input.BandTicked[b];
    }
    if (!anyBand) {
        c.Refusal = SearchRefusal::NoBand;
        return c;
    }
    const char* start = input.StartText ? input.StartText : "";
    const char* end = input.EndText ? input.EndText : "";
    if (!IsAcceptedDateText(start)) {
        c.Refusal = SearchRefusal::BadStartDate;
        return c;
    }
    if (!IsAcceptedDateText(end)) {
        c.Refusal = SearchRefusal::BadEndDate;
        return c;
    }
    c.StartDate = ExpandShortDate(ReadDecimalText(start));
    c.EndDate = ExpandShortDate(ReadDecimalText(end));
    c.Refusal = SearchRefusal::None;
    return c;
}

bool StoreSearchCriteria(const SearchCriteria& criteria, AwardCriteria& into) {
    std::memcpy(into.ModeText, criteria.ModeText, sizeof into.ModeText);
    std::memcpy(into.BandSelected, criteria.BandSelected, sizeof into.BandSelected);
    if (criteria.Refusal != SearchRefusal::None) return false;
    into.StartDate = criteria.StartDate;
    into.EndDate = criteria.EndDate;
    return into.StartDate <= into.EndDate;
}
