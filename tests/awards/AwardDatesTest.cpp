// Date texts, the two-digit-year pivot and the checks "Search" makes before
// it stores the criteria.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "awards/AwardFilter.h"
#include "awards/AwardSearch.h"

namespace {

TEST(ShortDate, ExpandsAroundThePivot) {
    const struct { int32_t in, out; } cases[] = {
        {0, 0},
        {101, 20000101},          // 000101
        {501231, 20501231},
        {510000, 20510000},       // the last value that still gets 2000 added
        {510001, 19510001},
        {510101, 19510101},
        {991231, 19991231},
        {261206, 20261206},
    };
    for (const auto& c : cases) EXPECT_EQ(ExpandShortDate(c.in), c.out) << c.in;
}

TEST(ShortDate, ReadsNumbersLikeAtoi) {
    const struct { const char* text; int32_t value; } cases[] = {
        {"", 0}, {"000000", 0}, {"abc", 0}, {"  261206", 261206}, {"+12", 12},
        {"-5", -5}, {"12x34", 12}, {"99999999999", 2147483647}, {"-99999999999", INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadDecimalText(c.text), c.value) << c.text;
    // A saturated number must not wrap round when it is widened.
    EXPECT_EQ(ExpandShortDate(INT32_MAX), INT32_MAX);
    EXPECT_EQ(ExpandShortDate(INT32_MIN), INT32_MIN);
}

TEST(ShortDate, CharacterRule) {
    const struct { const char* text; bool valid; } cases[] = {
        {"991231", true},  {"990100", true},  {"990231", true},  {"000101", true},
        {"991001", true},  {"991131", true},  {"990930", true},  {"990129", true},
        {"991301", false}, {"990001", false}, {"992001", false}, {"990132", false},
        {"990140", false}, {"12345", false},  {"", false},       {"9A0101", false},
        {"99010", false},  {"9901011", true},                    // only six characters count
        {"99 101", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsValidShortDateText(c.text), c.valid) << c.text;
}

TEST(ShortDate, TodayText) {
    char text[kTodayTextSize];
    FormatTodayText(2026, 12, 6, text);
    EXPECT_STREQ(text, "261206");
    FormatTodayText(2005, 1, 9, text);
    EXPECT_STREQ(text, "050109");
}

struct SearchCase {
    const char* name;
    const char* start;
    const char* end;
    bool anyBand;
    SearchRefusal refusal;
    bool listOpens;
    int32_t startDate, endDate;   // stored values when not refused
};

TEST(SearchInput, RefusalsAndStoredDates) {
    const SearchCase cases[] = {
        {"defaults", "000000", "261206", true, SearchRefusal::None, true, 0, 20261206},
        {"no band", "000000", "261206", false, SearchRefusal::NoBand, false, 0, 0},
        {"no band beats a bad date", "991301", "x", false, SearchRefusal::NoBand, false, 0, 0},
        {"month 13", "991301", "261206", true, SearchRefusal::BadStartDate, false, 0, 0},
        {"five digits", "12345", "261206", true, SearchRefusal::BadStartDate, false, 0, 0},
        {"day 00 passes", "990100", "261206", true, SearchRefusal::None, true, 19990100, 20261206},
        {"no month length", "990231", "261206", true, SearchRefusal::None, true, 19990231, 20261206},
        {"end day 32", "260101", "261332", true, SearchRefusal::BadEndDate, false, 0, 0},
        {"both zero", "000000", "000000", true, SearchRefusal::None, true, 0, 0},
        {"empty end", "260101", "", true, SearchRefusal::None, false, 20260101, 0},
        {"non-numeric end is 0", "000000", "abc", true, SearchRefusal::None, true, 0, 0},
        {"start after end", "261231", "260101", true, SearchRefusal::None, false, 20261231, 20260101},
        {"pivot: 2050 after 1951", "500101", "510101", true, SearchRefusal::None, false, 20500101, 19510101},
        {"pivot in order", "510101", "501231", true, SearchRefusal::None, true, 19510101, 20501231},
    };
    for (const auto& c : cases) {
        SearchInput in = {c.start, c.end, "CW", {}};
        if (c.anyBand) in.BandTicked[13] = true;
        AwardFilter.StartDate = 11111111;
        AwardFilter.EndDate = 22222222;
        const SearchCriteria crit = CheckSearchInput(in);
        EXPECT_EQ(crit.Refusal, c.refusal) << c.name;
        EXPECT_EQ(StoreSearchCriteria(crit, AwardFilter), c.listOpens) << c.name;
        // The mode and the bands are stored even when the search stops.
        EXPECT_STREQ(AwardFilter.ModeText, "CW") << c.name;
        EXPECT_EQ(AwardFilter.BandSelected[13], c.anyBand ? 1 : 0) << c.name;
        if (c.refusal == SearchRefusal::None) {
            EXPECT_EQ(AwardFilter.StartDate, c.startDate) << c.name;
            EXPECT_EQ(AwardFilter.EndDate, c.endDate) << c.name;
        } else {
            EXPECT_EQ(AwardFilter.StartDate, 11111111) << c.name;
            EXPECT_EQ(AwardFilter.EndDate, 22222222) << c.name;
        }
    }
}

TEST(SearchInput, ModeCutAtFirstSpaceAndBandsInOrder) {
    const struct { const char* typed; const char* stored; } cases[] = {
        {"CW", "CW"}, {" CW", ""}, {"CW X", "CW"}, {"", ""}, {"SSB ", "SSB"}, {"FT8", "FT8"},
        {"ABCDEFGHIJ", "ABCDEFG"},   // never more than the field holds
    };
    for (const auto& c : cases) {
        SearchInput in = {"000000", "000000", c.typed, {}};
        for (int b = 0; b < kBandCount; ++b) in.BandTicked[b] = (b % 3 == 0);
        const SearchCriteria crit = CheckSearchInput(in);
        EXPECT_STREQ(crit.ModeText, c.stored) << c.typed;
        for (int b = 0; b < kBandCount; ++b) EXPECT_EQ(crit.BandSelected[b], b % 3 == 0 ? 1 : 0);
    }
}

}  // namespace
