#pragma once

#include <memory>

#include "controls/button_texts.h"
#include "drawing/styles/style_enums.h"
#include "platform/core/types.h"

namespace kw {

class TComponent;
class TKwLinkEvt;
class TKwMemoryLabel;
class TKwPrivilege;

// What both button families keep the same way on top of their platform control (`Base`): the
// notification link, caption and hint (own or from a label reference), the privilege that may
// hide or disable the button beyond its own Visible and Enabled settings, the placement by
// AlignHor and AlignVer, and the look flags Style, Margin, Shadow and Flat. Every change goes
// through the link.
template <class Base>
class TKwButtonCommon : public Base {
public:
    ~TKwButtonCommon() override;

    const String& Caption() const { return texts_->Caption(); }
    void SetCaption(const String& caption) { texts_->SetCaption(caption); }
    const String& Hint() const { return texts_->Hint(); }
    void SetHint(const String& hint) { texts_->SetHint(hint); }
    TKwMemoryLabel& CaptionId() const { return texts_->CaptionId(); }
    // What the button shows: its caption, else its label's text.
    const String& ShownCaption() const { return Base::Caption(); }
    TKwPrivilege& Privilege() const { return *privilege_; }
    // Visible and Enabled as set; the privilege may hide or disable the control beyond them.
    bool VisibleSetting() const { return visible_; }
    void SetVisible(bool visible);
    bool EnabledSetting() const { return enabled_; }
    void SetEnabled(bool enabled);

    TKwAlignHor AlignHor() const { return placement_.alignHor; }
    void SetAlignHor(TKwAlignHor value) { placement_.Set(*this, value, placement_.alignVer); }
    TKwAlignVer AlignVer() const { return placement_.alignVer; }
    void SetAlignVer(TKwAlignVer value) { placement_.Set(*this, placement_.alignHor, value); }

    TKwButtonStyle Style() const { return style_; }
    void SetStyle(TKwButtonStyle style) { Store(style_, style); }
    int Margin() const { return margin_; }
    void SetMargin(int margin) { Store(margin_, margin); }
    bool Shadow() const { return shadow_; }
    void SetShadow(bool shadow) { Store(shadow_, shadow); }
    bool Flat() const { return flat_; }
    void SetFlat(bool flat) { Store(flat_, flat); }

    TKwLinkEvt& Link() const { return *link_; }

protected:
    explicit TKwButtonCommon(TComponent* owner);
    TKwButtonTexts& Texts() const { return *texts_; }
    // Something the face shows changed: repaint at the end of the screen update.
    void Changed();
    // Puts the texts, the privilege's effect and the recorded placement in force (start-up,
    // end of loading).
    void ApplyTextsAndRights();
    void ApplyPlacement() { placement_.Apply(*this); }
    void ApplyPrivilege();
    // The privilege just disabled the button: what it was doing with the mouse ends.
    virtual void DisabledByPrivilege() {}

    // Stores a changed value and reports the change; an equal value changes nothing.
    template <class T>
    void Store(T& slot, T value) {
        if (slot != value) {
            slot = value;
            Changed();
        }
    }

private:
    std::unique_ptr<TKwLinkEvt> link_;
    std::unique_ptr<TKwButtonTexts> texts_;
    std::unique_ptr<TKwPrivilege> privilege_;
    TKwButtonPlacement placement_;
    TKwButtonStyle style_ = btsShape;
    int margin_ = -1;
    bool shadow_ = false;
    bool flat_ = false;
    bool visible_ = true;
    bool enabled_ = true;
};

}  // namespace kw
