#include "gallery_view.h"

#include "display/default_sets.h"
#include "display/display_package.h"
#include "drawing/backgrounds.h"
#include "drawing/shape_paint.h"
#include "framework/application.h"
#include "framework/events.h"
#include "framework/link.h"
#include "packages/language_package.h"
#include "packages/memory_refs.h"
#include "platform/core/files.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/font_face.h"
#include "platform/text/strings.h"
#include "platform/ui/paint_context.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwGalleryView, TCustomControl)

namespace {

constexpr int kWidth = 760;
constexpr int kMargin = 16;
constexpr int kGap = 8;
constexpr int kHeaderHeight = 48;
constexpr int kTitleHeight = 26;
constexpr int kSectionGap = 14;
constexpr int kSwitchTop = kHeaderHeight + 10;
constexpr int kSwitchHeight = 26;
constexpr int kSwitchWidth = 84;
constexpr int kSwitchGroupGap = 24;
constexpr int kBodyTop = kSwitchTop + kSwitchHeight + kSectionGap;

String BaseName(const String& fileName) {
    return ChangeFileExt(ExtractFileName(fileName), String());
}

}  // namespace

const std::vector<String>& KwGalleryLanguages() {
    static const std::vector<String> languages{u"English", u"Spanish", u"French", u"Italian",
                                               u"German"};
    return languages;
}

const std::vector<String>& KwGallerySkins() {
    static const std::vector<String> skins{u"standard", u"dark"};
    return skins;
}

TKwGalleryPainter::TKwGalleryPainter(TKwGalleryView& view, TCanvas& canvas, TKwSetBackGround& tile,
                                     TKwSetBackGround& accent, TKwSetColor& text,
                                     TKwSetColor& frame)
    : view_(view), canvas_(canvas), tile_(tile), accent_(accent), text_(text), frame_(frame) {}

String TKwGalleryPainter::Label(int id) {
    return view_.LabelText(id);
}

TColor TKwGalleryPainter::TextColor() {
    return text_.Color();
}

void TKwGalleryPainter::UseFont(int pixels, TColor color) {
    TFont& font = canvas_.Font();
    font.SetName(kBuiltInFontName);
    font.SetHeight(-pixels);
    font.SetColor(color);
    canvas_.Brush().Style = TBrushStyle::bsClear;
}

TSize TKwGalleryPainter::TextSize(StringView text, int pixels) {
    UseFont(pixels, clBlack);
    return canvas_.TextExtent(text);
}

void TKwGalleryPainter::TextAt(const TRect& clip, TPoint origin, StringView text, int pixels,
                               TColor color) {
    UseFont(pixels, color);
    canvas_.TextRect(clip, origin.X, origin.Y, text);
    view_.NoteText(TKwGalleryText{clip, origin, String(text), pixels, color});
}

void TKwGalleryPainter::Text(int x, int y, StringView text, int pixels) {
    const TSize size = TextSize(text, pixels);
    TextAt(TRect(x, y, x + size.cx, y + size.cy), TPoint{x, y}, text, pixels, TextColor());
}

void TKwGalleryPainter::TextCentered(const TRect& rect, StringView text, int pixels) {
    const TSize size = TextSize(text, pixels);
    TextAt(
        rect,
        TPoint{rect.Left + (rect.Width() - size.cx) / 2, rect.Top + (rect.Height() - size.cy) / 2},
        text, pixels, TextColor());
}

void TKwGalleryPainter::TileCaption(const TRect& tile, StringView text) {
    TextCentered(TRect(tile.Left - 4, tile.Bottom + 1, tile.Right + 4, tile.Bottom + 14), text,
                 kCaptionPixels);
}

TKwGalleryView::TKwGalleryView(TComponent* owner)
    : TCustomControl(owner),
      link_(std::make_unique<TKwLinkEvt>(this, kwInitControl)),
      main_(std::make_unique<TKwSetBackGround>(&KwSetBackGround())),
      title_(std::make_unique<TKwSetBackGround>(&KwSetBGSelect())),
      tile_(std::make_unique<TKwSetBackGround>(&KwSetBBBackGround(), true)),
      text_(std::make_unique<TKwSetColor>(&KwSetColText(), true)),
      frame_(std::make_unique<TKwSetColor>(&KwSetBBColBox(), true)),
      buffer_(std::make_unique<TBitmap>(1, 1)) {
    main_->SetName(u"Main");
    title_->SetName(u"Title");
    // A skin that restyles a set, or another skin loaded, reaches the view through its
    // references; a language loaded reaches it through its link.
    for (TKwSetReference* set :
         {static_cast<TKwSetReference*>(main_.get()), static_cast<TKwSetReference*>(title_.get()),
          static_cast<TKwSetReference*>(tile_.get()), static_cast<TKwSetReference*>(text_.get()),
          static_cast<TKwSetReference*>(frame_.get())})
        set->OnChange = [this](TKwSetReference&) { Invalidate(); };
    link_->OnEvt = [this](int evt, void*) {
        if (evt == kwEvtStringsPackages || evt == kwEvtImagesPackages || evt == kwEvtApplications ||
            evt == kwEvtWindowSkins)
            Invalidate();
    };
    link_->Init();
    const TSize size = PreferredSize();
    SetBounds(0, 0, size.cx, size.cy);
}

TKwGalleryView::~TKwGalleryView() = default;

TSize TKwGalleryView::PreferredSize() {
    int height = kBodyTop;
    for (const TKwGallerySection& section : KwGallerySections())
        height += kTitleHeight + section.height + kSectionGap;
    return TSize{kWidth, height};
}

void TKwGalleryView::NoteText(TKwGalleryText text) {
    texts_.push_back(std::move(text));
}

String TKwGalleryView::LabelText(int id) {
    std::unique_ptr<TKwMemoryLabel>& label = labels_[id];
    if (label == nullptr) {
        label = std::make_unique<TKwMemoryLabel>(u"System", id, true);
        label->OnChange = [this](TKwMemoryReference&) { Invalidate(); };
    }
    return label->Text();
}

void TKwGalleryView::PaintHeader(TKwGalleryPainter& painter, const TRect& rect) {
    KwPaintBackGround(painter.Canvas(), rect, title_.get());
    String skin;
    if (TKwCApplication* app = KwCApp())
        skin = app->PkgDisplay().Description();
    const TColor color = KwSetEdSelectedText().Color();
    const int pixels = TKwGalleryPainter::kTitlePixels;
    const String title = u"KwControls gallery - " + LabelText(0);
    const TSize titleSize = painter.TextSize(title, pixels),
                skinSize = painter.TextSize(skin, pixels);
    const int y = rect.Top + (rect.Height() - titleSize.cy) / 2;
    const int skinLeft = rect.Right - kMargin - skinSize.cx;
    painter.TextAt(
        TRect(rect.Left + kMargin, y, rect.Left + kMargin + titleSize.cx, y + titleSize.cy),
        TPoint{rect.Left + kMargin, y}, title, pixels, color);
    painter.TextAt(TRect(skinLeft, y, skinLeft + skinSize.cx, y + skinSize.cy), TPoint{skinLeft, y},
                   skin, pixels, color);
}

int TKwGalleryView::SwitchCount() {
    return static_cast<int>(KwGalleryLanguages().size() + KwGallerySkins().size());
}

TRect TKwGalleryView::SwitchRect(int index) {
    const int languages = static_cast<int>(KwGalleryLanguages().size());
    const int x =
        kMargin + index * (kSwitchWidth + kGap) + (index >= languages ? kSwitchGroupGap : 0);
    return TRect(x, kSwitchTop, x + kSwitchWidth, kSwitchTop + kSwitchHeight);
}

String TKwGalleryView::ActiveLanguage() const {
    TKwCApplication* app = KwCApp();
    return app != nullptr ? BaseName(app->PkgLanguage().FileName()) : String();
}

String TKwGalleryView::ActiveSkin() const {
    TKwCApplication* app = KwCApp();
    return app != nullptr ? BaseName(app->PkgDisplay().FileName()) : String();
}

void TKwGalleryView::PaintSwitches(TKwGalleryPainter& painter) {
    const String language = ActiveLanguage(), skin = ActiveSkin();
    const std::vector<String>& languages = KwGalleryLanguages();
    for (int i = 0; i < SwitchCount(); ++i) {
        const bool isLanguage = i < static_cast<int>(languages.size());
        const String& name = isLanguage ? languages[i] : KwGallerySkins()[i - languages.size()];
        const bool active = SameText(name, isLanguage ? language : skin);
        const TRect rect = SwitchRect(i);
        // The active choice is shown pressed, in the selection background.
        KwPaintShapeEx(painter.Canvas(), rect, active ? bos3D : bosSingle, shaRoundRect, false,
                       sorDefault, active, active ? title_.get() : tile_.get(), frame_.get(), 1);
        painter.TextCentered(rect, name);
    }
}

void TKwGalleryView::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    const std::vector<String>& languages = KwGalleryLanguages();
    for (int i = 0; i < SwitchCount(); ++i) {
        if (!OnSwitch || !SwitchRect(i).Contains(x, y))
            continue;
        if (i < static_cast<int>(languages.size()))
            OnSwitch(languages[i], ActiveSkin());
        else
            OnSwitch(ActiveLanguage(), KwGallerySkins()[i - languages.size()]);
        return;
    }
}

void TKwGalleryView::PaintGallery(TCanvas& canvas) {
    ++paints_;
    texts_.clear();
    const TSize size = PreferredSize();
    TKwGalleryPainter painter(*this, canvas, *tile_, *title_, *text_, *frame_);
    KwPaintBackGround(canvas, TRect(0, 0, size.cx, size.cy), main_.get());
    PaintHeader(painter, TRect(0, 0, size.cx, kHeaderHeight));
    PaintSwitches(painter);
    int y = kBodyTop;
    for (const TKwGallerySection& section : KwGallerySections()) {
        painter.Text(kMargin, y + 2, section.title, TKwGalleryPainter::kTitlePixels);
        canvas.Brush().Style = TBrushStyle::bsSolid;
        canvas.Brush().Color = frame_->Color();
        canvas.FillRect(
            TRect(kMargin, y + kTitleHeight - 5, size.cx - kMargin, y + kTitleHeight - 4));
        y += kTitleHeight;
        section.paint(painter, TRect(kMargin, y, size.cx - kMargin, y + section.height));
        y += section.height + kSectionGap;
    }
}

void TKwGalleryView::Paint(const TPaintContext& context) {
    // The gallery is painted whole into a buffer, so that a partial repaint shows exactly the
    // pixels of a full one.
    if (buffer_->Width() != Width() || buffer_->Height() != Height())
        buffer_ = std::make_unique<TBitmap>(Width(), Height());
    PaintGallery(buffer_->Canvas());
    context.Canvas->CopyRect(context.ToDevice(ClientRect()), buffer_->Canvas(), ClientRect());
}

}  // namespace kw
