#include "awards/AwardMap.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "awards/AwardCount.h"
#include "awards/AwardList.h"

namespace {

// Column, row, width, height of prefectures 1..47 in number order: Hokkaido
// at the top right, Tohoku down the east, Kanto and Chubu, Kinki, Chugoku
// and Shikoku, Kyushu at the lower left and Okinawa apart below it.
const MapCells kTileCells[kPrefectureCount] = {
    {11, 0, 2, 2},   //  1 北海道
    {11, 2, 1, 1},   //  2 青森
    {11, 3, 1, 1},   //  3 岩手
    {10, 3, 1, 1},   //  4 秋田
    {10, 4, 1, 1},   //  5 山形
    {11, 4, 1, 1},   //  6 宮城
    {11, 5, 1, 1},   //  7 福島
    {10, 5, 1, 1},   //  8 新潟
    {9, 6, 1, 1},    //  9 長野
    {11, 7, 1, 1},   // 10 東京
    {10, 8, 1, 1},   // 11 神奈川
    {12, 7, 1, 1},   // 12 千葉
    {10, 7, 1, 1},   // 13 埼玉
    {12, 6, 1, 1},   // 14 茨城
    {11, 6, 1, 1},   // 15 栃木
    {10, 6, 1, 1},   // 16 群馬
    {9, 7, 1, 1},    // 17 山梨
    {9, 8, 1, 1},    // 18 静岡
    {8, 6, 1, 1},    // 19 岐阜
    {8, 7, 1, 1},    // 20 愛知
    {7, 8, 1, 1},    // 21 三重
    {6, 6, 1, 1},    // 22 京都
    {7, 7, 1, 1},    // 23 滋賀
    {6, 7, 1, 1},    // 24 奈良
    {5, 7, 1, 1},    // 25 大阪
    {6, 8, 1, 1},    // 26 和歌山
    {5, 6, 1, 1},    // 27 兵庫
    {9, 5, 1, 1},    // 28 富山
    {7, 6, 1, 1},    // 29 福井
    {8, 5, 1, 1},    // 30 石川
    {4, 7, 1, 1},    // 31 岡山
    {3, 6, 1, 1},    // 32 島根
    {2, 7, 1, 1},    // 33 山口
    {4, 6, 1, 1},    // 34 鳥取
    {3, 7, 1, 1},    // 35 広島
    {4, 8, 1, 1},    // 36 香川
    {4, 9, 1, 1},    // 37 徳島
    {3, 8, 1, 1},    // 38 愛媛
    {3, 9, 1, 1},    // 39 高知
    {1, 8, 1, 1},    // 40 福岡
    {0, 8, 1, 1},    // 41 佐賀
    {0, 9, 1, 1},    // 42 長崎
    {1, 9, 1, 1},    // 43 熊本
    {2, 9, 1, 1},    // 44 大分
    {2, 10, 1, 1},   // 45 宮崎
    {1, 10, 1, 1},   // 46 鹿児島
    {0, 12, 1, 1},   // 47 沖縄
};

constexpr uint16_t kEveryBand = (1u << kBandCount) - 1;

uint16_t BandMask(int band) { return band < 0 ? kEveryBand : static_cast<uint16_t>(1u << band); }

TileState StateOf(const AreaAward& award, uint16_t mask) {
    if (award.ConfirmedBands & mask) return TileState::Confirmed;
    if (award.WorkedBands & mask) return TileState::WorkedOnly;
    return TileState::NotWorked;
}

std::string Format(const char* format, int value) {
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

const char* StateText(TileState state) {
    switch (state) {
    case TileState::Confirmed: return "Cfm";
    case TileState::WorkedOnly: return "Wkd";
    default: return "未交信";
    }
}

int Centre2(const MapCells& c, bool x) { return x ? 2 * c.Column + c.Width : 2 * c.Row + c.Height; }

}  // namespace

const MapCells kMapLegendCells = {5, 10, 8, 3};

const MapCells& TileCellsOf(int prefecture) { return kTileCells[prefecture - 1]; }

int PrefectureAtCell(int column, int row) {
    for (int p = 1; p <= kPrefectureCount; ++p) {
        const MapCells& c = kTileCells[p - 1];
        if (column >= c.Column && column < c.Column + c.Width && row >= c.Row && row < c.Row + c.Height) return p;
    }
    return 0;
}

std::string PrefectureShortName(int prefecture) {
    std::string name = PrefectureTable[prefecture - 1].Name;
    // 都, 府 and 県 are double-byte characters at the end (never 北海道's 道,
    // nor the three-character 神奈川).
    for (const char* suffix : {"都", "府", "県"}) {
        const size_t n = std::strlen(suffix);
        if (name.size() > n && name.compare(name.size() - n, n, suffix) == 0) return name.substr(0, name.size() - n);
    }
    return name;
}

int NeighbourTile(int prefecture, int dx, int dy) {
    const MapCells& from = TileCellsOf(prefecture);
    int best = prefecture;
    long bestScore = 0;
    for (int p = 1; p <= kPrefectureCount; ++p) {
        if (p == prefecture) continue;
        const MapCells& to = TileCellsOf(p);
        // Centres in half cells, so that Hokkaido's lies on a cell corner.
        const int ax = Centre2(to, true) - Centre2(from, true), ay = Centre2(to, false) - Centre2(from, false);
        const int along = dx != 0 ? ax * dx : ay * dy;
        const int across = std::abs(dx != 0 ? ay : ax);
        if (along <= 0) continue;
        // Straight on first, then the nearest.
        const long score = static_cast<long>(along) + 4L * across;
        if (best == prefecture || score < bestScore) best = p, bestScore = score;
    }
    return best;
}

int ShadeOf(int confirmed, int areas) {
    if (confirmed <= 0 || areas <= 0) return 0;
    if (confirmed >= areas) return 4;
    const int percent = confirmed * 100 / areas;
    return percent <= 33 ? 1 : percent <= 66 ? 2 : 3;
}

AwardMap BuildAwardMap(const AwardStatistics& stats, const AreaEntry* table, int band) {
    AwardMap map;
    map.Kind = stats.Kind;
    map.Band = band;
    const uint16_t mask = BandMask(band);
    for (int p = 1; p <= kPrefectureCount; ++p) {
        MapTile& t = map.Tiles[p - 1];
        t.Prefecture = p;
        t.CallArea = PrefectureTable[p - 1].CallArea;
    }
    AwardTotals totals;
    switch (stats.Kind) {
    case Waja:
        for (int p = 1; p <= kPrefectureCount; ++p) {
            MapTile& t = map.Tiles[p - 1];
            t.State = StateOf(stats.Award[p], mask);
            t.QsoCount = stats.Areas[p].QsoCount;
        }
        break;
    case Ajd:
        for (int a = 0; a < kAjdAreaCount; ++a) map.CallAreaStates[a] = StateOf(stats.Award[a], mask);
        for (MapTile& t : map.Tiles) {
            t.State = map.CallAreaStates[t.CallArea];
            t.QsoCount = stats.Areas[t.CallArea].QsoCount;
        }
        break;
    case Jcc:
    case Jcg:
        for (int area : AwardAreaOrder(stats.Kind, table)) {
            const int p = PrefectureOfCode(table[area].Code);
            if (p < 1 || p > kPrefectureCount) continue;
            MapTile& t = map.Tiles[p - 1];
            ++t.Areas;
            t.QsoCount += stats.Areas[area].QsoCount;
            const TileState s = StateOf(stats.Award[area], mask);
            if (s == TileState::Confirmed) ++t.Confirmed;
            if (s == TileState::WorkedOnly) ++t.WorkedOnly;
        }
        for (MapTile& t : map.Tiles) {
            t.Shade = ShadeOf(t.Confirmed, t.Areas);
            t.State = t.Areas > 0 && t.Confirmed == t.Areas ? TileState::Confirmed
                      : t.Confirmed + t.WorkedOnly > 0   ? TileState::WorkedOnly
                                                          : TileState::NotWorked;
        }
        break;
    default:
        break;
    }
    for (MapTile& t : map.Tiles)
        t.WorkedMark = stats.Kind == Jcc || stats.Kind == Jcg ? t.WorkedOnly > 0 : t.State == TileState::WorkedOnly;

    if (band < 0) {
        totals = CountAward(stats, table);
    } else {
        // The totals of one band, counted as CountAward counts every band.
        for (int area : AwardAreaOrder(stats.Kind, table)) {
            ++totals.Areas;
            const TileState s = StateOf(stats.Award[area], mask);
            if (s == TileState::Confirmed) ++totals.Confirmed;
            if (s == TileState::WorkedOnly) ++totals.WorkedOnly;
        }
    }
    map.Totals = AwardStatusText(stats.Kind, totals);
    return map;
}

std::string MapCaption(int32_t kind) { return std::string(AwardName(kind)) + " 地図"; }

std::string MapFileName(int32_t kind, const std::string& todayYmd) {
    return std::string(AwardName(kind)) + "-地図-" + todayYmd + ".png";
}

std::vector<int> MapBandChoices(const AwardCriteria& criteria) {
    std::vector<int> choices = {-1};
    for (int b = 0; b < kBandCount; ++b)
        if (criteria.BandSelected[b]) choices.push_back(b);
    return choices;
}

std::string MapBandLabel(int band) { return band < 0 ? "全バンド" : std::string(BandName(band)) + " MHz"; }

std::string TileCountText(const MapTile& tile) {
    return std::to_string(tile.Confirmed) + "/" + std::to_string(tile.Areas);
}

std::string TileTipText(const AwardMap& map, int prefecture) {
    const MapTile& t = map.Tile(prefecture);
    std::string text = Format("%d ", prefecture) + PrefectureTable[prefecture - 1].Name;
    switch (map.Kind) {
    case Ajd:
        text += Format("  %dエリア ", t.CallArea) + StateText(t.State);
        break;
    case Jcc:
    case Jcg:
        text += "  Cfm " + TileCountText(t) + Format("  Wkd %d", t.WorkedOnly);
        break;
    default:
        text += std::string("  ") + StateText(t.State);
        break;
    }
    // The QSO counts of the tally are not split by band.
    if (map.Band < 0) text += Format("  交信 %d 回", t.QsoCount);
    return text;
}

uint32_t StateColour(TileState state) {
    switch (state) {
    case TileState::Confirmed: return 0x0072B2;    // blue
    case TileState::WorkedOnly: return 0xE69F00;   // orange
    default: return 0xEBEBEB;                      // light grey
    }
}

uint32_t ShadeColour(int shade) {
    static const uint32_t kShades[kShadeSteps] = {0xEBEBEB, 0xA6C8E8, 0x6BAED6, 0x2171B5, 0x08306B};
    return kShades[std::clamp(shade, 0, kShadeSteps - 1)];
}

uint32_t TileColour(const AwardMap& map, const MapTile& tile) {
    return map.Kind == Jcc || map.Kind == Jcg ? ShadeColour(tile.Shade) : StateColour(tile.State);
}

int GreyOf(uint32_t rgb) {
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    return (299 * r + 587 * g + 114 * b) / 1000;
}

bool TileTextIsLight(const AwardMap& map, const MapTile& tile) { return GreyOf(TileColour(map, tile)) < 110; }

std::vector<LegendItem> MapLegend(int32_t kind) {
    if (kind == Jcc || kind == Jcg) {
        const char* labels[kShadeSteps] = {"Cfm 0%", "Cfm 1-33%", "Cfm 34-66%", "Cfm 67-99%", "Cfm 100%"};
        std::vector<LegendItem> items;
        for (int s = 0; s < kShadeSteps; ++s) items.push_back({ShadeColour(s), false, false, labels[s]});
        items.push_back({0xFFFFFF, false, true, "Wkd のみあり"});
        return items;
    }
    return {{StateColour(TileState::Confirmed), false, false, "Cfm"},
            {StateColour(TileState::WorkedOnly), true, true, "Wkd"},
            {StateColour(TileState::NotWorked), false, false, "未交信"}};
}

void BuildPrefectureRows(const AwardCriteria& criteria, const AwardStatistics& stats, const AreaEntry* table,
                         int prefecture, ListRows& rows) {
    ListRows all;
    BuildAwardRows(criteria, stats, table, all);
    rows.Reset(all.ColumnCount());
    const std::string name = PrefectureTable[prefecture - 1].Name;
    const std::string digit = std::to_string(PrefectureTable[prefecture - 1].CallArea);
    for (int r = 0; r < all.Count(); ++r) {
        bool take = false;
        switch (criteria.AwardKind) {
        case Ajd: take = digit == all.Text(r, 1); break;
        case Waja: take = name == all.Text(r, 1); break;
        case Jcc:
        case Jcg: take = PrefectureOfCode(all.Text(r, 2)) == prefecture; break;
        default: break;
        }
        if (!take) continue;
        rows.AddRow();
        for (int c = 0; c < all.ColumnCount(); ++c) rows.AddCell(all.Text(r, c));
    }
}

std::string PrefectureRowsCaption(int32_t kind, int prefecture) {
    const std::string name = PrefectureTable[prefecture - 1].Name;
    if (kind == Ajd) return std::string("AJD ") + Format("%dエリア (", PrefectureTable[prefecture - 1].CallArea) + name + ")";
    return std::string(AwardName(kind)) + " " + name;
}

MapRect MapGeometry::CellsRect(const MapCells& c) const {
    return {Left + c.Column * Cell, Top + c.Row * Cell, Left + (c.Column + c.Width) * Cell,
            Top + (c.Row + c.Height) * Cell};
}

MapRect MapGeometry::TileRect(int prefecture) const { return CellsRect(TileCellsOf(prefecture)); }

int MapGeometry::HitTest(int x, int y) const {
    if (Cell <= 0 || x < Left || y < Top) return 0;
    return PrefectureAtCell((x - Left) / Cell, (y - Top) / Cell);
}

MapGeometry ComputeMapGeometry(int width, int height, int margin, int textHeight) {
    MapGeometry g;
    const int lineHeight = textHeight + margin;
    const int gridWidth = std::max(0, width - 2 * margin);
    const int gridHeight = std::max(0, height - 2 * margin - lineHeight);
    g.Cell = std::min(gridWidth / kMapColumns, gridHeight / kMapRows);
    g.Left = (width - g.Cell * kMapColumns) / 2;
    g.Top = margin;
    const int below = g.Top + g.Cell * kMapRows + margin / 2;
    g.Totals = {margin, below, std::max(margin, width - margin), below + textHeight};
    return g;
}
