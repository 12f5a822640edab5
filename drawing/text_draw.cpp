#include "drawing/text_draw.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "display/set_references.h"
#include "drawing/decorations.h"
#include "drawing/rects.h"
#include "platform/core/numbers.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/font.h"

namespace kw {

namespace {

constexpr Char kCR = 13;
constexpr Char kLF = 10;
constexpr Char kTab = 9;
constexpr Char kSpace = 32;
constexpr Char kAccel = u'&';
constexpr const Char* kEllipsis = u"...";
// Rotation needs an outline font; bitmap faces are replaced by this one.
constexpr const Char* kRotationFace = u"Courier New";

bool IsWordChar(Char c) {
    return c > kSpace;
}

// Puts the fonts a text needs into the device for the life of the object and gives back the
// device's font, background mode, text colour and alignment afterwards, deleting what it made.
class TTextDevice {
public:
    TTextDevice(HDC dc, const TFont& font, int angle, bool bold) : dc_(dc) {
        log_ = ToLogFont(font);
        previous_ = SelectObject(dc_, Own(CreateFontIndirect(log_)));
        TEXTMETRIC tm;
        GetTextMetrics(dc_, tm);
        const bool trueType = (tm.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
        if (angle != 0 || bold) {
            log_.lfEscapement = static_cast<int>(std::clamp<std::int64_t>(
                std::int64_t{angle} * 10, std::numeric_limits<int>::min() / 2,
                std::numeric_limits<int>::max() / 2));
            if (angle != 0 && !trueType)
                SetFaceName(log_, kRotationFace);
            if (bold)
                log_.lfWeight = std::max(log_.lfWeight, FW_BOLD);
            SelectObject(dc_, Own(CreateFontIndirect(log_)));
        }
        normal_ = HFONT(GetCurrentObject(dc_, TGdiKind::Font));
        GetTextMetrics(dc_, metrics_);
        bkMode_ = SetBkMode(dc_, TRANSPARENT);
        textColor_ = GetTextColor(dc_);
        align_ = SetTextAlign(dc_, TA_LEFT | TA_TOP);
    }
    ~TTextDevice() {
        SelectObject(dc_, previous_);
        SetBkMode(dc_, bkMode_);
        SetTextColor(dc_, textColor_);
        SetTextAlign(dc_, align_);
        for (HFONT font : made_)
            DeleteObject(font);
    }
    TTextDevice(const TTextDevice&) = delete;
    TTextDevice& operator=(const TTextDevice&) = delete;

    HDC Dc() const { return dc_; }
    const TEXTMETRIC& Metrics() const { return metrics_; }
    int Width(StringView text) const {
        TSize size;
        GetTextExtentPoint32(dc_, text, &size);
        return size.cx;
    }
    void RightToLeft() { SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_RTLREADING); }
    // The text font, or its underlined copy for accelerator characters.
    void Use(bool accel) {
        if (!accel) {
            SelectObject(dc_, normal_);
            return;
        }
        if (!underlined_) {
            LOGFONT log = log_;
            log.lfUnderline = 1;
            underlined_ = Own(CreateFontIndirect(log));
        }
        SelectObject(dc_, underlined_);
    }

private:
    HFONT Own(HFONT font) {
        made_.push_back(font);
        return font;
    }

    HDC dc_;
    LOGFONT log_;
    HFONT previous_;
    HFONT normal_;
    HFONT underlined_;
    std::vector<HFONT> made_;
    TEXTMETRIC metrics_;
    int bkMode_;
    TColor textColor_;
    unsigned align_;
};

// A run of a line drawn in one go, at `x` from the line's start.
struct TPiece {
    int x = 0;
    String text;
    bool accel = false;
};

struct TLine {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
    int width = 0;
};

// Splits a text into lines and lays a line out into pieces.
class TLineBreaker {
public:
    TLineBreaker(TTextDevice& device, StringView text, bool accel, bool wrap, int wrapWidth)
        : device_(device),
          text_(text),
          accel_(accel),
          wrap_(wrap),
          wrapWidth_(wrapWidth),
          space_(device.Width(u" ")) {}

    bool More(std::size_t pos) const { return pos < text_.size(); }

    TLine Next(std::size_t pos) const {
        TLine line{pos, pos, pos, 0};
        std::int64_t width = 0;
        std::int64_t blanks = 0;
        while (pos < text_.size()) {
            const Char c = text_[pos];
            if (c == kCR || c == kLF) {
                line.end = pos;
                line.next = pos + 1 + (c == kCR && pos + 1 < text_.size() && text_[pos + 1] == kLF);
                line.width = Clamp(width + blanks);
                return line;
            }
            if (!IsWordChar(c)) {
                blanks += c == kSpace ? space_ : c == kTab ? 8 * std::int64_t{space_} : 0;
                ++pos;
                continue;
            }
            std::size_t end = pos;
            while (end < text_.size() && IsWordChar(text_[end]))
                ++end;
            const int word = device_.Width(Shown(text_.substr(pos, end - pos)));
            if (wrap_ && line.end > line.begin && width + blanks + word > wrapWidth_) {
                line.next = pos;
                line.width = Clamp(width);
                return line;
            }
            width += blanks + word;
            blanks = 0;
            line.end = pos = end;
        }
        line.end = line.next = text_.size();
        line.width = Clamp(width + blanks);
        return line;
    }

    // The pieces of a line: blanks move the pen, "&" prefixes are taken out, and the first
    // marked character becomes a piece of its own.
    std::vector<TPiece> Lay(const TLine& line) const {
        std::vector<TPiece> pieces;
        std::int64_t x = 0;
        bool marked = false;
        TPiece run;
        auto flush = [&] {
            if (!run.text.empty()) {
                run.x = Clamp(x);
                x += device_.Width(run.text);
                pieces.push_back(std::move(run));
            }
            run = TPiece{};
        };
        for (std::size_t i = line.begin; i < line.end; ++i) {
            const Char c = text_[i];
            if (!IsWordChar(c)) {
                flush();
                x += c == kSpace ? space_ : c == kTab ? 8 * std::int64_t{space_} : 0;
                continue;
            }
            if (accel_ && c == kAccel && i + 1 < line.end && IsWordChar(text_[i + 1])) {
                ++i;
                if (text_[i] != kAccel && !marked) {
                    marked = true;
                    flush();
                    run.text = text_.substr(i, 1);
                    run.accel = true;
                    flush();
                    continue;
                }
            }
            run.text += text_[i];
        }
        flush();
        return pieces;
    }

    // A word as it shows, its "&" prefixes taken out.
    String Shown(StringView word) const {
        String out;
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (accel_ && word[i] == kAccel && i + 1 < word.size())
                ++i;
            out += word[i];
        }
        return out;
    }

private:
    static int Clamp(std::int64_t v) { return KwClampToInt(v); }

    TTextDevice& device_;
    StringView text_;
    bool accel_;
    bool wrap_;
    int wrapWidth_;
    int space_;
};

// Cuts the end of a laid-out line until it and "..." fit `width`, then adds the "...".
void CutWithEllipsis(TTextDevice& device, std::vector<TPiece>& pieces, int width) {
    const int dots = device.Width(kEllipsis);
    auto end = [&] {
        return pieces.empty() ? 0 : pieces.back().x + device.Width(pieces.back().text);
    };
    while (!pieces.empty() && std::int64_t{end()} + dots > width) {
        pieces.back().text.pop_back();
        if (pieces.back().text.empty())
            pieces.pop_back();
    }
    pieces.push_back({end(), kEllipsis, false});
}

struct TBlock {
    int width = 0;
    int height = 0;
    int lines = 0;
};

TBlock Measure(const TLineBreaker& breaker, int fixedWidth, int lineHeight) {
    TBlock block;
    int widest = 0;
    for (std::size_t pos = 0; breaker.More(pos);) {
        const TLine line = breaker.Next(pos);
        widest = std::max(widest, line.width);
        ++block.lines;
        pos = line.next;
    }
    block.width = fixedWidth > 0 ? fixedWidth : widest;
    block.height = KwClampToInt(std::int64_t{block.lines} * lineHeight);
    return block;
}

// Where the text's own frame (u along the lines, v down across them) lands on the device: a
// point of the frame at (u, v) goes to origin + (u cos a + v sin a, v cos a - u sin a).
class TRotation {
public:
    explicit TRotation(int angle) {
        const int a = ((angle % 360) + 360) % 360;
        static constexpr int kCos[] = {1, 0, -1, 0};
        static constexpr int kSin[] = {0, 1, 0, -1};
        if (a % 90 == 0) {
            cos_ = kCos[a / 90];
            sin_ = kSin[a / 90];
        } else {
            cos_ = std::cos(a * std::numbers::pi / 180.0);
            sin_ = std::sin(a * std::numbers::pi / 180.0);
        }
    }
    TPoint Map(int u, int v) const {
        return {KwClampToInt(Round(u * cos_ + v * sin_)), KwClampToInt(Round(v * cos_ - u * sin_))};
    }
    // The origin that keeps the turned w x h block inside a box whose top-left is `box`:
    // each quadrant anchors the block at its own corner.
    TPoint Anchor(TPoint box, int w, int h) const {
        int minX = 0, minY = 0;
        for (const TPoint p : {Map(w, 0), Map(0, h), Map(w, h)}) {
            minX = std::min(minX, p.X);
            minY = std::min(minY, p.Y);
        }
        return {KwClampToInt(std::int64_t{box.X} - minX), KwClampToInt(std::int64_t{box.Y} - minY)};
    }

private:
    double cos_ = 1;
    double sin_ = 0;
};

bool Vertical(int angle) {
    return (std::int64_t{angle} + 90) % 180 == 0;
}

// The box the block is drawn in and the block's frame size inside it.
struct TFrame {
    TPoint box;
    int w = 0;
    int h = 0;
};

TFrame FrameFor(const TRect& rect, int angle, int fixedWidth, const TBlock& block) {
    const int rw = KwClampToInt(std::int64_t{rect.Right} - rect.Left);
    const int rh = KwClampToInt(std::int64_t{rect.Bottom} - rect.Top);
    if (angle % 180 == 0) {
        if (fixedWidth > 0)
            return {{KwClampToInt(rect.Left + (std::int64_t{rw} - fixedWidth) / 2), rect.Top},
                    fixedWidth,
                    rh};
        return {{rect.Left, rect.Top}, rw, rh};
    }
    if (Vertical(angle)) {
        if (fixedWidth > 0)
            return {{rect.Left, KwClampToInt(rect.Top + (std::int64_t{rh} - fixedWidth) / 2)},
                    fixedWidth,
                    rw};
        return {{rect.Left, rect.Top}, rh, rw};
    }
    const TSize ext = KwRectExt(block.width, block.height, angle);
    return {{KwClampToInt(rect.Left + (std::int64_t{rw} - ext.cx) / 2),
             KwClampToInt(rect.Top + (std::int64_t{rh} - ext.cy) / 2)},
            block.width,
            block.height};
}

int Offset(int room, int used, bool centre) {
    const std::int64_t free = std::int64_t{room} - used;
    return KwClampToInt(std::max<std::int64_t>(0, centre ? free / 2 : free));
}

struct TTextJob {
    HDC dc;
    TCanvas* canvas;  // for the marks; none on a bare device
    const TRect& rect;
    StringView text;
    const TFont& font;
    TColor color;
    TColor accelColor;
    const TKwTextLook& look;
};

void DrawLines(TTextDevice& device, const TLineBreaker& breaker, const TTextJob& job,
               const TFrame& frame, const TBlock& block, int lineHeight, TKwAlignment alignment) {
    const TRotation rotation(job.look.Angle);
    const TPoint origin = rotation.Anchor(frame.box, frame.w, frame.h);
    const TColor text = ColorToRGB(job.color);
    const TColor accel = ColorToRGB(job.accelColor == clNone ? job.color : job.accelColor);
    int y = 0;
    if (job.look.Layout != layTop)
        y = Offset(frame.h, block.height, job.look.Layout == layCenter);
    for (std::size_t pos = 0; breaker.More(pos);) {
        const TLine line = breaker.Next(pos);
        pos = line.next;
        std::vector<TPiece> pieces = breaker.Lay(line);
        const bool last =
            line.width > frame.w ||
            (std::int64_t{y} + 2 * std::int64_t{lineHeight} > frame.h && breaker.More(pos));
        if (last)
            CutWithEllipsis(device, pieces, frame.w);
        int x = 0;
        if (alignment != aliLeft) {
            int width = line.width;
            if (last && !pieces.empty())
                width = pieces.back().x + device.Width(pieces.back().text);
            x = Offset(frame.w, width, alignment == aliCenter);
        }
        for (const TPiece& piece : pieces) {
            const TPoint at = rotation.Map(x + piece.x, y);
            device.Use(piece.accel);
            SetTextColor(device.Dc(), piece.accel ? accel : text);
            TextOut(device.Dc(), KwClampToInt(std::int64_t{origin.X} + at.X),
                    KwClampToInt(std::int64_t{origin.Y} + at.Y), piece.text);
        }
        device.Use(false);
        if (last || std::int64_t{y} + 2 * std::int64_t{lineHeight} > frame.h)
            break;
        y += lineHeight;
    }
}

TRect RunText(const TTextJob& job) {
    const TKwTextLook& look = job.look;
    const TRect& rect = job.rect;
    if (!look.CalcRect && !KwPaintable(rect))
        return rect;
    TTextDevice device(job.dc, job.font, look.Angle, look.Bold);
    TKwAlignment alignment = look.Alignment;
    if (look.RightToLeft) {
        device.RightToLeft();
        alignment = alignment == aliLeft ? aliRight : alignment == aliRight ? aliLeft : alignment;
    }
    const TEXTMETRIC& tm = device.Metrics();
    const int lineHeight = KwClampToInt(std::int64_t{tm.tmHeight} + tm.tmExternalLeading);
    const bool wrap = look.WordWrap && (look.Width > 0 || look.Angle % 90 == 0);
    int wrapWidth = look.Width;
    if (wrapWidth <= 0)
        wrapWidth = Vertical(look.Angle) ? KwClampToInt(std::int64_t{rect.Bottom} - rect.Top)
                                         : KwClampToInt(std::int64_t{rect.Right} - rect.Left);
    const TLineBreaker breaker(device, job.text, look.ShowAccelChar, wrap, wrapWidth);
    const TBlock block = Measure(breaker, look.Width, lineHeight);
    if (look.CalcRect) {
        if (look.CalcOrigin)
            return {0, 0, block.width, block.height};
        const TSize ext = KwRectExt(block.width, block.height, look.Angle);
        return KwMoveEdges({rect.Left, rect.Top, rect.Left, rect.Top}, 0, 0, ext.cx, ext.cy);
    }
    const TFrame frame = FrameFor(rect, look.Angle, look.Width, block);
    if (frame.w < 1)
        return rect;
    if (look.ShowCorners && job.canvas != nullptr)
        KwPaintCorners(*job.canvas, rect, frame.w, frame.h, 4, look.Angle);
    if (job.color != clNone)
        DrawLines(device, breaker, job, frame, block, lineHeight, alignment);
    if (look.LimitChars > 0 && job.canvas != nullptr)
        KwPaintLimits(*job.canvas, rect, frame.w, frame.h,
                      KwClampToInt(std::int64_t{look.LimitChars} * tm.tmAveCharWidth), 4, alignment,
                      look.Angle);
    return rect;
}

}  // namespace

TRect KwDrawText(TCanvas& canvas, const TRect& rect, StringView text, const TFont& font,
                 TColor color, TColor accelColor, const TKwTextLook& look) {
    return RunText({canvas.Handle(), &canvas, rect, text, font, color, accelColor, look});
}

TRect KwDrawTextOn(HDC dc, const TRect& rect, StringView text, const TFont& font, TColor color,
                   TColor accelColor, const TKwTextLook& look) {
    return RunText({dc, nullptr, rect, text, font, color, accelColor, look});
}

const TFont& KwScaledSetFont(TKwSetFont& setFont, TFont& scratch) {
    TFont& font = setFont.Font();
    if (setFont.ScaleDiv() == 0 || setFont.ScaleMul() == setFont.ScaleDiv())
        return font;
    const int size = MulDiv(font.Size(), setFont.ScaleMul(), setFont.ScaleDiv());
    if (size == font.Size())
        return font;
    scratch.Assign(font);
    scratch.SetSize(size);
    return scratch;
}

namespace {

unsigned SpeedFlags(const TKwTextLook& look) {
    static constexpr unsigned kAlign[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    static constexpr unsigned kLayout[] = {DT_TOP, DT_VCENTER, DT_BOTTOM};
    unsigned flags = DT_EXPANDTABS;
    flags |= look.Alignment <= aliRight ? kAlign[look.Alignment] : DT_LEFT;
    flags |= look.Layout <= layBottom ? kLayout[look.Layout] : DT_TOP;
    if (look.WordWrap)
        flags |= DT_WORDBREAK;
    if (look.EndEllipsis)
        flags |= DT_END_ELLIPSIS;
    if (!look.ShowAccelChar)
        flags |= DT_NOPREFIX;
    return flags;
}

TRect SpeedMeasure(StringView text, const TFont& font, const TRect& rect, const TKwTextLook& look) {
    const HDC screen = GetDC(nullptr);
    TRect measured = rect;
    {
        const TTextDevice device(screen, font, 0, false);
        measured.Bottom = measured.Top + 1;
        const unsigned flags = (look.WordWrap ? DT_WORDBREAK : 0) | DT_CALCRECT | DT_EXPANDTABS |
                               (look.ShowAccelChar ? 0 : DT_NOPREFIX);
        DrawText(screen, text, &measured, flags);
    }
    ReleaseDC(nullptr, screen);
    return measured;
}

}  // namespace

TRect KwDrawSpeedText(TCanvas& canvas, const TRect& rect, StringView text, const TFont& font,
                      TColor color, const TKwTextLook& look) {
    if (look.CalcRect)
        return SpeedMeasure(text, font, rect, look);
    const unsigned flags = SpeedFlags(look);
    TRect r = rect;
    {
        TTextDevice device(canvas.Handle(), font, 0, false);
        SetTextColor(device.Dc(), ColorToRGB(color));
        if (look.Layout == layCenter || look.Layout == layBottom) {
            // The platform centres vertically only single lines: move the block down by hand.
            TRect measured = rect;
            DrawText(device.Dc(), text, &measured, flags | DT_CALCRECT);
            const std::int64_t free = std::int64_t{rect.Bottom} - measured.Bottom;
            const std::int64_t move = look.Layout == layCenter ? free / 2 : free;
            if (move >= 0)
                r.Top = KwClampToInt(r.Top + move);
        }
        if (color != clNone)
            DrawText(device.Dc(), text, &r, flags);
    }
    if (look.ShowCorners)
        KwPaintCorners(canvas, rect, rect.Width(), rect.Height(), 4, 0);
    if (look.LimitChars > 0) {
        TEXTMETRIC tm;
        {
            const TTextDevice device(canvas.Handle(), font, 0, false);
            tm = device.Metrics();
        }
        KwPaintLimits(canvas, rect, rect.Width(), rect.Height(),
                      KwClampToInt(std::int64_t{look.LimitChars} * tm.tmAveCharWidth), 4,
                      look.Alignment, 0);
    }
    return r;
}

TRect KwDrawSpeedText2(TCanvas& canvas, const TRect& rect, StringView text, TKwSetFont& setFont,
                       TColor color, const TKwTextLook& look) {
    TFont scratch;
    return KwDrawSpeedText(canvas, rect, text, KwScaledSetFont(setFont, scratch), color, look);
}

}  // namespace kw
