#pragma once

#include <type_traits>

#include "platform/core/properties.h"
#include "platform/ui/control.h"

namespace kw {

// Publishes a control class's drag settings and handlers, and for windowed controls the dock
// site ones, the way the platform's own controls publish them.
template <class T>
void PublishDragDock(TPropertyBuilder<T>& builder) {
    builder.Integer(u"DragCursor", &T::DragCursor, &T::SetDragCursor, crDrag)
        .Enum(u"DragKind", &T::DragKind, &T::SetDragKind, {u"dkDrag", u"dkDock"}, TDragKind::dkDrag)
        .Enum(u"DragMode", &T::DragMode, &T::SetDragMode, {u"dmManual", u"dmAutomatic"},
              TDragMode::dmManual)
        .Event(u"OnDragDrop", static_cast<TDragDropEvent T::*>(&T::OnDragDrop))
        .Event(u"OnDragOver", static_cast<TDragOverEvent T::*>(&T::OnDragOver))
        .Event(u"OnEndDrag", static_cast<TEndDragEvent T::*>(&T::OnEndDrag))
        .Event(u"OnStartDrag", static_cast<TStartDragEvent T::*>(&T::OnStartDrag))
        .Event(u"OnEndDock", static_cast<TEndDragEvent T::*>(&T::OnEndDock))
        .Event(u"OnStartDock", static_cast<TStartDockEvent T::*>(&T::OnStartDock));
    if constexpr (std::is_base_of_v<TWinControl, T>) {
        builder.Boolean(u"DockSite", &T::DockSite, &T::SetDockSite, false)
            .Boolean(u"UseDockManager", &T::UseDockManager, &T::SetUseDockManager, false)
            .Event(u"OnDockDrop", static_cast<TDockDropEvent T::*>(&T::OnDockDrop))
            .Event(u"OnDockOver", static_cast<TDockOverEvent T::*>(&T::OnDockOver))
            .Event(u"OnGetSiteInfo", static_cast<TGetSiteInfoEvent T::*>(&T::OnGetSiteInfo))
            .Event(u"OnUnDock", static_cast<TUnDockEvent T::*>(&T::OnUnDock));
    }
}

// Publishes the size limits of a control class (an owned TSizeConstraints).
template <class T>
void PublishConstraints(TPropertyBuilder<T>& builder) {
    TSizeConstraints::RegisterProperties();
    builder.Object(u"Constraints", &T::Constraints);
}

}  // namespace kw
