#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/core/exception.h"
#include "platform/core/types.h"

namespace kw {

// A colour as the platform stores it: 0x00BBGGRR, red in the low byte. A top byte of 0xFF marks
// a system colour (0xFF000000 plus its number); clNone means no colour at all.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

inline constexpr TColor kSystemColorFlag = 0xFF000000;
inline constexpr TColor clBtnFace = kSystemColorFlag | 15;
inline constexpr TColor clBtnShadow = kSystemColorFlag | 16;
inline constexpr TColor clBtnHighlight = kSystemColorFlag | 20;
inline constexpr TColor clWindow = kSystemColorFlag | 5;
inline constexpr TColor clWindowText = kSystemColorFlag | 8;
inline constexpr TColor clWindowFrame = kSystemColorFlag | 6;
inline constexpr TColor clInfoText = kSystemColorFlag | 23;
inline constexpr TColor clInfoBk = kSystemColorFlag | 24;

constexpr TColor RGB(Byte r, Byte g, Byte b) {
    return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}
constexpr Byte GetRValue(TColor c) {
    return static_cast<Byte>(c);
}
constexpr Byte GetGValue(TColor c) {
    return static_cast<Byte>(c >> 8);
}
constexpr Byte GetBValue(TColor c) {
    return static_cast<Byte>(c >> 16);
}
constexpr bool IsSystemColor(TColor c) {
    return (c & 0xFF000000) == kSystemColorFlag;
}

// The RGB value of a colour: system colours come from the fixed system palette; other values
// keep their low 24 bits.
TColor ColorToRGB(TColor color);

// Packed 0xAARRGGBB pixel values, the layout of the raster's 32-bit pixels.
constexpr std::uint32_t ColorToArgb(TColor c, Byte alpha = 0xFF) {
    return (static_cast<std::uint32_t>(alpha) << 24) | (GetRValue(c) << 16) | (GetGValue(c) << 8) |
           GetBValue(c);
}
constexpr TColor ArgbToColor(std::uint32_t argb) {
    return RGB(static_cast<Byte>(argb >> 16), static_cast<Byte>(argb >> 8),
               static_cast<Byte>(argb));
}
constexpr Byte ArgbAlpha(std::uint32_t argb) {
    return static_cast<Byte>(argb >> 24);
}

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// A rectangle that holds the pixels Left <= x < Right and Top <= y < Bottom.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr TRect() = default;
    constexpr TRect(int left, int top, int right, int bottom)
        : Left(left), Top(top), Right(right), Bottom(bottom) {}
    static constexpr TRect Bounds(int left, int top, int width, int height) {
        return {left, top, left + width, top + height};
    }

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool Contains(int x, int y) const {
        return x >= Left && x < Right && y >= Top && y < Bottom;
    }
    constexpr TRect Offset(int dx, int dy) const {
        return {Left + dx, Top + dy, Right + dx, Bottom + dy};
    }
    // The common part, or an empty rectangle at (0, 0) when there is none.
    constexpr TRect Intersect(const TRect& o) const {
        TRect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right),
                std::min(Bottom, o.Bottom)};
        return r.IsEmpty() ? TRect() : r;
    }
    friend bool operator==(const TRect&, const TRect&) = default;
};

KW_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
KW_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);
KW_DECLARE_EXCEPTION(EOutOfResources, Exception);

// Refuses an image size that a decoder read from a file before anything is allocated for it: a
// side out of range, a pixel count beyond the raster's limit, or more pixels than `dataBytes` of
// encoded data can describe at `maxPixelsPerByte`. Raises EInvalidGraphic naming `format`.
void CheckImageSize(StringView format, std::int64_t width, std::int64_t height,
                    std::int64_t dataBytes, std::int64_t maxPixelsPerByte);

inline constexpr int kMaxImageSide = 65535;
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{1} << 28;

}  // namespace kw
