#include "framework/kw_hint_window.h"

#include <algorithm>

#include "display/image_package.h"
#include "display/memory_image.h"
#include "drawing/backgrounds.h"
#include "drawing/canvas_saver.h"
#include "drawing/skins.h"
#include "drawing/styles/cfg_styles.h"
#include "drawing/text_paint.h"
#include "framework/application.h"
#include "framework/events.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/ui/paint_context.h"
#include "platform/ui/screen.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwHintWindow, THintWindow)

namespace {

// Space between the frame and the text, as in the platform's window.
constexpr int kMarginX = 3;
constexpr int kMarginY = 1;

TKwFontStyle TextStyle(const TKwCfgHints& cfg) {
    return cfg.FontStyle() == hfs3D ? fos3D : fosNormal;
}

// The skin image when it resolves to data, else none.
TKwMemoryImage* SkinImage(TKwCfgHints& cfg) {
    TKwMemoryImage& image = cfg.Skin().Image();
    const TKwPkgImagesImage* info = image.Info();
    return info != nullptr && !info->Empty() ? &image : nullptr;
}

TRect PaintHintText(TCanvas& canvas, const TRect& rect, const String& hint, TKwCfgHints& cfg,
                    bool measure) {
    TKwTextLook look;
    look.CalcRect = measure;
    look.CalcOrigin = measure;
    look.Layout = layTop;
    return KwPaintText(canvas, rect, TextStyle(cfg), hint, &cfg.SetFont(), &cfg.SetColText(),
                       &cfg.SetColShadow(), nullptr, cfg.Spacing3D(), true, false, look);
}

}  // namespace

TKwHintWindow::TKwHintWindow(TComponent* owner) : THintWindow(owner) {}

TKwCfgHints* TKwHintWindow::Cfg() {
    TKwCApplication* app = KwCApp();
    return app != nullptr ? &app->CfgHints() : nullptr;
}

TRect TKwHintWindow::CalcHintRect(int maxWidth, const String& hint) {
    TKwCfgHints* cfg = Cfg();
    if (cfg == nullptr)
        return THintWindow::CalcHintRect(maxWidth, hint);
    TBitmap scratch(1, 1, TPixelFormat::pf32bit);
    TCanvas canvas(scratch);
    const TRect text =
        PaintHintText(canvas, TRect(0, 0, std::max(maxWidth, 1), 0), hint, *cfg, true);
    // The measure includes the offset of 3D text.
    const int width = std::min(text.Width(), std::max(maxWidth, 0));
    return TRect(0, 0, width + 2 * (kMarginX + 1), text.Height() + 2 * (kMarginY + 1));
}

void TKwHintWindow::Paint(const TPaintContext& context) {
    TKwCfgHints* cfg = Cfg();
    if (cfg == nullptr) {
        THintWindow::Paint(context);
        return;
    }
    TCanvas& canvas = *context.Canvas;
    TKwCanvasSaver saver(canvas);
    const TRect bounds = context.ToDevice(ClientRect());
    if (TKwMemoryImage* skin = SkinImage(*cfg)) {
        const TKwCfgHintsSkin& look = cfg->Skin();
        KwPaintSkin(bounds, canvas, skin, nullptr, &cfg->SetBackGround(), look.Shadow(),
                    look.SmoothSh(), look.MarginSh());
    } else {
        KwPaintBackGround(canvas, bounds, &cfg->SetBackGround());
        // Without a skin the frame is drawn in the shadow colour of the text.
        canvas.Brush().Color = cfg->SetColShadow().Color();
        canvas.Brush().Style = TBrushStyle::bsSolid;
        canvas.FrameRect(bounds);
    }
    canvas.Brush().Style = TBrushStyle::bsClear;
    const TRect inside(bounds.Left + 1 + kMarginX, bounds.Top + 1 + kMarginY,
                       bounds.Right - 1 - kMarginX, bounds.Bottom - 1 - kMarginY);
    PaintHintText(canvas, inside, Caption(), *cfg, false);
}

void TKwHintWindow::WndProc(TMessage& message) {
    if (message.Msg == KwMasterMessage()) {
        const auto evt = static_cast<int>(message.WParam);
        // The look may have changed: the hints configuration, the display package's sets or
        // frames, or the application object they come from.
        if (evt == kwEvtSkinConfig || evt == kwEvtWindowSkins || evt == kwEvtApplications)
            Restyle();
        return;
    }
    THintWindow::WndProc(message);
}

void TKwHintWindow::Restyle() {
    if (!Visible())
        return;
    const TRect size = CalcHintRect(Screen().Width(), Caption());
    SetBounds(Left(), Top(), size.Width(), size.Height());
    Invalidate();
}

}  // namespace kw
