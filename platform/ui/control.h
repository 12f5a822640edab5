#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/core/component.h"
#include "platform/graphics/font.h"
#include "platform/graphics/graphics_types.h"
#include "platform/graphics/region.h"
#include "platform/ui/drag_dock.h"
#include "platform/ui/messages.h"
#include "platform/ui/size_constraints.h"

namespace kw {

class TWinControl;
class TCustomForm;
class TCanvas;
class TPopupMenu;
class TAction;
class TActionLink;
struct TPaintContext;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchorKind : Byte { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = Byte;

// What a control is able to do.
enum TControlStyleFlag : Cardinal {
    csAcceptsControls = 1 << 0,
    csCaptureMouse = 1 << 1,
    csClickEvents = 1 << 2,
    csOpaque = 1 << 3,
    csDoubleClicks = 1 << 4,
    csReplicatable = 1 << 5,
    csSetCaption = 1 << 6,
};
using TControlStyle = Cardinal;

// What a control is doing right now.
enum TControlStateFlag : Cardinal {
    csLButtonDown = 1 << 0,
    csClicked = 1 << 1,
    csFocusing = 1 << 2,
    csAligning = 1 << 3,
    csPainting = 1 << 4,
    csMouseOver = 1 << 5,
};
using TControlState = Cardinal;

// What WM_WINDOWPOSCHANGING and WM_WINDOWPOSCHANGED carry (a pointer in LParam); a handler of
// the first may change the new bounds.
struct TWindowPos {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crHandPoint = -21;

using TNotifyEvent = std::function<void(TObject* sender)>;
using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TMouseWheelEvent = std::function<void(TObject* sender, TShiftState shift, int delta,
                                            TPoint mousePos, bool& handled)>;
using TKeyEvent = std::function<void(TObject* sender, Word& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, Char& key)>;

// A visual element placed inside a parent window. Messages reach it synchronously through its
// window procedure; Perform is the way library code talks to controls. Bounds are in the
// parent's client coordinates.
class TControl : public TComponent {
    KW_CLASS(TControl)
public:
    explicit TControl(TComponent* owner = nullptr);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    // --- geometry ---
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    TRect BoundsRect() const { return TRect::Bounds(left_, top_, width_, height_); }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    virtual TRect ClientRect() const { return TRect(0, 0, width_, height_); }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    // Screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors anchors) { anchors_ = anchors; }
    // Size limits that every new size passes through; a change applies them at once.
    TSizeConstraints& Constraints() const { return *constraints_; }

    // --- state ---
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Visible itself and every parent up to a shown top-level window.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle style) { controlStyle_ = style; }
    TControlState ControlState() const { return controlState_; }
    void SetControlState(TControlState state) { controlState_ = state; }

    // --- appearance ---
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool on);
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool on);
    const String& Caption() const { return caption_; }
    void SetCaption(const String& caption);
    const String& Text() const { return caption_; }
    void SetText(const String& text) { SetCaption(text); }
    const String& Hint() const { return hint_; }
    void SetHint(const String& hint) { hint_ = hint; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool on);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    // The menu a right click or the context-menu key shows over the control; a control without
    // one leaves the request to its parent.
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);
    // The action a click runs (when OnClick is not set) and whose caption, hint and state the
    // control shows; none unlinks it.
    TAction* Action() const;
    void SetAction(TAction* action);
    TActionLink* ActionLink() const { return actionLink_.get(); }

    // --- dragging and docking: settings and handlers kept for the host; the layer itself
    // starts no drag ---
    TCursor DragCursor() const { return dragCursor_; }
    void SetDragCursor(TCursor cursor) { dragCursor_ = cursor; }
    TDragKind DragKind() const { return dragKind_; }
    void SetDragKind(TDragKind kind) { dragKind_ = kind; }
    TDragMode DragMode() const { return dragMode_; }
    void SetDragMode(TDragMode mode) { dragMode_ = mode; }

    // --- painting ---
    // Marks the control for repainting; `erase` asks for the background to be erased first.
    virtual void Invalidate();
    // Paints what is invalid in the control's window now.
    void Update();
    void Repaint();
    void Refresh() { Repaint(); }

    // --- mouse ---
    bool MouseCapture() const;
    void SetMouseCapture(bool capture);

    // Sends a message to this control's window procedure and returns its result.
    std::intptr_t Perform(Cardinal msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
    // The procedure messages go through; replaceable to subclass a single control.
    std::function<void(TMessage&)> WindowProc;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseWheelEvent OnMouseWheel;
    TNotifyEvent OnResize;
    TDragDropEvent OnDragDrop;
    TDragOverEvent OnDragOver;
    TEndDragEvent OnEndDrag;
    TStartDragEvent OnStartDrag;
    TEndDragEvent OnEndDock;
    TStartDockEvent OnStartDock;

    bool HasParent() const override { return true; }
    void Notification(TComponent* component, TOperation operation) override;
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;

protected:
    // The default window procedure; derived controls extend it and call the inherited one.
    virtual void WndProc(TMessage& message);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual bool DoMouseWheel(TShiftState shift, int delta, TPoint mousePos);
    virtual void Resize();
    // The link this kind of control keeps to its action.
    virtual std::unique_ptr<TActionLink> CreateActionLink();
    void StoreVisible(bool visible) { visible_ = visible; }
    // Stores new bounds without telling anyone; SetBounds and alignment build on it.
    void StoreBounds(int left, int top, int width, int height);
    // Brings a size within Constraints.
    void Constrain(int& width, int& height) const;

private:
    friend class TWinControl;  // keeps both sides of the parent link in step
    void HandleMouseMessage(TMessage& message);
    // WM_CONTEXTMENU: shows the pop-up menu at the screen point in LParam (-1, -1 from the
    // keyboard: at the control's top-left corner) or passes the request to the parent.
    void ContextMenu(TMessage& message);
    void ParentChanged(Cardinal msg);
    // Tells the parent that this control's place or visibility changed (CM_CONTROLCHANGE).
    void NotifyParent();

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = TAlign::alNone;
    TAnchors anchors_ = akLeft | akTop;
    bool visible_ = true;
    bool enabled_ = true;
    TControlStyle controlStyle_ = csCaptureMouse | csClickEvents | csDoubleClicks | csSetCaption;
    TControlState controlState_ = 0;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    TFont font_;
    bool parentFont_ = true;
    bool adoptingFont_ = false;
    String caption_;
    String hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TCursor cursor_ = crDefault;
    std::unique_ptr<TSizeConstraints> constraints_;
    TCursor dragCursor_ = crDrag;
    TDragKind dragKind_ = TDragKind::dkDrag;
    TDragMode dragMode_ = TDragMode::dmManual;
    TPopupMenu* popupMenu_ = nullptr;
    std::unique_ptr<TActionLink> actionLink_;
};

// A control that can contain other controls. Children are kept in z-order (last on top); the
// windowed ones also in tab order. A windowed control may have a non-client frame, computed
// through WM_NCCALCSIZE, and a window region that limits where it shows and takes the mouse.
class TWinControl : public TControl {
    KW_CLASS(TWinControl)
public:
    explicit TWinControl(TComponent* owner = nullptr);
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;
    const std::vector<TControl*>& ControlList() const { return controls_; }
    bool ContainsControl(const TControl* control) const;
    void InsertControl(TControl& control);
    void RemoveControl(TControl& control);
    // Moves a child to the top or bottom of the z-order.
    void BringToFront(TControl& control);
    void SendToBack(TControl& control);
    // The topmost visible child under a client point, or none.
    TControl* ControlAtPos(TPoint clientPoint, bool allowDisabled = false,
                           bool allowWinControls = false) const;

    void GetChildren(const std::function<void(TComponent&)>& proc, TComponent* root) override;

    // --- geometry ---
    void SetBounds(int left, int top, int width, int height) override;
    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    // The client area inside the window rectangle (0, 0, Width, Height).
    TRect ClientAreaInWindow() const;
    // Recomputes the frame (WM_NCCALCSIZE) after something that changes it.
    void RecalcFrame();
    // Lays the children out by their Align and Anchors.
    void Realign();

    // --- window region: where the window shows and takes the mouse, in window coordinates ---
    void SetWindowRgn(std::optional<TRegion> region);
    const std::optional<TRegion>& WindowRgn() const { return windowRgn_; }

    // --- painting ---
    void Invalidate() override;
    // Client coordinates.
    void InvalidateRect(const TRect& rect, bool erase = true);
    void InvalidateRegion(const TRegion& region, bool erase = true);
    void ValidateRect(const TRect& rect);
    // Asks for the non-client frame to be painted again.
    void InvalidateFrame();
    // This window and all windows inside it, frames included.
    void InvalidateAll();
    const TRegion& UpdateRegion() const { return updateRgn_; }
    bool HasUpdate() const { return !updateRgn_.IsEmpty() || frameInvalid_; }
    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool on) { doubleBuffered_ = on; }

    // --- keyboard focus ---
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool on) { tabStop_ = on; }
    int TabOrder() const;
    void SetTabOrder(int order);
    // Windowed children in tab order.
    const std::vector<TWinControl*>& TabList() const { return tabList_; }
    // Every focusable descendant in tab order, depth first.
    std::vector<TWinControl*> TabOrderList() const;
    bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    // The next control after `current` in tab order inside this one, wrapping around.
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

    // Sends a message to every child; stops at the first that answers non-zero when asked.
    std::intptr_t Broadcast(Cardinal msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0,
                            bool stopAtAnswer = false);

    // --- docking: whether other controls may dock here, and the handlers for it ---
    bool DockSite() const { return dockSite_; }
    void SetDockSite(bool on) { dockSite_ = on; }
    bool UseDockManager() const { return useDockManager_; }
    void SetUseDockManager(bool on) { useDockManager_ = on; }
    TDockDropEvent OnDockDrop;
    TDockOverEvent OnDockOver;
    TGetSiteInfoEvent OnGetSiteInfo;
    TUnDockEvent OnUnDock;

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // Paints what is invalid in this window and the windows inside it onto `device`, whose
    // (0, 0) is `windowOrigin` for this window, limited to `visible` (device coordinates).
    // Returns the device area that changed. Top-level windows call it on their surface.
    TRegion PaintTree(TCanvas& device, TPoint windowOrigin, const TRegion& visible);

protected:
    void WndProc(TMessage& message) override;
    // Paints the control itself (client area); the default paints nothing.
    virtual void PaintWindow(const TPaintContext& context) {}
    // Paints what the parent shows behind this window (its background and graphic children)
    // over the part of the client area that `context` paints; for windows whose painting
    // leaves parts of their area alone (shaped faces).
    void PaintParentBackground(const TPaintContext& context);
    // Paints the graphic children in z-order.
    void PaintControls(const TPaintContext& context);
    virtual void KeyDown(Word& key, TShiftState shift);
    virtual void KeyUp(Word& key, TShiftState shift);
    virtual void KeyPress(Char& key);
    virtual void DoEnter();
    virtual void DoExit();
    // Children being aligned see the area that is left for them.
    virtual void AlignControls(TRect& area);

private:
    friend class TControl;
    void PaintClient(TCanvas& device, TPoint clientOrigin, const TRegion& clip, bool erase);
    void AnchorChildren(int oldClientWidth, int oldClientHeight);
    TRegion VisibleWindowArea(TPoint windowOrigin) const;

    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    TRect frame_;  // frame thickness on each side (Left, Top, Right, Bottom)
    std::optional<TRegion> windowRgn_;
    TRegion updateRgn_;
    bool eraseNeeded_ = false;
    bool frameInvalid_ = true;
    bool doubleBuffered_ = false;
    bool tabStop_ = false;
    bool dockSite_ = false;
    bool useDockManager_ = false;
};

// A control with no window of its own: painted by its parent, inside the parent's paint, and
// given the mouse messages that fall on it.
class TGraphicControl : public TControl {
    KW_CLASS(TGraphicControl)
public:
    explicit TGraphicControl(TComponent* owner = nullptr);

protected:
    void WndProc(TMessage& message) override;
    virtual void Paint(const TPaintContext& context) {}
};

// A windowed control that paints itself through Paint.
class TCustomControl : public TWinControl {
    KW_CLASS(TCustomControl)
public:
    explicit TCustomControl(TComponent* owner = nullptr);

protected:
    void PaintWindow(const TPaintContext& context) override { Paint(context); }
    virtual void Paint(const TPaintContext& context) {}
};

// The form a control lies on (the control itself when it is a form), or none.
TCustomForm* GetParentForm(const TControl* control);

// True when `caption` marks `key` as its accelerator with a single '&' ("&&" is a plain '&').
bool IsAccel(Char key, const String& caption);

}  // namespace kw
