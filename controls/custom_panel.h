#pragma once

#include <functional>
#include <memory>

#include "controls/panel_skin.h"
#include "platform/core/persistent.h"
#include "util/kw_pos.h"

namespace kw {

class TKwSetBackGround;
class TKwSingleLabel;

enum TKwCustomPanelILabel : std::uint8_t { pilNone, pilRight, pilTop };

// Settings of the caption label a panel keeps beside itself: whether it shows, on which side
// and how far from the panel.
class TKwILabel : public TPersistent {
    KW_CLASS(TKwILabel)
public:
    TKwILabel(bool visible, TKwExternalControlLayout layout);
    ~TKwILabel() override;

    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    int ExtSpacing() const { return extSpacing_; }
    void SetExtSpacing(int value);
    TKwExternalControlLayout ExtLayout() const { return extLayout_; }
    void SetExtLayout(TKwExternalControlLayout value);
    int MarginLeftRight() const { return marginLeftRight_; }
    void SetMarginLeftRight(int value);
    int MarginTopBottom() const { return marginTopBottom_; }
    void SetMarginTopBottom(int value);
    bool Shadow() const { return shadow_; }
    void SetShadow(bool value);
    TKwSetBackGround& SetBackGround() const { return *setBackGround_; }
    const String& Caption() const { return caption_; }
    void SetCaption(const String& value);

    void Assign(const TPersistent* source) override;
    std::function<void(TKwILabel& sender)> OnChange;

private:
    template <class T>
    void Store(T& field, const T& value);
    void Changed();

    bool visible_;
    int extSpacing_ = 2;
    TKwExternalControlLayout extLayout_;
    int marginLeftRight_ = 0;
    int marginTopBottom_ = 0;
    bool shadow_ = false;
    std::unique_ptr<TKwSetBackGround> setBackGround_;
    String caption_;
};

// Hidden unless asked for, above the panel's left end.
class TKwPanelILabel : public TKwILabel {
    KW_CLASS(TKwPanelILabel)
public:
    TKwPanelILabel() : TKwILabel(false, eclTopLeft) {}
};
class TKwTopILabel : public TKwILabel {
    KW_CLASS(TKwTopILabel)
public:
    TKwTopILabel() : TKwILabel(true, eclTopLeft) {}
};
class TKwRightILabel : public TKwILabel {
    KW_CLASS(TKwRightILabel)
public:
    TKwRightILabel() : TKwILabel(true, eclRightCenter) {}
};

// A panel with an attached caption label that lives beside it in the same parent: it moves,
// hides and retranslates with the panel.
class TKwCustomPanel : public TKwBasePanelSkin {
    KW_CLASS(TKwCustomPanel)
public:
    explicit TKwCustomPanel(TComponent* owner = nullptr);
    TKwCustomPanel(TComponent* owner, TKwCustomPanelILabel kind, bool nonClientBorder,
                   bool editBackGround, bool selBoxOnFocus);
    ~TKwCustomPanel() override;

    TKwCustomPanelILabel ILabelKind() const { return kind_; }
    TKwILabel& ILabel() const { return *iLabel_; }
    TKwSingleLabel& Label() const { return *label_; }

    bool CanShowLabel() const;
    void ShowLabel();
    void HideLabel();
    void UpdateControl() override;

    TNotifyEvent OnLabelClick;
    TNotifyEvent OnLabelDblClick;

protected:
    void PositionChanged() override;
    void ChangeName(const String& name) override;

private:
    void Construct();
    void NotifyILabelChange();
    void RefreshLabelValue();

    TKwCustomPanelILabel kind_ = pilNone;
    TKwSingleLabel* label_ = nullptr;  // owned as a component
    std::unique_ptr<TKwILabel> iLabel_;
};

// The published panel.
class TKwPanel : public TKwCustomPanel {
    KW_CLASS(TKwPanel)
public:
    explicit TKwPanel(TComponent* owner = nullptr);
};

// Registers the published properties of the panels with the form stream (idempotent).
void KwRegisterPanelProperties();

}  // namespace kw
