// The award map as a picture: drawn with GDI from the model (AwardMap),
// the same drawing for the window, the clipboard and the PNG file.
#pragma once
#include <windows.h>

#include <string>

#include "awards/AwardMap.h"

// What the drawing takes besides the model: the font it derives its
// texts from (the dialog's), the window's DPI, the caption drawn in the
// picture's empty upper left, and the tile that has the keyboard focus
// (0: none drawn).
struct MapLook {
    HFONT Font = nullptr;
    int Dpi = 96;
    std::string Title;
    int Focused = 0;
};

// The geometry of a picture of width × height pixels for the look.
MapGeometry MapGeometryFor(HDC dc, int width, int height, const MapLook& look);
// Draws the whole picture into dc over (0, 0, width, height).
void DrawAwardMap(HDC dc, int width, int height, const AwardMap& map, const MapLook& look);

// A 24-bit bottom-up DIB section of width × height with the map drawn, or
// null. The caller deletes it.
HBITMAP RenderAwardMap(int width, int height, const AwardMap& map, const MapLook& look);
// The bitmap on the clipboard as CF_DIB; false when it cannot be had.
bool PutBitmapOnClipboard(HWND owner, HBITMAP dib);
// The bitmap as PNG file bytes, through GDI+; false with a reason.
bool PngOfBitmap(HBITMAP dib, std::string* png, std::string* reason);
