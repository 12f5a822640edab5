#include "controls/single_panel.h"

#include <algorithm>

#include "controls/controls_state.h"
#include "display/default_sets.h"
#include "drawing/canvas_saver.h"
#include "drawing/decorations.h"
#include "drawing/palette.h"
#include "drawing/transparent_background.h"
#include "framework/application.h"
#include "framework/events.h"
#include "framework/link.h"
#include "framework/state.h"
#include "packages/memory_refs.h"
#include "packages/privilege.h"
#include "packages/privileges_package.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/text/strings.h"
#include "platform/ui/form.h"
#include "platform/ui/input.h"

namespace kw {
namespace {
// What the context adds to the control's coordinates on its canvas.
TPoint PaintShift(const TPaintContext& context) {
    const TRect r = context.ToDevice(TRect(0, 0, 0, 0));
    return {r.Left, r.Top};
}

TRegion Intersect(const TRegion& a, const TRegion& b) {
    TRegion r;
    r.Combine(a, b, TRegionCombine::rgnAnd);
    return r;
}
}  // namespace

KW_IMPLEMENT_CLASS(TKwPaintControl, TComponent)
KW_IMPLEMENT_CLASS(TKwSinglePanel, TCustomPanel)

// The drop shadow: a plain shape behind the panel, filled and outlined in one colour.
class TKwShadowShape : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint(const TPaintContext& context) override {
        context.FillRect(TRect(0, 0, Width(), Height()), KwSetColShadow().Color());
    }
};

// --- TKwPaintControl -----------------------------------------------------------------------

TKwPaintControl::TKwPaintControl(TComponent* owner) : TComponent(owner) {}

TKwPaintControl::~TKwPaintControl() {
    if (parent_ != nullptr)
        parent_->RemovePtControl(*this);
}

void TKwPaintControl::SetBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
}

void TKwPaintControl::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    Invalidate(true);
}

void TKwPaintControl::SetLight(bool light) {
    if (light == light_)
        return;
    if (light && parent_ != nullptr) {
        for (int i = 0; i < parent_->PtControlCount(); ++i) {
            TKwPaintControl* other = parent_->PtControls(i);
            if (other != this)
                other->SetLight(false);
        }
    }
    light_ = light;
    Invalidate(true);
}

void TKwPaintControl::SetParent(TKwSinglePanel* panel) {
    if (panel == parent_)
        return;
    if (parent_ != nullptr)
        parent_->RemovePtControl(*this);
    if (panel != nullptr)
        panel->InsertPtControl(*this);
}

void TKwPaintControl::Invalidate(bool erase) {
    if (parent_ != nullptr)
        parent_->InvalidateRect(BoundsRect(), erase);
}

void TKwPaintControl::BringToFront() {
    if (parent_ == nullptr)
        return;
    auto& list = parent_->ptControls_;
    std::erase(list, this);
    list.push_back(this);
    Invalidate(true);
}

void TKwPaintControl::SendToBack() {
    if (parent_ == nullptr)
        return;
    auto& list = parent_->ptControls_;
    std::erase(list, this);
    list.insert(list.begin(), this);
    Invalidate(true);
}

void TKwPaintControl::Paint(const TPaintContext& context) {
    if (OnPaint)
        OnPaint(*this, context);
}

// --- TKwSinglePanel: construction ----------------------------------------------------------

TKwSinglePanel::TKwSinglePanel(TComponent* owner) : TCustomPanel(owner) {
    Construct();
}

TKwSinglePanel::TKwSinglePanel(TComponent* owner, bool nonClientBorder, bool editBackGround,
                               bool selBoxOnFocus)
    : TCustomPanel(owner),
      answerReadOnly_(false),
      editBackGround_(editBackGround),
      nonClientBorder_(nonClientBorder),
      selBoxOnFocus_(selBoxOnFocus) {
    Construct();
}

void TKwSinglePanel::Construct() {
    TCustomPanel::SetBevelOuter(TBevelCut::bvNone);
    TCustomPanel::SetBevelInner(TBevelCut::bvNone);
    TCustomPanel::SetBorderWidth(0);
    SetParentColor(false);
    SetParentFont(false);
    SetParentShowHint(false);
    SetShowHint(true);
    SetControlStyle((ControlStyle() & ~csOpaque) | csSetCaption);

    link_ = std::make_unique<TKwLinkEvt>(this, kwInitControl);
    link_->OnInit = [this](TKwLinkEvt&) { NotifyInit(); };
    link_->OnUpdate = [this](TKwLinkEvt&) { NotifyUpdate(); };
    link_->OnEvt = [this](int evt, void* data) { NotifyEvt(evt, data); };

    setBackGround_ = std::make_unique<TKwSetBackGround>(
        editBackGround_ ? &KwSetEdBackGround() : &KwSetBackGround(), true);
    setColBox_ = std::make_unique<TKwSetColor>(&KwSetColBox(), true);
    setColSelBox_ = std::make_unique<TKwSetColor>(&KwSetColBox(), false);
    privilege_ = std::make_unique<TKwPrivilege>();
    captionId_ = std::make_unique<TKwMemoryLabel>();
    auto change = [this](auto&) { link_->Change(); };
    setBackGround_->OnChange = change;
    setColBox_->OnChange = change;
    setColSelBox_->OnChange = change;
    captionId_->OnChange = change;
    privilege_->OnChange = [this](TKwPrivilege&) {
        link_->Change();
        PrivilegeChanged();
    };
    TControl::SetVisible(true);
    TControl::SetEnabled(true);
    KwAddBuffer(this);
}

TKwSinglePanel::~TKwSinglePanel() {
    KwDelBuffer(this);
    HideShadow();
    // The elements belong to whoever created them; they only leave the list.
    for (TKwPaintControl* c : ptControls_)
        c->parent_ = nullptr;
    ptControls_.clear();
}

// --- frame ---------------------------------------------------------------------------------

int TKwSinglePanel::FrameSize(bool horizontal) const {
    return horizontal ? xBorderWidth() : xBorderHeight();
}

int TKwSinglePanel::xBorderWidth() const {
    return (bevelOuter_ != besNone ? 1 : 0) + (bevelInner_ != besNone ? borderWidth_ + 1 : 0) +
           marginLeftRight_;
}

int TKwSinglePanel::xBorderHeight() const {
    return (bevelOuter_ != besNone ? 1 : 0) + (bevelInner_ != besNone ? borderWidth_ + 1 : 0) +
           marginTopBottom_;
}

void TKwSinglePanel::xClientRect(TRect& rect) const {
    const int w = xBorderWidth();
    const int h = xBorderHeight();
    rect = TRect(rect.Left + w + margins_.Left, rect.Top + h + margins_.Top,
                 rect.Right - w - margins_.Right, rect.Bottom - h - margins_.Bottom);
}

template <class T>
void ChangeFrameField(TKwSinglePanel& panel, T& field, T value, bool horizontal,
                      bool keepClientSize) {
    if (field == value)
        return;
    const int before = horizontal ? panel.xBorderWidth() : panel.xBorderHeight();
    field = value;
    if (keepClientSize && !panel.LoadingProps()) {
        const int after = horizontal ? panel.xBorderWidth() : panel.xBorderHeight();
        if (horizontal)
            panel.SetWidth(panel.Width() - 2 * before + 2 * after);
        else
            panel.SetHeight(panel.Height() - 2 * before + 2 * after);
    }
    panel.ChangeTips();
}

void TKwSinglePanel::SetBevelInner(TKwBevelStyle value) {
    ChangeFrameField(*this, bevelInner_, value, true, keepClientSize_);
}

void TKwSinglePanel::SetBevelOuter(TKwBevelStyle value) {
    ChangeFrameField(*this, bevelOuter_, value, true, keepClientSize_);
}

void TKwSinglePanel::SetBorderWidth(int value) {
    ChangeFrameField(*this, borderWidth_, std::max(value, 0), true, keepClientSize_);
}

void TKwSinglePanel::SetMarginLeftRight(int value) {
    ChangeFrameField(*this, marginLeftRight_, value, true, keepClientSize_);
}

void TKwSinglePanel::SetMarginTopBottom(int value) {
    ChangeFrameField(*this, marginTopBottom_, value, false, keepClientSize_);
}

namespace {
void StoreMargin(TKwSinglePanel& panel, int& field, int value) {
    if (field == value)
        return;
    field = value;
    panel.ChangeTips();
}
}  // namespace

void TKwSinglePanel::SetMarginLeft(int value) {
    StoreMargin(*this, margins_.Left, value);
}
void TKwSinglePanel::SetMarginTop(int value) {
    StoreMargin(*this, margins_.Top, value);
}
void TKwSinglePanel::SetMarginRight(int value) {
    StoreMargin(*this, margins_.Right, value);
}
void TKwSinglePanel::SetMarginBottom(int value) {
    StoreMargin(*this, margins_.Bottom, value);
}

void TKwSinglePanel::AlignControls(TRect& area) {
    if (nonClientBorder_) {
        // The frame lies outside the client area already; only the one-sided margins remain.
        area = TRect(area.Left + margins_.Left, area.Top + margins_.Top,
                     area.Right - margins_.Right, area.Bottom - margins_.Bottom);
    } else {
        xClientRect(area);
    }
    TWinControl::AlignControls(area);
}

// --- state ---------------------------------------------------------------------------------

bool TKwSinglePanel::xEnabled() const {
    const bool base =
        enabled_ && Parent() != nullptr && KwPerform(Parent(), kwEvtParentDisabled, nullptr) == 0;
    if (privilege_->Access() == accReadWrite)
        return base;
    const TKwCApplication* app = KwCApp();
    return base && app != nullptr && !app->Privileges().ReadStateDisableControl();
}

bool TKwSinglePanel::xReadOnly() const {
    return readOnly_ || KwPerform(Parent(), kwEvtParentReadOnly, nullptr) == 1 || !xEnabled() ||
           privilege_->Access() != accReadWrite;
}

bool TKwSinglePanel::xVisible() const {
    if (Designing())
        return true;
    return visible_ && privilege_->Access() != accNone;
}

void TKwSinglePanel::ApplyEnabled() {
    TControl::SetEnabled(xEnabled());
}

void TKwSinglePanel::SetEnabled(bool value) {
    if (value == enabled_)
        return;
    enabled_ = value;
    const bool before = TControl::Enabled();
    TControl::SetEnabled(xEnabled());
    // A change of the window layer's flag has updated the panel through its announcement.
    if (TControl::Enabled() == before)
        ChangeTips();
    if (!LoadingProps())
        PrivilegeChanged();
}

void TKwSinglePanel::SetReadOnly(bool value) {
    if (value == readOnly_)
        return;
    readOnly_ = value;
    ChangeTips();
    if (!LoadingProps())
        PrivilegeChanged();
}

void TKwSinglePanel::SetVisible(bool value) {
    if (value == visible_)
        return;
    visible_ = value;
    TControl::SetVisible(Designing() ? value : xVisible());
    ChangeTips();
}

void TKwSinglePanel::SetVisibleEx(bool value) {
    visible_ = value;
    TControl::SetVisible(value);
}

void TKwSinglePanel::SetTransparent(bool value) {
    if (value == transparent_)
        return;
    transparent_ = value;
    ChangeTips();
}

void TKwSinglePanel::SetAlignHor(TKwAlignHor value) {
    alignHor_ = value;
    if (!LoadingProps())
        KwPosSizeInfo(*this, resizeInfo_);
}

void TKwSinglePanel::SetAlignVer(TKwAlignVer value) {
    alignVer_ = value;
    if (!LoadingProps())
        KwPosSizeInfo(*this, resizeInfo_);
}

void TKwSinglePanel::SetInternalBuffer(bool on) {
    if (on == internalBuffer_)
        return;
    internalBuffer_ = on;
    ChangeTips();
}

void TKwSinglePanel::SetShowDesignName(bool on) {
    if (on == showDesignName_)
        return;
    showDesignName_ = on;
    ChangeTips();
}

// --- loading and updates -------------------------------------------------------------------

void TKwSinglePanel::BeginLoading() {
    link_->BeginLoading();
}

void TKwSinglePanel::EndLoading() {
    link_->EndLoading();
}

bool TKwSinglePanel::LoadingProps() const {
    return link_->GetLoadingProps();
}

void TKwSinglePanel::Loaded() {
    TCustomPanel::Loaded();
    link_->InitLinks();
}

void TKwSinglePanel::RunUpdateControl() {
    // The enabled flag set inside UpdateControl announces itself and comes back here; the
    // outer run finishes the work, so children hear each announcement once.
    if (updating_)
        return;
    updating_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{updating_};
    UpdateControl();
}

void TKwSinglePanel::NotifyInit() {
    RunUpdateControl();
    KwPosSizeInfo(*this, resizeInfo_);
}

void TKwSinglePanel::NotifyUpdate() {
    ChangeTips();
}

void TKwSinglePanel::NotifyEvt(int, void*) {}

void TKwSinglePanel::ChangeTips() {
    if (!LoadingProps() && WindowExists())
        RunUpdateControl();
}

void TKwSinglePanel::UpdateControl() {
    if (!Designing()) {
        TControl::SetEnabled(xEnabled());
        TControl::SetVisible(xVisible());
    }
    if ((Designing() || !KwState().processInitLinks) && WindowExists() && nonClientBorder_)
        RecalcFrame();
    if (CanShowShadow())
        ShowShadow();
    else
        HideShadow();
    Realign();
    Invalidate();
    if (!Designing() && KwState().processInitLinks)
        return;
    NotifyParentInvalidate();
    AssignRgn(Width(), Height());
    regionWidth_ = Width();
    regionHeight_ = Height();
}

void TKwSinglePanel::Invalidate() {
    if (Parent() == nullptr || !TControl::Visible())
        return;
    InvalidateRect(ClientRect(), invalidateErase_);
    if (nonClientBorder_)
        InvalidateFrame();
}

void TKwSinglePanel::UpdatePosSize() {
    KwPosSize(*this, resizeInfo_, alignHor_, alignVer_, HasAdjustHorz(), HasAdjustVert());
}

void TKwSinglePanel::NotifyParentInvalidate() {
    const std::vector<TControl*> children = ControlList();
    for (TControl* child : children) {
        if (dynamic_cast<TWinControl*>(child) != nullptr)
            KwPerform(child, kwEvtPanelInvalidated, nullptr);
    }
}

void TKwSinglePanel::SetParent(TWinControl* parent) {
    TCustomPanel::SetParent(parent);
    // Getting a window: the derived flags, the frame and the region become current.
    ChangeTips();
}

void TKwSinglePanel::DoAssignRgn(int width, int height) {
    if (!WindowExists() || (width == regionWidth_ && height == regionHeight_))
        return;
    AssignRgn(width, height);
    regionWidth_ = width;
    regionHeight_ = height;
}

// --- messages ------------------------------------------------------------------------------

void TKwSinglePanel::WndProc(TMessage& message) {
    if (message.Msg == KwMasterMessage()) {
        AnswerMaster(message);
        return;
    }
    switch (message.Msg) {
        case WM_ERASEBKGND: {
            if (!internalBuffer_)
                break;
            const auto& context = *reinterpret_cast<const TPaintContext*>(message.WParam);
            message.Result = 0;
            if (!noBuffer_ && xPaintBuffer(context)) {
                erasePending_ = true;  // the paint message paints it into the buffer
                return;
            }
            PaintBackGround(context);
            message.Result = 1;
            return;
        }
        case WM_PAINT:
            if (!internalBuffer_)
                break;
            PaintMessage(*reinterpret_cast<const TPaintContext*>(message.WParam));
            return;
        case WM_NCCALCSIZE:
            if (nonClientBorder_) {
                auto& r = *reinterpret_cast<TRect*>(message.LParam);
                r = TRect(r.Left + xBorderWidth(), r.Top + xBorderHeight(),
                          r.Right - xBorderWidth(), r.Bottom - xBorderHeight());
                return;
            }
            break;
        case WM_NCPAINT:
            TCustomPanel::WndProc(message);
            NCPaint(*reinterpret_cast<const TPaintContext*>(message.WParam));
            return;
        case CM_ENABLEDCHANGED:
            TCustomPanel::WndProc(message);
            KwPerform(this, kwEvtEnabledChanged, &message);
            return;
        case WM_WINDOWPOSCHANGED:
            HandleWindowPosChanged(message);
            return;
        case CM_MOUSEENTER:
            TCustomPanel::WndProc(message);
            if (selBoxOnFocus_ && !Designing() && !xReadOnly() && !focused_)
                SetHovered(true);
            return;
        case CM_MOUSELEAVE:
            TCustomPanel::WndProc(message);
            SetHovered(false);
            UnlightAll();
            return;
        case CM_ENTER:
        case CM_EXIT:
            TCustomPanel::WndProc(message);
            SetFocusedFlag(message.Msg == CM_ENTER);
            return;
        default:
            break;
    }
    TCustomPanel::WndProc(message);
}

void TKwSinglePanel::AnswerMaster(TMessage& message) {
    void* data = reinterpret_cast<void*>(message.LParam);
    switch (static_cast<int>(message.WParam)) {
        case kwEvtParentBackground: {
            auto* query = static_cast<TKwBackGroundQuery*>(data);
            if (query == nullptr)
                return;
            if (!transparent_) {
                query->SetBackGround = setBackGround_.get();
                query->Owner = this;
                query->Answered = true;
            } else if (Parent() != nullptr) {
                query->Owner = Parent();
                KwPerform(Parent(), kwEvtParentBackground, query);
            }
            return;
        }
        case kwEvtPanelInvalidated:
            if (transparent_) {
                Invalidate();
                NotifyParentInvalidate();
            }
            return;
        case kwEvtLayout:
            UpdatePosSize();
            return;
        case kwEvtWindowActivation:
            WActiveChanged(message);
            return;
        case kwEvtNoBuffer:
            noBuffer_ = message.LParam == 1;
            return;
        case kwEvtPaintFrame:
            if (data != nullptr)
                NCPaint(*static_cast<const TPaintContext*>(data));
            return;
        case kwEvtParentDisabled:
            message.Result = xEnabled() ? 0 : 1;
            return;
        case kwEvtEnabledChanged: {
            // A nested announcement (our own enabled flag changing inside UpdateControl) has
            // told the children already; they hear it once.
            const int before = enabledAnnouncements_;
            RunUpdateControl();
            if (before == enabledAnnouncements_) {
                ++enabledAnnouncements_;
                KwControlsPerform(this, kwEvtEnabledChanged, data);
            }
            return;
        }
        case kwEvtParentReadOnly:
            if (answerReadOnly_)
                message.Result = xReadOnly() ? 1 : 0;
            return;
        default:
            return;
    }
}

void TKwSinglePanel::HandleWindowPosChanged(TMessage& message) {
    ++positionNesting_;
    const bool active = !LoadingProps() && !HasState(csDestroying);
    if (active)
        DoAssignRgn(Width(), Height());
    TCustomPanel::WndProc(message);
    if (active) {
        UpdatePosSize();
        if (positionNesting_ == 1) {
            const bool sized = Width() != lastWidth_ || Height() != lastHeight_;
            if (transparent_ || sized) {
                Invalidate();
                if (sized) {
                    SizeChanged();
                    KwPosSizesChange(*this);
                }
            }
            NotifyParentInvalidate();
            lastWidth_ = Width();
            lastHeight_ = Height();
        }
        if (CanShowShadow())
            ShowShadow();
        PositionChanged();
    }
    --positionNesting_;
}

// --- painting ------------------------------------------------------------------------------

bool TKwSinglePanel::xPaintBuffer(const TPaintContext& context) const {
    return paintBuffer_ && directPaintCount_ <= 0 && KwPaintBuffer(context.Canvas->Handle());
}

void TKwSinglePanel::BeginDirectPaint() {
    if (directPaintCount_ == 0)
        Update();
    ++directPaintCount_;
}

void TKwSinglePanel::EndDirectPaint() {
    if (directPaintCount_ <= 0)
        return;
    if (--directPaintCount_ == 0)
        Update();
}

void TKwSinglePanel::Paint(const TPaintContext& context) {
    if (!internalBuffer_)
        TCustomPanel::Paint(context);
    if (OnPaint)
        OnPaint(this);
}

void TKwSinglePanel::PaintLayers(const TPaintContext& context, bool background) {
    if (background)
        PaintBackGround(context);
    PaintPtControls(context);
    TMessage paint{WM_PAINT, reinterpret_cast<std::uintptr_t>(&context), 0, 0};
    TCustomPanel::WndProc(paint);  // Paint, then the graphic children
}

void TKwSinglePanel::PaintMessage(const TPaintContext& context) {
    HDC dc = context.Canvas->Handle();
    const HPALETTE previous = KwInitPalette(dc);
    const bool erase = erasePending_;
    erasePending_ = false;
    if (noBuffer_ || !xPaintBuffer(context)) {
        ++KwControlsState().directPaints;
        PaintLayers(context, erase);
    } else {
        ++KwControlsState().bufferedPaints;
        const TRect device(0, 0, context.Canvas->Target().Width(),
                           context.Canvas->Target().Height());
        const TRect box = context.Clip.Bounds().Intersect(device);
        TBitmap buffer(box.Width(), box.Height(), TPixelFormat::pf32bit);
        KwAssignBitmapPalette(buffer);
        TCanvas canvas(buffer);
        TRegion clip = context.Clip;
        clip.Offset(-box.Left, -box.Top);
        const TPaintContext inner{
            &canvas, {context.Origin.X - box.Left, context.Origin.Y - box.Top}, clip};
        {
            TPaintScope scope(inner);
            PaintLayers(inner, true);
        }
        TPoint viewport;
        GetViewportOrgEx(dc, &viewport);
        context.Canvas->SetClipRegion(&context.Clip);
        context.Canvas->DrawBitmap(box.Offset(-viewport.X, -viewport.Y), buffer,
                                   TRect(0, 0, box.Width(), box.Height()), TBlendMode::bmCopy);
    }
    KwEndPalette(dc, previous);
}

void TKwSinglePanel::PaintBackGround(const TPaintContext& context) {
    if (HasState(csDestroying))
        return;
    TKwCanvasSaver saver(*context.Canvas);
    DrawBackGround(context);
    ShowCaption(context);
}

namespace {
// Draws one bevel just inside `r`; a single line takes `single`.
void DrawBevel(TCanvas& canvas, const TRect& r, TKwBevelStyle style, TColor single) {
    switch (style) {
        case besSingle:
            KwDrawBox(canvas, r, single, single, false);
            break;
        case bes3DTop:
        case bes3DBottom:
            KwDrawBox(canvas, r, KwSet3DMLight().Color(), KwSet3DShadow().Color(),
                      style == bes3DBottom);
            break;
        default:
            break;
    }
}
}  // namespace

void TKwSinglePanel::DrawFrames(TCanvas& canvas, TRect r) {
    const bool selected = Highlighted() && setColSelBox_->Defined();
    const TKwBevelStyle outer = selected ? besSingle : bevelOuter_;
    DrawBevel(canvas, r, outer, selected ? setColSelBox_->Color() : setColBox_->Color());
    if (bevelOuter_ != besNone)
        r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    if (bevelInner_ == besNone)
        return;
    r = TRect(r.Left + borderWidth_, r.Top + borderWidth_, r.Right - borderWidth_,
              r.Bottom - borderWidth_);
    DrawBevel(canvas, r, bevelInner_, setColBox_->Color());
}

void TKwSinglePanel::DrawBackGround(const TPaintContext& context) {
    const TPoint shift = PaintShift(context);
    const TRect whole(0, 0, Width(), Height());
    KwPaintTransparentBackGround(*context.Canvas, whole, TRect(), this, false, false,
                                 setBackGround_.get(), transparent_, shift);
    if (!nonClientBorder_)
        DrawFrames(*context.Canvas, context.ToDevice(ClientRect()));
}

void TKwSinglePanel::ShowCaption(const TPaintContext& context) {
    if (!Designing() || !showDesignName_ || !(ControlStyle() & csSetCaption) || Name().empty())
        return;
    TCanvas& canvas = *context.Canvas;
    canvas.Font().Assign(Font());
    canvas.Font().SetColor(KwSet3DMLight().Color());
    canvas.Brush().Style = TBrushStyle::bsClear;
    TRect r = ClientRect();
    r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    const TSize size = canvas.TextExtent(Name());
    const TRect d = context.ToDevice(r);
    canvas.TextRect(d, d.Left + (r.Width() - size.cx) / 2, d.Top + (r.Height() - size.cy) / 2,
                    Name());
}

void TKwSinglePanel::NCPaint(const TPaintContext& context) {
    if (!nonClientBorder_)
        return;
    TKwCanvasSaver saver(*context.Canvas);
    const TRect whole(0, 0, Width(), Height());
    KwPaintTransparentBackGround(*context.Canvas, whole, TRect(), this, true, false,
                                 setBackGround_.get(), transparent_, PaintShift(context));
    DrawFrames(*context.Canvas, context.ToDevice(whole));
}

// --- paint controls ------------------------------------------------------------------------

void TKwSinglePanel::InsertPtControl(TKwPaintControl& control) {
    if (control.parent_ == this)
        return;
    if (control.parent_ != nullptr)
        control.parent_->RemovePtControl(control);
    ptControls_.push_back(&control);
    control.parent_ = this;
    control.Invalidate(true);
}

void TKwSinglePanel::RemovePtControl(TKwPaintControl& control) {
    auto it = std::find(ptControls_.begin(), ptControls_.end(), &control);
    if (it == ptControls_.end())
        return;
    control.Invalidate(true);
    ptControls_.erase(it);
    control.parent_ = nullptr;
}

TKwPaintControl* TKwSinglePanel::PtControls(int index) const {
    if (index < 0 || index >= PtControlCount())
        throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
    return ptControls_[static_cast<size_t>(index)];
}

void TKwSinglePanel::SetPtControls(int index, TKwPaintControl* control) {
    TKwPaintControl* old = PtControls(index);
    if (control == old)
        return;
    if (control != nullptr && control->parent_ != nullptr)
        control->parent_->RemovePtControl(*control);
    old->Invalidate(true);
    old->parent_ = nullptr;
    if (control == nullptr) {
        ptControls_.erase(ptControls_.begin() + index);
        return;
    }
    index = std::min(index, PtControlCount() - 1);
    ptControls_[static_cast<size_t>(index)] = control;
    control->parent_ = this;
    control->Invalidate(true);
}

void TKwSinglePanel::PaintPtControls(const TPaintContext& context) {
    const std::vector<TKwPaintControl*> list = ptControls_;
    for (TKwPaintControl* c : list) {
        if (!c->Visible())
            continue;
        const TRect bounds = c->BoundsRect().Offset(context.Origin.X, context.Origin.Y);
        if (!context.Clip.IntersectsRect(bounds))
            continue;
        TKwCanvasSaver saver(*context.Canvas);
        const TPaintContext child{
            context.Canvas, {bounds.Left, bounds.Top}, Intersect(context.Clip, TRegion(bounds))};
        TPaintScope scope(child);
        c->Paint(child);
    }
}

void TKwSinglePanel::LightAt(int x, int y) {
    const TRect visible = ClientRect();
    const std::vector<TKwPaintControl*> list = ptControls_;
    for (TKwPaintControl* c : list) {
        const TRect r = c->BoundsRect();
        if (c->Visible() && !r.Intersect(visible).IsEmpty() && r.Contains(x, y))
            c->SetLight(true);
    }
}

void TKwSinglePanel::UnlightAll() {
    const std::vector<TKwPaintControl*> list = ptControls_;
    for (TKwPaintControl* c : list)
        c->SetLight(false);
}

// --- mouse and focus -----------------------------------------------------------------------

void TKwSinglePanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (selBoxOnFocus_ && !(shift & ssDouble) && CanFocus())
        SetFocus();
    TCustomPanel::MouseDown(button, shift, x, y);
}

void TKwSinglePanel::MouseMove(TShiftState shift, int x, int y) {
    if (CanLight() && !ptControls_.empty())
        LightAt(x, y);
    TCustomPanel::MouseMove(shift, x, y);
}

void TKwSinglePanel::SetHovered(bool on) {
    if (on == hovered_)
        return;
    hovered_ = on;
    if (setColSelBox_->Defined())
        Invalidate();
}

void TKwSinglePanel::SetFocusedFlag(bool on) {
    if (!selBoxOnFocus_ || on == focused_)
        return;
    focused_ = on;
    if (setColSelBox_->Defined())
        Invalidate();
}

// --- shadow --------------------------------------------------------------------------------

void TKwSinglePanel::SetShadow(bool value) {
    if (value == shadow_)
        return;
    shadow_ = value;
    ChangeTips();
}

bool TKwSinglePanel::CanShowShadow() const {
    return shadow_ && (Designing() || visible_);
}

TControl* TKwSinglePanel::ShadowControl() const {
    return shadowShape_;
}

void TKwSinglePanel::ShowShadow() {
    if (Parent() == nullptr)
        return;
    const TRect place = TRect::Bounds(Left() + 3, Top() + 3, Width(), Height());
    if (shadowShape_ != nullptr && shadowShape_->Parent() == Parent() &&
        shadowShape_->BoundsRect() == place && shadowShape_->Visible())
        return;
    if (shadowShape_ == nullptr)
        shadowShape_ = &Create<TKwShadowShape>(*this);
    shadowShape_->SetParent(Parent());
    Parent()->SendToBack(*shadowShape_);
    shadowShape_->SetBoundsRect(place);
    shadowShape_->SetVisible(true);
}

void TKwSinglePanel::HideShadow() {
    std::unique_ptr<TKwShadowShape> shape(shadowShape_);
    shadowShape_ = nullptr;
}

}  // namespace kw
