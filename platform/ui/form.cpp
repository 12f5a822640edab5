#include "platform/ui/form.h"

#include <algorithm>

#include "platform/core/exception.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/graphic.h"
#include "platform/ui/actions.h"
#include "platform/ui/application.h"
#include "platform/ui/backend.h"
#include "platform/ui/input.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint_context.h"
#include "platform/ui/screen.h"
#include "platform/ui/system.h"

namespace kw {

KW_IMPLEMENT_CLASS(TCustomForm, TWinControl)
KW_IMPLEMENT_CLASS(TForm, TCustomForm)

namespace {

constexpr TColor kCaptionColor = RGB(0, 84, 166);
constexpr TColor kCaptionTextColor = clWhite;

}  // namespace

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), icon_(std::make_unique<TIcon>()) {
    StoreVisible(false);
    SetParentFont(false);
    Screen().AddForm(*this);
    StoreBounds(0, 0, 320, 240);
    RecalcFrame();
}

TCustomForm::~TCustomForm() {
    if (Visible())
        WindowBackend().DestroyWindow(*this);
    if (Application().MainForm() == this)
        Application().SetMainForm(nullptr);
    Screen().RemoveForm(*this);
}

void TCustomForm::SetCaption(const String& caption) {
    TControl::SetCaption(caption);
    InvalidateFrame();
    if (Visible())
        WindowBackend().WindowChanged(*this);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    RecalcFrame();
}

int TCustomForm::CaptionHeight() const {
    switch (borderStyle_) {
        case TFormBorderStyle::bsNone:
            return 0;
        case TFormBorderStyle::bsToolWindow:
        case TFormBorderStyle::bsSizeToolWin:
            return GetSystemMetrics(SM_CYSMCAPTION);
        default:
            return GetSystemMetrics(SM_CYCAPTION);
    }
}

int TCustomForm::BorderThickness() const {
    switch (borderStyle_) {
        case TFormBorderStyle::bsNone:
            return 0;
        case TFormBorderStyle::bsSizeable:
        case TFormBorderStyle::bsSizeToolWin:
            return GetSystemMetrics(SM_CXFRAME);
        default:
            return GetSystemMetrics(SM_CXDLGFRAME);
    }
}

void TCustomForm::SetBounds(int left, int top, int width, int height) {
    TWinControl::SetBounds(left, top, width, height);
    if (surface_ && (surface_->Width() != Width() || surface_->Height() != Height())) {
        surface_->SetSize(Width(), Height());
        InvalidateAll();
    }
    if (Visible())
        WindowBackend().WindowChanged(*this);
}

void TCustomForm::SetWindowState(TWindowState state) {
    if (state == windowState_)
        return;
    if (windowState_ == TWindowState::wsNormal)
        restoreBounds_ = BoundsRect();
    windowState_ = state;
    if (state == TWindowState::wsMaximized) {
        SetBoundsRect(Screen().WorkAreaRect());
    } else if (state == TWindowState::wsNormal) {
        SetBoundsRect(restoreBounds_);
    }
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == activeControl_)
        return;
    if (control != nullptr && (!ContainsControl(control) || control == this))
        throw EInvalidOperation(u"The active control must lie on the form");
    activeControl_ = control;
    if (Active() && control != nullptr && control->CanFocus())
        MoveFocus(control);
}

bool TCustomForm::Active() const {
    return Screen().ActiveForm() == this;
}

void TCustomForm::PlaceOnScreen() {
    TRect area;
    switch (position_) {
        case TPosition::poScreenCenter:
        case TPosition::poDesktopCenter:
            area = Screen().WorkAreaRect();
            break;
        case TPosition::poMainFormCenter:
        case TPosition::poOwnerFormCenter:
            if (TCustomForm* main = Application().MainForm(); main != nullptr && main != this) {
                area = main->BoundsRect();
                break;
            }
            area = Screen().WorkAreaRect();
            break;
        default:
            return;
    }
    SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2,
              Width(), Height());
}

void TCustomForm::Show() {
    if (Visible()) {
        Screen().BringFormToFront(*this);
        return;
    }
    if (!surface_)
        surface_ = std::make_unique<TBitmap>(Width(), Height(), TPixelFormat::pf32bit);
    PlaceOnScreen();
    SetVisible(true);
    InvalidateAll();
    WindowBackend().ShowWindow(*this, true);
    if (OnShow)
        OnShow(this);
    Screen().BringFormToFront(*this);
    if (Activates())
        Screen().ActivateForm(this);
}

void TCustomForm::Hide() {
    if (!Visible())
        return;
    if (ContainsControl(CaptureControl()))
        SetCaptureControl(nullptr);
    SetVisible(false);
    WindowBackend().ShowWindow(*this, false);
    if (OnHide)
        OnHide(this);
    if (Active())
        Screen().ActivateForm(Screen().TopmostForm());
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || modal_)
        throw EInvalidOperation(u"Cannot make a visible window modal");
    std::vector<TCustomForm*> disabled;
    for (TCustomForm* f : Screen().FormList()) {
        if (f != this && f->Visible() && f->Enabled()) {
            f->SetEnabled(false);
            disabled.push_back(f);
        }
    }
    SetCaptureControl(nullptr);
    TCustomForm* previous = Screen().ActiveForm();
    modal_ = true;
    modalResult_ = mrNone;
    auto restore = [&] {
        modal_ = false;
        for (TCustomForm* f : disabled)
            f->SetEnabled(true);
        Hide();
        if (previous != nullptr && previous->Visible())
            Screen().ActivateForm(previous);
    };
    try {
        Show();
        while (true) {
            if (Application().Terminated() && modalResult_ == mrNone)
                modalResult_ = mrCancel;
            if (modalResult_ != mrNone)
                CloseModal();
            if (modalResult_ != mrNone)
                break;
            if (!Application().HandleMessage()) {
                WindowBackend().ModalIdle(*this);
            }
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return modalResult_;
}

void TCustomForm::CloseModal() {
    TCloseAction action = TCloseAction::caHide;
    if (!CloseQuery()) {
        modalResult_ = mrNone;
        return;
    }
    if (OnClose)
        OnClose(this, action);
    if (action == TCloseAction::caNone)
        modalResult_ = mrNone;
    else if (action == TCloseAction::caFree)
        Release();  // delivered once the modal loop has ended
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

namespace {

void AddAction(const TControl& control, std::vector<TBasicAction*>& actions) {
    TBasicAction* action = control.Action();
    if (action != nullptr && std::find(actions.begin(), actions.end(), action) == actions.end())
        actions.push_back(action);
}

void CollectVisibleActions(const TWinControl& window, std::vector<TBasicAction*>& actions) {
    for (const TControl* control : window.ControlList()) {
        if (!control->Visible())
            continue;
        AddAction(*control, actions);
        if (const auto* inner = dynamic_cast<const TWinControl*>(control))
            CollectVisibleActions(*inner, actions);
    }
}

}  // namespace

void TCustomForm::CollectActions(std::vector<TBasicAction*>& actions) const {
    if (HasState(csDesigning))
        return;
    AddAction(*this, actions);
    CollectVisibleActions(*this, actions);
}

void TCustomForm::UpdateActions() {
    std::vector<TBasicAction*> actions;
    CollectActions(actions);
    UpdateEachAction(std::move(actions));
}

void TCustomForm::Close() {
    if (modal_) {
        // The modal loop asks CloseQuery and OnClose when it sees the result.
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = TCloseAction::caHide;
    if (OnClose)
        OnClose(this, action);
    switch (action) {
        case TCloseAction::caNone:
            return;
        case TCloseAction::caMinimize:
            SetWindowState(TWindowState::wsMinimized);
            return;
        default:
            Hide();
            if (Application().MainForm() == this)
                Application().Terminate();
            if (action == TCloseAction::caFree)
                Release();
            return;
    }
}

void TCustomForm::Release() {
    PostMessage(this, CM_RELEASE);
}

bool TCustomForm::TreeNeedsPaint(const TWinControl& window) const {
    if (!window.Visible())
        return false;
    if (window.HasUpdate())
        return true;
    return std::any_of(window.TabList().begin(), window.TabList().end(),
                       [&](const TWinControl* w) { return TreeNeedsPaint(*w); });
}

bool TCustomForm::NeedsPaint() const {
    return surface_ && TreeNeedsPaint(*this);
}

void TCustomForm::PaintNow() {
    if (!surface_ || !Visible())
        return;
    TCanvas device(*surface_);
    const TRegion changed =
        PaintTree(device, {0, 0}, TRegion(TRect(0, 0, surface_->Width(), surface_->Height())));
    if (!changed.IsEmpty())
        WindowBackend().Present(*this, changed);
}

void TCustomForm::SaveToPng(const String& fileName) {
    if (!surface_)
        surface_ = std::make_unique<TBitmap>(Width(), Height(), TPixelFormat::pf32bit);
    const bool shown = Visible();
    StoreVisible(true);  // paint a hidden form too, without showing its window
    InvalidateAll();
    TCanvas device(*surface_);
    PaintTree(device, {0, 0}, TRegion(TRect(0, 0, Width(), Height())));
    StoreVisible(shown);
    TPngImage png;
    png.Assign(surface_.get());
    png.SaveToFile(fileName);
}

int TCustomForm::HitTest(TPoint screen) {
    const TPoint p{screen.X - Left(), screen.Y - Top()};
    if (!TRect(0, 0, Width(), Height()).Contains(p.X, p.Y))
        return HTNOWHERE;
    const TRect client = ClientAreaInWindow();
    if (client.Contains(p.X, p.Y))
        return HTCLIENT;
    const int border = BorderThickness();
    const bool sizeable = borderStyle_ == TFormBorderStyle::bsSizeable ||
                          borderStyle_ == TFormBorderStyle::bsSizeToolWin;
    if (sizeable && windowState_ == TWindowState::wsNormal) {
        const bool left = p.X < border, right = p.X >= Width() - border;
        const bool top = p.Y < border, bottom = p.Y >= Height() - border;
        if (top)
            return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (bottom)
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (left)
            return HTLEFT;
        if (right)
            return HTRIGHT;
    }
    if (p.Y >= border && p.Y < border + CaptionHeight() && p.X >= border &&
        p.X < Width() - border) {
        const int box = CaptionHeight();
        return p.X >= Width() - border - box ? HTCLOSE : HTCAPTION;
    }
    return HTBORDER;
}

void TCustomForm::PaintFrame(const TPaintContext& context) {
    const TRect window(0, 0, Width(), Height());
    context.FillRect(window, clBtnFace);
    const int border = BorderThickness();
    const int caption = CaptionHeight();
    if (caption == 0)
        return;
    const TRect bar(border, border, Width() - border, border + caption);
    context.FillRect(bar, kCaptionColor);
    // The close box: a light square at the right end of the caption bar.
    const TRect box(bar.Right - caption + 3, bar.Top + 3, bar.Right - 3, bar.Bottom - 3);
    context.FillRect(box, kCaptionTextColor);
}

void TCustomForm::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_NCCALCSIZE: {
            auto& r = *reinterpret_cast<TRect*>(message.LParam);
            const int border = BorderThickness();
            r = TRect(r.Left + border, r.Top + border + CaptionHeight(), r.Right - border,
                      r.Bottom - border);
            return;
        }
        case WM_NCHITTEST:
            message.Result = HitTest({LParamX(message.LParam), LParamY(message.LParam)});
            return;
        case WM_NCPAINT:
            PaintFrame(*reinterpret_cast<const TPaintContext*>(message.WParam));
            return;
        case WM_NCLBUTTONUP:
            if (message.WParam == HTCLOSE)
                Perform(WM_SYSCOMMAND, SC_CLOSE);
            return;
        case WM_NCLBUTTONDBLCLK:
            if (message.WParam == HTCAPTION)
                Perform(WM_SYSCOMMAND,
                        windowState_ == TWindowState::wsMaximized ? SC_RESTORE : SC_MAXIMIZE);
            return;
        case WM_CLOSE:
            Close();
            return;
        case CM_RELEASE:
            if (Owner() != nullptr) {
                FreeAfterMessage(*this);
            } else {
                Hide();
            }
            return;
        case WM_SYSCOMMAND:
            switch (message.WParam & 0xFFF0) {
                case SC_CLOSE:
                    Close();
                    return;
                case SC_MINIMIZE:
                    SetWindowState(TWindowState::wsMinimized);
                    return;
                case SC_MAXIMIZE:
                    SetWindowState(TWindowState::wsMaximized);
                    return;
                case SC_RESTORE:
                    SetWindowState(TWindowState::wsNormal);
                    return;
                case SC_MOVE: {
                    const int x = LParamX(message.LParam), y = LParamY(message.LParam);
                    SetBounds(x, y, Width(), Height());
                    return;
                }
                default:
                    return;
            }
        case CM_DIALOGKEY: {
            const auto key = static_cast<Word>(message.WParam);
            if (key == VK_TAB && !(KeyboardShiftState() & (ssAlt | ssCtrl))) {
                SelectNext(FocusedControl(), !(KeyboardShiftState() & ssShift), true);
                message.Result = 1;
                return;
            }
            if (key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN) {
                if (TWinControl* focused = FocusedControl()) {
                    if (focused->Parent() != nullptr)
                        focused->Parent()->SelectNext(focused, key == VK_RIGHT || key == VK_DOWN,
                                                      false);
                    message.Result = 1;
                    return;
                }
            }
            break;
        }
        case CM_ACTIVATE:
            if (OnActivate)
                OnActivate(this);
            return;
        case CM_DEACTIVATE:
            if (OnDeactivate)
                OnDeactivate(this);
            return;
        default:
            break;
    }
    TWinControl::WndProc(message);
}

void TCustomForm::GetChildren(const std::function<void(TComponent&)>& proc, TComponent* root) {
    TWinControl::GetChildren(proc, root);
    if (root != this)
        return;
    for (TComponent* c : ComponentList()) {
        if (!c->HasParent())
            proc(*c);
    }
}

}  // namespace kw
