#pragma once

#include "framework/link_list.h"
#include "packages/package_scopes.h"
#include "platform/ui/application.h"

namespace kw {

// The process-wide registries of package references (labels, images, sets) share their walks.
// A reference type has a `registryHook`, and `Checked`, `Defined` and `Refresh` members.

// Visits every reference of `registry`; `visit` must not create or destroy references.
template <class Ref, class F>
void KwForEachReference(TKwIntrusiveList<Ref>& registry, F visit) {
    for (Ref* ref = registry.First(); ref != nullptr; ref = ref->registryHook.next)
        visit(*ref);
}

// The update pass: resolves every unchecked, defined reference again inside one screen update;
// each tells its owner when its result may have changed. `refresh` resolves one reference (a
// pass may share lookups among its references).
template <class Ref, class Refresh>
void KwRefreshUnchecked(TKwIntrusiveList<Ref>& registry, Refresh refresh) {
    if (Application().Destroying() || registry.Empty())
        return;
    KwWithScreenUpdate(true, [&] {
        // Change handlers may create and free references while the pass runs.
        typename TKwIntrusiveList<Ref>::Cursor cursor(registry, false);
        while (Ref* ref = cursor.Next()) {
            if (!ref->Checked() && ref->Defined())
                refresh(*ref);
        }
    });
}

template <class Ref>
void KwRefreshUnchecked(TKwIntrusiveList<Ref>& registry) {
    KwRefreshUnchecked(registry, [](Ref& ref) { ref.Refresh(); });
}

}  // namespace kw
