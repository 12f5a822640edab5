#pragma once

#include <functional>
#include <memory>

#include "controls/panel_skin.h"
#include "drawing/styles/label_styles.h"
#include "platform/core/persistent.h"
#include "util/kw_pos.h"

namespace kw {

class TKwSingleLabel;

enum TKwCustomPanelILabel : std::uint8_t { pilNone, pilRight, pilTop };

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
