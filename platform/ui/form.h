#pragma once

#include <memory>
#include <vector>

#include "platform/ui/control.h"

namespace kw {

class TBasicAction;
class TBitmap;
class TIcon;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition {
    poDesigned,
    poDefault,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrClose = 8;

using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;

// A top-level window. Every form is listed in the screen's form list while it exists. Its bounds
// are in screen coordinates and include the frame (border and caption bar); a shown form owns a
// 32-bit surface of its window size that painting draws on and the back-end presents.
class TCustomForm : public TWinControl {
    KW_CLASS(TCustomForm)
public:
    explicit TCustomForm(TComponent* owner = nullptr);
    ~TCustomForm() override;

    const String& Caption() const { return TControl::Caption(); }
    void SetCaption(const String& caption);
    bool Scaled() const { return scaled_; }
    void SetScaled(bool scaled) { scaled_ = scaled; }
    TIcon& Icon() const { return *icon_; }
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool on) { keyPreview_ = on; }

    // The control that has, or gets when the form is activated, the keyboard focus.
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    bool Active() const;

    // Shows the form on top of the others and activates it, when it activates at all.
    void Show();
    void Hide();
    // False for windows that show without ever becoming the active form (hint windows, say).
    virtual bool Activates() const { return true; }
    // Shows the form, disables the other forms and runs a message loop until ModalResult is
    // set; returns it. Raises EInvalidOperation for a form that is already shown.
    TModalResult ShowModal();
    bool Modal() const { return modal_; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    // Asks CloseQuery, then OnClose, then hides the form (ends the application for the main
    // form, ends the loop for a modal one). caFree then releases it.
    void Close();
    // Frees the form once the messages now being handled are done, through a posted
    // CM_RELEASE. A form without an owner belongs to whoever made it and is only hidden.
    void Release();
    // Whether the form may close; asks OnCloseQuery.
    virtual bool CloseQuery();

    // Adds the actions linked to the form and to its visible controls (those inside hidden
    // windows left out) to `actions`, each once.
    void CollectActions(std::vector<TBasicAction*>& actions) const;
    // Lets those actions update their state (OnUpdate), as the message loop does when idle.
    void UpdateActions();

    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

    // Caption bar and border thickness of the current border style.
    int CaptionHeight() const;
    int BorderThickness() const;

    // The surface the form is painted on (none while it was never shown).
    TBitmap* Surface() const { return surface_.get(); }
    // Paints everything invalid now and hands the changed area to the back-end.
    void PaintNow();
    bool NeedsPaint() const;
    // Paints the whole form, frame included, and saves it as a PNG file.
    void SaveToPng(const String& fileName);

    // A form streams the controls it holds and the other components it owns.
    void GetChildren(const std::function<void(TComponent&)>& proc, TComponent* root) override;
    bool HasParent() const override { return Parent() != nullptr; }
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void WndProc(TMessage& message) override;
    virtual void PaintFrame(const TPaintContext& context);
    bool TreeNeedsPaint(const TWinControl& window) const;

private:
    void CloseModal();
    void PlaceOnScreen();
    int HitTest(TPoint screen);

    bool scaled_ = true;
    std::unique_ptr<TIcon> icon_;
    std::unique_ptr<TBitmap> surface_;
    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TPosition position_ = TPosition::poDesigned;
    TWindowState windowState_ = TWindowState::wsNormal;
    TRect restoreBounds_;
    bool keyPreview_ = false;
    bool modal_ = false;
    TModalResult modalResult_ = mrNone;
    TWinControl* activeControl_ = nullptr;
};

class TForm : public TCustomForm {
    KW_CLASS(TForm)
public:
    using TCustomForm::TCustomForm;
};

}  // namespace kw
