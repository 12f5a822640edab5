#include "platform/ui/hint_window.h"

#include <algorithm>

#include "platform/graphics/bitmap.h"
#include "platform/ui/paint_context.h"
#include "platform/ui/screen.h"

namespace kw {

KW_IMPLEMENT_CLASS(THintWindow, TCustomForm)

namespace {

// Space between the frame and the text.
constexpr int kMarginX = 3;
constexpr int kMarginY = 1;

std::vector<String> HintLines(const String& hint) {
    std::vector<String> lines(1);
    for (const Char c : hint) {
        if (c == u'\n') {
            lines.emplace_back();
        } else if (c != u'\r') {
            lines.back() += c;
        }
    }
    return lines;
}

// Measures and draws with the window's font on a canvas of its own when none is given.
TCanvas& PrepareCanvas(TCanvas& canvas, const TFont& font) {
    canvas.Font().Assign(font);
    canvas.Brush().Style = TBrushStyle::bsClear;
    return canvas;
}

}  // namespace

THintWindow::THintWindow(TComponent* owner) : TCustomForm(owner) {
    SetBorderStyle(TFormBorderStyle::bsNone);
    SetColor(clInfoBk);
    Font().SetColor(clInfoText);
}

TRect THintWindow::CalcHintRect(int maxWidth, const String& hint) {
    TBitmap scratch(1, 1, TPixelFormat::pf32bit);
    TCanvas canvas(scratch);
    PrepareCanvas(canvas, Font());
    int width = 0;
    const std::vector<String> lines = HintLines(hint);
    for (const String& line : lines)
        width = std::max(width, canvas.TextWidth(line));
    const int lineHeight = canvas.TextHeight(u"Wg");
    width = std::min(width, std::max(maxWidth, 0));
    return TRect(0, 0, width + 2 * (kMarginX + 1),
                 lineHeight * static_cast<int>(lines.size()) + 2 * (kMarginY + 1));
}

void THintWindow::ActivateHint(TRect screenRect, const String& hint) {
    const TRect desktop = Screen().DesktopRect();
    const int dx = std::max(0, screenRect.Right - desktop.Right);
    const int dy = std::max(0, screenRect.Bottom - desktop.Bottom);
    screenRect = screenRect.Offset(-dx, -dy);
    screenRect = screenRect.Offset(std::max(0, desktop.Left - screenRect.Left),
                                   std::max(0, desktop.Top - screenRect.Top));
    SetCaption(hint);
    SetBoundsRect(screenRect);
    Invalidate();
    Show();
}

void THintWindow::WndProc(TMessage& message) {
    if (message.Msg == WM_NCHITTEST) {
        message.Result = HTTRANSPARENT;  // the mouse belongs to what lies below
        return;
    }
    TCustomForm::WndProc(message);
}

void THintWindow::Paint(const TPaintContext& context) {
    const TRect bounds = ClientRect();
    context.FillRect(bounds, Color());
    TCanvas& canvas = PrepareCanvas(*context.Canvas, Font());
    canvas.Brush().Color = clWindowFrame;
    canvas.Brush().Style = TBrushStyle::bsSolid;
    canvas.FrameRect(bounds);
    canvas.Brush().Style = TBrushStyle::bsClear;
    const int lineHeight = canvas.TextHeight(u"Wg");
    const TRect inside(bounds.Left + 1 + kMarginX, bounds.Top + 1 + kMarginY,
                       bounds.Right - 1 - kMarginX, bounds.Bottom - 1 - kMarginY);
    int y = inside.Top;
    for (const String& line : HintLines(Caption())) {
        canvas.TextRect(
            TRect(inside.Left, y, inside.Right, std::min(y + lineHeight, inside.Bottom)),
            inside.Left, y, line);
        y += lineHeight;
    }
}

}  // namespace kw
