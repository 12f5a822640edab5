#pragma once

#include <memory>

#include "drawing/styles/label_styles.h"
#include "platform/ui/label.h"

namespace kw {

class TKwMemoryLabel;
class TKwSetBackGround;

// The library's label without a link of its own: a value text, taken from a strings package
// when ValueId names a label there, painted through the drawing engine with a label text
// style, an optional shape behind it and an image beside it, fitted to its contents while
// AutoSize is on. Its owner drives UpdateControl when packages change. It is transparent
// while SetBackGround names no set. Clicks and its accelerator activate FocusControl.
class TKwBasicLabel : public TCustomLabel {
    KW_CLASS(TKwBasicLabel)
public:
    explicit TKwBasicLabel(TComponent* owner = nullptr);
    ~TKwBasicLabel() override;

    // The value shown: the one set, or the text of ValueId while that is defined.
    const String& Value() const { return value_; }
    void SetValue(const String& value);
    TKwMemoryLabel& ValueId() const { return *valueId_; }

    TKwLabelText& Text() const { return *text_; }
    TKwFullShape& Shape() const { return *shape_; }
    TKwLabelImage& Image() const { return *image_; }
    TKwSetBackGround& SetBackGround() const { return *setBackGround_; }
    TKwAlignment Alignment() const { return alignment_; }
    void SetAlignment(TKwAlignment value);
    int MarginLeftRight() const { return marginLeftRight_; }
    void SetMarginLeftRight(int value);
    int MarginTopBottom() const { return marginTopBottom_; }
    void SetMarginTopBottom(int value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    // A drop shadow of the shape, down and right of it, inside the label's bounds.
    bool Shadow() const { return shadow_; }
    void SetShadow(bool value);

    bool xEnabled() const { return Enabled(); }
    bool xReadOnly() const { return readOnly_ || !Enabled(); }

    // Takes the look an attached label's settings describe, as one change.
    void ApplySettings(const TKwCustomILabel& settings);
    // Fetches the value again (ValueId may have changed language), refits and repaints.
    void UpdateControl();
    // The size the contents need, frame and margins included; the width stays when wrapping.
    TSize CalcAutoSize() const;

protected:
    void Paint(const TPaintContext& context) override;
    void AdjustBounds() override;
    bool DialogChar(Char key) override;
    void Click() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    struct TParts;
    void StyleChanged();
    void DisplayData();
    // Frame and margins around the contents on each side.
    int FrameX() const;
    int FrameY() const;
    TParts Measure(int wrapWidth) const;
    void PaintText(TCanvas& canvas, const TRect& rect) const;

    String rawValue_;  // as set; a defined ValueId shows its text instead
    String value_;     // what the label shows
    std::unique_ptr<TKwMemoryLabel> valueId_;
    std::unique_ptr<TKwLabelText> text_;
    std::unique_ptr<TKwFullShape> shape_;
    std::unique_ptr<TKwLabelImage> image_;
    std::unique_ptr<TKwSetBackGround> setBackGround_;
    TKwAlignment alignment_ = aliLeft;
    int marginLeftRight_ = 0;
    int marginTopBottom_ = 0;
    bool readOnly_ = false;
    bool shadow_ = false;
    bool applying_ = false;
};

// The attached caption label of panels and labels.
class TKwSingleLabel : public TKwBasicLabel {
    KW_CLASS(TKwSingleLabel)
public:
    using TKwBasicLabel::TKwBasicLabel;
};

}  // namespace kw
