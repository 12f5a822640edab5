#include "controls/custom_panel.h"

#include "controls/single_label.h"
#include "display/default_sets.h"
#include "display/memory_image.h"
#include "display/set_references.h"
#include "framework/kw_screen.h"
#include "framework/link.h"
#include "packages/memory_refs.h"
#include "packages/privilege.h"
#include "platform/core/properties.h"
#include "platform/ui/drag_dock_properties.h"
#include "platform/ui/form.h"
#include "platform/ui/menus.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwCustomPanel, TKwBasePanelSkin)
KW_IMPLEMENT_CLASS(TKwPanel, TKwCustomPanel)

// --- TKwCustomPanel ------------------------------------------------------------------------

namespace {
std::unique_ptr<TKwILabel> MakeILabel(TKwCustomPanelILabel kind) {
    switch (kind) {
        case pilRight:
            return std::make_unique<TKwRightILabel>();
        case pilTop:
            return std::make_unique<TKwTopILabel>();
        default:
            return std::make_unique<TKwPanelILabel>();
    }
}
}  // namespace

TKwCustomPanel::TKwCustomPanel(TComponent* owner) : TKwBasePanelSkin(owner) {
    Construct();
}

TKwCustomPanel::TKwCustomPanel(TComponent* owner, TKwCustomPanelILabel kind, bool nonClientBorder,
                               bool editBackGround, bool selBoxOnFocus)
    : TKwBasePanelSkin(owner, nonClientBorder, editBackGround, selBoxOnFocus), kind_(kind) {
    Construct();
}

TKwCustomPanel::~TKwCustomPanel() {
    if (iLabel_)
        iLabel_->OnChange = nullptr;
}

void TKwCustomPanel::Construct() {
    KwRegisterPanelProperties();
    iLabel_ = MakeILabel(kind_);
    iLabel_->OnChange = [this](TKwStyleObject&) { NotifyILabelChange(); };
    label_ = &Create<TKwSingleLabel>(*this);
    label_->SetVisible(false);
    label_->ApplySettings(*iLabel_);
    label_->OnClick = [this](TObject*) {
        if (OnLabelClick)
            OnLabelClick(this);
    };
    label_->OnDblClick = [this](TObject*) {
        if (OnLabelDblClick)
            OnLabelDblClick(this);
    };
}

bool TKwCustomPanel::CanShowLabel() const {
    if (Parent() != nullptr && Parent()->ClassName() == u"TToolBar")
        return false;
    if (!iLabel_ || !iLabel_->Visible())
        return false;
    return Designing() || xVisible();
}

void TKwCustomPanel::ShowLabel() {
    if (Parent() == nullptr)
        return;
    label_->SetParent(Parent());
    label_->SetVisible(true);
    if (dynamic_cast<TCustomForm*>(Parent()) != nullptr)
        Parent()->SendToBack(*label_);
    KwPosLabel(*this, *label_, iLabel_->ExtLayout(), iLabel_->ExtSpacing());
}

void TKwCustomPanel::HideLabel() {
    label_->SetVisible(false);
    label_->SetParent(nullptr);
}

void TKwCustomPanel::RefreshLabelValue() {
    if (CaptionId().Defined())
        label_->SetValue(CaptionId().Text());
    else
        label_->SetValue(iLabel_->Caption());
}

void TKwCustomPanel::UpdateControl() {
    // Settings changed while loading or inside a screen update arrive here.
    label_->ApplySettings(*iLabel_);
    RefreshLabelValue();
    if (CaptionId().Defined())
        SetHint(CaptionId().Hint());
    if (ShowHint())
        label_->SetHint(Hint());
    label_->UpdateControl();
    if (CanShowLabel())
        ShowLabel();
    else
        HideLabel();
    TKwBasePanelSkin::UpdateControl();
    label_->SetEnabled(xEnabled());
    label_->SetReadOnly(xReadOnly());
}

void TKwCustomPanel::NotifyILabelChange() {
    if (LoadingProps() || !KwScreen().Update()) {
        Link().NotifyChange(nullptr);
        return;
    }
    auto handler = std::move(iLabel_->OnChange);
    iLabel_->OnChange = nullptr;
    label_->ApplySettings(*iLabel_);
    RefreshLabelValue();
    if (CanShowLabel())
        ShowLabel();
    else
        HideLabel();
    iLabel_->OnChange = std::move(handler);
}

void TKwCustomPanel::PositionChanged() {
    if (CanShowLabel())
        ShowLabel();
}

void TKwCustomPanel::ChangeName(const String& name) {
    const String old = Name();
    TKwBasePanelSkin::ChangeName(name);
    const bool ownerLoading = Owner() != nullptr && Owner()->HasState(csLoading);
    if (!Designing() || ownerLoading || label_->Value() != old)
        return;
    if (iLabel_->Caption() == old)
        iLabel_->SetCaption(name);
    label_->SetValue(name);
}

TKwPanel::TKwPanel(TComponent* owner) : TKwCustomPanel(owner) {}

// --- published properties ------------------------------------------------------------------

void KwRegisterPanelProperties() {
    using P = TKwPanel;
    if (FindProperty(P::StaticClass(), u"BevelOuter") != nullptr)
        return;
    const std::vector<String> bevels = {u"besNone", u"besSingle", u"bes3DTop", u"bes3DBottom"};
    Properties<TKwPanelSkin>()
        .Object(u"Image", &TKwPanelSkin::Image)
        .Boolean(u"WinRgn", &TKwPanelSkin::WinRgn, &TKwPanelSkin::SetWinRgn, true)
        .Boolean(u"Shadow", &TKwPanelSkin::Shadow, &TKwPanelSkin::SetShadow, false)
        .Integer(u"SmoothSh", &TKwPanelSkin::SmoothSh, &TKwPanelSkin::SetSmoothSh, 70)
        .Integer(u"MarginSh", &TKwPanelSkin::MarginSh, &TKwPanelSkin::SetMarginSh, 5);
    auto published = Properties<P>();
    published.Integer(u"Left", &P::Left, &P::SetLeft)
        .Integer(u"Top", &P::Top, &P::SetTop)
        .Integer(u"Width", &P::Width, &P::SetWidth)
        .Integer(u"Height", &P::Height, &P::SetHeight)
        .Boolean(u"InternalBuffer", &P::InternalBuffer, &P::SetInternalBuffer, true)
        .Boolean(u"ReadOnly", &P::ReadOnly, &P::SetReadOnly, false)
        .Enum(u"Align", &P::Align, &P::SetAlign,
              {u"alNone", u"alTop", u"alBottom", u"alLeft", u"alRight", u"alClient"},
              TAlign::alNone)
        .Enum(u"AlignHor", &P::AlignHor, &P::SetAlignHor,
              {u"alhLeft", u"alhCentered", u"alhRight", u"alhLeftRight", u"alhZoom", u"alhZoomLeft",
               u"alhZoomRight"},
              alhLeft)
        .Enum(u"AlignVer", &P::AlignVer, &P::SetAlignVer,
              {u"alvTop", u"alvCentered", u"alvBottom", u"alvTopBottom", u"alvZoom", u"alvZoomTop",
               u"alvZoomBottom"},
              alvTop)
        .Enum(u"BevelInner", &P::BevelInner, &P::SetBevelInner, bevels, besNone)
        .Enum(u"BevelOuter", &P::BevelOuter, &P::SetBevelOuter, bevels, bes3DTop)
        .Integer(u"BorderWidth", &P::BorderWidth, &P::SetBorderWidth, 0)
        .Integer(u"MarginLeftRight", &P::MarginLeftRight, &P::SetMarginLeftRight, 0)
        .Integer(u"MarginTopBottom", &P::MarginTopBottom, &P::SetMarginTopBottom, 0)
        .Integer(u"MarginLeft", &P::MarginLeft, &P::SetMarginLeft, 0)
        .Integer(u"MarginTop", &P::MarginTop, &P::SetMarginTop, 0)
        .Integer(u"MarginRight", &P::MarginRight, &P::SetMarginRight, 0)
        .Integer(u"MarginBottom", &P::MarginBottom, &P::SetMarginBottom, 0)
        .Boolean(u"Shadow", &P::Shadow, &P::SetShadow, false)
        .Object(u"SetBackGround", &P::SetBackGround)
        .Object(u"SetColBox", &P::SetColBox)
        .Object(u"ILabel", &P::ILabel)
        .Object(u"CaptionId", &P::CaptionId)
        .Boolean(u"FullRepaint", &P::FullRepaint, &P::SetFullRepaint, false)
        .Boolean(u"Transparent", &P::Transparent, &P::SetTransparent, false)
        .Text(u"Hint", &P::Hint, &P::SetHint, String())
        .Object(u"Skin", &P::Skin)
        .Component(u"PopupMenu", &P::PopupMenu, &P::SetPopupMenu)
        .Boolean(u"ShowHint", &P::ShowHint, &P::SetShowHint, true)
        .Object(u"Privilege", &P::Privilege)
        .Boolean(u"Enabled", &P::Enabled, &P::SetEnabled, true)
        .Boolean(u"Visible", &P::Visible, &P::SetVisible, true)
        .Boolean(u"Locked", &P::Locked, &P::SetLocked, false)
        .Boolean(u"TabStop", &P::TabStop, &P::SetTabStop, false)
        .Integer(u"TabOrder", &P::TabOrder, &P::SetTabOrder);
    PublishConstraints(published);
    PublishDragDock(published);
    published.Event(u"OnLabelClick", static_cast<TNotifyEvent P::*>(&P::OnLabelClick))
        .Event(u"OnLabelDblClick", static_cast<TNotifyEvent P::*>(&P::OnLabelDblClick))
        .Event(u"OnPaint", static_cast<TNotifyEvent P::*>(&P::OnPaint))
        .Event(u"OnClick", static_cast<TNotifyEvent P::*>(&P::OnClick))
        .Event(u"OnDblClick", static_cast<TNotifyEvent P::*>(&P::OnDblClick))
        .Event(u"OnMouseDown", static_cast<TMouseEvent P::*>(&P::OnMouseDown))
        .Event(u"OnMouseUp", static_cast<TMouseEvent P::*>(&P::OnMouseUp))
        .Event(u"OnMouseMove", static_cast<TMouseMoveEvent P::*>(&P::OnMouseMove))
        .Event(u"OnMouseEnter", static_cast<TNotifyEvent P::*>(&P::OnMouseEnter))
        .Event(u"OnMouseLeave", static_cast<TNotifyEvent P::*>(&P::OnMouseLeave))
        .Event(u"OnResize", static_cast<TNotifyEvent P::*>(&P::OnResize))
        .Event(u"OnKeyDown", static_cast<TKeyEvent P::*>(&P::OnKeyDown))
        .Event(u"OnKeyUp", static_cast<TKeyEvent P::*>(&P::OnKeyUp))
        .Event(u"OnKeyPress", static_cast<TKeyPressEvent P::*>(&P::OnKeyPress))
        .Event(u"OnEnter", static_cast<TNotifyEvent P::*>(&P::OnEnter))
        .Event(u"OnExit", static_cast<TNotifyEvent P::*>(&P::OnExit));
}

}  // namespace kw
