#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/no_destructor.h"
#include "platform/core/types.h"

namespace kw {

namespace detail {
// Splits the stringised enumerator list "a, b, c" into its identifiers.
std::vector<String> SplitEnumIdents(StringView list);
}  // namespace detail

// Declares an enumeration together with the identifiers the form stream stores for it, so
// that the two can never disagree: KwEnumIdents(value) lists them in ordinal order.
#define KW_ENUM(Name, ...)                                            \
    enum Name : std::uint8_t { __VA_ARGS__ };                         \
    inline const std::vector<::kw::String>& KwEnumIdents(Name) {      \
        static ::kw::TNoDestructor<std::vector<::kw::String>> idents( \
            ::kw::detail::SplitEnumIdents(u"" #__VA_ARGS__));         \
        return *idents;                                               \
    }

}  // namespace kw
