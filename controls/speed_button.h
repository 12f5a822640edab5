#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "controls/button_common.h"
#include "controls/button_parts.h"
#include "controls/button_texts.h"
#include "drawing/styles/text_styles.h"
#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "util/kw_pos.h"

namespace kw {

class TKwButtonTexts;
class TKwSetColor;
struct TKwButtonFace;
class TKwLinkEvt;
class TKwMemoryLabel;
class TKwPrivilege;
struct TPaintContext;

// What a speed button does when clicked: its click event, or a window command to its form.
enum TKwDefaultAction : std::uint8_t {
    btaClick,
    btaMinimize,
    btaMaximize,
    btaRestore,
    btaClose,
    btaHelp,
    btaMenu,
    btaMinimizeApp,
};
const std::vector<String>& KwDefaultActionNames();

// The identifiers of the placement enumerations, as the form stream stores them.
const std::vector<String>& KwAlignHorNames();
const std::vector<String>& KwAlignVerNames();

// A window-less button for tool bars and button groups. It can stay down as part of a group,
// repeat its click while held, carry a drop-down part, and send its form a window command
// instead of clicking.
class TKwCustomSpeedButton : public TKwButtonCommon<TGraphicControl> {
    KW_CLASS(TKwCustomSpeedButton)
public:
    explicit TKwCustomSpeedButton(TComponent* owner = nullptr);
    ~TKwCustomSpeedButton() override;

    // --- behaviour ---
    bool Down() const { return down_; }
    void SetDown(bool down) { SetDownEx(down, false); }
    // Sets Down; with `click` the button is shown pressed and its click runs. Releasing a
    // grouped button is refused unless AllowAllUp; an ungrouped button returns up afterwards.
    void SetDownEx(bool value, bool click);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value);
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    TKwDefaultAction DefaultAction() const { return defaultAction_; }
    void SetDefaultAction(TKwDefaultAction action) { defaultAction_ = action; }
    bool CheckValuesPending() const { return checkValuesPending_; }
    void SetCheckValuesPending(bool value) { checkValuesPending_ = value; }
    bool CheckRequireds() const { return checkRequireds_; }
    void SetCheckRequireds(bool value) { checkRequireds_ = value; }
    TKwButtonRepeats& Repeats() const { return *repeats_; }
    bool MouseRgn() const { return mouseRgn_; }
    void SetMouseRgn(bool value) { mouseRgn_ = value; }
    TKwSpeedButtonDown& ButtonDown() const { return *buttonDown_; }
    // The frame colour, and the one under the pointer.
    TKwSetColor& SetColBox() const { return *setColBox_; }
    TKwSetColor& SetColSelBox() const { return *setColSelBox_; }

    // --- look ---
    TKwButtonText& Text() const { return *text_; }
    TKwButtonShape& Shape() const { return *shape_; }
    TKwButtonImage& Image() const { return *image_; }
    TKwImagesButton& ImagesButton() const { return *imagesButton_; }
    TKwBGsButton& BGsButton() const { return *bgsButton_; }
    // The shape's background and border style, under the button's own names (not stored).
    TKwSetBackGround& SetBackGround() const;
    TKwBorderStyle BorderStyle() const;
    void SetBorderStyle(TKwBorderStyle style);

    // --- operations ---
    // Runs the button's action (DefaultAction).
    void Click() override;
    // Down to its opposite, and click.
    void Press() { SetDownEx(!down_, true); }
    // The drop-down part was clicked.
    virtual void DownClick();
    // Tells the other buttons of the group that this one changed.
    void UpdateExclusive();
    // The main part, and the drop-down part at the right (empty while it is hidden).
    TRect ButtonRect() const;
    TRect DownButtonRect() const;
    bool MouseInRgn(int x, int y) const;
    // Places another control beside the button.
    void PosControl(TControl& control, TKwExternalControlLayout layout) const;
    // Shows a pop-up menu beside the button. Menus measure as 0 x 0: the point is the corner of
    // the button that `layout` names.
    void PosPopupMenu(TPopupMenu& menu, TKwExternalControlLayout layout);

    // The displayed states: main part pressed, drop-down part pressed, pointer over.
    bool PressedLook() const { return pressed_; }
    bool DownPressedLook() const { return downPressed_; }
    bool MouseOver() const { return (ControlState() & csMouseOver) != 0; }
    bool Tracking() const { return trackMain_ || trackDrop_; }

    TNotifyEvent OnDownClick;
    std::function<void(TObject* sender, const TPaintContext& context)> OnPaint;

    void Loaded() override;

protected:
    void WndProc(TMessage& message) override;
    std::unique_ptr<TActionLink> CreateActionLink() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint(const TPaintContext& context) override;
    // Fires OnPaint.
    void DoPaint(const TPaintContext& context);
    virtual void NotifyInit();
    virtual void NotifyUpdate();
    virtual void NotifyEvt(int evt, void* data);
    void DisabledByPrivilege() override;

private:
    bool Repeating() const { return repeats_->Active() && groupIndex_ < 1; }
    // Runs `action`; false when the button did not survive it.
    template <class F>
    bool Guarded(F&& action);
    bool ClickGuarded();
    void SetPressedLook(bool pressed);
    void SetDownPressedLook(bool pressed);
    void RepeatTimer();
    void ButtonPressed(int group, TKwCustomSpeedButton* sender);
    bool RunWindowCommand();
    bool DialogChar(Char key);
    // What the main part and the drop-down part paint now.
    TKwButtonFace MainFace() const;
    TKwButtonFace DropFace() const;
    // Shared part of both faces: look flags, frame colour, text.
    TKwButtonFace BaseFace() const;
    // Whether a point lies on the main part: in its rectangle and, with MouseRgn, its region.
    bool InMainPart(int x, int y) const;

    std::shared_ptr<bool> alive_;
    std::unique_ptr<TKwSpeedButtonDown> buttonDown_;
    std::unique_ptr<TKwButtonRepeats> repeats_;
    std::unique_ptr<TKwButtonText> text_;
    std::unique_ptr<TKwButtonShape> shape_;
    std::unique_ptr<TKwButtonImage> image_;
    std::unique_ptr<TKwImagesButton> imagesButton_;
    std::unique_ptr<TKwBGsButton> bgsButton_;
    std::unique_ptr<TKwSetColor> setColBox_;
    std::unique_ptr<TKwSetColor> setColSelBox_;
    bool down_ = false;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    TModalResult modalResult_ = mrNone;
    TKwDefaultAction defaultAction_ = btaClick;
    bool checkValuesPending_ = true;
    bool checkRequireds_ = false;
    bool mouseRgn_ = false;
    // Run-time state.
    bool pressed_ = false;
    bool downPressed_ = false;
    bool trackMain_ = false;
    bool trackDrop_ = false;
    bool repeatArmed_ = false;
};

class TKwSpeedButton : public TKwCustomSpeedButton {
    KW_CLASS(TKwSpeedButton)
public:
    explicit TKwSpeedButton(TComponent* owner = nullptr);
};

}  // namespace kw
