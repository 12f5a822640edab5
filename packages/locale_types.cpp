#include "packages/locale_types.h"

#include "platform/text/strings.h"

namespace kw {

TKwCurrencyFormat KwCurrencyFormatOf(int platformFormat) {
    switch (platformFormat) {
        case 0:
            return cfoc1;
        case 1:
            return cfo1c;
        case 2:
            return cfocc1;
        default:
            return cfo1cc;
    }
}

TKwDateFormat KwDateFormatOf(StringView shortDateFormat) {
    const String upper = UpperCase(shortDateFormat);
    if (!upper.empty() && upper.front() == u'M')
        return dfomdy;
    if (!upper.empty() && upper.front() == u'Y')
        return dfoymd;
    return dfodmy;
}

TKwDateYear KwDateYearOf(StringView shortDateFormat) {
    return shortDateFormat.find(u"yyyy") != StringView::npos ? dyeYear4 : dyeYear2;
}

}  // namespace kw
