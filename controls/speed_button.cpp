#include "controls/speed_button.h"

#include "controls/button_action_links.h"
#include "controls/button_face.h"
#include "controls/button_properties.h"
#include "controls/button_texts.h"
#include "display/default_sets.h"
#include "display/set_references.h"
#include "drawing/enum_names.h"
#include "framework/events.h"
#include "framework/link.h"
#include "packages/memory_refs.h"
#include "packages/privilege.h"
#include "platform/core/properties.h"
#include "platform/ui/application.h"
#include "platform/ui/input.h"
#include "platform/ui/menus.h"
#include "platform/ui/paint_context.h"
#include "platform/ui/timers.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwCustomSpeedButton, TGraphicControl)
KW_IMPLEMENT_CLASS(TKwSpeedButton, TKwCustomSpeedButton)

namespace {

constexpr TTimerId kRepeatTimer = 1;

std::vector<String> Names(std::initializer_list<const char16_t*> names) {
    return {names.begin(), names.end()};
}

// Registered on first use, and again if a test emptied the registry.
void EnsurePublishedProperties() {
    using B = TKwSpeedButton;
    KwRegisterButtonPartProperties();
    if (FindProperty(B::StaticClass(), u"GroupIndex"))
        return;
    auto p = Properties<B>();
    KwPublishButtonBounds(p);
    p.Enum(u"AlignHor", &B::AlignHor, &B::SetAlignHor, KwAlignHorNames(), alhLeft)
        .Enum(u"AlignVer", &B::AlignVer, &B::SetAlignVer, KwAlignVerNames(), alvTop)
        .Boolean(u"AllowAllUp", &B::AllowAllUp, &B::SetAllowAllUp, false)
        .Integer(u"GroupIndex", &B::GroupIndex, &B::SetGroupIndex, 0)
        .Boolean(u"Down", &B::Down, &B::SetDown, false)
        .StoredWhen([](const B& b) { return b.GroupIndex() > 0; })
        .Integer(u"ModalResult", &B::ModalResult, &B::SetModalResult, 0)
        .Object(u"Repeats", &B::Repeats)
        .Enum(u"DefaultAction", &B::DefaultAction, &B::SetDefaultAction, KwDefaultActionNames(),
              btaClick)
        .Boolean(u"CheckValuesPending", &B::CheckValuesPending, &B::SetCheckValuesPending, true)
        .Boolean(u"CheckRequireds", &B::CheckRequireds, &B::SetCheckRequireds, false)
        .Object(u"ButtonDown", &B::ButtonDown)
        .Object(u"SetColBox", &B::SetColBox)
        .Object(u"SetColSelBox", &B::SetColSelBox)
        .Object(u"Text", &B::Text)
        .Object(u"Shape", &B::Shape)
        .Integer(u"Margin", &B::Margin, &B::SetMargin, -1)
        .Object(u"Image", &B::Image);
    KwPublishButtonTexts(p);
    p.Boolean(u"Shadow", &B::Shadow, &B::SetShadow, false)
        .Boolean(u"Flat", &B::Flat, &B::SetFlat, false)
        .Enum(u"Style", &B::Style, &B::SetStyle, KwEnumIdents(TKwButtonStyle{}), btsShape)
        .Object(u"ImagesButton", &B::ImagesButton)
        .Object(u"BGsButton", &B::BGsButton)
        .Object(u"SetBackGround", &B::SetBackGround)
        .StoredWhen([](const B&) { return false; })
        .Enum(u"BorderStyle", &B::BorderStyle, &B::SetBorderStyle, KwEnumIdents(TKwBorderStyle{}),
              bos3D)
        .StoredWhen([](const B&) { return false; })
        .Boolean(u"MouseRgn", &B::MouseRgn, &B::SetMouseRgn, false);
    KwPublishButtonRights(p);
    p.Event(u"OnClick", static_cast<TNotifyEvent B::*>(&B::OnClick))
        .Event(u"OnDownClick", static_cast<TNotifyEvent B::*>(&B::OnDownClick))
        .Event(u"OnMouseDown", static_cast<TMouseEvent B::*>(&B::OnMouseDown))
        .Event(u"OnMouseUp", static_cast<TMouseEvent B::*>(&B::OnMouseUp))
        .Event(u"OnMouseMove", static_cast<TMouseMoveEvent B::*>(&B::OnMouseMove))
        .Event(u"OnMouseEnter", static_cast<TNotifyEvent B::*>(&B::OnMouseEnter))
        .Event(u"OnMouseLeave", static_cast<TNotifyEvent B::*>(&B::OnMouseLeave));
}

}  // namespace

const std::vector<String>& KwDefaultActionNames() {
    static const auto names = Names({u"btaClick", u"btaMinimize", u"btaMaximize", u"btaRestore",
                                     u"btaClose", u"btaHelp", u"btaMenu", u"btaMinimizeApp"});
    return names;
}

const std::vector<String>& KwAlignHorNames() {
    static const auto names = Names({u"alhLeft", u"alhCentered", u"alhRight", u"alhLeftRight",
                                     u"alhZoom", u"alhZoomLeft", u"alhZoomRight"});
    return names;
}

const std::vector<String>& KwAlignVerNames() {
    static const auto names = Names({u"alvTop", u"alvCentered", u"alvBottom", u"alvTopBottom",
                                     u"alvZoom", u"alvZoomTop", u"alvZoomBottom"});
    return names;
}

// --- speed button ----------------------------------------------------------------------------

TKwCustomSpeedButton::TKwCustomSpeedButton(TComponent* owner)
    : TKwButtonCommon<TGraphicControl>(owner),
      alive_(std::make_shared<bool>(true)),
      buttonDown_(std::make_unique<TKwSpeedButtonDown>()) {
    SetControlStyle(csCaptureMouse | csDoubleClicks | csSetCaption);
    SetBounds(0, 0, 23, 22);
    Link().OnUpdate = [this](TKwLinkEvt&) { NotifyUpdate(); };
    Link().OnInit = [this](TKwLinkEvt&) { NotifyInit(); };
    repeats_ = std::make_unique<TKwButtonRepeats>();
    text_ = std::make_unique<TKwButtonText>();
    shape_ = std::make_unique<TKwButtonShape>();
    image_ = std::make_unique<TKwButtonImage>();
    imagesButton_ = std::make_unique<TKwImagesButton>();
    bgsButton_ = std::make_unique<TKwBGsButton>();
    for (TKwStyleObject* style :
         {static_cast<TKwStyleObject*>(buttonDown_.get()),
          static_cast<TKwStyleObject*>(text_.get()), static_cast<TKwStyleObject*>(shape_.get()),
          static_cast<TKwStyleObject*>(image_.get()),
          static_cast<TKwStyleObject*>(imagesButton_.get()),
          static_cast<TKwStyleObject*>(bgsButton_.get())})
        style->OnChange = [this](TKwStyleObject&) { Changed(); };
    setColBox_ = std::make_unique<TKwSetColor>(&static_cast<TKwSetColor&>(KwSetSBColBox()), true);
    setColSelBox_ =
        std::make_unique<TKwSetColor>(&static_cast<TKwSetColor&>(KwSetSBColSelBox()), true);
    for (TKwSetColor* set : {setColBox_.get(), setColSelBox_.get()})
        set->OnChange = [this](TKwSetReference&) { Changed(); };
    EnsurePublishedProperties();
    if (owner == nullptr || !owner->HasState(csLoading))
        Link().Init();
}

TKwCustomSpeedButton::~TKwCustomSpeedButton() {
    *alive_ = false;
    KillTimers(this);
}

template <class F>
bool TKwCustomSpeedButton::Guarded(F&& action) {
    const std::weak_ptr<bool> alive = alive_;
    action();
    const auto flag = alive.lock();
    return flag && *flag;
}

bool TKwCustomSpeedButton::ClickGuarded() {
    return Guarded([this] { Click(); });
}

void TKwCustomSpeedButton::NotifyInit() {
    ApplyTextsAndRights();
    Invalidate();
}

void TKwCustomSpeedButton::NotifyUpdate() {
    Invalidate();
}

void TKwCustomSpeedButton::NotifyEvt(int evt, void* data) {
    if (evt == kwEvtLayout)
        ApplyPlacement();
}

void TKwCustomSpeedButton::PosControl(TControl& control, TKwExternalControlLayout layout) const {
    KwPosControl(*this, control, layout);
}

void TKwCustomSpeedButton::PosPopupMenu(TPopupMenu& menu, TKwExternalControlLayout layout) {
    const TPoint at = KwPosEx(*this, 0, 0, layout, 1, true, 0);
    menu.SetPopupComponent(this);
    menu.Popup(at.X, at.Y);
}

std::unique_ptr<TActionLink> TKwCustomSpeedButton::CreateActionLink() {
    return std::make_unique<TKwSpeedButtonActionLink>(*this);
}

void TKwCustomSpeedButton::Loaded() {
    TGraphicControl::Loaded();
    ApplyTextsAndRights();
    if (groupIndex_ > 0 && down_)
        UpdateExclusive();
}

void TKwCustomSpeedButton::DisabledByPrivilege() {
    trackMain_ = trackDrop_ = false;
    pressed_ = down_;
    downPressed_ = false;
    KillTimer(this, kRepeatTimer);
}

// --- look properties ---

TKwSetBackGround& TKwCustomSpeedButton::SetBackGround() const {
    return shape_->Brush().SetBackGround();
}

TKwBorderStyle TKwCustomSpeedButton::BorderStyle() const {
    return shape_->BorderStyle();
}

void TKwCustomSpeedButton::SetBorderStyle(TKwBorderStyle style) {
    shape_->SetBorderStyle(style);
}

// --- down state and groups ---

void TKwCustomSpeedButton::SetDownEx(bool value, bool click) {
    if (Link().GetLoadingProps() || HasState(csLoading)) {
        down_ = value;
        return;
    }
    if (value != down_) {
        if (groupIndex_ > 0 && !value && !allowAllUp_)
            return;
        down_ = value;
        UpdateExclusive();
        if (click) {
            SetPressedLook(true);
            if (!ClickGuarded())
                return;
        }
    }
    if (groupIndex_ < 1)
        down_ = false;
    if (!trackMain_)
        SetPressedLook(down_);
    Changed();
}

void TKwCustomSpeedButton::SetGroupIndex(int index) {
    if (groupIndex_ == index)
        return;
    groupIndex_ = index;
    UpdateExclusive();
}

void TKwCustomSpeedButton::SetAllowAllUp(bool value) {
    if (allowAllUp_ == value)
        return;
    allowAllUp_ = value;
    UpdateExclusive();
}

void TKwCustomSpeedButton::UpdateExclusive() {
    if (groupIndex_ == 0 || Parent() == nullptr || HasState(csLoading))
        return;
    Parent()->Broadcast(CM_BUTTONPRESSED, static_cast<std::uintptr_t>(groupIndex_),
                        reinterpret_cast<std::intptr_t>(this));
}

void TKwCustomSpeedButton::ButtonPressed(int group, TKwCustomSpeedButton* sender) {
    if (sender == this || groupIndex_ < 0 || group != groupIndex_)
        return;
    if (sender->Down() && down_) {
        down_ = false;
        SetPressedLook(false);
        if (TAction* action = Action(); action != nullptr && action->Checked())
            action->SetChecked(false);
        Changed();
    }
    allowAllUp_ = sender->AllowAllUp();
}

// --- click ---

bool TKwCustomSpeedButton::RunWindowCommand() {
    static constexpr std::uintptr_t kCommands[] = {0,          SC_MINIMIZE, SC_MAXIMIZE,
                                                   SC_RESTORE, SC_CLOSE,    0xF180};
    if (defaultAction_ == btaClick || defaultAction_ == btaMenu)
        return false;
    if (defaultAction_ == btaMinimizeApp) {
        if (TCustomForm* main = Application().MainForm())
            main->SetWindowState(TWindowState::wsMinimized);
        return true;
    }
    if (TCustomForm* form = GetParentForm(this))
        form->Perform(WM_SYSCOMMAND, kCommands[defaultAction_]);
    return true;
}

void TKwCustomSpeedButton::Click() {
    if (RunWindowCommand())
        return;
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && checkValuesPending_)
        KwFormPerform(form, kwEvtCommitValue, nullptr);
    if (form != nullptr && checkRequireds_)
        KwFormPerform(form, kwEvtCheckRequired, nullptr);
    if (form != nullptr && modalResult_ != mrNone)
        form->SetModalResult(modalResult_);
    if (groupIndex_ < 1)
        SetPressedLook(true);
    // A menu button shows its menu instead of clicking; without a menu it clicks.
    const bool menu = defaultAction_ == btaMenu && PopupMenu() != nullptr;
    if (!Guarded([this, menu] {
            if (menu) {
                PosPopupMenu(*PopupMenu(), eclBottomLeft);
            } else {
                TGraphicControl::Click();
            }
        }))
        return;
    if (groupIndex_ < 1 && !trackMain_)
        SetPressedLook(false);
    if (form != nullptr && modalResult_ != mrNone && !form->Modal())
        form->Close();
}

void TKwCustomSpeedButton::DownClick() {
    if (OnDownClick)
        OnDownClick(this);
}

// --- geometry ---

TRect TKwCustomSpeedButton::ButtonRect() const {
    TRect r = ClientRect();
    if (buttonDown_->Visible())
        r.Right = std::max(r.Left, r.Right - buttonDown_->Width());
    return r;
}

TRect TKwCustomSpeedButton::DownButtonRect() const {
    if (!buttonDown_->Visible())
        return {};
    const TRect client = ClientRect();
    return {std::max(client.Left, client.Right - buttonDown_->Width()), client.Top, client.Right,
            client.Bottom};
}

bool TKwCustomSpeedButton::MouseInRgn(int x, int y) const {
    if (!mouseRgn_)
        return ClientRect().Contains(x, y);
    return KwInFaceRegion(MainFace(), x, y) ||
           (buttonDown_->Visible() && KwInFaceRegion(DropFace(), x, y));
}

bool TKwCustomSpeedButton::InMainPart(int x, int y) const {
    return ButtonRect().Contains(x, y) && (!mouseRgn_ || KwInFaceRegion(MainFace(), x, y));
}

// --- mouse ---

void TKwCustomSpeedButton::SetPressedLook(bool pressed) {
    Store(pressed_, pressed);
}

void TKwCustomSpeedButton::SetDownPressedLook(bool pressed) {
    Store(downPressed_, pressed);
}

void TKwCustomSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    const std::weak_ptr<bool> alive = alive_;
    TGraphicControl::MouseDown(button, shift, x, y);
    if (alive.expired() || button != TMouseButton::mbLeft || !TControl::Enabled())
        return;
    if (InMainPart(x, y)) {
        trackMain_ = true;
        SetPressedLook(true);
        if (Repeating()) {
            if (!ClickGuarded())
                return;
            SetTimer(this, kRepeatTimer, static_cast<Cardinal>(repeats_->StartTime()));
        }
    } else if (DownButtonRect().Contains(x, y)) {
        trackDrop_ = true;
        SetDownPressedLook(true);
    }
}

void TKwCustomSpeedButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (trackMain_) {
        const bool inside = InMainPart(x, y);
        const bool look = down_ || inside;
        if (look != pressed_) {
            SetPressedLook(look);
            if (!inside && MouseOver())
                Perform(CM_MOUSELEAVE);
            if (Repeating()) {
                if (look) {
                    SetTimer(this, kRepeatTimer, static_cast<Cardinal>(repeats_->NextTime()));
                } else {
                    KillTimer(this, kRepeatTimer);
                }
            }
        }
        if (inside && !MouseOver())
            Perform(CM_MOUSEENTER);
    } else if (trackDrop_) {
        SetDownPressedLook(DownButtonRect().Contains(x, y));
    }
}

void TKwCustomSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const std::weak_ptr<bool> alive = alive_;
    TGraphicControl::MouseUp(button, shift, x, y);
    if (alive.expired() || button != TMouseButton::mbLeft)
        return;
    if (trackMain_) {
        trackMain_ = false;
        KillTimer(this, kRepeatTimer);
        if (!Repeating() && InMainPart(x, y)) {
            if (!Guarded([this] { Press(); }))
                return;
        }
        SetPressedLook(down_);
        if (groupIndex_ > 0 && down_)
            UpdateExclusive();
    }
    if (trackDrop_) {
        trackDrop_ = false;
        SetDownPressedLook(false);
        if (DownButtonRect().Contains(x, y))
            DownClick();
    }
}

void TKwCustomSpeedButton::RepeatTimer() {
    KillTimer(this, kRepeatTimer);
    if (!trackMain_ || !pressed_) {
        SetPressedLook(down_);
        return;
    }
    if (!ClickGuarded())
        return;
    if (trackMain_) {
        SetTimer(this, kRepeatTimer, static_cast<Cardinal>(repeats_->NextTime()));
    } else {
        SetPressedLook(down_);
    }
}

bool TKwCustomSpeedButton::DialogChar(Char key) {
    if (!TControl::Enabled() || !Showing() || !IsAccel(key, ShownCaption()))
        return false;
    Press();
    return true;
}

void TKwCustomSpeedButton::WndProc(TMessage& message) {
    if (message.Msg == KwMasterMessage()) {
        NotifyEvt(static_cast<int>(message.WParam), reinterpret_cast<void*>(message.LParam));
        return;
    }
    switch (message.Msg) {
        case WM_TIMER:
            if (message.WParam == kRepeatTimer) {
                RepeatTimer();
                return;
            }
            break;
        case CM_BUTTONPRESSED:
            ButtonPressed(static_cast<int>(message.WParam),
                          reinterpret_cast<TKwCustomSpeedButton*>(message.LParam));
            return;
        case CM_DIALOGCHAR:
            message.Result = DialogChar(static_cast<Char>(message.WParam)) ? 1 : 0;
            return;
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            TGraphicControl::WndProc(message);
            Changed();
            return;
        case CM_SYSCOLORCHANGE:
            Changed();
            return;
        case CM_HITTEST:
            // The designer picks the button anywhere in its rectangle.
            message.Result = HasState(csDesigning) ||
                                     MouseInRgn(LParamX(message.LParam), LParamY(message.LParam))
                                 ? HTCLIENT
                                 : HTNOWHERE;
            return;
        default:
            break;
    }
    TGraphicControl::WndProc(message);
}

void TKwCustomSpeedButton::DoPaint(const TPaintContext& context) {
    if (OnPaint)
        OnPaint(this, context);
}

namespace {

// The shape part of a face from a button shape style.
void TakeShape(TKwButtonFace& face, TKwButtonShape& shape) {
    face.BorderStyle = shape.BorderStyle();
    face.BorderWidth = shape.BorderWidth();
    face.Shape = shape.Shape();
    face.Reflection = shape.Reflection();
    face.Orientation = shape.Orientation();
    face.Brush = &shape.Brush();
    face.Pen = &shape.Pen();
    face.MarginLeftRight = shape.MarginLeftRight();
    face.MarginTopBottom = shape.MarginTopBottom();
}

}  // namespace

TKwButtonFace TKwCustomSpeedButton::BaseFace() const {
    TKwButtonFace face;
    face.Enabled = TControl::Enabled();
    face.Flat = Flat();
    face.Over = MouseOver();
    face.FrameColor =
        face.Over && setColSelBox_->Defined() ? setColSelBox_.get() : setColBox_.get();
    face.Text = text_.get();
    return face;
}

TKwButtonFace TKwCustomSpeedButton::MainFace() const {
    TKwButtonFace face = BaseFace();
    face.Rect = ButtonRect();
    face.Style = Style();
    face.Pressed = pressed_;
    face.Shadow = Shadow();
    TakeShape(face, *shape_);
    const TKwButtonState state =
        KwButtonState(face.Enabled, pressed_, face.Over, groupIndex_ >= 1 && down_);
    face.BackGround = KwChooseBackGround(*bgsButton_, state, face.Over, &SetBackGround());
    TKwMemoryImage* stateImage = KwChooseImage(*imagesButton_, state, face.Over, nullptr);
    face.FaceImage = stateImage;
    if (image_->Visible()) {
        face.Image =
            Style() == btsImage ? &image_->Image() : (stateImage ? stateImage : &image_->Image());
        face.ImageWidth = image_->Width();
        face.ImageHeight = image_->Height();
        face.Layout = image_->Layout();
        face.Spacing = Margin() >= 0 ? Margin() : image_->Spacing();
        face.ImageShadow = image_->SelShadow() && face.Over;
    }
    face.Caption = ShownCaption();
    return face;
}

TKwButtonFace TKwCustomSpeedButton::DropFace() const {
    TKwSpeedButtonDown& part = *buttonDown_;
    TKwButtonFace face = BaseFace();
    face.Rect = DownButtonRect();
    face.Pressed = downPressed_;
    face.Style = part.Style();
    TakeShape(face, part.Sync() ? *shape_ : part.Shape());
    const TKwButtonState state = KwButtonState(face.Enabled, downPressed_, face.Over, false);
    face.BackGround = part.Sync()
                          ? KwChooseBackGround(*bgsButton_, state, face.Over, &SetBackGround())
                          : KwChooseBackGround(part.BGsButton(), state, face.Over,
                                               &part.Shape().Brush().SetBackGround());
    face.FaceImage = KwChooseImage(part.ImagesButton(), state, face.Over, nullptr);
    face.Image = &part.Image().Image();
    face.ImageWidth = part.Image().Width();
    face.ImageHeight = part.Image().Height();
    face.Text = nullptr;
    return face;
}

void TKwCustomSpeedButton::Paint(const TPaintContext& context) {
    KwPaintButtonFace(context, MainFace());
    if (buttonDown_->Visible())
        KwPaintButtonFace(context, DropFace());
    DoPaint(context);
}

TKwSpeedButton::TKwSpeedButton(TComponent* owner) : TKwCustomSpeedButton(owner) {}

}  // namespace kw
