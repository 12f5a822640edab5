#include "util/units.h"

#include "platform/ui/screen.h"
#include "util/convert.h"
#include "util/number_text.h"

namespace kw {

namespace {

constexpr double kMillimetresPerInch = 25.4;

double UnitsPerMillimetre(TKwUnit unit) {
    switch (unit) {
        case TKwUnit::ruuCentimeter:
            return 0.1;
        case TKwUnit::ruuMillimeter:
            return 1.0;
        case TKwUnit::ruuInch:
            return 1.0 / kMillimetresPerInch;
        default:
            return Screen().PixelsPerInch() / kMillimetresPerInch;
    }
}

}  // namespace

double KwConvertUnit(double value, TKwUnit from, TKwUnit to) {
    return value / UnitsPerMillimetre(from) * UnitsPerMillimetre(to);
}

double KwPosPixelsToUnit(double pixels, TKwUnit unit, int zoom, double offset) {
    if (zoom == 0)
        zoom = 100;
    return KwConvertUnit(pixels, TKwUnit::ruuPixel, unit) * 100 / zoom + offset;
}

String KwFormatCapacity(std::int64_t bytes, bool commaDecimal) {
    constexpr double kKilo = 1024.0;
    constexpr double kMega = 1048576.0;
    const auto count = static_cast<double>(bytes);
    double amount = count;
    const Char* suffix = u" Bytes";
    if (count >= kMega) {
        amount = count / kMega;
        suffix = u" MB";
    } else if (count >= kKilo) {
        amount = count / kKilo;
        suffix = u" KB";
    }
    return KwFloatToGeneral(KwRoundDec(amount, 1), 15, commaDecimal ? u',' : u'.') + suffix;
}

}  // namespace kw
