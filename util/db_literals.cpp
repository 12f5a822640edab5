#include "util/db_literals.h"

#include "util/date_text.h"
#include "util/number_text.h"

namespace kw {

String KwQuotedStr(StringView text) {
    String quoted = u"'";
    for (Char c : text) {
        quoted.push_back(c);
        if (c == u'\'')
            quoted.push_back(c);
    }
    return quoted + u"'";
}

String KwDBDateToStr(TDateTime value, TKwDateType dateType, const TKwDbSettings& settings) {
    TKwDateTextRules rules;
    rules.order = settings.dateFormat;
    rules.dateSeparator = settings.dateSeparator;
    rules.timeSeparator = settings.timeSeparator;
    return KwFormatDateText(value, rules, dateType != TKwDateType::detTime,
                            dateType != TKwDateType::detDate);
}

String KwDBNumericToStr(double value, const TKwDbSettings& settings) {
    return KwFloatToGeneral(value, 15, settings.decimalSeparator);
}

String KwDBInt64ToStr(std::int64_t value, const TKwDbSettings& settings) {
    return KwInt64ToText(value);
}

String KwDBString(const Variant& value, TKwDataType dataType, TKwDateType dateType,
                  const TKwDbSettings& settings) {
    auto number = [&](String text) { return settings.quotedNumber ? KwQuotedStr(text) : text; };
    switch (dataType) {
        case TKwDataType::dtyInteger:
            return number(value.IsNull() ? u"0" : KwDBInt64ToStr(value.AsInt64(), settings));
        case TKwDataType::dtyCurrency:
        case TKwDataType::dtyDouble:
            return number(value.IsNull() ? u"0" : KwDBNumericToStr(value.AsDouble(), settings));
        case TKwDataType::dtyString:
            return KwQuotedStr(VarToStr(value));
        case TKwDataType::dtyDateTime:
            return KwQuotedStr(
                KwDBDateToStr(value.IsNull() ? 0.0 : value.AsDate(), dateType, settings));
        default:
            return {};
    }
}

}  // namespace kw
