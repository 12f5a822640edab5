#include "util/variants.h"

#include <cmath>
#include <limits>

#include "platform/text/strings.h"
#include "util/convert.h"

namespace kw {

namespace {

Variant ZeroOf(TKwDataType dataType) {
    switch (dataType) {
        case TKwDataType::dtyInteger:
            return std::int64_t{0};
        case TKwDataType::dtyCurrency:
            return Currency{};
        case TKwDataType::dtyDouble:
            return 0.0;
        case TKwDataType::dtyString:
            return String();
        case TKwDataType::dtyDateTime:
            return Variant::FromDate(0.0);
        default:
            return Variant::Null();
    }
}

Variant IntegerVariant(std::int64_t value) {
    if (value >= std::numeric_limits<std::int32_t>::min() &&
        value <= std::numeric_limits<std::int32_t>::max())
        return static_cast<std::int32_t>(value);
    return value;
}

std::int64_t TruncateToInt64(double value) {
    constexpr double kTwoPow63 = 9223372036854775808.0;
    if (!(value >= -kTwoPow63 && value < kTwoPow63))
        throw EConvertError(u"Integer overflow");
    return static_cast<std::int64_t>(value);
}

bool IsBoolean(const Variant& v) {
    return v.VarType() == varBoolean;
}

Variant CastToInteger(const Variant& source) {
    if (IsBoolean(source))
        return IntegerVariant(source.AsBoolean() ? 1 : 0);
    const TVarType type = source.VarType();
    if (type == varDouble || type == varSingle)
        return IntegerVariant(TruncateToInt64(source.AsDouble()));
    if (source.IsStr())
        return IntegerVariant(KwCStrToInt64(source.AsString()));
    return IntegerVariant(source.AsInt64());
}

double CastToDouble(const Variant& source) {
    if (IsBoolean(source))
        return source.AsBoolean() ? 1.0 : 0.0;
    if (source.IsStr())
        return KwCStrToNumeric(source.AsString());
    return source.AsDouble();
}

Variant CastToString(const Variant& source) {
    if (IsBoolean(source))
        return source.AsBoolean() ? u"1" : u"0";
    const TVarType type = source.VarType();
    if (type == varDate)
        return KwCDateToStr(source.AsDate());
    if (type == varDouble || type == varSingle)
        return KwCNumericToStr(source.AsDouble());
    return source.AsString();
}

Variant Convert(const Variant& source, TKwDataType dataType) {
    switch (dataType) {
        case TKwDataType::dtyInteger:
            return CastToInteger(source);
        case TKwDataType::dtyDouble:
            return CastToDouble(source);
        case TKwDataType::dtyCurrency:
            return Currency::FromDouble(CastToDouble(source));
        case TKwDataType::dtyDateTime:
            return Variant::FromDate(source.IsStr() ? KwCStrToDate(source.AsString())
                                                    : CastToDouble(source));
        case TKwDataType::dtyString:
            return CastToString(source);
        default:
            return source;
    }
}

}  // namespace

String KwDataTypeToStr(TKwDataType dataType) {
    switch (dataType) {
        case TKwDataType::dtyInteger:
            return u"Integer";
        case TKwDataType::dtyCurrency:
            return u"Currency";
        case TKwDataType::dtyDouble:
            return u"Double";
        case TKwDataType::dtyString:
            return u"String";
        case TKwDataType::dtyDateTime:
            return u"DateTime";
        case TKwDataType::dtyBinary:
            return u"Binary";
        default:
            return u"Memo";
    }
}

bool KwIsVariant(TKwDataType dataType) {
    return dataType != TKwDataType::dtyBinary && dataType != TKwDataType::dtyMemo;
}

bool KwIsBlob(TKwDataType dataType) {
    return !KwIsVariant(dataType);
}

Variant KwVarCast(const Variant& source, TKwDataType dataType) {
    return source.IsNull() ? ZeroOf(dataType) : source;
}

Variant KwDataCast(const Variant& source, TKwDataType dataType) {
    if (source.IsNull())
        return Variant::Null();
    if (dataType != TKwDataType::dtyString && source.IsStr() && Trim(source.AsString()).empty())
        return Variant::Null();
    try {
        return Convert(source, dataType);
    } catch (const Exception&) {
        return ZeroOf(dataType);
    }
}

String KwDataString(const Variant& value) {
    return VarToStr(KwDataCast(value, TKwDataType::dtyString));
}

Variant KwVarArrayOf(const VariantArray& values, int count) {
    const size_t size = count < 0 ? 0 : std::min<size_t>(count, values.size());
    return VarArrayOf(VariantArray(values.begin(), values.begin() + size));
}

bool KwVarEquals(const Variant& a, const Variant& b) {
    try {
        return a == b;
    } catch (const Exception&) {
        return false;
    }
}

bool KwVarSameValue(const Variant& a, const Variant& b) {
    if (a.IsEmpty() || b.IsEmpty())
        return a.IsEmpty() && b.IsEmpty();
    if (a.IsNull() || b.IsNull())
        return a.IsNull() && b.IsNull();
    if (a.IsStr() != b.IsStr())
        return false;
    return KwVarEquals(a, b);
}

bool KwVarIsNull(const Variant& value) {
    return value.IsClear();
}

bool KwVarTypeIsOrdinal(TVarType varType) {
    switch (varType) {
        case varSmallint:
        case varInteger:
        case varBoolean:
        case varShortInt:
        case varByte:
        case varWord:
        case varLongWord:
        case varInt64:
        case varUInt64:
            return true;
        default:
            return false;
    }
}

bool KwVarTypeIsFloat(TVarType varType) {
    return varType == varSingle || varType == varDouble || varType == varCurrency;
}

bool KwVarTypeIsNumeric(TVarType varType) {
    return KwVarTypeIsOrdinal(varType) || KwVarTypeIsFloat(varType);
}

bool KwVarTypeIsStr(TVarType varType) {
    return varType == varOleStr || varType == varString || varType == varUString;
}

bool KwVarIsOrdinal(const Variant& value) {
    return KwVarTypeIsOrdinal(value.VarType());
}

bool KwVarIsNumeric(const Variant& value) {
    return KwVarTypeIsNumeric(value.VarType());
}

bool KwVarIsStr(const Variant& value) {
    return KwVarTypeIsStr(value.VarType());
}

}  // namespace kw
