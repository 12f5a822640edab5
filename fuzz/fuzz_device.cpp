// Drives a random sequence of device calls against a small bitmap: coordinates at the ends of
// the 32-bit range, empty and inverted rectangles, origins and clips that push everything off
// the bitmap. Nothing may crash or write outside the pixels (the sanitizers watch).
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "platform/core/exception.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/device.h"

namespace {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool More() const { return at_ < size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    // Mostly small values around the bitmap, often the extremes.
    int Coord() {
        static constexpr int kSpecial[] = {std::numeric_limits<int>::min(),
                                           std::numeric_limits<int>::max(),
                                           std::numeric_limits<int>::min() + 1,
                                           std::numeric_limits<int>::max() - 1,
                                           0,
                                           -1,
                                           1 << 30,
                                           -(1 << 30)};
        const std::uint8_t b = Byte();
        if (b >= 0xF8)
            return kSpecial[b - 0xF8];
        return static_cast<int>(b) - 64;
    }
    kw::TRect Rect() { return {Coord(), Coord(), Coord(), Coord()}; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

void Step(kw::HDC dc, Input& in, std::vector<kw::HGDIOBJ>& objects) {
    using namespace kw;
    const int a = in.Coord(), b = in.Coord(), c = in.Coord(), d = in.Coord();
    switch (in.Byte() % 32) {
        case 0:
            MoveToEx(dc, a, b, nullptr);
            break;
        case 1:
            LineTo(dc, a, b);
            break;
        case 2:
            Rectangle(dc, a, b, c, d);
            break;
        case 3:
            Ellipse(dc, a, b, c, d);
            break;
        case 4:
            RoundRect(dc, a, b, c, d, in.Coord(), in.Coord());
            break;
        case 5: {
            std::vector<TPoint> points(in.Byte() % 7);
            for (TPoint& p : points)
                p = {in.Coord(), in.Coord()};
            Polygon(dc, points);
            Polyline(dc, points);
            break;
        }
        case 6:
            Arc(dc, a, b, c, d, in.Coord(), in.Coord(), in.Coord(), in.Coord());
            break;
        case 7:
            FillRect(dc, {a, b, c, d}, HBRUSH(GetStockObject(BLACK_BRUSH)));
            FrameRect(dc, {a, b, c, d}, HBRUSH(GetStockObject(GRAY_BRUSH)));
            break;
        case 8:
            PatBlt(dc, a, b, c, d, static_cast<std::uint32_t>(in.Byte()) << 16);
            break;
        case 9:
            BitBlt(dc, a, b, c, d, dc, in.Coord(), in.Coord(),
                   static_cast<std::uint32_t>(in.Byte()) << 16);
            break;
        case 10:
            StretchBlt(dc, a, b, c, d, dc, in.Coord(), in.Coord(), in.Coord(), in.Coord(),
                       static_cast<std::uint32_t>(in.Byte()) << 16);
            break;
        case 11:
            SetWindowOrgEx(dc, a, b, nullptr);
            break;
        case 12:
            SetViewportOrgEx(dc, a, b, nullptr);
            break;
        case 13:
            SetBrushOrgEx(dc, a, b, nullptr);
            break;
        case 14:
            IntersectClipRect(dc, a, b, c, d);
            break;
        case 15:
            ExcludeClipRect(dc, a, b, c, d);
            break;
        case 16: {
            const HRGN region = CreateRectRgn(a, b, c, d);
            SelectClipRgn(dc, in.Byte() & 1 ? region : HRGN());
            DeleteObject(region);
            break;
        }
        case 17: {
            const HPEN pen = CreatePen(in.Byte() % 8, in.Byte() % 9, in.Byte() * 0x10101u);
            objects.push_back(pen);
            SelectObject(dc, pen);
            break;
        }
        case 18: {
            const std::uint8_t kind = in.Byte();
            const HBRUSH brush = kind < 128 ? CreateHatchBrush(kind % 7, kind * 0x30201u)
                                            : CreateSolidBrush(kind * 0x10203u);
            objects.push_back(brush);
            SelectObject(dc, brush);
            break;
        }
        case 19:
            SetROP2(dc, in.Byte() % 18);
            SetBkMode(dc, in.Byte() % 3);
            break;
        case 20:
            TextOut(dc, a, b, u"Ab&c\tg");
            break;
        case 21: {
            TRect r{a, b, c, d};
            DrawText(dc, u"one &two\nthree\tfour c:\\path\\file", &r,
                     in.Byte() | (static_cast<unsigned>(in.Byte()) << 8));
            break;
        }
        case 22: {
            LOGFONT log;
            log.lfHeight = static_cast<int>(in.Byte()) - 128;
            log.lfEscapement = a;
            log.lfWeight = in.Byte() * 4;
            log.lfUnderline = in.Byte() & 1;
            const HFONT font = CreateFontIndirect(log);
            objects.push_back(font);
            SelectObject(dc, font);
            break;
        }
        case 23: {
            const HRGN region = CreateEllipticRgn(a, b, c, d);
            FillRgn(dc, region, HBRUSH(GetStockObject(BLACK_BRUSH)));
            FrameRgn(dc, region, HBRUSH(GetStockObject(WHITE_BRUSH)), in.Byte() % 4, in.Byte() % 4);
            InvertRgn(dc, region);
            DeleteObject(region);
            break;
        }
        case 24: {
            const HRGN x = CreateRoundRectRgn(a, b, c, d, in.Coord(), in.Coord());
            const HRGN y = CreateRectRgn(in.Coord(), in.Coord(), in.Coord(), in.Coord());
            CombineRgn(x, x, y, in.Byte() % 7);
            OffsetRgn(x, in.Coord(), in.Coord());
            PaintRgn(dc, x);
            DeleteObject(x);
            DeleteObject(y);
            break;
        }
        case 25: {
            std::vector<TPoint> points(in.Byte() % 6);
            for (TPoint& p : points)
                p = {in.Coord(), in.Coord()};
            const HRGN region = CreatePolygonRgn(points, 1 + in.Byte() % 2);
            FillRgn(dc, region, HBRUSH(GetStockObject(GRAY_BRUSH)));
            DeleteObject(region);
            break;
        }
        case 26:
            SaveDC(dc);
            break;
        case 27:
            RestoreDC(dc, in.Byte() & 1 ? -1 : in.Byte() % 4);
            break;
        case 28:
            SetPixel(dc, a, b, static_cast<TColor>(c));
            GetPixel(dc, a, b);
            break;
        case 29: {
            const TRect r{a, b, c, d};
            ExtTextOut(dc, in.Coord(), in.Coord(), in.Byte() & 6, &r, u"xyz");
            break;
        }
        case 30:
            if (!objects.empty()) {
                DeleteObject(objects.back());  // may still be selected
                objects.pop_back();
            }
            break;
        default:
            SetPolyFillMode(dc, 1 + in.Byte() % 2);
            InvertRect(dc, {a, b, c, d});
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const bool mono = in.Byte() & 1;
    kw::TBitmap bitmap(13, 9, mono ? kw::TPixelFormat::pf1bit : kw::TPixelFormat::pf32bit);
    const kw::HDC dc = kw::CreateBitmapDC(bitmap);
    std::vector<kw::HGDIOBJ> objects;
    for (int steps = 0; in.More() && steps < 64; ++steps) {
        try {
            Step(dc, in, objects);
        } catch (const kw::Exception&) {
            // Shapes too tall for a region are refused with the library's own error.
        }
    }
    kw::DeleteDC(dc);
    for (kw::HGDIOBJ object : objects)
        kw::DeleteObject(object);
    if (kw::LiveGdiObjectCount() != 0)
        __builtin_trap();  // every object made here was freed again
    kw::ResetGdiForTesting();
    return 0;
}
