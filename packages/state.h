#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "framework/link_list.h"
#include "packages/memory_refs.h"
#include "packages/privilege.h"
#include "platform/text/string_list.h"

namespace kw {

class TKwCApplication;
class TKwPkgInfo;
class TKwPkgLanguage;
class TKwPkgSetup;
class TKwPkgStrings;
class TKwPkgVars;
struct TKwFormatSettings;

// The conversion settings last built from the regional values, and what they were built from.
struct TKwLocaleSettingsCache {
    std::mutex mutex;
    std::shared_ptr<const TKwFormatSettings> settings;
    const TKwPkgLanguage* language = nullptr;
    std::uint64_t generation = 0;
    std::string regionalLocale;
};

// What the language routines ask of the application object. Unset entries use the defaults:
// the language package the application object owns, and the installation's packages folder.
struct TKwLanguageHost {
    std::function<TKwPkgLanguage*(TKwCApplication& app)> languageOf;
    // The folder of the installed reference language files, with a trailing separator.
    std::function<String()> systemPackagesFolder;
};

// Where the setup and variables routines find the packages of an application object. Unset
// entries search the components the application object owns.
struct TKwSettingsHost {
    std::function<TKwPkgSetup*(TKwCApplication& app)> setupOf;
    std::function<TKwPkgVars*(TKwCApplication& app)> varsOf;
    std::function<TKwPkgInfo*(TKwCApplication& app)> displayOf;
};

// Every piece of process-wide state of the package contents, in one place.
struct TKwPackagesState {
    // Strings packages in activity order: of several with one name, the first is active.
    std::vector<TKwPkgStrings*> stringsPackages;
    // Counts the changes of that list and of its packages' names (lookups cached by name
    // know when they are stale).
    std::uint64_t stringsGeneration = 1;
    // Live references by kind, in creation order.
    std::array<TKwIntrusiveList<TKwMemoryReference>, kKwStringsKinds> references{
        TKwIntrusiveList<TKwMemoryReference>(&TKwMemoryReference::registryHook),
        TKwIntrusiveList<TKwMemoryReference>(&TKwMemoryReference::registryHook),
        TKwIntrusiveList<TKwMemoryReference>(&TKwMemoryReference::registryHook)};
    // By kind, the checked references that resolved to nothing (those checked with a target are
    // listed by the target's collection).
    std::array<TKwIntrusiveList<TKwMemoryReference>, kKwStringsKinds> unresolvedReferences{
        TKwIntrusiveList<TKwMemoryReference>(&TKwMemoryReference::checkedHook),
        TKwIntrusiveList<TKwMemoryReference>(&TKwMemoryReference::checkedHook),
        TKwIntrusiveList<TKwMemoryReference>(&TKwMemoryReference::checkedHook)};
    TKwLanguageHost languageHost;
    // Variables packages, most recently found first.
    std::vector<TKwPkgVars*> varsPackages;
    TKwSettingsHost settingsHost;
    // The insert mode in force while no application object has a setup package.
    bool insertMode = true;
    // Name lists the locale accessors hand out when there is no application object.
    TStringList fallbackDayShortNames;
    TStringList fallbackDayLongNames;
    TStringList fallbackMonthShortNames;
    TStringList fallbackMonthLongNames;
    // Counts the changes of any locale (and the birth and death of locales), so that cached
    // conversion settings know when they are stale.
    std::atomic<std::uint64_t> localeGeneration{1};
    TKwLocaleSettingsCache localeSettings;
    // Every live privilege reference, in creation order.
    TKwIntrusiveList<TKwPrivilege> privileges{&TKwPrivilege::registryHook};
};

TKwPackagesState& KwPackagesState();
// Back to the start-up state between tests. Packages and references that still exist are
// dropped from the lists, not freed.
void KwResetPackagesState();
void KwSetLanguageHost(TKwLanguageHost host);
void KwSetSettingsHost(TKwSettingsHost host);

}  // namespace kw
