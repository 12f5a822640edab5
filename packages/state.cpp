#include "packages/state.h"

#include "platform/core/no_destructor.h"

namespace kw {

TKwPackagesState& KwPackagesState() {
    static TNoDestructor<TKwPackagesState> state;
    return *state;
}

void KwResetPackagesState() {
    TKwPackagesState& s = KwPackagesState();
    s.stringsPackages.clear();
    for (auto& list : s.references)
        list.Clear();
    for (auto& list : s.unresolvedReferences)
        list.Clear();
    s.languageHost = {};
    s.varsPackages.clear();
    s.settingsHost = {};
    s.insertMode = true;
    s.fallbackDayShortNames.Clear();
    s.fallbackDayLongNames.Clear();
    s.fallbackMonthShortNames.Clear();
    s.fallbackMonthLongNames.Clear();
    s.privileges.Clear();
    ++s.localeGeneration;
    std::lock_guard lock(s.localeSettings.mutex);
    s.localeSettings.settings = nullptr;
}

void KwSetLanguageHost(TKwLanguageHost host) {
    KwPackagesState().languageHost = std::move(host);
}

void KwSetSettingsHost(TKwSettingsHost host) {
    KwPackagesState().settingsHost = std::move(host);
}

}  // namespace kw
