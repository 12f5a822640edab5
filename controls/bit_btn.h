#pragma once

#include <memory>

#include "controls/button_common.h"
#include "controls/button_face.h"
#include "controls/button_kind.h"
#include "controls/button_parts.h"
#include "controls/button_texts.h"
#include "controls/kw_button.h"
#include "controls/speed_button.h"
#include "drawing/styles/text_styles.h"

namespace kw {

class TKwBGsBitBtn;
class TKwButtonTexts;
class TKwImagesBitBtn;
class TKwLinkEvt;
class TKwMemoryImage;
class TKwMemoryLabel;
class TKwPrivilege;
class TKwSetBackGround;
class TKwSetColor;

// The library's focusable push button, drawn through the drawing engine. A standard kind takes
// its caption and image from the "System" packages and gives the form its modal result.
class TKwCustomBitBtn : public TKwButtonCommon<TKwButton> {
    KW_CLASS(TKwCustomBitBtn)
public:
    explicit TKwCustomBitBtn(TComponent* owner = nullptr);
    ~TKwCustomBitBtn() override;

    TKwButtonKind Kind() const { return kind_; }
    void SetKind(TKwButtonKind kind);
    bool CheckValuesPending() const { return checkValuesPending_; }
    void SetCheckValuesPending(bool value) { checkValuesPending_ = value; }
    bool CheckRequireds() const { return checkRequireds_; }
    void SetCheckRequireds(bool value) { checkRequireds_ = value; }

    // Hatches the button while its form is being designed, never at run time.
    bool Grid() const { return grid_; }
    void SetGrid(bool grid);
    TKwFocusStyle FocusStyle() const { return focusStyle_; }
    void SetFocusStyle(TKwFocusStyle style);
    TKwFocusStyle DefaultStyle() const { return defaultStyle_; }
    void SetDefaultStyle(TKwFocusStyle style);
    TKwSetColor& SetColFocus() const { return *setColFocus_; }
    TKwSetColor& SetColDefault() const { return *setColDefault_; }
    TKwSetColor& SetColBox() const { return *setColBox_; }
    TKwButtonText& Text() const { return *text_; }
    TKwBitBtnShape& Shape() const { return *shape_; }
    TKwButtonImage& Image() const { return *image_; }
    // The shape's background and border style, under the button's own names (not stored).
    TKwSetBackGround& SetBackGround() const { return shape_->SetBackGround(); }
    TKwBorderStyle BorderStyle() const { return shape_->BorderStyle(); }
    void SetBorderStyle(TKwBorderStyle style) { shape_->SetBorderStyle(style); }
    TKwBGsBitBtn& BGsButton() const { return *bgsButton_; }
    TKwImagesBitBtn& ImagesButton() const { return *imagesButton_; }
    // The image of a standard kind ("System" image Kind + 8).
    TKwMemoryImage& KindImage() const { return *kindImage_; }

    int TabOrderSetting() const { return TabOrder(); }

    // Checks pending and required values, then clicks; a help button only shows help.
    void Click() override;
    bool MouseOver() const { return (ControlState() & csMouseOver) != 0; }
    // The look the face shows now.
    TKwButtonState State() const;

    std::function<void(TObject* sender, const TPaintContext& context)> OnPaint;
    void Loaded() override;

protected:
    void WndProc(TMessage& message) override;
    std::unique_ptr<TActionLink> CreateActionLink() override;
    void Paint(const TPaintContext& context) override;
    virtual void NotifyInit();
    virtual void NotifyUpdate();

private:
    TKwButtonFace Face();

    std::unique_ptr<TKwSetColor> setColFocus_;
    std::unique_ptr<TKwSetColor> setColDefault_;
    std::unique_ptr<TKwSetColor> setColBox_;
    std::unique_ptr<TKwButtonText> text_;
    std::unique_ptr<TKwBitBtnShape> shape_;
    std::unique_ptr<TKwButtonImage> image_;
    std::unique_ptr<TKwBGsBitBtn> bgsButton_;
    std::unique_ptr<TKwImagesBitBtn> imagesButton_;
    std::unique_ptr<TKwMemoryImage> kindImage_;
    TKwButtonKind kind_ = bkiNone;
    bool checkValuesPending_ = true;
    bool checkRequireds_ = false;
    bool grid_ = true;
    TKwFocusStyle focusStyle_ = fcsNone;
    TKwFocusStyle defaultStyle_ = fcsNone;
};

class TKwBitBtn : public TKwCustomBitBtn {
    KW_CLASS(TKwBitBtn)
public:
    explicit TKwBitBtn(TComponent* owner = nullptr);
};

}  // namespace kw
