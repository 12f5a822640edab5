#pragma once

#include <functional>
#include <type_traits>
#include <utility>

#include "platform/core/properties.h"

namespace kw {

// The published properties that both button families store alike, as runs in the order both
// store them; each family registers its own properties around these runs.

// Left, Top, Width and Height.
template <class B>
void KwPublishButtonBounds(TPropertyBuilder<B>& p) {
    p.Integer(u"Left", &B::Left, &B::SetLeft)
        .Integer(u"Top", &B::Top, &B::SetTop)
        .Integer(u"Width", &B::Width, &B::SetWidth)
        .Integer(u"Height", &B::Height, &B::SetHeight);
}

// Caption, CaptionId and Hint; CaptionId is stored when `captionIdStored` says so, or always
// without it.
template <class B>
void KwPublishButtonTexts(
    TPropertyBuilder<B>& p,
    std::type_identity_t<std::function<bool(const B&)>> captionIdStored = {}) {
    p.Text(u"Caption", &B::Caption, &B::SetCaption, String()).Object(u"CaptionId", &B::CaptionId);
    if (captionIdStored)
        p.StoredWhen(std::move(captionIdStored));
    p.Text(u"Hint", &B::Hint, &B::SetHint, String());
}

// PopupMenu, Action, Privilege, and Visible and Enabled as set (the privilege may limit them
// beyond that).
template <class B>
void KwPublishButtonRights(TPropertyBuilder<B>& p) {
    p.Component(u"PopupMenu", &B::PopupMenu, &B::SetPopupMenu)
        .Component(u"Action", &B::Action, &B::SetAction)
        .Object(u"Privilege", &B::Privilege)
        .Boolean(u"Visible", &B::VisibleSetting, &B::SetVisible, true)
        .Boolean(u"Enabled", &B::EnabledSetting, &B::SetEnabled, true);
}

}  // namespace kw
