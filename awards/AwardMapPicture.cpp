#include "awards/AwardMapPicture.h"

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

COLORREF Ref(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

const COLORREF kBackground = RGB(255, 255, 255);
const COLORREF kTileEdge = RGB(150, 150, 150);
const COLORREF kAreaOutline = RGB(40, 40, 40);
const COLORREF kHatch = RGB(120, 80, 0);
const COLORREF kMark = RGB(25, 25, 25);

int Scaled(int pixels96, int dpi) { return MulDiv(pixels96, dpi, 96); }

// A font of the look's face at a height in pixels.
class Font {
public:
    Font(HFONT base, int height, int weight = FW_NORMAL) {
        LOGFONTA lf{};
        if (!base || !::GetObjectA(base, sizeof lf, &lf)) std::strcpy(lf.lfFaceName, "MS Shell Dlg");
        lf.lfHeight = -std::max(1, height);
        lf.lfWidth = 0;
        lf.lfWeight = weight;
        font_ = ::CreateFontIndirectA(&lf);
    }
    ~Font() { ::DeleteObject(font_); }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    HFONT Handle() const { return font_; }

private:
    HFONT font_;
};

int TextHeightOf(HDC dc, HFONT font) {
    HGDIOBJ old = ::SelectObject(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm{};
    ::GetTextMetricsA(dc, &tm);
    ::SelectObject(dc, old);
    return std::max<int>(1, tm.tmHeight);
}

int TextWidth(HDC dc, const std::string& text) {
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void FillRectColour(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(dc, &r, brush);
    ::DeleteObject(brush);
}

void Line(HDC dc, int x0, int y0, int x1, int y1) {
    ::MoveToEx(dc, x0, y0, nullptr);
    ::LineTo(dc, x1, y1);
}

RECT ToRect(const MapRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// The worked-only mark: a dark triangle in the tile's upper right corner
// with a light edge, visible on every fill.
void DrawMark(HDC dc, const RECT& r, int size) {
    POINT corner[3] = {{r.right - size, r.top}, {r.right, r.top}, {r.right, r.top + size}};
    HBRUSH brush = ::CreateSolidBrush(kMark);
    HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    HGDIOBJ oldBrush = ::SelectObject(dc, brush), oldPen = ::SelectObject(dc, pen);
    ::Polygon(dc, corner, 3);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(brush);
    ::DeleteObject(pen);
}

void DrawHatch(HDC dc, const RECT& r) {
    HBRUSH hatch = ::CreateHatchBrush(HS_BDIAGONAL, kHatch);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    ::FillRect(dc, &r, hatch);
    ::SetBkMode(dc, oldMode);
    ::DeleteObject(hatch);
}

void DrawTextIn(HDC dc, const std::string& text, RECT r, UINT format) {
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOPREFIX | DT_SINGLELINE);
}

// A tile: its fill, the worked-only cues, its number, name and C/N.
void DrawTile(HDC dc, const AwardMap& map, const MapTile& tile, const MapRect& cell, HFONT small, int lineHeight,
              int dpi) {
    const int gap = std::max(1, Scaled(1, dpi));
    RECT r = {cell.Left + gap, cell.Top + gap, cell.Right - gap, cell.Bottom - gap};
    FillRectColour(dc, r, Ref(TileColour(map, tile)));
    const bool areaKind = map.Kind == Jcc || map.Kind == Jcg;
    if (!areaKind && tile.State == TileState::WorkedOnly) DrawHatch(dc, r);
    HBRUSH edge = ::CreateSolidBrush(kTileEdge);
    ::FrameRect(dc, &r, edge);
    ::DeleteObject(edge);
    if (tile.WorkedMark) DrawMark(dc, r, std::max<int>(4, (r.right - r.left) / 4));

    HGDIOBJ old = ::SelectObject(dc, small);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, TileTextIsLight(map, tile) ? RGB(255, 255, 255) : RGB(0, 0, 0));
    const int pad = std::max(1, Scaled(2, dpi));
    RECT inner = {r.left + pad, r.top + pad / 2, r.right - pad, r.bottom - pad / 2};
    DrawTextIn(dc, std::to_string(tile.Prefecture), inner, DT_LEFT | DT_TOP);
    if (map.Kind != Ajd) {
        // The full name where it fits, else the short one, else none.
        const int room = inner.right - inner.left;
        std::string name = PrefectureTable[tile.Prefecture - 1].Name;
        if (TextWidth(dc, name) > room) name = PrefectureShortName(tile.Prefecture);
        if (TextWidth(dc, name) > room) name.clear();
        const int height = inner.bottom - inner.top;
        if (areaKind) {
            RECT middle = {inner.left, inner.top + lineHeight, inner.right, inner.top + 2 * lineHeight};
            if (height >= 3 * lineHeight) {
                const int spare = (height - 3 * lineHeight) / 2;
                ::OffsetRect(&middle, 0, spare);
            }
            DrawTextIn(dc, name, middle, DT_CENTER | DT_TOP);
            RECT bottom = {inner.left, inner.bottom - lineHeight, inner.right, inner.bottom};
            DrawTextIn(dc, TileCountText(tile), bottom, DT_CENTER | DT_TOP);
        } else {
            RECT middle = {inner.left, inner.top + lineHeight, inner.right, inner.bottom};
            DrawTextIn(dc, name, middle, DT_CENTER | DT_VCENTER);
        }
    }
    ::SelectObject(dc, old);
}

// AJD: a line along every tile edge that another call area (or the sea)
// lies across, and each call area's digit large on the tile nearest its middle.
void DrawCallAreas(HDC dc, const AwardMap& map, const MapGeometry& g, const MapLook& look) {
    auto areaAt = [](int column, int row) {
        const int p = PrefectureAtCell(column, row);
        return p == 0 ? -1 : PrefectureTable[p - 1].CallArea;
    };
    HPEN pen = ::CreatePen(PS_SOLID, std::max(2, Scaled(2, look.Dpi)), kAreaOutline);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    for (int row = 0; row < kMapRows; ++row)
        for (int column = 0; column < kMapColumns; ++column) {
            const int a = areaAt(column, row);
            if (a < 0) continue;
            const int x0 = g.Left + column * g.Cell, y0 = g.Top + row * g.Cell;
            const int x1 = x0 + g.Cell, y1 = y0 + g.Cell;
            if (areaAt(column - 1, row) != a) Line(dc, x0, y0, x0, y1);
            if (areaAt(column + 1, row) != a) Line(dc, x1 - 1, y0, x1 - 1, y1);
            if (areaAt(column, row - 1) != a) Line(dc, x0, y0, x1, y0);
            if (areaAt(column, row + 1) != a) Line(dc, x0, y1 - 1, x1, y1 - 1);
        }
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);

    Font big(look.Font, g.Cell * 9 / 10, FW_BOLD);
    HGDIOBJ oldFont = ::SelectObject(dc, big.Handle());
    ::SetBkMode(dc, TRANSPARENT);
    for (int area = 0; area < kAjdAreaCount; ++area) {
        // The middle of the area's tiles, in half cells; Okinawa, far off, left out.
        long sx = 0, sy = 0, n = 0;
        for (const MapTile& t : map.Tiles)
            if (t.CallArea == area && t.Prefecture != 47) {
                const MapCells& c = TileCellsOf(t.Prefecture);
                sx += 2 * c.Column + c.Width, sy += 2 * c.Row + c.Height, ++n;
            }
        if (n == 0) continue;
        int label = 0;
        long best = 0;
        for (const MapTile& t : map.Tiles) {
            if (t.CallArea != area || t.Prefecture == 47) continue;
            const MapCells& c = TileCellsOf(t.Prefecture);
            const long dx = (2 * c.Column + c.Width) * n - sx, dy = (2 * c.Row + c.Height) * n - sy;
            if (label == 0 || dx * dx + dy * dy < best) label = t.Prefecture, best = dx * dx + dy * dy;
        }
        const MapTile& t = map.Tile(label);
        ::SetTextColor(dc, TileTextIsLight(map, t) ? RGB(255, 255, 255) : RGB(0, 0, 0));
        DrawTextIn(dc, std::to_string(area), ToRect(g.TileRect(label)), DT_CENTER | DT_VCENTER);
    }
    ::SelectObject(dc, oldFont);
}

void DrawLegend(HDC dc, const AwardMap& map, const MapGeometry& g, const MapLook& look, int textHeight) {
    const std::vector<LegendItem> items = MapLegend(map.Kind);
    RECT area = ToRect(g.CellsRect(kMapLegendCells));
    const int pad = Scaled(4, look.Dpi);
    ::InflateRect(&area, -pad, -pad);
    const int count = static_cast<int>(items.size());
    const int line = std::max(1, std::min<int>(textHeight * 3 / 2, (area.bottom - area.top) / count));
    Font font(look.Font, std::min(textHeight, line * 4 / 5));
    HGDIOBJ old = ::SelectObject(dc, font.Handle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    const int swatch = line * 4 / 5;
    HBRUSH edge = ::CreateSolidBrush(kTileEdge);
    for (int i = 0; i < count; ++i) {
        const LegendItem& item = items[static_cast<size_t>(i)];
        const int top = area.top + i * line;
        RECT box = {area.left, top, area.left + swatch, top + swatch};
        FillRectColour(dc, box, Ref(item.Colour));
        if (item.Hatched) DrawHatch(dc, box);
        ::FrameRect(dc, &box, edge);
        if (item.Mark) DrawMark(dc, box, std::max(4, swatch / 2));
        RECT text = {box.right + pad, top, area.right, top + line};
        DrawTextIn(dc, item.Label, text, DT_LEFT | DT_TOP);
    }
    ::DeleteObject(edge);
    ::SelectObject(dc, old);
}

}  // namespace

MapGeometry MapGeometryFor(HDC dc, int width, int height, const MapLook& look) {
    return ComputeMapGeometry(width, height, Scaled(6, look.Dpi), TextHeightOf(dc, look.Font));
}

void DrawAwardMap(HDC dc, int width, int height, const AwardMap& map, const MapLook& look) {
    RECT all = {0, 0, width, height};
    FillRectColour(dc, all, kBackground);
    const int textHeight = TextHeightOf(dc, look.Font);
    const MapGeometry g = MapGeometryFor(dc, width, height, look);
    if (g.Cell > 0) {
        // Three lines of tile text where the tile has room, smaller where not.
        const int lineHeight = std::max(1, std::min(textHeight, (g.Cell - Scaled(4, look.Dpi)) * 10 / 32));
        Font small(look.Font, lineHeight * 9 / 10);
        for (const MapTile& tile : map.Tiles)
            DrawTile(dc, map, tile, g.TileRect(tile.Prefecture), small.Handle(), lineHeight, look.Dpi);
        if (map.Kind == Ajd) DrawCallAreas(dc, map, g, look);
        DrawLegend(dc, map, g, look, textHeight);

        // The award and band in the empty upper left, so that a copy says what it shows.
        Font title(look.Font, std::min(textHeight * 3 / 2, g.Cell * 2 / 3), FW_BOLD);
        HGDIOBJ old = ::SelectObject(dc, title.Handle());
        ::SetTextColor(dc, RGB(0, 0, 0));
        RECT top = {g.Left, g.Top, g.Left + 9 * g.Cell, g.Top + 2 * g.Cell};
        DrawTextIn(dc, look.Title + "  " + MapBandLabel(map.Band), top, DT_LEFT | DT_TOP);
        ::SelectObject(dc, old);

        if (look.Focused >= 1 && look.Focused <= kPrefectureCount) {
            RECT f = ToRect(g.TileRect(look.Focused));
            HBRUSH black = ::CreateSolidBrush(RGB(0, 0, 0)), white = ::CreateSolidBrush(RGB(255, 255, 255));
            const int thick = std::max(2, Scaled(2, look.Dpi));
            for (int i = 0; i < thick; ++i) {
                ::FrameRect(dc, &f, black);
                ::InflateRect(&f, -1, -1);
            }
            ::FrameRect(dc, &f, white);
            ::DeleteObject(black);
            ::DeleteObject(white);
        }
    }
    HGDIOBJ old = ::SelectObject(dc, look.Font ? look.Font : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    RECT totals = ToRect(g.Totals);
    if (g.Cell > 0) totals.left = g.Left;
    DrawTextIn(dc, map.Totals, totals, DT_LEFT | DT_TOP | DT_END_ELLIPSIS);
    ::SelectObject(dc, old);
}

HBITMAP RenderAwardMap(int width, int height, const AwardMap& map, const MapLook& look) {
    if (width <= 0 || height <= 0) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;   // bottom-up, as CF_DIB is usually given
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    if (!dib || !dc) {
        if (dib) ::DeleteObject(dib);
        if (dc) ::DeleteDC(dc);
        return nullptr;
    }
    HGDIOBJ old = ::SelectObject(dc, dib);
    DrawAwardMap(dc, width, height, map, look);
    ::GdiFlush();
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return dib;
}

bool PutBitmapOnClipboard(HWND owner, HBITMAP dib) {
    DIBSECTION section{};
    if (!dib || ::GetObjectA(dib, sizeof section, &section) != sizeof section) return false;
    const BITMAPINFOHEADER& header = section.dsBmih;
    const size_t stride = ((static_cast<size_t>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
    const size_t bytes = stride * static_cast<size_t>(std::abs(header.biHeight));
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, sizeof header + bytes);
    if (!memory) return false;
    auto* out = static_cast<unsigned char*>(::GlobalLock(memory));
    BITMAPINFOHEADER copy = header;
    copy.biSizeImage = static_cast<DWORD>(bytes);
    std::memcpy(out, &copy, sizeof copy);
    std::memcpy(out + sizeof copy, section.dsBm.bmBits, bytes);
    ::GlobalUnlock(memory);
    if (!::OpenClipboard(owner)) {
        ::GlobalFree(memory);
        return false;
    }
    ::EmptyClipboard();
    const bool ok = ::SetClipboardData(CF_DIB, memory) != nullptr;
    if (!ok) ::GlobalFree(memory);
    ::CloseClipboard();
    return ok;
}

bool PngOfBitmap(HBITMAP dib, std::string* png, std::string* reason) {
    namespace gp = Gdiplus;
    // The PNG encoder every GDI+ carries.
    static const CLSID kPngEncoder = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    gp::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (gp::GdiplusStartup(&token, &input, nullptr) != gp::Ok) {
        *reason = "GDI+ を使えません";
        return false;
    }
    bool ok = false;
    gp::GpBitmap* bitmap = nullptr;
    IStream* stream = nullptr;
    if (gp::DllExports::GdipCreateBitmapFromHBITMAP(dib, nullptr, &bitmap) == gp::Ok &&
        ::CreateStreamOnHGlobal(nullptr, TRUE, &stream) == S_OK &&
        gp::DllExports::GdipSaveImageToStream(bitmap, stream, &kPngEncoder, nullptr) == gp::Ok) {
        HGLOBAL memory = nullptr;
        STATSTG stat{};
        if (::GetHGlobalFromStream(stream, &memory) == S_OK && stream->Stat(&stat, STATFLAG_NONAME) == S_OK) {
            const auto* bytes = static_cast<const char*>(::GlobalLock(memory));
            png->assign(bytes, static_cast<size_t>(stat.cbSize.QuadPart));
            ::GlobalUnlock(memory);
            ok = true;
        }
    }
    if (!ok) *reason = "PNG を作れません";
    if (stream) stream->Release();
    if (bitmap) gp::DllExports::GdipDisposeImage(bitmap);
    gp::GdiplusShutdown(token);
    return ok;
}
