// The arithmetic of DPI scaling, apart from any window so that it is tested
// natively. Pixel sizes in the code are written for 96 DPI (100 %, the
// system's base); a DPI-aware program shows each of them scaled to the DPI
// of the window that uses it.
#pragma once

constexpr int kBaseDpi = 96;

// pixels96 at dpi, rounded to the nearest pixel with halves away from zero
// (as MulDiv rounds). A dpi of 0 or less, as a failed query gives, leaves
// the size as it is. Results beyond the int range are clamped to it.
inline int ScaleToDpi(int pixels96, int dpi) {
    if (dpi <= 0 || dpi == kBaseDpi) return pixels96;
    long long scaled = static_cast<long long>(pixels96) * dpi;
    long long rounded = scaled >= 0 ? (scaled + kBaseDpi / 2) / kBaseDpi : -((-scaled + kBaseDpi / 2) / kBaseDpi);
    if (rounded > 2147483647LL) return 2147483647;
    if (rounded < -2147483647LL - 1) return -2147483647 - 1;
    return static_cast<int>(rounded);
}
