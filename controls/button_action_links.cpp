#include "controls/button_action_links.h"

#include "controls/bit_btn.h"
#include "controls/speed_button.h"

namespace kw {

namespace {

// Both buttons keep their texts and settings under the same names.
template <class Button, class LinkFn>
void LinkTextsAndState(Button& b, LinkFn link) {
    using P = TActionProperty;
    using V = TActionValue;
    link(
        P::apCaption, [&b] { return V(b.Caption()); },
        [&b](const V& v) { b.SetCaption(std::get<String>(v)); });
    link(
        P::apHint, [&b] { return V(b.Hint()); },
        [&b](const V& v) { b.SetHint(std::get<String>(v)); });
    link(
        P::apEnabled, [&b] { return V(b.EnabledSetting()); },
        [&b](const V& v) { b.SetEnabled(std::get<bool>(v)); });
    link(
        P::apVisible, [&b] { return V(b.VisibleSetting()); },
        [&b](const V& v) { b.SetVisible(std::get<bool>(v)); });
}

}  // namespace

TKwBitBtnActionLink::TKwBitBtnActionLink(TKwCustomBitBtn& button) {
    LinkTextsAndState(button, [this](auto... args) { Link(args...); });
}

TKwSpeedButtonActionLink::TKwSpeedButtonActionLink(TKwCustomSpeedButton& button) {
    using P = TActionProperty;
    using V = TActionValue;
    LinkTextsAndState(button, [this](auto... args) { Link(args...); });
    Link(
        P::apGroupIndex, [&button] { return V(button.GroupIndex()); },
        [&button](const V& v) { button.SetGroupIndex(std::get<int>(v)); });
    Link(
        P::apChecked, [&button] { return V(button.Down()); },
        [&button](const V& v) { button.SetDown(std::get<bool>(v)); });
}

}  // namespace kw
