#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/types.h"

namespace kw {

// Which locales KwGetLocaleList reports: every locale the platform knows a 32-bit identifier
// for, or only those tied to a country.
enum TKwLocaleEnumType { letSUPPORTED, letINSTALLED };

// A list of 32-bit platform locale identifiers (language in the low 10 bits, sub-language in
// the next 6, sort order above).
class TKwLocaleList {
public:
    int Count() const { return static_cast<int>(ids_.size()); }
    // Index errors raise EListError.
    std::uint32_t Items(int index) const;
    void SetItem(int index, std::uint32_t id);
    int Add(std::uint32_t id);
    void Insert(int index, std::uint32_t id);
    int IndexOf(std::uint32_t id) const;
    void Clear() { ids_.clear(); }

    int PrimaryLanguage(int index) const { return static_cast<int>(Items(index) & 0x3FF); }
    int SubLanguage(int index) const { return static_cast<int>((Items(index) >> 10) & 63); }
    int LanguageSort(int index) const { return static_cast<int>(Items(index) >> 16); }
    // English names; empty for an identifier the platform does not know.
    String LanguageName(int index) const;
    String LanguageCountry(int index) const;

private:
    void CheckIndex(int index, int limit) const;

    std::vector<std::uint32_t> ids_;
};

// Clears `list`, then adds each locale of `type` once, in the platform's order.
void KwGetLocaleList(TKwLocaleList& list, TKwLocaleEnumType type);
// The identifier of the locale the program runs in.
std::uint32_t KwGetApplicationLocale();

}  // namespace kw
