#pragma once

#include "platform/ui/control.h"

namespace kw {

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum class TCaptionAlignment { taLeftJustify, taRightJustify, taCenter };

// A windowed container that paints its colour, an outer and an inner bevel and its caption.
// Children are aligned inside the border and the bevels.
class TCustomPanel : public TCustomControl {
    KW_CLASS(TCustomPanel)
public:
    explicit TCustomPanel(TComponent* owner = nullptr);

    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut cut);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut cut);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    TCaptionAlignment Alignment() const { return alignment_; }
    void SetAlignment(TCaptionAlignment alignment);
    // Marks a panel that an embedded server's tool bars must not replace when it activates in
    // place; the panel itself looks and behaves the same either way.
    bool Locked() const { return locked_; }
    void SetLocked(bool on) { locked_ = on; }

    // The client area less the border and the bevels: where aligned children go.
    TRect InnerRect() const;

protected:
    void Paint(const TPaintContext& context) override;
    void AlignControls(TRect& area) override;

private:
    void Changed();
    int FrameWidth() const;

    TBevelCut bevelOuter_ = TBevelCut::bvRaised;
    TBevelCut bevelInner_ = TBevelCut::bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TCaptionAlignment alignment_ = TCaptionAlignment::taCenter;
    bool locked_ = false;
};

class TPanel : public TCustomPanel {
    KW_CLASS(TPanel)
public:
    using TCustomPanel::TCustomPanel;
};

}  // namespace kw
