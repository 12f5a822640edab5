#include "controls/single_label.h"

#include <algorithm>

#include "display/set_references.h"
#include "drawing/backgrounds.h"
#include "drawing/control_layout.h"
#include "drawing/images.h"
#include "drawing/shape_paint.h"
#include "drawing/text_paint.h"
#include "framework/events.h"
#include "packages/memory_refs.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/ui/paint_context.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwBasicLabel, TCustomLabel)
KW_IMPLEMENT_CLASS(TKwSingleLabel, TKwBasicLabel)

namespace {

// A colour set that names nothing stands for the drawing routine's own default, which is not
// the end of the set's chain.
TKwSetColor* Named(TKwSetColor& set) {
    return set.Name().empty() ? nullptr : &set;
}

// How far the drop shadow lies from the shape, as the panels' shadows do.
constexpr int kShadowOffset = 3;

template <class T>
void Store(T& field, const T& value, const std::function<void()>& changed) {
    if (field == value)
        return;
    field = value;
    changed();
}

}  // namespace

// The measured contents: image and text sizes as KwCalcControlLayout takes them.
struct TKwBasicLabel::TParts {
    TRect image;
    TRect text;
    bool hasImage = false;
    bool hasText = false;
};

TKwBasicLabel::TKwBasicLabel(TComponent* owner)
    : TCustomLabel(owner),
      valueId_(std::make_unique<TKwMemoryLabel>()),
      text_(std::make_unique<TKwLabelText>(this)),
      shape_(std::make_unique<TKwFullShape>(this)),
      image_(std::make_unique<TKwLabelImage>(this)),
      setBackGround_(std::make_unique<TKwSetBackGround>()) {
    SetShowAccelChar(false);
    SetTransparent(true);
    const auto styleChanged = [this](TKwStyleObject&) { StyleChanged(); };
    text_->OnChange = styleChanged;
    shape_->OnChange = styleChanged;
    image_->OnChange = styleChanged;
    setBackGround_->OnChange = [this](TKwSetReference& set) {
        SetTransparent(set.Name().empty());
        Invalidate();
    };
    valueId_->OnChange = [this](TKwMemoryReference&) { SetValue(rawValue_); };
}

TKwBasicLabel::~TKwBasicLabel() = default;

void TKwBasicLabel::StyleChanged() {
    if (applying_)
        return;
    // The text style carries the accelerator switch the window layer acts on.
    SetShowAccelChar(text_->ShowAccelChar());
    SetWordWrap(text_->WordWrap());
    Changed();
}

void TKwBasicLabel::SetValue(const String& value) {
    rawValue_ = value;
    value_ = valueId_->Defined() ? valueId_->Text() : value;
    DisplayData();
}

void TKwBasicLabel::DisplayData() {
    if (Caption() == value_) {
        AdjustBounds();
        return;
    }
    SetCaption(value_);  // refits through the text-changed message
}

void TKwBasicLabel::SetAlignment(TKwAlignment value) {
    Store(alignment_, value, [this] { Invalidate(); });
}
void TKwBasicLabel::SetMarginLeftRight(int value) {
    Store(marginLeftRight_, value, [this] { Changed(); });
}
void TKwBasicLabel::SetMarginTopBottom(int value) {
    Store(marginTopBottom_, value, [this] { Changed(); });
}
void TKwBasicLabel::SetReadOnly(bool value) {
    Store(readOnly_, value, [this] { Invalidate(); });
}
void TKwBasicLabel::SetShadow(bool value) {
    Store(shadow_, value, [this] { Changed(); });
}

void TKwBasicLabel::ApplySettings(const TKwCustomILabel& settings) {
    applying_ = true;
    const TKwILabelText& from = settings.Text();
    TKwLabelText& to = *text_;
    to.SetWidth(from.Width());
    to.SetFontStyle(from.FontStyle());
    to.SetAngle(from.Angle());
    to.SetSpacing3D(from.Spacing3D());
    to.SetLayout(from.Layout());
    // Sets copy their names only: one the settings leave unnamed falls back along the
    // label's own defaults.
    to.SetFont().Assign(&from.SetFont());
    to.SetColText().Assign(&from.SetColText());
    to.SetColLight().Assign(&from.SetColLight());
    to.SetColShadow().Assign(&from.SetColShadow());
    to.SetColAccelChar().Assign(&from.SetColAccelChar());
    to.SetColDisabled().Assign(&from.SetColDisabled());
    to.SetColReadOnly().Assign(&from.SetColReadOnly());
    shape_->Assign(&settings.Shape());
    image_->Assign(&settings.Image());
    setBackGround_->Assign(&settings.SetBackGround());
    alignment_ = from.Alignment();
    marginLeftRight_ = settings.MarginLeftRight();
    marginTopBottom_ = settings.MarginTopBottom();
    shadow_ = settings.Shadow();
    applying_ = false;
    StyleChanged();
}

void TKwBasicLabel::UpdateControl() {
    SetValue(rawValue_);
    Invalidate();
}

// --- size and layout -----------------------------------------------------------------------

int TKwBasicLabel::FrameX() const {
    return (shape_->Visible() ? shape_->BorderWidth() : 0) + marginLeftRight_;
}

int TKwBasicLabel::FrameY() const {
    return (shape_->Visible() ? shape_->BorderWidth() : 0) + marginTopBottom_;
}

TKwBasicLabel::TParts TKwBasicLabel::Measure(int wrapWidth) const {
    TParts parts;
    TBitmap scratch(1, 1);
    TCanvas canvas(scratch);
    // An image that resolves to nothing takes no room (the routine would report its
    // nominal size).
    if (image_->Visible() && !image_->Image().Empty()) {
        parts.image = KwPaintFullImage(canvas, TRect(), *image_, true, xEnabled());
        parts.hasImage = !parts.image.IsEmpty();
    }
    parts.hasText = !value_.empty();
    TKwTextLook look;
    look.CalcRect = true;
    look.CalcOrigin = true;
    look.WordWrap = text_->WordWrap();
    look.Width = text_->Width();
    look.ShowAccelChar = ShowAccelChar();
    look.Angle = text_->Angle();
    // An empty value still measures one line, so that the label keeps its height.
    parts.text =
        KwPaintText(canvas, TRect(0, 0, std::max(wrapWidth, 0), 0), text_->FontStyle(),
                    parts.hasText ? StringView(value_) : StringView(u" "), &text_->SetFont(),
                    nullptr, nullptr, nullptr, text_->Spacing3D(), true, false, look);
    if (!parts.hasText)
        parts.text.Right = parts.text.Left;
    return parts;
}

TSize TKwBasicLabel::CalcAutoSize() const {
    int wrapWidth = 0;
    if (text_->WordWrap()) {
        wrapWidth = Width() - 2 * FrameX() - (shadow_ ? kShadowOffset : 0);
        const TParts probe = Measure(0);
        const TKwInternalControlLayout side = image_->Layout();
        if (probe.hasImage && (side == iclLeft || side == iclRight))
            wrapWidth -= probe.image.Width() + image_->Spacing();
    }
    TParts parts = Measure(wrapWidth);
    const int shadow = shadow_ ? kShadowOffset : 0;
    if (!parts.hasText && !parts.hasImage)
        return {0, parts.text.Height() + 2 * FrameY() + shadow};
    TRect control;
    KwCalcControlLayout(image_->Layout(), false, control, parts.image, parts.text, parts.hasImage,
                        parts.hasText, image_->Spacing());
    const int width = text_->WordWrap() ? Width() : control.Width() + 2 * FrameX() + shadow;
    return {width, control.Height() + 2 * FrameY() + shadow};
}

void TKwBasicLabel::AdjustBounds() {
    if (!AutoSize() || applying_)
        return;
    const TSize size = CalcAutoSize();
    SetBounds(Left(), Top(), size.cx, size.cy);
}

// --- painting ------------------------------------------------------------------------------

void TKwBasicLabel::Paint(const TPaintContext& context) {
    TCanvas& canvas = *context.Canvas;
    TRect r = context.ToDevice(ClientRect());
    if (!Transparent())
        KwPaintBackGround(canvas, r, setBackGround_.get());
    if (shadow_) {
        r.Right -= kShadowOffset;
        r.Bottom -= kShadowOffset;
        KwPaintFullShapeShadow(canvas, r.Offset(kShadowOffset, kShadowOffset), *shape_);
    }
    if (shape_->Visible())
        KwPaintFullShape(canvas, r, *shape_, nullptr);
    r = TRect(r.Left + FrameX(), r.Top + FrameY(), r.Right - FrameX(), r.Bottom - FrameY());
    if (r.IsEmpty())
        return;
    TParts parts = Measure(r.Width());
    TRect imageRect = parts.image;
    TRect textRect = parts.text;
    TRect control = r;
    KwCalcControlLayout(image_->Layout(), true, control, imageRect, textRect, parts.hasImage,
                        parts.hasText, image_->Spacing());
    if (!parts.hasImage)
        textRect = r;
    if (parts.hasImage) {
        // The image keeps its own size, centred in the room the layout gave it.
        const int w = parts.image.Width(), h = parts.image.Height();
        const TRect at = TRect::Bounds(imageRect.Left + (imageRect.Width() - w) / 2,
                                       imageRect.Top + (imageRect.Height() - h) / 2, w, h);
        KwPaintFullImage(canvas, at, *image_, false, xEnabled());
    }
    if (parts.hasText && text_->Visible())
        PaintText(canvas, textRect);
}

void TKwBasicLabel::PaintText(TCanvas& canvas, const TRect& rect) const {
    TKwTextLook look;
    look.Alignment = alignment_;
    look.Layout = text_->Layout();
    look.WordWrap = text_->WordWrap();
    look.Width = text_->Width();
    look.ShowAccelChar = ShowAccelChar();
    look.Angle = text_->Angle();
    // A disabled or read-only colour of the style replaces the embossed disabled look.
    TKwSetColor* color = &text_->SetColText();
    bool embossed = false;
    if (!Enabled()) {
        TKwSetColor* disabled = Named(text_->SetColDisabled());
        embossed = disabled == nullptr;
        if (disabled != nullptr)
            color = disabled;
    } else if (readOnly_ && Named(text_->SetColReadOnly()) != nullptr) {
        color = &text_->SetColReadOnly();
    }
    KwPaintText(canvas, rect, text_->FontStyle(), value_, &text_->SetFont(), color,
                Named(text_->SetColShadow()), Named(text_->SetColAccelChar()), text_->Spacing3D(),
                !embossed, false, look);
}

// --- mouse and keyboard --------------------------------------------------------------------

void TKwBasicLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (xReadOnly())
        return;
    TCustomLabel::MouseDown(button, shift, x, y);
    if (button == TMouseButton::mbLeft && FocusControl() != nullptr)
        KwPerform(FocusControl(), kwEvtFocusActivate, nullptr);
}

void TKwBasicLabel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (xReadOnly())
        return;
    TCustomLabel::MouseUp(button, shift, x, y);
}

void TKwBasicLabel::Click() {
    if (!xEnabled())
        return;
    if (!xReadOnly())
        TCustomLabel::Click();
    if (FocusControl() != nullptr && FocusControl()->CanFocus())
        FocusControl()->SetFocus();
}

bool TKwBasicLabel::DialogChar(Char key) {
    if (!AcceptsAccel(key))
        return false;
    Click();
    return true;
}

}  // namespace kw
