#include "controls/bit_btn.h"

#include "controls/button_action_links.h"
#include "controls/button_parts.h"
#include "controls/button_properties.h"
#include "controls/button_texts.h"
#include "display/default_sets.h"
#include "display/memory_image.h"
#include "display/set_references.h"
#include "drawing/marks.h"
#include "framework/events.h"
#include "framework/link.h"
#include "packages/memory_refs.h"
#include "packages/privilege.h"
#include "platform/core/properties.h"
#include "platform/ui/menus.h"
#include "platform/ui/paint_context.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwCustomBitBtn, TKwButton)
KW_IMPLEMENT_CLASS(TKwBitBtn, TKwCustomBitBtn)

namespace {

constexpr std::uintptr_t kContextHelp = 0xF180;

void EnsurePublishedProperties() {
    using B = TKwBitBtn;
    if (FindProperty(B::StaticClass(), u"Kind"))
        return;
    KwRegisterButtonPartProperties();
    auto p = Properties<B>();
    KwPublishButtonBounds(p);
    p.Enum(u"AlignVer", &B::AlignVer, &B::SetAlignVer, KwAlignVerNames(), alvTop)
        .Enum(u"AlignHor", &B::AlignHor, &B::SetAlignHor, KwAlignHorNames(), alhLeft)
        .Enum(u"Kind", &B::Kind, &B::SetKind, KwButtonKindNames(), bkiNone)
        .Integer(u"ModalResult", &B::ModalResult, &B::SetModalResult)
        .StoredWhen([](const B& b) { return b.ModalResult() != KwButtonKindModalResult(b.Kind()); })
        .Boolean(u"Cancel", &B::Cancel, &B::SetCancel, false)
        .Boolean(u"Default", &B::Default, &B::SetDefault, false)
        .Boolean(u"CheckValuesPending", &B::CheckValuesPending, &B::SetCheckValuesPending, true)
        .Boolean(u"CheckRequireds", &B::CheckRequireds, &B::SetCheckRequireds, false)
        .Enum(u"Style", &B::Style, &B::SetStyle, KwEnumIdents(TKwButtonStyle{}), btsShape)
        .Object(u"Text", &B::Text)
        .Enum(u"BorderStyle", &B::BorderStyle, &B::SetBorderStyle, KwEnumIdents(TKwBorderStyle{}),
              bos3D)
        .StoredWhen([](const B&) { return false; })
        .Object(u"SetBackGround", &B::SetBackGround)
        .StoredWhen([](const B&) { return false; })
        .Boolean(u"Shadow", &B::Shadow, &B::SetShadow, false)
        .Integer(u"Margin", &B::Margin, &B::SetMargin, -1)
        .Object(u"Image", &B::Image)
        .Object(u"ImagesButton", &B::ImagesButton)
        .Object(u"BGsButton", &B::BGsButton);
    KwPublishButtonTexts(p, [](const B& b) { return b.Kind() == bkiNone; });
    p.Object(u"Shape", &B::Shape)
        .Boolean(u"Grid", &B::Grid, &B::SetGrid, true)
        .Enum(u"FocusStyle", &B::FocusStyle, &B::SetFocusStyle, KwFocusStyleNames(), fcsNone)
        .Enum(u"DefaultStyle", &B::DefaultStyle, &B::SetDefaultStyle, KwFocusStyleNames(), fcsNone)
        .Object(u"SetColFocus", &B::SetColFocus)
        .Object(u"SetColDefault", &B::SetColDefault)
        .Object(u"SetColBox", &B::SetColBox)
        .Boolean(u"Flat", &B::Flat, &B::SetFlat, false);
    KwPublishButtonRights(p);
    p.Boolean(u"TabStop", &B::TabStop, &B::SetTabStop, true)
        .Integer(u"TabOrder", &B::TabOrderSetting, &B::SetTabOrder)
        .Event(u"OnClick", static_cast<TNotifyEvent B::*>(&B::OnClick))
        .Event(u"OnEnter", static_cast<TNotifyEvent B::*>(&B::OnEnter))
        .Event(u"OnExit", static_cast<TNotifyEvent B::*>(&B::OnExit))
        .Event(u"OnMouseEnter", static_cast<TNotifyEvent B::*>(&B::OnMouseEnter))
        .Event(u"OnMouseLeave", static_cast<TNotifyEvent B::*>(&B::OnMouseLeave));
}

template <class T>
void Bind(std::unique_ptr<T>& set, T& defaultSet, const std::function<void()>& changed) {
    set = std::make_unique<T>(&defaultSet, true);
    set->OnChange = [changed](TKwSetReference&) { changed(); };
}

}  // namespace

TKwCustomBitBtn::TKwCustomBitBtn(TComponent* owner)
    : TKwButtonCommon<TKwButton>(owner),
      bgsButton_(std::make_unique<TKwBGsBitBtn>()),
      imagesButton_(std::make_unique<TKwImagesBitBtn>()),
      kindImage_(std::make_unique<TKwMemoryImage>()) {
    EnsurePublishedProperties();
    const auto changed = [this] { Changed(); };
    Link().OnUpdate = [this](TKwLinkEvt&) { NotifyUpdate(); };
    Link().OnInit = [this](TKwLinkEvt&) { NotifyInit(); };
    Bind(setColFocus_, static_cast<TKwSetColor&>(KwSetBBColFocus()), changed);
    Bind(setColDefault_, static_cast<TKwSetColor&>(KwSetBBColDefault()), changed);
    Bind(setColBox_, static_cast<TKwSetColor&>(KwSetBBColBox()), changed);
    text_ = std::make_unique<TKwButtonText>();
    shape_ = std::make_unique<TKwBitBtnShape>();
    image_ = std::make_unique<TKwButtonImage>();
    KwBindDefault(shape_->SetBackGround(), KwSetBBBackGround());
    for (TKwStyleObject* style :
         {static_cast<TKwStyleObject*>(text_.get()), static_cast<TKwStyleObject*>(shape_.get()),
          static_cast<TKwStyleObject*>(image_.get())})
        style->OnChange = [this](TKwStyleObject&) { Changed(); };
    bgsButton_->OnChange = [this](TKwStyleObject&) { Changed(); };
    imagesButton_->OnChange = [this](TKwStyleObject&) { Changed(); };
    kindImage_->OnChange = [this](TKwMemoryImage&) { Changed(); };
    if (owner == nullptr || !owner->HasState(csLoading))
        Link().Init();
}

TKwCustomBitBtn::~TKwCustomBitBtn() = default;

void TKwCustomBitBtn::NotifyInit() {
    ApplyTextsAndRights();
    Invalidate();
}

void TKwCustomBitBtn::NotifyUpdate() {
    Invalidate();
}

std::unique_ptr<TActionLink> TKwCustomBitBtn::CreateActionLink() {
    return std::make_unique<TKwBitBtnActionLink>(*this);
}

void TKwCustomBitBtn::Loaded() {
    TKwButton::Loaded();
    ApplyTextsAndRights();
}

void TKwCustomBitBtn::SetKind(TKwButtonKind kind) {
    if (kind_ == kind)
        return;
    kind_ = kind;
    if (kind == bkiNone) {
        Texts().CaptionId().PkgId(String(), -1);
        kindImage_->PkgId(String(), -1);
        Texts().SetFallback({});
    } else {
        Texts().CaptionId().PkgId(u"System", KwButtonKindLabelId(kind));
        kindImage_->PkgId(u"System", KwButtonKindImageId(kind));
        Texts().SetFallback(KwButtonKindFallback(kind));
        if (!HasState(csLoading))
            Texts().SetCaption({});
    }
    // Read before ModalResult, which the form stores only when it differs from the kind's.
    SetModalResult(KwButtonKindModalResult(kind));
    Texts().Apply();
    Changed();
}

// --- look properties ---

void TKwCustomBitBtn::SetGrid(bool grid) {
    Store(grid_, grid);
}

void TKwCustomBitBtn::SetFocusStyle(TKwFocusStyle style) {
    Store(focusStyle_, style);
}

void TKwCustomBitBtn::SetDefaultStyle(TKwFocusStyle style) {
    Store(defaultStyle_, style);
}

// --- click ---

void TKwCustomBitBtn::Click() {
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && checkValuesPending_)
        KwFormPerform(form, kwEvtCommitValue, nullptr);
    if (form != nullptr && checkRequireds_)
        KwFormPerform(form, kwEvtCheckRequired, nullptr);
    if (kind_ == bkiHelp) {
        if (form != nullptr)
            form->Perform(WM_SYSCOMMAND, kContextHelp);
        if (OnClick)
            OnClick(this);
        return;
    }
    TKwButton::Click();
}

// --- painting ---

TKwButtonState TKwCustomBitBtn::State() const {
    return KwButtonState(TControl::Enabled(), Pressed(), MouseOver(), false);
}

TKwButtonFace TKwCustomBitBtn::Face() {
    TKwButtonFace face;
    face.Rect = ClientRect();
    face.Style = Style();
    face.Pressed = Pressed();
    face.Enabled = TControl::Enabled();
    face.Flat = Flat();
    face.Over = MouseOver();
    face.Shadow = Shadow();
    face.BorderStyle = shape_->BorderStyle();
    face.Shape = shape_->Shape();
    face.Reflection = shape_->Reflection();
    face.Orientation = shape_->Orientation();
    face.Pen = &shape_->Pen();
    face.BackGround = KwChooseBackGround(*bgsButton_, State(), face.Over, &SetBackGround());
    face.FrameColor = setColBox_.get();
    TKwMemoryImage* stateImage = KwChooseImage(*imagesButton_, State(), face.Over, nullptr);
    face.FaceImage = stateImage;
    if (image_->Visible()) {
        TKwMemoryImage* own = image_->Image().Defined() ? &image_->Image() : kindImage_.get();
        face.Image = Style() == btsShape && stateImage != nullptr ? stateImage : own;
        face.ImageWidth = image_->Width();
        face.ImageHeight = image_->Height();
        face.Layout = image_->Layout();
        face.Spacing = Margin() >= 0 ? Margin() : image_->Spacing();
        face.ImageShadow = image_->SelShadow() && face.Over;
    }
    face.Caption = ShownCaption();
    face.Text = text_.get();
    return face;
}

void TKwCustomBitBtn::Paint(const TPaintContext& context) {
    const TKwButtonFace face = Face();
    // The window is rectangular: what the face leaves shows the parent, as around a speed
    // button, instead of whatever the surface held before.
    if (!KwFaceCoversRect(face))
        PaintParentBackground(context);
    KwPaintButtonFace(context, face);
    if (grid_ && HasState(csDesigning)) {
        KwDrawGridLines(*context.Canvas, context.ToDevice(ClientRect()), clBlack, clBlack, 8, true,
                        false, true, false);
    }
    if (Focused())
        KwPaintFocusMark(context, face, focusStyle_, setColFocus_->Color());
    else if (Active())
        KwPaintFocusMark(context, face, defaultStyle_, setColDefault_->Color());
    if (OnPaint)
        OnPaint(this, context);
}

void TKwCustomBitBtn::WndProc(TMessage& message) {
    if (message.Msg == KwMasterMessage()) {
        if (static_cast<int>(message.WParam) == kwEvtLayout)
            ApplyPlacement();
        return;
    }
    switch (message.Msg) {
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
        case CM_SYSCOLORCHANGE:
            Changed();
            break;
        default:
            break;
    }
    TKwButton::WndProc(message);
}

TKwBitBtn::TKwBitBtn(TComponent* owner) : TKwCustomBitBtn(owner) {}

}  // namespace kw
