#pragma once

// Shared by the conversion fuzz targets: input decoding, settings chosen by a byte, and the
// rule that bad text may only fail with one of the library's own errors carrying a message.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/core/exception.h"
#include "platform/text/unicode.h"
#include "util/format_settings.h"

namespace kw::fuzz {

inline TKwFormatSettings SettingsFor(std::uint8_t selector) {
    TKwFormatSettings s;
    static constexpr Char kDecimal[] = {u'.', u',', u'.', u','};
    static constexpr Char kThousand[] = {u',', u'.', u'\'', u' '};
    static constexpr Char kDate[] = {u'/', u'.', u'-', u'/'};
    static constexpr Char kTime[] = {u':', u':', u'.', u'h'};
    s.decimalSeparator = kDecimal[selector & 3];
    s.thousandSeparator = kThousand[(selector >> 2) & 3];
    s.dateSeparator = kDate[(selector >> 4) & 3];
    s.timeSeparator = kTime[(selector >> 6) & 3];
    s.dateFormat = static_cast<TKwDateFormat>(selector % 3);
    s.dateCentury = 1900 + selector * 3;
    if (selector & 0x20) {
        s.timeAMString = u"vorm.";
        s.timePMString = u"";
    }
    return s;
}

// Runs `action`; a failure must be one of the library's errors with a message.
template <class F>
void Guarded(F&& action) {
    try {
        action();
    } catch (const Exception& e) {
        if (e.Message().empty())
            __builtin_trap();
    }
}

inline String Text(std::string_view bytes) {
    return Utf8ToString(bytes);
}

}  // namespace kw::fuzz
