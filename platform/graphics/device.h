#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "platform/core/types.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

class TBitmap;
class TRegion;

// Graphic objects and device contexts are addressed through small typed handles. A handle is
// an id into the process-wide object table: a deleted or unknown handle simply finds nothing,
// and a device keeps what it has selected alive until it selects something else.
enum class TGdiKind : std::uint8_t { None, Pen, Brush, Font, Region, Palette, Bitmap, DC };

struct HGDIOBJ {
    std::uint32_t id = 0;
    explicit operator bool() const { return id != 0; }
    friend bool operator==(HGDIOBJ, HGDIOBJ) = default;
};

template <TGdiKind Kind>
struct TGdiHandle {
    std::uint32_t id = 0;
    TGdiHandle() = default;
    explicit TGdiHandle(std::uint32_t value) : id(value) {}
    explicit TGdiHandle(HGDIOBJ object) : id(object.id) {}
    explicit operator bool() const { return id != 0; }
    operator HGDIOBJ() const { return HGDIOBJ{id}; }
    friend bool operator==(TGdiHandle, TGdiHandle) = default;
};

using HPEN = TGdiHandle<TGdiKind::Pen>;
using HBRUSH = TGdiHandle<TGdiKind::Brush>;
using HFONT = TGdiHandle<TGdiKind::Font>;
using HRGN = TGdiHandle<TGdiKind::Region>;
using HPALETTE = TGdiHandle<TGdiKind::Palette>;
using HBITMAP = TGdiHandle<TGdiKind::Bitmap>;
using HDC = TGdiHandle<TGdiKind::DC>;

// ---- Objects ---------------------------------------------------------------------------------

inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_DOT = 2;
inline constexpr int PS_DASHDOT = 3;
inline constexpr int PS_DASHDOTDOT = 4;
inline constexpr int PS_NULL = 5;
inline constexpr int PS_INSIDEFRAME = 6;

inline constexpr unsigned BS_SOLID = 0;
inline constexpr unsigned BS_NULL = 1;
inline constexpr unsigned BS_HATCHED = 2;
inline constexpr unsigned BS_PATTERN = 3;

inline constexpr int HS_HORIZONTAL = 0;
inline constexpr int HS_VERTICAL = 1;
inline constexpr int HS_FDIAGONAL = 2;
inline constexpr int HS_BDIAGONAL = 3;
inline constexpr int HS_CROSS = 4;
inline constexpr int HS_DIAGCROSS = 5;

struct LOGPEN {
    int lopnStyle = PS_SOLID;
    TPoint lopnWidth;
    TColor lopnColor = clBlack;
};

struct LOGBRUSH {
    unsigned lbStyle = BS_SOLID;
    TColor lbColor = clWhite;
    int lbHatch = 0;
};

HPEN CreatePen(int style, int width, TColor color);
HPEN CreatePenIndirect(const LOGPEN& pen);
HBRUSH CreateSolidBrush(TColor color);
HBRUSH CreateHatchBrush(int hatch, TColor color);
// The brush copies the pattern's top-left 8 x 8 pixels (fewer if it is smaller, then tiled at
// its own size). A monochrome pattern paints its 0 bits in the text colour, 1 bits in the
// background colour.
HBRUSH CreatePatternBrush(HBITMAP pattern);
HBRUSH CreatePatternBrush(const TBitmap& pattern);
HBRUSH CreateBrushIndirect(const LOGBRUSH& brush);

inline constexpr int WHITE_BRUSH = 0;
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;
inline constexpr int SYSTEM_FONT = 13;
inline constexpr int DEFAULT_PALETTE = 15;
// Stock objects are never freed; DeleteObject refuses them.
HGDIOBJ GetStockObject(int index);

// A bitmap of 1 or 32 bits per pixel; `bits` (rows padded to 16 bits for 1 bit per pixel,
// 32-bit pixels otherwise) may be null for a cleared bitmap.
HBITMAP CreateBitmap(int width, int height, unsigned planes, unsigned bitsPerPixel,
                     const void* bits);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// The bitmap behind a handle, or null.
TBitmap* BitmapOf(HBITMAP bitmap);

// Frees an object; false for unknown handles and stock objects. A device that has the object
// selected keeps using it until it selects another.
bool DeleteObject(HGDIOBJ object);
TGdiKind GetObjectKind(HGDIOBJ object);
bool GetObject(HPEN pen, LOGPEN& out);
bool GetObject(HBRUSH brush, LOGBRUSH& out);
// How many objects exist besides the stock ones (leak checks in tests).
int LiveGdiObjectCount();

// ---- Device contexts -------------------------------------------------------------------------

// A device drawing on `target`, which must outlive it.
HDC CreateBitmapDC(TBitmap& target);
// A memory device holding a 1 x 1 monochrome bitmap until one is selected.
HDC CreateCompatibleDC(HDC dc);
bool DeleteDC(HDC dc);
// The screen device: a 32-bit surface (8-bit under the test switch below) used for measuring.
HDC GetDC(std::nullptr_t window);
int ReleaseDC(std::nullptr_t window, HDC dc);
// Makes the screen report 8 bits per pixel and use palettes, so the 8-bit paths can run.
void SetScreenBitsPerPixelForTesting(int bitsPerPixel);
// Back to the defaults: the object table emptied, the screen at 32 bits.
void ResetGdiForTesting();

// The previous object of the same kind, or a null handle when `object` is not valid.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HPEN SelectObject(HDC dc, HPEN pen);
HBRUSH SelectObject(HDC dc, HBRUSH brush);
HFONT SelectObject(HDC dc, HFONT font);
HBITMAP SelectObject(HDC dc, HBITMAP bitmap);
HGDIOBJ GetCurrentObject(HDC dc, TGdiKind kind);

int SaveDC(HDC dc);
// A positive level restores that save and drops those after it; -1 restores the last one.
bool RestoreDC(HDC dc, int savedLevel);

inline constexpr int R2_BLACK = 1;
inline constexpr int R2_NOTMERGEPEN = 2;
inline constexpr int R2_MASKNOTPEN = 3;
inline constexpr int R2_NOTCOPYPEN = 4;
inline constexpr int R2_MASKPENNOT = 5;
inline constexpr int R2_NOT = 6;
inline constexpr int R2_XORPEN = 7;
inline constexpr int R2_NOTMASKPEN = 8;
inline constexpr int R2_MASKPEN = 9;
inline constexpr int R2_NOTXORPEN = 10;
inline constexpr int R2_NOP = 11;
inline constexpr int R2_MERGENOTPEN = 12;
inline constexpr int R2_COPYPEN = 13;
inline constexpr int R2_MERGEPENNOT = 14;
inline constexpr int R2_MERGEPEN = 15;
inline constexpr int R2_WHITE = 16;
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;
inline constexpr int ALTERNATE = 1;
inline constexpr int WINDING = 2;
inline constexpr int BLACKONWHITE = 1;
inline constexpr int COLORONCOLOR = 3;
inline constexpr int HALFTONE = 4;

// Each setter returns the previous value (0 for an invalid device).
int SetROP2(HDC dc, int mode);
int GetROP2(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
TColor SetBkColor(HDC dc, TColor color);
TColor GetBkColor(HDC dc);
TColor SetTextColor(HDC dc, TColor color);
TColor GetTextColor(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int SetStretchBltMode(HDC dc, int mode);
bool SetBrushOrgEx(HDC dc, int x, int y, TPoint* previous);
bool GetBrushOrgEx(HDC dc, TPoint* origin);
bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* previous);
bool GetWindowOrgEx(HDC dc, TPoint* origin);
bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* previous);
bool GetViewportOrgEx(HDC dc, TPoint* origin);
bool OffsetWindowOrgEx(HDC dc, int dx, int dy, TPoint* previous);

inline constexpr int BITSPIXEL = 12;
inline constexpr int PLANES = 14;
inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;
inline constexpr int RASTERCAPS = 38;
inline constexpr int SIZEPALETTE = 104;
inline constexpr int RC_PALETTE = 0x0100;
int GetDeviceCaps(HDC dc, int index);

// ---- Regions and clipping --------------------------------------------------------------------

inline constexpr int ERROR = 0;
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
inline constexpr int COMPLEXREGION = 3;
inline constexpr int RGN_AND = 1;
inline constexpr int RGN_OR = 2;
inline constexpr int RGN_XOR = 3;
inline constexpr int RGN_DIFF = 4;
inline constexpr int RGN_COPY = 5;

// Shape regions taller than kMaxRegionRows are refused with a null handle.
// Corners are ordered: an inverted rectangle gives the ordered one's region.
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const TRect& rect);
// One pixel narrower and shorter than the shape drawn over the same box.
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseW, int ellipseH);
// The pixels Polygon fills for the same points.
HRGN CreatePolygonRgn(std::span<const TPoint> points, int fillMode);
HRGN CreateRegionFrom(const TRegion& region);
// The region behind a handle, or null.
const TRegion* RegionOf(HRGN region);
// `dest` becomes `a` combined with `b`; returns the region kind, ERROR for invalid handles.
int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode);
int OffsetRgn(HRGN region, int dx, int dy);
int GetRgnBox(HRGN region, TRect* box);
bool PtInRegion(HRGN region, int x, int y);
bool EqualRgn(HRGN a, HRGN b);

// The clip region is given in device units and copied; null lifts the clip.
int SelectClipRgn(HDC dc, HRGN region);
// In logical units, fixed in device space afterwards.
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
// The drawable bounds in logical units.
int GetClipBox(HDC dc, TRect* box);
// 1 and `region` set to a copy of the clip (device units), 0 when there is none, -1 on error.
int GetClipRgn(HDC dc, HRGN region);

// The pen mode applies; frame drawn with the brush, `width` x `height` thick.
bool FillRgn(HDC dc, HRGN region, HBRUSH brush);
bool FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height);
bool InvertRgn(HDC dc, HRGN region);
bool PaintRgn(HDC dc, HRGN region);

// ---- Lines and shapes ------------------------------------------------------------------------

bool MoveToEx(HDC dc, int x, int y, TPoint* previous);
bool GetCurrentPositionEx(HDC dc, TPoint* position);
// Draws up to, not including, the end point, which becomes the current position.
bool LineTo(HDC dc, int x, int y);
bool Polyline(HDC dc, std::span<const TPoint> points);
bool Polygon(HDC dc, std::span<const TPoint> points);
bool Rectangle(HDC dc, int left, int top, int right, int bottom);
bool RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseW, int ellipseH);
bool Ellipse(HDC dc, int left, int top, int right, int bottom);
// The part of the ellipse's outline from the radial through (x3, y3) counter-clockwise to the
// radial through (x4, y4).
bool Arc(HDC dc, int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
// With the brush as given, no pen mode; right and bottom edges excluded.
int FillRect(HDC dc, const TRect& rect, HBRUSH brush);
int FrameRect(HDC dc, const TRect& rect, HBRUSH brush);
bool InvertRect(HDC dc, const TRect& rect);
TColor GetPixel(HDC dc, int x, int y);
TColor SetPixel(HDC dc, int x, int y, TColor color);

// ---- Bit-block transfers ---------------------------------------------------------------------

inline constexpr std::uint32_t SRCCOPY = 0x00CC0020;
inline constexpr std::uint32_t SRCPAINT = 0x00EE0086;
inline constexpr std::uint32_t SRCAND = 0x008800C6;
inline constexpr std::uint32_t SRCINVERT = 0x00660046;
inline constexpr std::uint32_t SRCERASE = 0x00440328;
inline constexpr std::uint32_t NOTSRCCOPY = 0x00330008;
inline constexpr std::uint32_t NOTSRCERASE = 0x001100A6;
inline constexpr std::uint32_t MERGECOPY = 0x00C000CA;
inline constexpr std::uint32_t MERGEPAINT = 0x00BB0226;
inline constexpr std::uint32_t PATCOPY = 0x00F00021;
inline constexpr std::uint32_t PATPAINT = 0x00FB0A09;
inline constexpr std::uint32_t PATINVERT = 0x005A0049;
inline constexpr std::uint32_t DSTINVERT = 0x00550009;
inline constexpr std::uint32_t BLACKNESS = 0x00000042;
inline constexpr std::uint32_t WHITENESS = 0x00FF0062;

// The ternary raster operation `rop` (its code in bits 16-23) on one bit position of each input.
constexpr std::uint32_t Rop3Bits(std::uint32_t rop, std::uint32_t pattern, std::uint32_t source,
                                 std::uint32_t dest) {
    const std::uint32_t code = (rop >> 16) & 0xFF;
    std::uint32_t result = 0;
    for (std::uint32_t i = 0; i < 8; ++i) {
        if (code & (1u << i)) {
            result |= ((i & 4) ? pattern : ~pattern) & ((i & 2) ? source : ~source) &
                      ((i & 1) ? dest : ~dest);
        }
    }
    return result;
}

// Negative extents cover x + w + 1 .. x.
bool PatBlt(HDC dc, int x, int y, int width, int height, std::uint32_t rop);
// Negative extents shift the rectangles, they do not mirror. Between colour and monochrome:
// source pixels equal to the source's background colour become 1 in a monochrome destination,
// and a monochrome source's 1 bits become the destination's background colour, 0 bits its
// text colour. Copies within one bitmap behave as if through a temporary.
bool BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy,
            std::uint32_t rop);
// Nearest-neighbour; negative extents mirror.
bool StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw,
                int sh, std::uint32_t rop);

// ---- Palettes and colours --------------------------------------------------------------------

struct PALETTEENTRY {
    Byte peRed = 0;
    Byte peGreen = 0;
    Byte peBlue = 0;
    Byte peFlags = 0;
    friend bool operator==(const PALETTEENTRY&, const PALETTEENTRY&) = default;
};

HPALETTE CreatePalette(std::span<const PALETTEENTRY> entries);
HPALETTE CopyPalette(HPALETTE palette);
unsigned GetPaletteEntries(HPALETTE palette, unsigned start, std::span<PALETTEENTRY> out);
HPALETTE SelectPalette(HDC dc, HPALETTE palette, bool forceBackground);
// The number of entries mapped into the system palette (0 on devices without palettes).
unsigned RealizePalette(HDC dc);
// The screen's 256 system palette entries (20 static colours, the rest realised or black).
unsigned GetSystemPaletteEntries(HDC dc, unsigned start, std::span<PALETTEENTRY> out);
unsigned GetNearestPaletteIndex(HPALETTE palette, TColor color);

inline constexpr int COLOR_SCROLLBAR = 0;
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;
inline constexpr int COLOR_3DDKSHADOW = 21;
inline constexpr int COLOR_3DLIGHT = 22;
// The RGB value of system colour `index` (black for unknown indices).
TColor GetSysColor(int index);

// ---- Text ------------------------------------------------------------------------------------

inline constexpr int LF_FACESIZE = 32;
inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_BOLD = 700;
inline constexpr Byte DEFAULT_CHARSET = 1;
inline constexpr Byte DEFAULT_PITCH = 0;
inline constexpr Byte FIXED_PITCH = 1;
inline constexpr Byte VARIABLE_PITCH = 2;

struct LOGFONT {
    int lfHeight = 0;  // negative: character height; positive: cell height
    int lfWidth = 0;
    int lfEscapement = 0;   // tenths of a degree, counter-clockwise
    int lfOrientation = 0;  // tenths of a degree
    int lfWeight = FW_NORMAL;
    Byte lfItalic = 0;
    Byte lfUnderline = 0;
    Byte lfStrikeOut = 0;
    Byte lfCharSet = DEFAULT_CHARSET;
    Byte lfOutPrecision = 0;
    Byte lfClipPrecision = 0;
    Byte lfQuality = 0;
    Byte lfPitchAndFamily = DEFAULT_PITCH;
    std::array<Char, LF_FACESIZE> lfFaceName{};
};
// The face name as a string, and back (cut to 31 characters).
String FaceName(const LOGFONT& font);
void SetFaceName(LOGFONT& font, StringView name);

inline constexpr Byte TMPF_TRUETYPE = 0x04;
struct TEXTMETRIC {
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
    int tmWeight = 0;
    Byte tmItalic = 0;
    Byte tmUnderlined = 0;
    Byte tmStruckOut = 0;
    Byte tmPitchAndFamily = 0;
    Byte tmCharSet = 0;
};

HFONT CreateFontIndirect(const LOGFONT& font);
bool GetObject(HFONT font, LOGFONT& out);
bool GetTextMetrics(HDC dc, TEXTMETRIC& out);
bool GetTextExtentPoint32(HDC dc, StringView text, TSize* size);

inline constexpr unsigned TA_LEFT = 0;
inline constexpr unsigned TA_RIGHT = 2;
inline constexpr unsigned TA_CENTER = 6;
inline constexpr unsigned TA_TOP = 0;
inline constexpr unsigned TA_BOTTOM = 8;
inline constexpr unsigned TA_BASELINE = 24;
inline constexpr unsigned TA_RTLREADING = 0x100;
unsigned SetTextAlign(HDC dc, unsigned align);
unsigned GetTextAlign(HDC dc);

// Draws at (x, y) per the text alignment, rotated by the font's escapement, with the background
// colour behind it in opaque mode.
bool TextOut(HDC dc, int x, int y, StringView text);

inline constexpr unsigned ETO_OPAQUE = 0x0002;
inline constexpr unsigned ETO_CLIPPED = 0x0004;
// `rect` (may be null) is filled with the background colour under ETO_OPAQUE and limits the
// text under ETO_CLIPPED.
bool ExtTextOut(HDC dc, int x, int y, unsigned options, const TRect* rect, StringView text);

inline constexpr unsigned DT_TOP = 0x0;
inline constexpr unsigned DT_LEFT = 0x0;
inline constexpr unsigned DT_CENTER = 0x1;
inline constexpr unsigned DT_RIGHT = 0x2;
inline constexpr unsigned DT_VCENTER = 0x4;
inline constexpr unsigned DT_BOTTOM = 0x8;
inline constexpr unsigned DT_WORDBREAK = 0x10;
inline constexpr unsigned DT_SINGLELINE = 0x20;
inline constexpr unsigned DT_EXPANDTABS = 0x40;
inline constexpr unsigned DT_NOCLIP = 0x100;
inline constexpr unsigned DT_CALCRECT = 0x400;
inline constexpr unsigned DT_NOPREFIX = 0x800;
inline constexpr unsigned DT_PATH_ELLIPSIS = 0x4000;
inline constexpr unsigned DT_END_ELLIPSIS = 0x8000;
// Lays `text` out in `rect` and draws it (or with DT_CALCRECT only measures, widening or
// heightening `rect` to fit). Returns the height of the text.
int DrawText(HDC dc, StringView text, TRect* rect, unsigned format);

}  // namespace kw
