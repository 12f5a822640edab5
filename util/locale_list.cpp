#include "util/locale_list.h"

#include <algorithm>
#include <string>

#include "platform/core/exception.h"
#include "platform/text/regional.h"
#include "platform/text/strings.h"

namespace kw {

void TKwLocaleList::CheckIndex(int index, int limit) const {
    if (index < 0 || index > limit)
        throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
}

std::uint32_t TKwLocaleList::Items(int index) const {
    CheckIndex(index, Count() - 1);
    return ids_[static_cast<size_t>(index)];
}

void TKwLocaleList::SetItem(int index, std::uint32_t id) {
    CheckIndex(index, Count() - 1);
    ids_[static_cast<size_t>(index)] = id;
}

int TKwLocaleList::Add(std::uint32_t id) {
    ids_.push_back(id);
    return Count() - 1;
}

void TKwLocaleList::Insert(int index, std::uint32_t id) {
    CheckIndex(index, Count());
    ids_.insert(ids_.begin() + index, id);
}

int TKwLocaleList::IndexOf(std::uint32_t id) const {
    const auto found = std::find(ids_.begin(), ids_.end(), id);
    return found == ids_.end() ? -1 : static_cast<int>(found - ids_.begin());
}

String TKwLocaleList::LanguageName(int index) const {
    const std::string locale = LcidToLocaleId(Items(index));
    return locale.empty() ? String() : LocaleLanguageName(locale);
}

String TKwLocaleList::LanguageCountry(int index) const {
    const std::string locale = LcidToLocaleId(Items(index));
    return locale.empty() ? String() : LocaleCountryName(locale);
}

void KwGetLocaleList(TKwLocaleList& list, TKwLocaleEnumType type) {
    list.Clear();
    for (const std::string& locale : AvailableLocaleIds()) {
        const std::uint32_t id = LocaleIdToLcid(locale);
        if (id == 0 || list.IndexOf(id) >= 0)
            continue;
        if (type == letINSTALLED && LocaleCountryName(locale).empty())
            continue;
        list.Add(id);
    }
}

std::uint32_t KwGetApplicationLocale() {
    return LocaleIdToLcid(RegionalLocale());
}

}  // namespace kw
