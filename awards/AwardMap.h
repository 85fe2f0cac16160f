// The award on one picture, without the window: a tile map of Japan with
// one tile per prefecture, and what each tile shows for the statistics of
// one tally on one band (or all of them). The map window draws exactly
// this model; its tests read the model back.
//
// WAJA colours each prefecture by its own state, AJD each prefecture by the
// state of its call area, JCC and JCG shade each prefecture by the share of
// its cities or counties (every entry of the table, deleted ones included,
// as the award's totals count them) that are confirmed.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "awards/AwardTally.h"
#include "lists/ListRows.h"

// ---- The layout ------------------------------------------------------------

constexpr int kMapColumns = 13;
constexpr int kMapRows = 13;

// A rectangle of grid cells.
struct MapCells {
    int Column, Row, Width, Height;
};
// The place of prefecture p (1..47) on the grid; Hokkaido takes four cells.
const MapCells& TileCellsOf(int prefecture);
// The cells no tile takes, at the lower right, where the legend goes.
extern const MapCells kMapLegendCells;
// The prefecture on a cell, 0 for an empty cell or one off the grid.
int PrefectureAtCell(int column, int row);
// The prefecture's name without 都, 府 or 県 ("北海道", "神奈川", "東京").
std::string PrefectureShortName(int prefecture);
// The tile an arrow key leads to from prefecture p: the nearest tile whose
// centre lies in direction (dx, dy) (one of them 0, the other ±1); p when
// there is none.
int NeighbourTile(int prefecture, int dx, int dy);

// ---- The model ---------------------------------------------------------------

enum class TileState { NotWorked, WorkedOnly, Confirmed };
constexpr int kShadeSteps = 5;   // JCC/JCG: 0 none confirmed .. 4 all

struct MapTile {
    int Prefecture = 0;
    int CallArea = 0;
    TileState State = TileState::NotWorked;   // WAJA the prefecture's, AJD its call area's,
                                              // JCC/JCG Confirmed when all its areas are
    int Shade = 0;             // JCC/JCG: ShadeOf(Confirmed, Areas)
    bool WorkedMark = false;   // worked but not confirmed (JCC/JCG: some of its areas)
    int Confirmed = 0;         // JCC/JCG: areas of the prefecture confirmed on the band
    int WorkedOnly = 0;        // JCC/JCG: areas worked on the band, not confirmed there
    int Areas = 0;             // JCC/JCG: areas of the prefecture in the table
    int QsoCount = 0;          // counted QSOs on every band (WAJA the prefecture's,
                               // AJD the call area's, JCC/JCG of its areas)
};

struct AwardMap {
    int32_t Kind = 0;
    int Band = -1;                        // -1 every band the search counted
    MapTile Tiles[kPrefectureCount];      // prefecture p at p - 1
    TileState CallAreaStates[kAjdAreaCount] = {};   // AJD, by digit
    std::string Totals;                   // as the result list's status bar says it for the band

    const MapTile& Tile(int prefecture) const { return Tiles[prefecture - 1]; }
};

// The map of a tally's statistics on one band (-1: all). table: the area
// table of JCC and JCG, null for the others.
AwardMap BuildAwardMap(const AwardStatistics& stats, const AreaEntry* table, int band);

// JCC/JCG shade of C confirmed of N areas: 0 none, 4 all, else by the
// share in per cent (rounded down): 1 up to 33, 2 up to 66, 3 above.
int ShadeOf(int confirmed, int areas);

// ---- Texts and colours ---------------------------------------------------------

// "WAJA 地図" ...
std::string MapCaption(int32_t kind);
// "<KIND>-地図-YYYYMMDD.png".
std::string MapFileName(int32_t kind, const std::string& todayYmd);
// The band chooser: "全バンド", then the bands the criteria select, in
// band order; the band index of each entry (-1 for the first).
std::vector<int> MapBandChoices(const AwardCriteria& criteria);
std::string MapBandLabel(int band);
// "C/N" on a JCC/JCG tile.
std::string TileCountText(const MapTile& tile);
// The tooltip of a tile: number and name, the state or counts, and the
// QSOs of every band when the map shows every band.
std::string TileTipText(const AwardMap& map, int prefecture);

// Colours as 0xRRGGBB. The three states differ in hue for the common
// colour-vision deficiencies and in lightness in grey scale; the five
// shades grow darker step by step.
uint32_t StateColour(TileState state);
uint32_t ShadeColour(int shade);
// The fill of a tile, and whether its texts are drawn light on it.
uint32_t TileColour(const AwardMap& map, const MapTile& tile);
bool TileTextIsLight(const AwardMap& map, const MapTile& tile);
// The grey a colour prints as (0..255, ITU-R BT.601 weights).
int GreyOf(uint32_t rgb);

struct LegendItem {
    uint32_t Colour;
    bool Hatched;       // the worked-only hatching of WAJA and AJD
    bool Mark;          // the worked-only corner mark
    std::string Label;
};
std::vector<LegendItem> MapLegend(int32_t kind);

// ---- Drill-down -----------------------------------------------------------------

// The result list's rows of a prefecture under the criteria: WAJA its row,
// AJD the row of its call area, JCC/JCG the rows of its cities or counties
// (codes beginning with its number). `rows` is reset to the list's columns.
void BuildPrefectureRows(const AwardCriteria& criteria, const AwardStatistics& stats, const AreaEntry* table,
                         int prefecture, ListRows& rows);
// The caption of that window: "JCC 埼玉県", "AJD 1エリア (埼玉県)".
std::string PrefectureRowsCaption(int32_t kind, int prefecture);

// ---- Geometry in pixels -----------------------------------------------------------

struct MapRect {
    int Left, Top, Right, Bottom;
};
// Where a view of width × height pixels draws the grid and the totals line
// under it: square cells as large as fit, the grid centred across.
struct MapGeometry {
    int Cell = 0;
    int Left = 0, Top = 0;    // the grid's upper left corner
    MapRect Totals{};         // the totals line
    MapRect TileRect(int prefecture) const;
    MapRect CellsRect(const MapCells& cells) const;
    int HitTest(int x, int y) const;   // prefecture under a point, 0 for none
};
MapGeometry ComputeMapGeometry(int width, int height, int margin, int textHeight);
