#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/ui/paint_context.h"
#include "platform/ui/panel.h"
#include "util/kw_pos.h"

namespace kw {

class TKwLinkEvt;
class TKwMemoryLabel;
class TKwPrivilege;
class TKwSetBackGround;
class TKwSetColor;
class TKwSinglePanel;
class TKwShadowShape;

enum TKwBevelStyle : std::uint8_t { besNone, besSingle, bes3DTop, bes3DBottom };
// A light-weight element painted by its panel: no window of its own, painted back to front in
// the panel's list, inside its rectangle only.
class TKwPaintControl : public TComponent {
    KW_CLASS(TKwPaintControl)
public:
    explicit TKwPaintControl(TComponent* owner = nullptr);
    ~TKwPaintControl() override;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    TRect BoundsRect() const { return TRect::Bounds(left_, top_, width_, height_); }
    // Stores only; the caller invalidates what it needs.
    void SetBounds(int left, int top, int width, int height);
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Only one element of a panel is lit at a time.
    bool Light() const { return light_; }
    void SetLight(bool light);
    TKwSinglePanel* Parent() const { return parent_; }
    void SetParent(TKwSinglePanel* panel);

    void Invalidate(bool erase = true);
    void BringToFront();
    void SendToBack();
    virtual TRect ClientRect() const { return TRect(0, 0, width_, height_); }

    // Called by the panel with a context whose (0, 0) is the element's top-left.
    virtual void Paint(const TPaintContext& context);
    std::function<void(TKwPaintControl& sender, const TPaintContext& context)> OnPaint;

private:
    friend class TKwSinglePanel;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool light_ = false;
    TKwSinglePanel* parent_ = nullptr;
};

// The base of the library's container controls: a frame of two bevels, a border width and two
// kinds of margins; background and frame colours from sets; enabled, read-only and visible
// decided from its own flags, its parent's answer and the user's privilege; flicker-free
// painting through an off-screen buffer; light-weight painted elements and a drop shadow.
class TKwSinglePanel : public TCustomPanel {
    KW_CLASS(TKwSinglePanel)
public:
    explicit TKwSinglePanel(TComponent* owner = nullptr);
    TKwSinglePanel(TComponent* owner, bool nonClientBorder, bool editBackGround,
                   bool selBoxOnFocus);
    ~TKwSinglePanel() override;

    // --- frame ---
    TKwBevelStyle BevelInner() const { return bevelInner_; }
    void SetBevelInner(TKwBevelStyle value);
    TKwBevelStyle BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TKwBevelStyle value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    int MarginLeftRight() const { return marginLeftRight_; }
    void SetMarginLeftRight(int value);
    int MarginTopBottom() const { return marginTopBottom_; }
    void SetMarginTopBottom(int value);
    int MarginLeft() const { return margins_.Left; }
    void SetMarginLeft(int value);
    int MarginTop() const { return margins_.Top; }
    void SetMarginTop(int value);
    int MarginRight() const { return margins_.Right; }
    void SetMarginRight(int value);
    int MarginBottom() const { return margins_.Bottom; }
    void SetMarginBottom(int value);
    bool KeepClientSize() const { return keepClientSize_; }
    void SetKeepClientSize(bool on) { keepClientSize_ = on; }
    bool NonClientBorder() const { return nonClientBorder_; }

    int xBorderWidth() const;
    int xBorderHeight() const;
    // Shrinks `rect` by the frame and both kinds of margins.
    void xClientRect(TRect& rect) const;

    // --- sets and references ---
    TKwSetBackGround& SetBackGround() const { return *setBackGround_; }
    TKwSetColor& SetColBox() const { return *setColBox_; }
    TKwSetColor& SetColSelBox() const { return *setColSelBox_; }
    TKwPrivilege& Privilege() const { return *privilege_; }
    TKwMemoryLabel& CaptionId() const { return *captionId_; }
    TKwLinkEvt& Link() const { return *link_; }
    bool EditBackGround() const { return editBackGround_; }

    // --- state: the stored flags; the window layer's flags are derived from them ---
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    bool ReadOnly() const { return readOnly_; }
    virtual void SetReadOnly(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool AnswerReadOnly() const { return answerReadOnly_; }
    void SetAnswerReadOnly(bool on) { answerReadOnly_ = on; }
    virtual bool xEnabled() const;
    bool xReadOnly() const;
    bool xVisible() const;
    void ApplyEnabled();
    // The window layer's visibility; setting it sets the stored flag too, past the privilege.
    bool VisibleEx() const { return TControl::Visible(); }
    void SetVisibleEx(bool value);

    TKwAlignHor AlignHor() const { return alignHor_; }
    void SetAlignHor(TKwAlignHor value);
    TKwAlignVer AlignVer() const { return alignVer_; }
    void SetAlignVer(TKwAlignVer value);
    const TKwResizeInfo& ResizeInfo() const { return resizeInfo_; }

    // --- loading and updates ---
    void BeginLoading();
    void EndLoading();
    bool LoadingProps() const;
    virtual void UpdateControl();
    virtual void ChangeTips();
    void Invalidate() override;
    void UpdatePosSize();
    void NotifyParentInvalidate();
    bool Designing() const { return HasState(csDesigning); }
    void SetParent(TWinControl* parent) override;

    // --- painting ---
    bool PaintBuffer() const { return paintBuffer_; }
    void SetPaintBuffer(bool on) { paintBuffer_ = on; }
    bool InternalBuffer() const { return internalBuffer_; }
    void SetInternalBuffer(bool on);
    bool InvalidateErase() const { return invalidateErase_; }
    void SetInvalidateErase(bool on) { invalidateErase_ = on; }
    bool ShowDesignName() const { return showDesignName_; }
    void SetShowDesignName(bool on);
    void BeginDirectPaint();
    void EndDirectPaint();
    // True when a paint of this context goes through the off-screen buffer.
    bool xPaintBuffer(const TPaintContext& context) const;
    virtual void PaintBackGround(const TPaintContext& context);
    void DrawBackGround(const TPaintContext& context);
    void ShowCaption(const TPaintContext& context);
    TNotifyEvent OnPaint;

    // --- paint controls ---
    void InsertPtControl(TKwPaintControl& control);
    void RemovePtControl(TKwPaintControl& control);
    int PtControlCount() const { return static_cast<int>(ptControls_.size()); }
    TKwPaintControl* PtControls(int index) const;
    void SetPtControls(int index, TKwPaintControl* control);

    // --- shadow ---
    bool Shadow() const { return shadow_; }
    void SetShadow(bool value);
    bool CanShowShadow() const;
    void ShowShadow();
    void HideShadow();
    // The shape that draws the shadow while it is shown, or none.
    TControl* ShadowControl() const;

    // --- region ---
    virtual void AssignRgn(int width, int height) {}
    void DoAssignRgn(int width, int height);

    // --- highlight ---
    bool SelBoxOnFocus() const { return selBoxOnFocus_; }
    bool Highlighted() const { return focused_ || hovered_; }

protected:
    void WndProc(TMessage& message) override;
    void Paint(const TPaintContext& context) override;
    void AlignControls(TRect& area) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void Loaded() override;

    virtual void NotifyUpdate();
    virtual void NotifyInit();
    virtual void NotifyEvt(int evt, void* data);
    virtual bool CanLight() const { return false; }
    virtual void SizeChanged() {}
    virtual bool HasAdjustHorz() const { return false; }
    virtual bool HasAdjustVert() const { return false; }
    virtual bool GetFullRepaint() const { return false; }
    virtual void WActiveChanged(TMessage& message) {}
    virtual void NCPaint(const TPaintContext& context);
    virtual void PrivilegeChanged() {}
    // A panel with a frame of its own exists as a window once it has a parent.
    bool WindowExists() const { return Parent() != nullptr; }
    // Runs after a handled move or resize, once the base is done.
    virtual void PositionChanged() {}

private:
    friend class TKwPaintControl;  // keeps both sides of the element list in step
    void Construct();
    void RunUpdateControl();
    void AnswerMaster(TMessage& message);
    void ChangeFrame(int& field, int value, bool horizontal);
    int FrameSize(bool horizontal) const;
    void DrawFrames(TCanvas& canvas, TRect r);
    void PaintMessage(const TPaintContext& context);
    void PaintLayers(const TPaintContext& context, bool background);
    void PaintPtControls(const TPaintContext& context);
    void HandleWindowPosChanged(TMessage& message);
    void SetHovered(bool on);
    void SetFocusedFlag(bool on);
    void LightAt(int x, int y);
    void UnlightAll();

    bool answerReadOnly_ = true;
    TKwAlignHor alignHor_ = alhLeft;
    TKwAlignVer alignVer_ = alvTop;
    TKwResizeInfo resizeInfo_;  // placement recorded for AlignHor / AlignVer
    TKwBevelStyle bevelInner_ = besNone;
    TKwBevelStyle bevelOuter_ = bes3DTop;
    int borderWidth_ = 0;
    TKwShadowShape* shadowShape_ = nullptr;
    bool shadow_ = false;
    std::unique_ptr<TKwSetBackGround> setBackGround_;
    std::unique_ptr<TKwPrivilege> privilege_;
    std::unique_ptr<TKwMemoryLabel> captionId_;
    bool visible_ = true;
    bool enabled_ = true;
    bool readOnly_ = false;
    bool transparent_ = false;
    int lastWidth_ = 0, lastHeight_ = 0;
    int regionWidth_ = 0, regionHeight_ = 0;
    std::vector<TKwPaintControl*> ptControls_;
    int directPaintCount_ = 0;
    int positionNesting_ = 0;
    bool paintBuffer_ = true;
    std::unique_ptr<TKwSetColor> setColBox_;
    std::unique_ptr<TKwSetColor> setColSelBox_;
    bool focused_ = false;
    bool hovered_ = false;
    TRect margins_;  // one-sided margins: Left, Top, Right, Bottom
    bool internalBuffer_ = true;
    bool editBackGround_ = false;
    int marginLeftRight_ = 0;
    int marginTopBottom_ = 0;
    std::unique_ptr<TKwLinkEvt> link_;
    bool keepClientSize_ = false;
    bool showDesignName_ = true;
    bool invalidateErase_ = true;
    bool noBuffer_ = false;
    bool nonClientBorder_ = false;
    bool selBoxOnFocus_ = false;
    bool erasePending_ = false;
    int enabledAnnouncements_ = 0;
    bool updating_ = false;
};

}  // namespace kw
