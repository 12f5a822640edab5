#pragma once

// The object table behind the device handles, shared by the drawing and the text routines.

#include <memory>
#include <optional>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/device.h"
#include "platform/graphics/region.h"

namespace kw {

class TFontFace;

struct GdiObject {
    explicit GdiObject(TGdiKind k) : kind(k) {}
    virtual ~GdiObject() = default;
    const TGdiKind kind;
    bool stock = false;
};

struct GdiPen : GdiObject {
    GdiPen() : GdiObject(TGdiKind::Pen) {}
    LOGPEN log;
};

struct GdiBrush : GdiObject {
    GdiBrush() : GdiObject(TGdiKind::Brush) {}
    LOGBRUSH log;
    // Pattern brushes: RGB colours row by row, or for a monochrome pattern its bits (0 or 1).
    int patternWidth = 0;
    int patternHeight = 0;
    bool monoPattern = false;
    std::vector<TColor> pattern;
};

struct GdiFont : GdiObject {
    GdiFont() : GdiObject(TGdiKind::Font) {}
    LOGFONT log;
    std::shared_ptr<TFontFace> face;  // resolved on first use
};

struct GdiRegion : GdiObject {
    GdiRegion() : GdiObject(TGdiKind::Region) {}
    TRegion region;
};

struct GdiPalette : GdiObject {
    GdiPalette() : GdiObject(TGdiKind::Palette) {}
    std::vector<PALETTEENTRY> entries;
};

struct GdiBitmap : GdiObject {
    GdiBitmap() : GdiObject(TGdiKind::Bitmap) {}
    std::unique_ptr<TBitmap> bitmap;
};

// What SaveDC keeps and RestoreDC brings back.
struct DcState {
    std::shared_ptr<GdiPen> pen;
    std::shared_ptr<GdiBrush> brush;
    std::shared_ptr<GdiFont> font;
    std::shared_ptr<GdiPalette> palette;
    HPEN penHandle;
    HBRUSH brushHandle;
    HFONT fontHandle;
    HPALETTE paletteHandle;
    int rop2 = R2_COPYPEN;
    int bkMode = OPAQUE;
    TColor bkColor = clWhite;
    TColor textColor = clBlack;
    int polyFillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
    unsigned textAlign = TA_LEFT | TA_TOP;
    TPoint brushOrg;
    TPoint windowOrg;
    TPoint viewportOrg;
    TPoint position;
    std::optional<TRegion> clip;  // device units
};

struct GdiDC : GdiObject {
    GdiDC() : GdiObject(TGdiKind::DC) {}
    TBitmap* target = nullptr;  // the bitmap drawn on
    std::shared_ptr<GdiBitmap> selectedBitmap;
    HBITMAP bitmapHandle;
    bool screen = false;
    DcState state;
    std::vector<DcState> saved;

    TBitmap& Target() const { return selectedBitmap ? *selectedBitmap->bitmap : *target; }
    // Logical to device units, clamped to the 32-bit range.
    TPoint ToDevice(std::int64_t x, std::int64_t y) const;
    TRect ToDevice(const TRect& r) const;
};

std::shared_ptr<GdiObject> FindGdiObject(std::uint32_t id, TGdiKind kind);
template <class T>
std::shared_ptr<T> FindGdi(HGDIOBJ handle, TGdiKind kind) {
    return std::static_pointer_cast<T>(FindGdiObject(handle.id, kind));
}
inline std::shared_ptr<GdiDC> FindDC(HDC dc) {
    return FindGdi<GdiDC>(dc, TGdiKind::DC);
}
std::uint32_t AddGdiObject(std::shared_ptr<GdiObject> object);

// The screen's system palette: 10 static colours at each end, realised entries between.
std::array<PALETTEENTRY, 256>& GdiSystemPalette();
// Drops the cached font faces and their glyphs.
void ClearFontFaces();

// Device values: a colour target keeps 0xRRGGBB, a monochrome one 0 or 0xFFFFFF, so raster
// operations work on whole words either way.
std::uint32_t DeviceValue(const TBitmap& target, TColor color);

// Puts an 8-bit coverage mask (one byte per pixel, row after row) at device position (x, y) in
// `color`: full coverage takes the colour, partial coverage blends it over the destination.
// Clipped by the device's clip region and the bitmap.
void BlendCoverage(GdiDC& dc, int x, int y, int width, int height, const Byte* coverage,
                   TColor color);
// Fills a device rectangle with a plain colour through the clip.
void FillDeviceRect(GdiDC& dc, const TRect& rect, TColor color);

}  // namespace kw
