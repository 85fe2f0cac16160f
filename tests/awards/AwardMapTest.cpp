// The award map without its window: the tile layout, what each tile shows
// for a tally of a log in memory, the colours, texts and geometry.
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "MemoryLog.h"
#include "awards/AwardFilter.h"
#include "awards/AwardMap.h"

namespace {

using test::MemoryLog;
using test::Qso;

AwardCriteria Criteria(int32_t kind) {
    AwardCriteria c{};
    c.AwardKind = kind;
    c.BandSelected[2] = 1;   // 7 MHz
    c.BandSelected[4] = 1;   // 14 MHz
    c.EndDate = 20991231;
    return c;
}

void SetEntry(AreaEntry& e, const char* code, int32_t deletedYm = 0, int32_t hidden = 0) {
    std::memset(&e, 0, sizeof e);
    std::snprintf(e.Code, sizeof e.Code, "%-6s", code);
    std::snprintf(e.Name, sizeof e.Name, "name %s", code);
    e.DeletedYm = deletedYm;
    e.Hidden = hidden;
}

TEST(AwardMapLayout, EveryPrefectureOnceNoOverlapAndTheLegendFree) {
    std::vector<int> owner(kMapColumns * kMapRows, 0);
    for (int p = 1; p <= kPrefectureCount; ++p) {
        const MapCells& c = TileCellsOf(p);
        ASSERT_GE(c.Column, 0);
        ASSERT_GE(c.Row, 0);
        ASSERT_LE(c.Column + c.Width, kMapColumns) << p;
        ASSERT_LE(c.Row + c.Height, kMapRows) << p;
        for (int y = c.Row; y < c.Row + c.Height; ++y)
            for (int x = c.Column; x < c.Column + c.Width; ++x) {
                EXPECT_EQ(owner[y * kMapColumns + x], 0) << "prefectures " << p << " and " << owner[y * kMapColumns + x];
                owner[y * kMapColumns + x] = p;
                EXPECT_EQ(PrefectureAtCell(x, y), p);
            }
    }
    std::set<int> seen(owner.begin(), owner.end());
    seen.erase(0);
    EXPECT_EQ(seen.size(), 47u) << "every number 1-47 has a cell";
    const MapCells& l = kMapLegendCells;
    for (int y = l.Row; y < l.Row + l.Height; ++y)
        for (int x = l.Column; x < l.Column + l.Width; ++x) EXPECT_EQ(PrefectureAtCell(x, y), 0) << x << "," << y;
    EXPECT_EQ(PrefectureAtCell(-1, 0), 0);
    EXPECT_EQ(PrefectureAtCell(kMapColumns, 0), 0);
    // The shape: Hokkaido top right, Okinawa bottom left, Tokyo east of Osaka.
    EXPECT_EQ(TileCellsOf(1).Row, 0);
    EXPECT_EQ(TileCellsOf(1).Column + TileCellsOf(1).Width, kMapColumns);
    EXPECT_EQ(TileCellsOf(47).Column, 0);
    EXPECT_EQ(TileCellsOf(47).Row + 1, kMapRows);
    EXPECT_GT(TileCellsOf(10).Column, TileCellsOf(25).Column);
}

TEST(AwardMapLayout, ArrowKeysReachEveryTileAndStopAtTheEdge) {
    struct { int from, dx, dy, to; } cases[] = {
        {13, 1, 0, 10},    // 埼玉 -> 東京
        {10, 0, 1, 11},    // 東京 -> down, the nearest below: 神奈川
        {2, 0, -1, 1},     // 青森 -> 北海道
        {1, 0, -1, 1},     // nothing above Hokkaido
        {47, -1, 0, 47},   // nothing left of Okinawa
        {42, 0, 1, 47},    // 長崎 -> 沖縄
    };
    for (const auto& c : cases) EXPECT_EQ(NeighbourTile(c.from, c.dx, c.dy), c.to) << c.from;
    // From Tokyo, every tile is reachable by arrows.
    std::set<int> reached = {10};
    std::vector<int> todo = {10};
    while (!todo.empty()) {
        const int p = todo.back();
        todo.pop_back();
        for (auto d : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
            if (reached.insert(NeighbourTile(p, d.first, d.second)).second) todo.push_back(NeighbourTile(p, d.first, d.second));
    }
    EXPECT_EQ(reached.size(), 47u);
}

TEST(AwardMapModel, WajaTilesFollowEachPrefectureAndTheChosenBand) {
    const std::vector<Qso> log = {
        {"20200101", "7.010", "CW", "1301", true},     // 埼玉 confirmed on 7
        {"20200102", "14.010", "CW", "1301", false},   // and worked on 14
        {"20200103", "14.010", "CW", "4701", false},   // 沖縄 worked on 14
        {"20200104", "21.010", "CW", "0101", true},    // 21 MHz is not searched
    };
    MemoryLog source(log);
    const AwardStatistics stats = TallyAward(Criteria(Waja), nullptr, source);
    const AwardMap all = BuildAwardMap(stats, nullptr, -1);
    EXPECT_EQ(all.Tile(13).State, TileState::Confirmed);
    EXPECT_FALSE(all.Tile(13).WorkedMark);
    EXPECT_EQ(all.Tile(13).QsoCount, 2);
    EXPECT_EQ(all.Tile(47).State, TileState::WorkedOnly);
    EXPECT_TRUE(all.Tile(47).WorkedMark);
    EXPECT_EQ(all.Tile(1).State, TileState::NotWorked);
    EXPECT_EQ(all.Totals, "Cfm 1  Wkd 1  全 47");
    EXPECT_EQ(TileTipText(all, 13), "13 埼玉県  Cfm  交信 2 回");

    const AwardMap on14 = BuildAwardMap(stats, nullptr, 4);
    EXPECT_EQ(on14.Tile(13).State, TileState::WorkedOnly) << "on 14 MHz 埼玉 is worked only";
    EXPECT_EQ(on14.Totals, "Cfm 0  Wkd 2  全 47");
    EXPECT_EQ(TileTipText(on14, 47), "47 沖縄県  Wkd") << "no QSO count for one band";
    const AwardMap on7 = BuildAwardMap(stats, nullptr, 2);
    EXPECT_EQ(on7.Tile(47).State, TileState::NotWorked);
}

TEST(AwardMapModel, AjdTilesShareTheirCallAreasState) {
    const std::vector<Qso> log = {{"20200101", "7.010", "CW", "1301", true},
                                  {"20200102", "7.010", "CW", "0801", false}};
    MemoryLog source(log);
    const AwardMap map = BuildAwardMap(TallyAward(Criteria(Ajd), nullptr, source), nullptr, -1);
    for (int p = 1; p <= kPrefectureCount; ++p) {
        const int area = PrefectureTable[p - 1].CallArea;
        const TileState want = area == 1 ? TileState::Confirmed : area == 0 ? TileState::WorkedOnly : TileState::NotWorked;
        EXPECT_EQ(map.Tile(p).State, want) << p;
        EXPECT_EQ(map.Tile(p).CallArea, area);
    }
    EXPECT_EQ(map.Tile(10).QsoCount, 1) << "Tokyo shows its call area's QSOs";
    EXPECT_TRUE(map.Tile(9).WorkedMark) << "長野 in area 0";
    EXPECT_EQ(TileTipText(map, 9), "9 長野県  0エリア Wkd  交信 1 回");
}

TEST(AwardMapModel, JccTilesShadeByTheShareConfirmedOfEveryEntry) {
    static AreaEntry cities[kAreaTableSize];
    std::memset(cities, 0, sizeof cities);
    const char* codes[] = {"0101", "0102", "0103", "1001", "1002", "1003", "1004", "1301"};
    for (size_t i = 0; i < std::size(codes); ++i) SetEntry(cities[i], codes[i]);
    cities[2].DeletedYm = 200903;   // deleted: still one of Hokkaido's areas
    cities[5].Hidden = 1;           // hidden: counts as well
    const std::vector<Qso> log = {
        {"20200101", "7.010", "CW", "0101", true},  {"20200101", "7.010", "CW", "0102", true},
        {"20200101", "7.010", "CW", "1001", true},  {"20200101", "14.010", "CW", "1002", false},
        {"20200101", "7.010", "CW", "1301", true},
    };
    MemoryLog source(log);
    const AwardStatistics stats = TallyAward(Criteria(Jcc), cities, source);
    const AwardMap map = BuildAwardMap(stats, cities, -1);
    EXPECT_EQ(TileCountText(map.Tile(1)), "2/3");
    EXPECT_EQ(map.Tile(1).Shade, 2);
    EXPECT_FALSE(map.Tile(1).WorkedMark);
    EXPECT_EQ(TileCountText(map.Tile(10)), "1/4");
    EXPECT_EQ(map.Tile(10).Shade, 1);
    EXPECT_TRUE(map.Tile(10).WorkedMark) << "1002 worked only";
    EXPECT_EQ(map.Tile(13).Shade, 4);
    EXPECT_EQ(map.Tile(13).State, TileState::Confirmed);
    EXPECT_EQ(TileCountText(map.Tile(2)), "0/0");
    EXPECT_EQ(map.Tile(2).Shade, 0);
    EXPECT_EQ(TileTipText(map, 10), "10 東京都  Cfm 1/4  Wkd 1  交信 2 回");
    EXPECT_EQ(map.Totals, "Cfm 4  Wkd 1  全 8  JCC-100 まで 96");
    const AwardMap on14 = BuildAwardMap(stats, cities, 4);
    EXPECT_EQ(TileCountText(on14.Tile(10)), "0/4");
    EXPECT_TRUE(on14.Tile(10).WorkedMark);
    EXPECT_EQ(on14.Tile(1).Shade, 0);

    // The five steps.
    struct { int c, n, shade; } steps[] = {{0, 5, 0}, {1, 3, 1}, {2, 3, 2}, {1, 4, 1}, {1, 100, 1}, {33, 100, 1},
                                          {34, 100, 2}, {66, 100, 2}, {67, 100, 3}, {99, 100, 3},
                                          {5, 5, 4}, {0, 0, 0}};
    for (const auto& s : steps) EXPECT_EQ(ShadeOf(s.c, s.n), s.shade) << s.c << "/" << s.n;

    // Drill-down: the result list's rows of Tokyo (worked areas, table order).
    ListRows rows;
    BuildPrefectureRows(Criteria(Jcc), stats, cities, 10, rows);
    ASSERT_EQ(rows.Count(), 2);
    EXPECT_STREQ(rows.Text(0, 2), "1001  ");
    EXPECT_STREQ(rows.Text(1, 2), "1002  ");
    EXPECT_EQ(PrefectureRowsCaption(Jcc, 10), "JCC 東京都");
}

TEST(AwardMapModel, DrillDownRowsOfWajaAndAjd) {
    const std::vector<Qso> log = {{"20200101", "7.010", "CW", "1301", true}};
    for (int32_t kind : {Waja, Ajd}) {
        MemoryLog source(log);
        const AwardStatistics stats = TallyAward(Criteria(kind), nullptr, source);
        ListRows rows;
        BuildPrefectureRows(Criteria(kind), stats, nullptr, 13, rows);
        ASSERT_EQ(rows.Count(), 1) << kind;
        EXPECT_STREQ(rows.Text(0, 0), "Cfm");
        EXPECT_STREQ(rows.Text(0, 1), kind == Waja ? "埼玉県" : "1");
    }
    EXPECT_EQ(PrefectureRowsCaption(Ajd, 13), "AJD 1エリア (埼玉県)");
}

TEST(AwardMapLook, ColoursStayApartInGreyAndShadesDarkenStepByStep) {
    const int cfm = GreyOf(StateColour(TileState::Confirmed)), wkd = GreyOf(StateColour(TileState::WorkedOnly)),
              none = GreyOf(StateColour(TileState::NotWorked));
    EXPECT_GT(wkd - cfm, 50);
    EXPECT_GT(none - wkd, 50);
    for (int s = 1; s < kShadeSteps; ++s) EXPECT_LT(GreyOf(ShadeColour(s)) + 25, GreyOf(ShadeColour(s - 1))) << s;
    // The legend says every colour the tiles take.
    const std::vector<LegendItem> jcc = MapLegend(Jcc), waja = MapLegend(Waja);
    ASSERT_EQ(jcc.size(), 6u);
    EXPECT_EQ(jcc[4].Colour, ShadeColour(4));
    EXPECT_TRUE(jcc[5].Mark);
    ASSERT_EQ(waja.size(), 3u);
    EXPECT_TRUE(waja[1].Hatched && waja[1].Mark);
}

TEST(AwardMapTexts, CaptionFileNameBandsAndShortNames) {
    EXPECT_EQ(MapCaption(Waja), "WAJA 地図");
    EXPECT_EQ(MapCaption(Jcg), "JCG 地図");
    EXPECT_EQ(MapFileName(Jcc, "20261209"), "JCC-地図-20261209.png");
    EXPECT_EQ(MapBandChoices(Criteria(Jcc)), (std::vector<int>{-1, 2, 4}));
    EXPECT_EQ(MapBandLabel(-1), "全バンド");
    EXPECT_EQ(MapBandLabel(10), "144 MHz");
    EXPECT_EQ(PrefectureShortName(1), "北海道");
    EXPECT_EQ(PrefectureShortName(10), "東京");
    EXPECT_EQ(PrefectureShortName(11), "神奈川");
    EXPECT_EQ(PrefectureShortName(26), "和歌山");
    EXPECT_EQ(PrefectureShortName(22), "京都");
}

TEST(AwardMapGeometry, SquareCellsFitTheViewAndHitTheirTiles) {
    for (auto size : {std::pair{500, 560}, {900, 500}, {300, 1200}, {10, 10}}) {
        const MapGeometry g = ComputeMapGeometry(size.first, size.second, 6, 13);
        EXPECT_LE(g.Left + g.Cell * kMapColumns, size.first);
        EXPECT_LE(g.Totals.Bottom, size.second + (g.Cell == 0 ? 20 : 0));
        if (g.Cell == 0) continue;
        for (int p = 1; p <= kPrefectureCount; ++p) {
            const MapRect r = g.TileRect(p);
            EXPECT_EQ(g.HitTest((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), p);
            EXPECT_EQ(g.HitTest(r.Left, r.Top), p);
            EXPECT_EQ(g.HitTest(r.Right - 1, r.Bottom - 1), p);
        }
        EXPECT_EQ(g.HitTest(g.Left - 1, g.Top), 0);
    }
}

}  // namespace
