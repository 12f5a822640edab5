#pragma once

#include <array>
#include <functional>
#include <vector>

#include "framework/link_list.h"
#include "packages/memory_refs.h"
#include "platform/string_list.h"

namespace kw {

class TKwCApplication;
class TKwPkgLanguage;
class TKwPkgStrings;

// What the language routines ask of the application object. Unset entries use the defaults:
// the language package the application object owns, and no installation folder.
struct TKwLanguageHost {
    std::function<TKwPkgLanguage*(TKwCApplication& app)> languageOf;
    // The folder of the installed reference language files, with a trailing separator.
    std::function<String()> systemPackagesFolder;
};

// Every piece of process-wide state of the package contents, in one place.
struct TKwPackagesState {
    // Strings packages in activity order: of several with one name, the first is active.
    std::vector<TKwPkgStrings*> stringsPackages;
    // Live references by kind, in creation order.
    std::array<TKwIntrusiveList<TKwMemoryReference>, kKwStringsKinds> references{
        TKwIntrusiveList<TKwMemoryReference>(&TKwMemoryReference::registryHook),
        TKwIntrusiveList<TKwMemoryReference>(&TKwMemoryReference::registryHook),
        TKwIntrusiveList<TKwMemoryReference>(&TKwMemoryReference::registryHook)};
    TKwLanguageHost languageHost;
    // Name lists the locale accessors hand out when there is no application object.
    TStringList fallbackDayShortNames;
    TStringList fallbackDayLongNames;
    TStringList fallbackMonthShortNames;
    TStringList fallbackMonthLongNames;
};

TKwPackagesState& KwPackagesState();
// Back to the start-up state between tests. Packages and references that still exist are
// dropped from the lists, not freed.
void KwResetPackagesState();
void KwSetLanguageHost(TKwLanguageHost host);

}  // namespace kw
