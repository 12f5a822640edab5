// Fonts and text output of the raster device.

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "platform/graphics/device.h"
#include "platform/graphics/font_face.h"
#include "platform/graphics/painter.h"

namespace kw {

// Code that copies the structure as the platform's block of bytes relies on its size.
static_assert(sizeof(LOGFONT) == 92);

String FaceName(const LOGFONT& font) {
    const auto end = std::find(font.lfFaceName.begin(), font.lfFaceName.end(), Char{0});
    return String(font.lfFaceName.begin(), end);
}

void SetFaceName(LOGFONT& font, StringView name) {
    font.lfFaceName.fill(0);
    const std::size_t count = std::min<std::size_t>(name.size(), LF_FACESIZE - 1);
    std::copy_n(name.begin(), count, font.lfFaceName.begin());
}

HFONT CreateFontIndirect(const LOGFONT& font) {
    auto object = std::make_shared<GdiFont>();
    object->log = font;
    return HFONT(AddGdiObject(object));
}

bool GetObject(HFONT font, LOGFONT& out) {
    const auto object = FindGdi<GdiFont>(font, TGdiKind::Font);
    if (object)
        out = object->log;
    return object != nullptr;
}

namespace {

TFontFace& FaceOf(GdiDC& dc) {
    GdiFont& font = *dc.state.font;
    if (!font.face)
        font.face = ResolveFontFace(font.log);
    return *font.face;
}

// One laid-out line: the characters to draw and which of them carry an accelerator underline.
struct TextLine {
    std::u32string chars;
    std::vector<bool> marked;
    int width = 0;
};

std::u32string Decode(StringView text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        out.push_back(c);
    }
    return out;
}

int Measure(TFontFace& face, std::u32string_view chars) {
    std::int64_t width = 0;
    for (char32_t c : chars)
        width += face.Advance(c);
    return static_cast<int>(std::min<std::int64_t>(width, std::numeric_limits<int>::max()));
}

// Text space: u to the right along the baseline, v down, (0, 0) at the top-left of the cell
// row. The reference point of the text alignment sits at (refU, refV).
struct Placement {
    TPoint reference;  // device units
    double refU = 0;
    double refV = 0;
    int escapement = 0;  // tenths of a degree
};

// Renders the line into a coverage mask of the line's cell box.
// Lines beyond this many mask pixels are not drawn: no device is that large.
constexpr std::int64_t kMaxLinePixels = std::int64_t{1} << 26;

std::vector<Byte> LineMask(TFontFace& face, const TextLine& line, const LOGFONT& log, int width,
                           int height) {
    if (std::int64_t{width} * height > kMaxLinePixels || width <= 0 || height <= 0)
        return {};
    std::vector<Byte> mask(static_cast<std::size_t>(width) * height, 0);
    const TEXTMETRIC& tm = face.Metrics();
    int pen = 0;
    auto bar = [&](int x0, int x1, int top, int thickness) {
        for (int y = std::max(top, 0); y < std::min(top + thickness, height); ++y)
            for (int x = std::max(x0, 0); x < std::min(x1, width); ++x)
                mask[static_cast<std::size_t>(y) * width + x] = 255;
    };
    for (std::size_t i = 0; i < line.chars.size(); ++i) {
        const TGlyph& glyph = face.Glyph(line.chars[i]);
        const int gx = pen + glyph.left;
        const int gy = tm.tmAscent - glyph.top;
        for (int y = 0; y < glyph.height; ++y) {
            const int my = gy + y;
            if (my < 0 || my >= height)
                continue;
            for (int x = 0; x < glyph.width; ++x) {
                const int mx = gx + x;
                if (mx < 0 || mx >= width)
                    continue;
                Byte& cell = mask[static_cast<std::size_t>(my) * width + mx];
                cell =
                    std::max(cell, glyph.coverage[static_cast<std::size_t>(y) * glyph.width + x]);
            }
        }
        if (i < line.marked.size() && line.marked[i])
            bar(pen, pen + glyph.advance, tm.tmAscent + face.UnderlineOffset(),
                face.LineThickness());
        pen += glyph.advance;
    }
    if (log.lfUnderline)
        bar(0, pen, tm.tmAscent + face.UnderlineOffset(), face.LineThickness());
    if (log.lfStrikeOut)
        bar(0, pen, tm.tmAscent - face.StrikeOutOffset(), face.LineThickness());
    return mask;
}

// Draws a mask of `width` x `height` text-space pixels, rotated about the reference point.
// `background` paints the whole box first (opaque mode).
void PutMask(GdiDC& dc, const std::vector<Byte>& mask, int width, int height, const Placement& at,
             bool background) {
    if (width <= 0 || height <= 0)
        return;
    const TColor text = dc.state.textColor;
    if (at.escapement % 3600 == 0) {
        const std::int64_t left = at.reference.X - static_cast<std::int64_t>(at.refU);
        const std::int64_t top = at.reference.Y - static_cast<std::int64_t>(at.refV);
        if (left < std::numeric_limits<int>::min() || top < std::numeric_limits<int>::min() ||
            left + width > std::numeric_limits<int>::max() ||
            top + height > std::numeric_limits<int>::max())
            return;
        if (background)
            FillDeviceRect(
                dc, TRect::Bounds(static_cast<int>(left), static_cast<int>(top), width, height),
                dc.state.bkColor);
        BlendCoverage(dc, static_cast<int>(left), static_cast<int>(top), width, height, mask.data(),
                      text);
        return;
    }
    // Rotated: sample the mask at each device pixel's centre, mapped back into text space.
    const int tenths = ((at.escapement % 3600) + 3600) % 3600;
    double c = 0, s = 0;
    switch (tenths) {
        case 900:
            s = 1;
            break;
        case 1800:
            c = -1;
            break;
        case 2700:
            s = -1;
            break;
        default: {
            const double angle = tenths / 10.0 * std::numbers::pi / 180.0;
            c = std::cos(angle);
            s = std::sin(angle);
        }
    }
    // Device offset of text-space point (u, v) from the reference: (du*c + dv*s, -du*s + dv*c).
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool first = true;
    for (double u : {0.0, static_cast<double>(width)}) {
        for (double v : {0.0, static_cast<double>(height)}) {
            const double du = u - at.refU, dv = v - at.refV;
            const double x = du * c + dv * s, y = -du * s + dv * c;
            minX = first ? x : std::min(minX, x);
            maxX = first ? x : std::max(maxX, x);
            minY = first ? y : std::min(minY, y);
            maxY = first ? y : std::max(maxY, y);
            first = false;
        }
    }
    const double x0 = at.reference.X + std::floor(minX), x1 = at.reference.X + std::ceil(maxX);
    const double y0 = at.reference.Y + std::floor(minY), y1 = at.reference.Y + std::ceil(maxY);
    Painter painter(dc);
    const TRect& box = painter.Box();
    const int left = static_cast<int>(std::max<double>(x0, box.Left));
    const int right = static_cast<int>(std::min<double>(x1, box.Right));
    const int top = static_cast<int>(std::max<double>(y0, box.Top));
    const int bottom = static_cast<int>(std::min<double>(y1, box.Bottom));
    if (left >= right || top >= bottom)
        return;
    const int w = right - left;
    std::vector<Byte> cover(static_cast<std::size_t>(w) * (bottom - top), 0);
    std::vector<Byte> inside(cover.size(), 0);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const double dx = x + 0.5 - at.reference.X, dy = y + 0.5 - at.reference.Y;
            const double u = dx * c - dy * s + at.refU;
            const double v = dx * s + dy * c + at.refV;
            const double fu = std::floor(u), fv = std::floor(v);
            if (fu < 0 || fv < 0 || fu >= width || fv >= height)
                continue;
            const std::size_t at2 = static_cast<std::size_t>(y - top) * w + (x - left);
            inside[at2] = 255;
            cover[at2] = mask[static_cast<std::size_t>(fv) * width + static_cast<std::size_t>(fu)];
        }
    }
    if (background)
        BlendCoverage(dc, left, top, w, bottom - top, inside.data(), dc.state.bkColor);
    BlendCoverage(dc, left, top, w, bottom - top, cover.data(), text);
}

Placement PlaceLine(GdiDC& dc, TFontFace& face, int x, int y, int width) {
    Placement at;
    at.reference = dc.ToDevice(x, y);
    at.escapement = dc.state.font->log.lfEscapement;
    const unsigned align = dc.state.textAlign;
    if ((align & TA_CENTER) == TA_CENTER)
        at.refU = width / 2;
    else if (align & TA_RIGHT)
        at.refU = width;
    if ((align & TA_BASELINE) == TA_BASELINE)
        at.refV = face.Metrics().tmAscent;
    else if (align & TA_BOTTOM)
        at.refV = face.Metrics().tmHeight;
    return at;
}

void DrawLine(GdiDC& dc, TFontFace& face, const TextLine& line, const Placement& at) {
    const int height = face.Metrics().tmHeight;
    const std::vector<Byte> mask = LineMask(face, line, dc.state.font->log, line.width, height);
    PutMask(dc, mask, line.width, height, at, dc.state.bkMode == OPAQUE);
}

TextLine PlainLine(TFontFace& face, StringView text) {
    TextLine line;
    line.chars = Decode(text);
    line.width = Measure(face, line.chars);
    return line;
}

}  // namespace

bool GetTextMetrics(HDC dc, TEXTMETRIC& out) {
    const auto device = FindDC(dc);
    if (!device)
        return false;
    out = FaceOf(*device).Metrics();
    const LOGFONT& log = device->state.font->log;
    out.tmItalic = log.lfItalic;
    out.tmUnderlined = log.lfUnderline;
    out.tmStruckOut = log.lfStrikeOut;
    return true;
}

bool GetTextExtentPoint32(HDC dc, StringView text, TSize* size) {
    const auto device = FindDC(dc);
    if (!device || !size)
        return false;
    TFontFace& face = FaceOf(*device);
    *size = {Measure(face, Decode(text)), face.Metrics().tmHeight};
    return true;
}

bool TextOut(HDC dc, int x, int y, StringView text) {
    return ExtTextOut(dc, x, y, 0, nullptr, text);
}

bool ExtTextOut(HDC dc, int x, int y, unsigned options, const TRect* rect, StringView text) {
    const auto device = FindDC(dc);
    if (!device)
        return false;
    GdiDC& d = *device;
    TFontFace& face = FaceOf(d);
    std::optional<TRegion> savedClip = d.state.clip;
    if (rect && (options & ETO_OPAQUE))
        FillDeviceRect(d, d.ToDevice(*rect), d.state.bkColor);
    if (rect && (options & ETO_CLIPPED)) {
        TRegion clip =
            savedClip ? *savedClip : TRegion(TRect(0, 0, d.Target().Width(), d.Target().Height()));
        clip.Combine(clip, TRegion(d.ToDevice(*rect)), TRegionCombine::rgnAnd);
        d.state.clip = std::move(clip);
    }
    const TextLine line = PlainLine(face, text);
    // With an opaque rectangle the background is already there.
    const int bkMode = std::exchange(d.state.bkMode,
                                     rect && (options & ETO_OPAQUE) ? TRANSPARENT : d.state.bkMode);
    DrawLine(d, face, line, PlaceLine(d, face, x, y, line.width));
    d.state.bkMode = bkMode;
    d.state.clip = std::move(savedClip);
    return true;
}

// ---- DrawText --------------------------------------------------------------------------------

namespace {

constexpr char32_t kEllipsis[] = U"...";

// Removes "&" prefixes: "&x" marks x, "&&" is a literal "&", a final "&" vanishes.
TextLine StripPrefixes(std::u32string_view text, bool prefixes) {
    TextLine line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (prefixes && text[i] == U'&') {
            if (i + 1 >= text.size())
                break;
            ++i;
            line.chars.push_back(text[i]);
            line.marked.push_back(text[i] != U'&');
            continue;
        }
        line.chars.push_back(text[i]);
        line.marked.push_back(false);
    }
    return line;
}

void ExpandTabs(TextLine& line, TFontFace& face, bool expand) {
    TextLine out;
    const int stop = 8 * face.Metrics().tmAveCharWidth;
    const int space = face.Advance(U' ');
    std::int64_t pen = 0;
    for (std::size_t i = 0; i < line.chars.size(); ++i) {
        if (line.chars[i] == U'\t' && expand && stop > 0 && space > 0) {
            const std::int64_t next = (pen / stop + 1) * stop;
            while (pen < next) {
                out.chars.push_back(U' ');
                out.marked.push_back(false);
                pen += space;
            }
            continue;
        }
        out.chars.push_back(line.chars[i] == U'\t' ? U' ' : line.chars[i]);
        out.marked.push_back(line.marked[i]);
        pen += face.Advance(out.chars.back());
    }
    line = std::move(out);
}

void Remeasure(TextLine& line, TFontFace& face) {
    line.width = Measure(face, line.chars);
}

TextLine Slice(const TextLine& line, std::size_t from, std::size_t to) {
    TextLine part;
    part.chars = line.chars.substr(from, to - from);
    part.marked.assign(line.marked.begin() + from, line.marked.begin() + to);
    return part;
}

// Breaks a line at spaces so each piece fits `width`; a word wider than that stays whole.
std::vector<TextLine> WordBreak(const TextLine& line, TFontFace& face, int width) {
    std::vector<TextLine> out;
    std::size_t start = 0;
    while (start < line.chars.size()) {
        std::size_t end = start;
        std::size_t lastFit = std::u32string::npos;
        int pen = 0;
        while (end < line.chars.size()) {
            pen += face.Advance(line.chars[end]);
            if (pen > width)
                break;
            ++end;
            if (end == line.chars.size() || line.chars[end] == U' ')
                lastFit = end;
        }
        std::size_t cut = end == line.chars.size() ? end : lastFit;
        if (cut == std::u32string::npos || cut <= start) {
            // The first word does not fit: take it whole.
            cut = start;
            while (cut < line.chars.size() && line.chars[cut] != U' ')
                ++cut;
            if (cut == start)
                cut = start + 1;
        }
        TextLine piece = Slice(line, start, cut);
        Remeasure(piece, face);
        out.push_back(std::move(piece));
        start = cut;
        while (start < line.chars.size() && line.chars[start] == U' ')
            ++start;
    }
    if (out.empty())
        out.emplace_back();
    return out;
}

void EndEllipsis(TextLine& line, TFontFace& face, int width) {
    if (line.width <= width)
        return;
    const int dots = Measure(face, kEllipsis);
    while (!line.chars.empty() && Measure(face, line.chars) + dots > width) {
        line.chars.pop_back();
        line.marked.pop_back();
    }
    line.chars += kEllipsis;
    line.marked.resize(line.chars.size(), false);
    Remeasure(line, face);
}

// Keeps the last path component and as much of the start as fits, with "..." between.
void PathEllipsis(TextLine& line, TFontFace& face, int width) {
    if (line.width <= width)
        return;
    const std::size_t slash = line.chars.find_last_of(U"\\/");
    if (slash == std::u32string::npos) {
        EndEllipsis(line, face, width);
        return;
    }
    TextLine head = Slice(line, 0, slash);
    const TextLine tail = Slice(line, slash, line.chars.size());
    const int fixed = Measure(face, kEllipsis) + Measure(face, tail.chars);
    while (!head.chars.empty() && Measure(face, head.chars) + fixed > width) {
        head.chars.pop_back();
        head.marked.pop_back();
    }
    line.chars = head.chars + kEllipsis + tail.chars;
    line.marked = head.marked;
    line.marked.resize(head.chars.size() + 3, false);
    line.marked.insert(line.marked.end(), tail.marked.begin(), tail.marked.end());
    Remeasure(line, face);
}

std::vector<std::u32string> SplitLines(const std::u32string& text, bool single) {
    std::vector<std::u32string> lines;
    if (single) {
        std::u32string one;
        for (char32_t c : text) {
            if (c != U'\r' && c != U'\n')
                one.push_back(c);
        }
        lines.push_back(std::move(one));
        return lines;
    }
    std::u32string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\r' || text[i] == U'\n') {
            lines.push_back(std::move(current));
            current.clear();
            if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n')
                ++i;
            continue;
        }
        current.push_back(text[i]);
    }
    lines.push_back(std::move(current));
    return lines;
}

}  // namespace

int DrawText(HDC dc, StringView text, TRect* rect, unsigned format) {
    const auto device = FindDC(dc);
    if (!device || !rect)
        return 0;
    GdiDC& d = *device;
    TFontFace& face = FaceOf(d);
    const int lineHeight = face.Metrics().tmHeight + face.Metrics().tmExternalLeading;
    const bool single = format & DT_SINGLELINE;
    const auto clampInt = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                         std::numeric_limits<int>::max()));
    };
    const int width = clampInt(std::int64_t{rect->Right} - rect->Left);

    std::vector<TextLine> lines;
    for (const std::u32string& raw : SplitLines(Decode(text), single)) {
        TextLine line = StripPrefixes(raw, !(format & DT_NOPREFIX));
        ExpandTabs(line, face, format & DT_EXPANDTABS);
        Remeasure(line, face);
        if ((format & DT_WORDBREAK) && !single) {
            for (TextLine& piece : WordBreak(line, face, width))
                lines.push_back(std::move(piece));
        } else {
            lines.push_back(std::move(line));
        }
    }
    for (TextLine& line : lines) {
        if (format & DT_PATH_ELLIPSIS)
            PathEllipsis(line, face, width);
        else if (format & DT_END_ELLIPSIS)
            EndEllipsis(line, face, width);
    }
    int widest = 0;
    for (const TextLine& line : lines)
        widest = std::max(widest, line.width);
    const int total = static_cast<int>(
        std::min<std::int64_t>(std::int64_t{lineHeight} * static_cast<std::int64_t>(lines.size()),
                               std::numeric_limits<int>::max() / 2));

    if (format & DT_CALCRECT) {
        rect->Right = static_cast<int>(std::min<std::int64_t>(std::int64_t{rect->Left} + widest,
                                                              std::numeric_limits<int>::max()));
        rect->Bottom = static_cast<int>(std::min<std::int64_t>(std::int64_t{rect->Top} + total,
                                                               std::numeric_limits<int>::max()));
        return total;
    }

    std::int64_t top = rect->Top;
    if (single && (format & DT_VCENTER))
        top = rect->Top + (std::int64_t{rect->Bottom} - rect->Top - total) / 2;
    else if (single && (format & DT_BOTTOM))
        top = std::int64_t{rect->Bottom} - total;

    std::optional<TRegion> savedClip = d.state.clip;
    if (!(format & DT_NOCLIP)) {
        TRegion clip =
            savedClip ? *savedClip : TRegion(TRect(0, 0, d.Target().Width(), d.Target().Height()));
        clip.Combine(clip, TRegion(d.ToDevice(*rect)), TRegionCombine::rgnAnd);
        d.state.clip = std::move(clip);
    }
    // Lines are laid out as if upright; a rotated font turns each line about its start point.
    const unsigned align = std::exchange(d.state.textAlign, TA_LEFT | TA_TOP);
    for (const TextLine& line : lines) {
        std::int64_t left = rect->Left;
        if (format & DT_CENTER)
            left = rect->Left + (std::int64_t{width} - line.width) / 2;
        else if (format & DT_RIGHT)
            left = std::int64_t{rect->Right} - line.width;
        if (top > std::numeric_limits<int>::max() || top < std::numeric_limits<int>::min() ||
            left > std::numeric_limits<int>::max() || left < std::numeric_limits<int>::min())
            break;
        DrawLine(d, face, line,
                 PlaceLine(d, face, static_cast<int>(left), static_cast<int>(top), line.width));
        top += lineHeight;
    }
    d.state.textAlign = align;
    d.state.clip = std::move(savedClip);
    return total;
}

}  // namespace kw
