#include "platform/graphics/device.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <unordered_map>

#include "platform/graphics/gdi_objects.h"
#include "platform/graphics/raster.h"

namespace kw {

// ---- The object table ------------------------------------------------------------------------

namespace {

constexpr int kIntMin = std::numeric_limits<int>::min();
constexpr int kIntMax = std::numeric_limits<int>::max();

int Clamp32(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, kIntMin, kIntMax));
}

struct GdiTable {
    std::unordered_map<std::uint32_t, std::shared_ptr<GdiObject>> objects;
    std::uint32_t nextId = 1;  // never reused, so a stale handle never finds a newer object
    std::unordered_map<int, std::uint32_t> stock;
    std::uint32_t screenDC = 0;
    int screenBits = 32;
    std::unique_ptr<TBitmap> screenSurface;
    std::array<PALETTEENTRY, 256> systemPalette{};
};

GdiTable& Table() {
    static GdiTable table;
    return table;
}

}  // namespace

std::uint32_t AddGdiObject(std::shared_ptr<GdiObject> object) {
    GdiTable& table = Table();
    const std::uint32_t id = table.nextId++;
    table.objects.emplace(id, std::move(object));
    return id;
}

std::shared_ptr<GdiObject> FindGdiObject(std::uint32_t id, TGdiKind kind) {
    const auto& objects = Table().objects;
    const auto it = objects.find(id);
    if (it == objects.end() || it->second->kind != kind)
        return nullptr;
    return it->second;
}

TPoint GdiDC::ToDevice(std::int64_t x, std::int64_t y) const {
    return {Clamp32(x - state.windowOrg.X + state.viewportOrg.X),
            Clamp32(y - state.windowOrg.Y + state.viewportOrg.Y)};
}

TRect GdiDC::ToDevice(const TRect& r) const {
    const TPoint a = ToDevice(r.Left, r.Top);
    const TPoint b = ToDevice(r.Right, r.Bottom);
    return {a.X, a.Y, b.X, b.Y};
}

std::uint32_t DeviceValue(const TBitmap& target, TColor color) {
    if (target.Monochrome())
        return target.MonoIndex(color) ? 0xFFFFFFu : 0u;
    return ColorToArgb(ColorToRGB(color)) & 0xFFFFFFu;
}

namespace {

template <class T>
std::uint32_t Add(std::shared_ptr<T> object) {
    return AddGdiObject(std::move(object));
}

std::shared_ptr<GdiPen> MakePen(int style, int width, TColor color) {
    auto pen = std::make_shared<GdiPen>();
    pen->log = {style, {std::max(width, 0), 0}, color};
    return pen;
}

std::shared_ptr<GdiBrush> MakeBrush(unsigned style, TColor color, int hatch) {
    auto brush = std::make_shared<GdiBrush>();
    brush->log = {style, color, hatch};
    return brush;
}

void AddStock(int index, std::shared_ptr<GdiObject> object) {
    object->stock = true;
    Table().stock[index] = AddGdiObject(std::move(object));
}

void EnsureStock() {
    GdiTable& table = Table();
    if (!table.stock.empty())
        return;
    AddStock(WHITE_BRUSH, MakeBrush(BS_SOLID, clWhite, 0));
    AddStock(LTGRAY_BRUSH, MakeBrush(BS_SOLID, clSilver, 0));
    AddStock(GRAY_BRUSH, MakeBrush(BS_SOLID, clGray, 0));
    AddStock(DKGRAY_BRUSH, MakeBrush(BS_SOLID, RGB(64, 64, 64), 0));
    AddStock(BLACK_BRUSH, MakeBrush(BS_SOLID, clBlack, 0));
    AddStock(NULL_BRUSH, MakeBrush(BS_NULL, clBlack, 0));
    AddStock(WHITE_PEN, MakePen(PS_SOLID, 1, clWhite));
    AddStock(BLACK_PEN, MakePen(PS_SOLID, 1, clBlack));
    AddStock(NULL_PEN, MakePen(PS_NULL, 1, clBlack));
    auto font = std::make_shared<GdiFont>();
    font->log.lfHeight = -11;
    SetFaceName(font->log, u"System");
    AddStock(SYSTEM_FONT, font);
    auto palette = std::make_shared<GdiPalette>();
    for (TColor c : {clBlack,
                     clMaroon,
                     clGreen,
                     RGB(128, 128, 0),
                     clNavy,
                     RGB(128, 0, 128),
                     RGB(0, 128, 128),
                     clSilver,
                     RGB(192, 220, 192),
                     RGB(166, 202, 240),
                     RGB(255, 251, 240),
                     RGB(160, 160, 164),
                     clGray,
                     clRed,
                     clLime,
                     clYellow,
                     clBlue,
                     clFuchsia,
                     clAqua,
                     clWhite}) {
        palette->entries.push_back({GetRValue(c), GetGValue(c), GetBValue(c), 0});
    }
    AddStock(DEFAULT_PALETTE, palette);
}

std::shared_ptr<GdiObject> Stock(int index) {
    EnsureStock();
    return Table().objects.at(Table().stock.at(index));
}

void InitState(DcState& s) {
    EnsureStock();
    s = DcState{};
    s.pen = std::static_pointer_cast<GdiPen>(Stock(BLACK_PEN));
    s.penHandle = HPEN(Table().stock.at(BLACK_PEN));
    s.brush = std::static_pointer_cast<GdiBrush>(Stock(WHITE_BRUSH));
    s.brushHandle = HBRUSH(Table().stock.at(WHITE_BRUSH));
    s.font = std::static_pointer_cast<GdiFont>(Stock(SYSTEM_FONT));
    s.fontHandle = HFONT(Table().stock.at(SYSTEM_FONT));
    s.palette = std::static_pointer_cast<GdiPalette>(Stock(DEFAULT_PALETTE));
    s.paletteHandle = HPALETTE(Table().stock.at(DEFAULT_PALETTE));
}

}  // namespace

HPEN CreatePen(int style, int width, TColor color) {
    if (style < PS_SOLID || style > PS_INSIDEFRAME)
        style = PS_SOLID;
    return HPEN(Add(MakePen(style, width, color)));
}

HPEN CreatePenIndirect(const LOGPEN& pen) {
    return CreatePen(pen.lopnStyle, pen.lopnWidth.X, pen.lopnColor);
}

HBRUSH CreateSolidBrush(TColor color) {
    return HBRUSH(Add(MakeBrush(BS_SOLID, color, 0)));
}

HBRUSH CreateHatchBrush(int hatch, TColor color) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS)
        return HBRUSH();
    return HBRUSH(Add(MakeBrush(BS_HATCHED, color, hatch)));
}

HBRUSH CreatePatternBrush(const TBitmap& pattern) {
    if (pattern.Empty())
        return HBRUSH();
    auto brush = MakeBrush(BS_PATTERN, clBlack, 0);
    brush->patternWidth = std::min(pattern.Width(), 8);
    brush->patternHeight = std::min(pattern.Height(), 8);
    brush->monoPattern = pattern.Monochrome();
    for (int y = 0; y < brush->patternHeight; ++y) {
        for (int x = 0; x < brush->patternWidth; ++x) {
            const TColor c = pattern.Pixel(x, y);
            brush->pattern.push_back(brush->monoPattern ? pattern.MonoIndex(c) : c);
        }
    }
    return HBRUSH(Add(brush));
}

HBRUSH CreatePatternBrush(HBITMAP pattern) {
    const TBitmap* bitmap = BitmapOf(pattern);
    return bitmap ? CreatePatternBrush(*bitmap) : HBRUSH();
}

HBRUSH CreateBrushIndirect(const LOGBRUSH& brush) {
    switch (brush.lbStyle) {
        case BS_SOLID:
            return CreateSolidBrush(brush.lbColor);
        case BS_NULL:
            return HBRUSH(Add(MakeBrush(BS_NULL, brush.lbColor, 0)));
        case BS_HATCHED:
            return CreateHatchBrush(brush.lbHatch, brush.lbColor);
        default:
            return HBRUSH();
    }
}

HGDIOBJ GetStockObject(int index) {
    EnsureStock();
    const auto it = Table().stock.find(index);
    return it == Table().stock.end() ? HGDIOBJ() : HGDIOBJ{it->second};
}

HBITMAP CreateBitmap(int width, int height, unsigned planes, unsigned bitsPerPixel,
                     const void* bits) {
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide ||
        std::int64_t{width} * height > kMaxImagePixels || planes != 1)
        return HBITMAP();
    const bool mono = bitsPerPixel == 1;
    auto object = std::make_shared<GdiBitmap>();
    object->bitmap = std::make_unique<TBitmap>(width, height,
                                               mono ? TPixelFormat::pf1bit : TPixelFormat::pf32bit);
    TBitmap& bitmap = *object->bitmap;
    if (bits != nullptr) {
        const auto* bytes = static_cast<const Byte*>(bits);
        if (mono) {
            const int stride = (width + 15) / 16 * 2;
            for (int y = 0; y < height; ++y)
                std::memcpy(bitmap.ScanLine(y), bytes + static_cast<std::size_t>(y) * stride,
                            (width + 7) / 8);
        } else {
            for (int y = 0; y < height; ++y)
                std::memcpy(bitmap.ScanLine(y), bytes + static_cast<std::size_t>(y) * width * 4,
                            static_cast<std::size_t>(width) * 4);
        }
    } else if (!mono) {
        for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(bitmap.ScanLine(y));
            std::fill(row, row + width, 0xFF000000u);
        }
    } else {
        for (int y = 0; y < height; ++y)
            std::memset(bitmap.ScanLine(y), 0, bitmap.BytesPerLine());
    }
    return HBITMAP(Add(object));
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    const auto device = FindDC(dc);
    if (!device)
        return HBITMAP();
    const bool mono = !device->screen && device->Target().Monochrome();
    return CreateBitmap(width, height, 1, mono ? 1 : 32, nullptr);
}

TBitmap* BitmapOf(HBITMAP bitmap) {
    const auto object = FindGdi<GdiBitmap>(bitmap, TGdiKind::Bitmap);
    return object ? object->bitmap.get() : nullptr;
}

bool DeleteObject(HGDIOBJ object) {
    auto& objects = Table().objects;
    const auto it = objects.find(object.id);
    if (it == objects.end() || it->second->stock || it->second->kind == TGdiKind::DC)
        return false;
    objects.erase(it);
    return true;
}

TGdiKind GetObjectKind(HGDIOBJ object) {
    const auto it = Table().objects.find(object.id);
    return it == Table().objects.end() ? TGdiKind::None : it->second->kind;
}

bool GetObject(HPEN pen, LOGPEN& out) {
    const auto object = FindGdi<GdiPen>(pen, TGdiKind::Pen);
    if (object)
        out = object->log;
    return object != nullptr;
}

bool GetObject(HBRUSH brush, LOGBRUSH& out) {
    const auto object = FindGdi<GdiBrush>(brush, TGdiKind::Brush);
    if (object)
        out = object->log;
    return object != nullptr;
}

int LiveGdiObjectCount() {
    const auto& objects = Table().objects;
    return static_cast<int>(std::count_if(objects.begin(), objects.end(),
                                          [](const auto& entry) { return !entry.second->stock; }));
}

// ---- Device contexts -------------------------------------------------------------------------

HDC CreateBitmapDC(TBitmap& target) {
    auto dc = std::make_shared<GdiDC>();
    dc->target = &target;
    InitState(dc->state);
    return HDC(Add(dc));
}

HDC CreateCompatibleDC(HDC) {
    auto dc = std::make_shared<GdiDC>();
    const HBITMAP placeholder = CreateBitmap(1, 1, 1, 1, nullptr);
    dc->selectedBitmap = FindGdi<GdiBitmap>(placeholder, TGdiKind::Bitmap);
    DeleteObject(placeholder);  // the device keeps it alive; nobody else can reach it
    InitState(dc->state);
    return HDC(Add(dc));
}

bool DeleteDC(HDC dc) {
    const auto device = FindDC(dc);
    if (!device || device->screen)
        return false;
    Table().objects.erase(dc.id);
    return true;
}

HDC GetDC(std::nullptr_t) {
    GdiTable& table = Table();
    if (!FindDC(HDC(table.screenDC))) {
        table.screenSurface = std::make_unique<TBitmap>(64, 64, TPixelFormat::pf32bit);
        auto dc = std::make_shared<GdiDC>();
        dc->target = table.screenSurface.get();
        dc->screen = true;
        InitState(dc->state);
        table.screenDC = Add(dc);
    }
    return HDC(table.screenDC);
}

int ReleaseDC(std::nullptr_t, HDC dc) {
    return FindDC(dc) ? 1 : 0;
}

void SetScreenBitsPerPixelForTesting(int bitsPerPixel) {
    Table().screenBits = bitsPerPixel;
}

void ResetGdiForTesting() {
    GdiTable& table = Table();
    table.objects.clear();
    table.stock.clear();
    table.screenDC = 0;
    table.screenSurface.reset();
    table.screenBits = 32;
    table.systemPalette = {};
    ClearFontFaces();
}

std::array<PALETTEENTRY, 256>& GdiSystemPalette() {
    return Table().systemPalette;
}

namespace {

template <class T, class H>
H Swap(std::shared_ptr<T>& slot, H& handleSlot, std::shared_ptr<T> object, H handle) {
    const H previous = handleSlot;
    slot = std::move(object);
    handleSlot = handle;
    return previous;
}

}  // namespace

HPEN SelectObject(HDC dc, HPEN pen) {
    const auto device = FindDC(dc);
    auto object = FindGdi<GdiPen>(pen, TGdiKind::Pen);
    if (!device || !object)
        return HPEN();
    return Swap(device->state.pen, device->state.penHandle, object, pen);
}

HBRUSH SelectObject(HDC dc, HBRUSH brush) {
    const auto device = FindDC(dc);
    auto object = FindGdi<GdiBrush>(brush, TGdiKind::Brush);
    if (!device || !object)
        return HBRUSH();
    return Swap(device->state.brush, device->state.brushHandle, object, brush);
}

HFONT SelectObject(HDC dc, HFONT font) {
    const auto device = FindDC(dc);
    auto object = FindGdi<GdiFont>(font, TGdiKind::Font);
    if (!device || !object)
        return HFONT();
    return Swap(device->state.font, device->state.fontHandle, object, font);
}

HBITMAP SelectObject(HDC dc, HBITMAP bitmap) {
    const auto device = FindDC(dc);
    auto object = FindGdi<GdiBitmap>(bitmap, TGdiKind::Bitmap);
    if (!device || !object || device->target != nullptr)
        return HBITMAP();
    return Swap(device->selectedBitmap, device->bitmapHandle, object, bitmap);
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    switch (GetObjectKind(object)) {
        case TGdiKind::Pen:
            return SelectObject(dc, HPEN(object));
        case TGdiKind::Brush:
            return SelectObject(dc, HBRUSH(object));
        case TGdiKind::Font:
            return SelectObject(dc, HFONT(object));
        case TGdiKind::Bitmap:
            return SelectObject(dc, HBITMAP(object));
        case TGdiKind::Region:
            return HGDIOBJ{static_cast<std::uint32_t>(SelectClipRgn(dc, HRGN(object)))};
        default:
            return HGDIOBJ();
    }
}

HGDIOBJ GetCurrentObject(HDC dc, TGdiKind kind) {
    const auto device = FindDC(dc);
    if (!device)
        return HGDIOBJ();
    switch (kind) {
        case TGdiKind::Pen:
            return device->state.penHandle;
        case TGdiKind::Brush:
            return device->state.brushHandle;
        case TGdiKind::Font:
            return device->state.fontHandle;
        case TGdiKind::Palette:
            return device->state.paletteHandle;
        case TGdiKind::Bitmap:
            return device->bitmapHandle;
        default:
            return HGDIOBJ();
    }
}

int SaveDC(HDC dc) {
    const auto device = FindDC(dc);
    if (!device)
        return 0;
    device->saved.push_back(device->state);
    return static_cast<int>(device->saved.size());
}

bool RestoreDC(HDC dc, int savedLevel) {
    const auto device = FindDC(dc);
    if (!device)
        return false;
    const int count = static_cast<int>(device->saved.size());
    const int level = savedLevel < 0 ? count + 1 + savedLevel : savedLevel;
    if (level < 1 || level > count)
        return false;
    device->state = std::move(device->saved[level - 1]);
    device->saved.resize(level - 1);
    return true;
}

namespace {

// Reads or swaps one field of the device state; 0 for an invalid device.
template <class T>
T Exchange(HDC dc, T DcState::*field, T value) {
    const auto device = FindDC(dc);
    if (!device)
        return T{};
    return std::exchange(device->state.*field, value);
}

template <class T>
T Read(HDC dc, T DcState::*field) {
    const auto device = FindDC(dc);
    return device ? device->state.*field : T{};
}

bool ExchangePoint(HDC dc, TPoint DcState::*field, TPoint value, TPoint* previous) {
    const auto device = FindDC(dc);
    if (!device)
        return false;
    const TPoint old = std::exchange(device->state.*field, value);
    if (previous)
        *previous = old;
    return true;
}

bool ReadPoint(HDC dc, TPoint DcState::*field, TPoint* out) {
    const auto device = FindDC(dc);
    if (!device)
        return false;
    if (out)
        *out = device->state.*field;
    return true;
}

}  // namespace

int SetROP2(HDC dc, int mode) {
    return mode < R2_BLACK || mode > R2_WHITE ? 0 : Exchange(dc, &DcState::rop2, mode);
}
int GetROP2(HDC dc) {
    return Read(dc, &DcState::rop2);
}
int SetBkMode(HDC dc, int mode) {
    return mode != TRANSPARENT && mode != OPAQUE ? 0 : Exchange(dc, &DcState::bkMode, mode);
}
int GetBkMode(HDC dc) {
    return Read(dc, &DcState::bkMode);
}
TColor SetBkColor(HDC dc, TColor color) {
    return Exchange(dc, &DcState::bkColor, color);
}
TColor GetBkColor(HDC dc) {
    return Read(dc, &DcState::bkColor);
}
TColor SetTextColor(HDC dc, TColor color) {
    return Exchange(dc, &DcState::textColor, color);
}
TColor GetTextColor(HDC dc) {
    return Read(dc, &DcState::textColor);
}
int SetPolyFillMode(HDC dc, int mode) {
    return mode != ALTERNATE && mode != WINDING ? 0 : Exchange(dc, &DcState::polyFillMode, mode);
}
int SetStretchBltMode(HDC dc, int mode) {
    return mode < BLACKONWHITE || mode > HALFTONE ? 0 : Exchange(dc, &DcState::stretchMode, mode);
}
unsigned SetTextAlign(HDC dc, unsigned align) {
    return Exchange(dc, &DcState::textAlign, align);
}
unsigned GetTextAlign(HDC dc) {
    return Read(dc, &DcState::textAlign);
}
bool SetBrushOrgEx(HDC dc, int x, int y, TPoint* previous) {
    return ExchangePoint(dc, &DcState::brushOrg, {x, y}, previous);
}
bool GetBrushOrgEx(HDC dc, TPoint* origin) {
    return ReadPoint(dc, &DcState::brushOrg, origin);
}
bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* previous) {
    return ExchangePoint(dc, &DcState::windowOrg, {x, y}, previous);
}
bool GetWindowOrgEx(HDC dc, TPoint* origin) {
    return ReadPoint(dc, &DcState::windowOrg, origin);
}
bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* previous) {
    return ExchangePoint(dc, &DcState::viewportOrg, {x, y}, previous);
}
bool GetViewportOrgEx(HDC dc, TPoint* origin) {
    return ReadPoint(dc, &DcState::viewportOrg, origin);
}
bool OffsetWindowOrgEx(HDC dc, int dx, int dy, TPoint* previous) {
    TPoint origin;
    if (!GetWindowOrgEx(dc, &origin))
        return false;
    return SetWindowOrgEx(dc, Clamp32(std::int64_t{origin.X} + dx),
                          Clamp32(std::int64_t{origin.Y} + dy), previous);
}

int GetDeviceCaps(HDC dc, int index) {
    const auto device = FindDC(dc);
    if (!device)
        return 0;
    const bool palettized = device->screen && Table().screenBits <= 8;
    switch (index) {
        case BITSPIXEL:
            if (device->screen)
                return Table().screenBits;
            return device->Target().Monochrome() ? 1 : 32;
        case PLANES:
            return 1;
        case LOGPIXELSX:
        case LOGPIXELSY:
            return 96;
        case RASTERCAPS:
            return palettized ? RC_PALETTE : 0;
        case SIZEPALETTE:
            return palettized ? 256 : 0;
        default:
            return 0;
    }
}

TColor GetSysColor(int index) {
    return index < 0 || index > 0xFF ? clBlack
                                     : ColorToRGB(kSystemColorFlag | static_cast<TColor>(index));
}

}  // namespace kw
