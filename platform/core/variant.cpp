#include "platform/core/variant.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "platform/core/numbers.h"
#include "platform/text/strings.h"

namespace kw {

namespace {

[[noreturn]] void CastError(TVarType from, TVarType to) {
    throw EVariantTypeCastError(u"Could not convert variant of type (" + VarTypeAsText(from) +
                                u") into type (" + VarTypeAsText(to) + u")");
}

[[noreturn]] void OverflowError(TVarType from, TVarType to) {
    throw EVariantOverflowError(u"Arithmetic overflow converting variant of type (" +
                                VarTypeAsText(from) + u") into type (" + VarTypeAsText(to) + u")");
}

[[noreturn]] void InvalidOp() {
    throw EVariantInvalidOpError(u"Invalid variant operation");
}

String TwoDigits(int value) {
    return String{static_cast<Char>(u'0' + value / 10), static_cast<Char>(u'0' + value % 10)};
}

String PadNumber(int value, int width) {
    String text = IntToStr(value);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, width - text.size(), u'0');
    return text;
}

String DateToText(TDateTime value) {
    int year = 0, month = 0, day = 0, hour = 0, min = 0, sec = 0, msec = 0;
    DecodeDateTime(value, year, month, day, hour, min, sec, msec);
    String text;
    const bool hasTime = hour != 0 || min != 0 || sec != 0 || msec != 0;
    const bool hasDate = !(year == 1899 && month == 12 && day == 30) || !hasTime;
    if (hasDate)
        text = PadNumber(year, 4) + u"-" + TwoDigits(month) + u"-" + TwoDigits(day);
    if (hasTime) {
        if (hasDate)
            text += u" ";
        text += TwoDigits(hour) + u":" + TwoDigits(min) + u":" + TwoDigits(sec);
        if (msec != 0)
            text += u"." + PadNumber(msec, 3);
    }
    return text;
}

// Reads an unsigned decimal field of minWidth..maxWidth digits.
bool ReadField(StringView text, size_t& pos, int minWidth, int maxWidth, int& value) {
    value = 0;
    int count = 0;
    while (pos < text.size() && count < maxWidth && text[pos] >= u'0' && text[pos] <= u'9') {
        value = value * 10 + (text[pos] - u'0');
        ++pos;
        ++count;
    }
    return count >= minWidth;
}

bool Expect(StringView text, size_t& pos, Char c) {
    if (pos >= text.size() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

bool ParseTimeText(StringView text, size_t& pos, TDateTime& time) {
    int hour = 0, min = 0, sec = 0, msec = 0;
    if (!ReadField(text, pos, 1, 2, hour) || !Expect(text, pos, u':') ||
        !ReadField(text, pos, 2, 2, min))
        return false;
    if (pos < text.size() && text[pos] == u':') {
        ++pos;
        if (!ReadField(text, pos, 2, 2, sec))
            return false;
        if (pos < text.size() && text[pos] == u'.' && !ReadField(text, ++pos, 1, 3, msec))
            return false;
    }
    return TryEncodeTime(hour, min, sec, msec, time);
}

bool ParseDateText(StringView input, TDateTime& result) {
    const String text = Trim(input);
    size_t pos = 0;
    TDateTime time = 0;
    if (text.find(u'-', 1) == String::npos) {
        return ParseTimeText(text, pos, time) && pos == text.size() && (result = time, true);
    }
    int year = 0, month = 0, day = 0;
    TDateTime date = 0;
    if (!ReadField(text, pos, 4, 4, year) || !Expect(text, pos, u'-') ||
        !ReadField(text, pos, 1, 2, month) || !Expect(text, pos, u'-') ||
        !ReadField(text, pos, 1, 2, day) || !TryEncodeDate(year, month, day, date))
        return false;
    if (pos < text.size() && (text[pos] == u' ' || text[pos] == u'T')) {
        ++pos;
        if (!ParseTimeText(text, pos, time))
            return false;
    }
    if (pos != text.size())
        return false;
    result = ComposeDateTime(date, time);
    return true;
}

// Text of a float, read through its shortest decimal form so a single 0.1 shows as "0.1".
String SingleToText(float value) {
    if (!std::isfinite(value))
        return FloatToStr(value);
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    double widened = 0;
    std::from_chars(buffer, end, widened);
    return FloatToStr(widened);
}

String UInt64ToText(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    return String(digits.begin(), digits.end());
}

bool TextToBoolean(const String& text, bool& value) {
    const String trimmed = Trim(text);
    if (SameText(trimmed, u"True")) {
        value = true;
        return true;
    }
    if (SameText(trimmed, u"False")) {
        value = false;
        return true;
    }
    double number = 0;
    if (!TryStrToFloat(trimmed, number))
        return false;
    value = number != 0;
    return true;
}

// An exact number for comparisons: integers and currency as a count of 1/10,000 in 128 bits;
// floating-point values as a double.
struct Numeric {
    bool exact = true;
    __int128 scaled = 0;
    double real = 0;

    double AsReal() const { return exact ? static_cast<double>(scaled) / Currency::kScale : real; }
};

TVariantRelationship CompareOrdered(auto a, auto b) {
    if (a < b)
        return TVariantRelationship::vrLessThan;
    if (b < a)
        return TVariantRelationship::vrGreaterThan;
    if (a == b)
        return TVariantRelationship::vrEqual;
    return TVariantRelationship::vrNotEqual;  // NaN
}

TVariantRelationship CompareNumeric(const Numeric& a, const Numeric& b) {
    if (a.exact && b.exact)
        return CompareOrdered(a.scaled, b.scaled);
    return CompareOrdered(a.AsReal(), b.AsReal());
}

}  // namespace

// Gives the implementation access to the stored alternative.
class VariantAccess {
public:
    static const auto& Data(const Variant& v) { return v.data_; }
    static auto& Data(Variant& v) { return v.data_; }

    static TVarType TypeOf(const Variant& v);
    static std::int64_t ToInt64(const Variant& v, TVarType target, std::int64_t min,
                                std::int64_t max);
    static std::uint64_t ToUInt64(const Variant& v, TVarType target);
    static double ToDouble(const Variant& v, TVarType target);
    static Currency ToCurrency(const Variant& v);
    static Numeric ToNumeric(const Variant& v, TVarType target);
    static std::int64_t RoundChecked(double value, TVarType from, TVarType target, std::int64_t min,
                                     std::int64_t max);
};

TVarType VariantAccess::TypeOf(const Variant& v) {
    struct Visitor {
        TVarType operator()(std::monostate) const { return varEmpty; }
        TVarType operator()(Variant::NullBox) const { return varNull; }
        TVarType operator()(std::int8_t) const { return varShortInt; }
        TVarType operator()(std::int16_t) const { return varSmallint; }
        TVarType operator()(std::int32_t) const { return varInteger; }
        TVarType operator()(std::int64_t) const { return varInt64; }
        TVarType operator()(std::uint8_t) const { return varByte; }
        TVarType operator()(std::uint16_t) const { return varWord; }
        TVarType operator()(std::uint32_t) const { return varLongWord; }
        TVarType operator()(std::uint64_t) const { return varUInt64; }
        TVarType operator()(bool) const { return varBoolean; }
        TVarType operator()(float) const { return varSingle; }
        TVarType operator()(double) const { return varDouble; }
        TVarType operator()(Currency) const { return varCurrency; }
        TVarType operator()(const Variant::DateBox&) const { return varDate; }
        TVarType operator()(const String&) const { return varUString; }
        TVarType operator()(const Variant::ArrayBox&) const { return varArray | varVariant; }
    };
    return std::visit(Visitor{}, v.data_);
}

std::int64_t VariantAccess::RoundChecked(double value, TVarType from, TVarType target,
                                         std::int64_t min, std::int64_t max) {
    constexpr double kTwoPow63 = 9223372036854775808.0;
    if (!(value >= -kTwoPow63 && value < kTwoPow63))
        OverflowError(from, target);
    const std::int64_t rounded = Round(value);
    if (rounded < min || rounded > max)
        OverflowError(from, target);
    return rounded;
}

std::int64_t VariantAccess::ToInt64(const Variant& v, TVarType target, std::int64_t min,
                                    std::int64_t max) {
    const TVarType from = TypeOf(v);
    auto checked = [&](auto value) -> std::int64_t {
        if (std::cmp_less(value, min) || std::cmp_greater(value, max))
            OverflowError(from, target);
        return static_cast<std::int64_t>(value);
    };
    const auto& data = v.data_;
    if (const auto* text = std::get_if<String>(&data)) {
        std::int64_t integer = 0;
        if (TryStrToInt64(*text, integer))
            return checked(integer);
        double real = 0;
        if (!TryStrToFloat(*text, real))
            CastError(from, target);
        return RoundChecked(real, from, target, min, max);
    }
    if (const auto* currency = std::get_if<Currency>(&data)) {
        std::int64_t units = currency->scaled / Currency::kScale;
        const std::int64_t rest = currency->scaled % Currency::kScale;
        if (2 * std::llabs(rest) > Currency::kScale ||
            (2 * std::llabs(rest) == Currency::kScale && units % 2 != 0))
            units += rest < 0 ? -1 : 1;
        return checked(units);
    }
    switch (from) {
        case varEmpty:
            return 0;
        case varBoolean:
            return std::get<bool>(data) ? -1 : 0;
        case varSingle:
            return RoundChecked(std::get<float>(data), from, target, min, max);
        case varDouble:
            return RoundChecked(std::get<double>(data), from, target, min, max);
        case varDate:
            return RoundChecked(std::get<Variant::DateBox>(data).value, from, target, min, max);
        case varShortInt:
            return checked(std::get<std::int8_t>(data));
        case varSmallint:
            return checked(std::get<std::int16_t>(data));
        case varInteger:
            return checked(std::get<std::int32_t>(data));
        case varInt64:
            return checked(std::get<std::int64_t>(data));
        case varByte:
            return checked(std::get<std::uint8_t>(data));
        case varWord:
            return checked(std::get<std::uint16_t>(data));
        case varLongWord:
            return checked(std::get<std::uint32_t>(data));
        case varUInt64:
            return checked(std::get<std::uint64_t>(data));
        default:
            CastError(from, target);
    }
}

std::uint64_t VariantAccess::ToUInt64(const Variant& v, TVarType target) {
    if (const auto* value = std::get_if<std::uint64_t>(&v.data_))
        return *value;
    if (const auto* text = std::get_if<String>(&v.data_)) {
        const String trimmed = Trim(*text);
        std::uint64_t value = 0;
        const std::string ascii(trimmed.begin(), trimmed.end());
        const auto [ptr, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
        if (ec == std::errc() && ptr == ascii.data() + ascii.size() &&
            trimmed.find_first_not_of(u"0123456789") == String::npos)
            return value;
    }
    const TVarType from = TypeOf(v);
    if (from == varDouble || from == varSingle || from == varDate) {
        const double real = ToDouble(v, target);
        constexpr double kTwoPow64 = 18446744073709551616.0;
        if (!(real >= 0 && real < kTwoPow64))
            OverflowError(from, target);
        if (real >= 9223372036854775808.0)
            return static_cast<std::uint64_t>(real);  // integral at this magnitude
    }
    return static_cast<std::uint64_t>(
        ToInt64(v, target, 0, std::numeric_limits<std::int64_t>::max()));
}

double VariantAccess::ToDouble(const Variant& v, TVarType target) {
    const TVarType from = TypeOf(v);
    const auto& data = v.data_;
    switch (from) {
        case varEmpty:
            return 0;
        case varBoolean:
            return std::get<bool>(data) ? -1 : 0;
        case varSingle:
            return std::get<float>(data);
        case varDouble:
            return std::get<double>(data);
        case varDate:
            return std::get<Variant::DateBox>(data).value;
        case varCurrency:
            return std::get<Currency>(data).ToDouble();
        case varUInt64:
            return static_cast<double>(std::get<std::uint64_t>(data));
        case varUString: {
            double value = 0;
            if (!TryStrToFloat(std::get<String>(data), value))
                CastError(from, target);
            return value;
        }
        case varNull:
        case varArray | varVariant:
            CastError(from, target);
        default:
            return static_cast<double>(ToInt64(v, target, std::numeric_limits<std::int64_t>::min(),
                                               std::numeric_limits<std::int64_t>::max()));
    }
}

Currency VariantAccess::ToCurrency(const Variant& v) {
    const TVarType from = TypeOf(v);
    const auto& data = v.data_;
    if (const auto* currency = std::get_if<Currency>(&data))
        return *currency;
    if (const auto* text = std::get_if<String>(&data)) {
        Currency value;
        if (TryStrToCurr(*text, value))
            return value;
    }
    if (v.IsOrdinal() && from != varUInt64) {
        const std::int64_t limit = std::numeric_limits<std::int64_t>::max() / Currency::kScale;
        return Currency::FromInt(ToInt64(v, varCurrency, -limit, limit));
    }
    const double real = ToDouble(v, varCurrency);
    try {
        return Currency::FromDouble(real);
    } catch (const EConvertError&) {
        OverflowError(from, varCurrency);
    }
}

Numeric VariantAccess::ToNumeric(const Variant& v, TVarType target) {
    Numeric number;
    const TVarType from = TypeOf(v);
    if (from == varCurrency) {
        number.scaled = std::get<Currency>(v.data_).scaled;
    } else if (from == varUInt64) {
        number.scaled = static_cast<__int128>(std::get<std::uint64_t>(v.data_)) * Currency::kScale;
    } else if (v.IsOrdinal() || from == varEmpty) {
        number.scaled =
            static_cast<__int128>(ToInt64(v, target, std::numeric_limits<std::int64_t>::min(),
                                          std::numeric_limits<std::int64_t>::max())) *
            Currency::kScale;
    } else if (from == varUString) {
        std::int64_t integer = 0;
        if (TryStrToInt64(std::get<String>(v.data_), integer)) {
            number.scaled = static_cast<__int128>(integer) * Currency::kScale;
        } else {
            number.exact = false;
            number.real = ToDouble(v, target);
        }
    } else {
        number.exact = false;
        number.real = ToDouble(v, target);
    }
    return number;
}

Variant::Variant(VariantArray items)
    : data_(ArrayBox{std::make_unique<VariantArray>(std::move(items))}) {}

Variant::Variant(const Variant& other) {
    *this = other;
}

Variant& Variant::operator=(const Variant& other) {
    if (this == &other)
        return *this;
    if (const auto* array = std::get_if<ArrayBox>(&other.data_))
        data_ = ArrayBox{std::make_unique<VariantArray>(*array->items)};
    else
        std::visit(
            [this](const auto& value) {
                if constexpr (!std::is_same_v<std::decay_t<decltype(value)>, ArrayBox>)
                    data_ = value;
            },
            other.data_);
    return *this;
}

Variant::~Variant() = default;

Variant Variant::Null() {
    Variant v;
    v.data_ = NullBox{};
    return v;
}

TVarType Variant::VarType() const {
    return VariantAccess::TypeOf(*this);
}

bool Variant::IsOrdinal() const {
    const TVarType type = VarType();
    return type == varSmallint || type == varInteger || type == varBoolean ||
           (type >= varShortInt && type <= varUInt64);
}

bool Variant::IsFloat() const {
    const TVarType type = VarType();
    return type == varSingle || type == varDouble || type == varCurrency;
}

bool Variant::IsNumeric() const {
    return IsOrdinal() || IsFloat();
}

int Variant::AsInteger() const {
    return static_cast<int>(VariantAccess::ToInt64(*this, varInteger,
                                                   std::numeric_limits<std::int32_t>::min(),
                                                   std::numeric_limits<std::int32_t>::max()));
}

std::int64_t Variant::AsInt64() const {
    return VariantAccess::ToInt64(*this, varInt64, std::numeric_limits<std::int64_t>::min(),
                                  std::numeric_limits<std::int64_t>::max());
}

std::uint64_t Variant::AsUInt64() const {
    return VariantAccess::ToUInt64(*this, varUInt64);
}

double Variant::AsDouble() const {
    return VariantAccess::ToDouble(*this, varDouble);
}

bool Variant::AsBoolean() const {
    const TVarType type = VarType();
    if (type == varBoolean)
        return std::get<bool>(data_);
    if (const auto* text = std::get_if<String>(&data_)) {
        bool value = false;
        if (!TextToBoolean(*text, value))
            CastError(type, varBoolean);
        return value;
    }
    if (type == varUInt64)
        return std::get<std::uint64_t>(data_) != 0;
    return VariantAccess::ToDouble(*this, varBoolean) != 0;
}

String Variant::AsString() const {
    const TVarType type = VarType();
    switch (type) {
        case varEmpty:
            return {};
        case varUString:
            return std::get<String>(data_);
        case varBoolean:
            return std::get<bool>(data_) ? u"True" : u"False";
        case varSingle:
            return SingleToText(std::get<float>(data_));
        case varDouble:
            return FloatToStr(std::get<double>(data_));
        case varCurrency:
            return CurrToStr(std::get<Currency>(data_));
        case varDate:
            return DateToText(std::get<DateBox>(data_).value);
        case varUInt64:
            return UInt64ToText(std::get<std::uint64_t>(data_));
        case varNull:
        case varArray | varVariant:
            CastError(type, varUString);
        default:
            return IntToStr(AsInt64());
    }
}

TDateTime Variant::AsDate() const {
    if (const auto* text = std::get_if<String>(&data_)) {
        TDateTime value = 0;
        if (ParseDateText(*text, value) || TryStrToFloat(*text, value))
            return value;
        CastError(varUString, varDate);
    }
    return VariantAccess::ToDouble(*this, varDate);
}

Currency Variant::AsCurrency() const {
    return VariantAccess::ToCurrency(*this);
}

const VariantArray& Variant::Items() const {
    const auto* array = std::get_if<ArrayBox>(&data_);
    if (array == nullptr)
        InvalidOp();
    return *array->items;
}

VariantArray& Variant::Items() {
    auto* array = std::get_if<ArrayBox>(&data_);
    if (array == nullptr)
        InvalidOp();
    return *array->items;
}

const Variant& Variant::operator[](int index) const {
    const VariantArray& items = Items();
    if (index < 0 || index >= static_cast<int>(items.size()))
        throw EVariantError(u"Variant or safe array index out of bounds");
    return items[index];
}

bool operator==(const Variant& a, const Variant& b) {
    return VarCompareValue(a, b) == TVariantRelationship::vrEqual;
}

String VarToStr(const Variant& v) {
    return v.IsNull() ? String() : v.AsString();
}

String VarToStrDef(const Variant& v, StringView fallback) {
    return v.IsNull() ? String(fallback) : v.AsString();
}

String VarTypeAsText(TVarType varType) {
    if (varType & varArray)
        return u"Array " + VarTypeAsText(varType & varTypeMask);
    switch (varType) {
        case varEmpty:
            return u"Empty";
        case varNull:
            return u"Null";
        case varSmallint:
            return u"Smallint";
        case varInteger:
            return u"Integer";
        case varSingle:
            return u"Single";
        case varDouble:
            return u"Double";
        case varCurrency:
            return u"Currency";
        case varDate:
            return u"Date";
        case varOleStr:
            return u"OleStr";
        case varBoolean:
            return u"Boolean";
        case varVariant:
            return u"Variant";
        case varShortInt:
            return u"ShortInt";
        case varByte:
            return u"Byte";
        case varWord:
            return u"Word";
        case varLongWord:
            return u"Cardinal";
        case varInt64:
            return u"Int64";
        case varUInt64:
            return u"UInt64";
        case varString:
            return u"String";
        case varUString:
            return u"UnicodeString";
        default:
            return u"$" + IntToHex(static_cast<std::uint64_t>(varType), 4);
    }
}

Variant VarAsType(const Variant& v, TVarType varType) {
    if (v.VarType() == varType)
        return v;
    if (v.IsNull() && varType != varEmpty)
        CastError(varNull, varType);
    auto integer = [&](std::int64_t min, std::int64_t max) {
        return VariantAccess::ToInt64(v, varType, min, max);
    };
    using L8 = std::numeric_limits<std::int8_t>;
    using L16 = std::numeric_limits<std::int16_t>;
    using L32 = std::numeric_limits<std::int32_t>;
    using L64 = std::numeric_limits<std::int64_t>;
    switch (varType) {
        case varEmpty:
            return Variant();
        case varNull:
            return Variant::Null();
        case varShortInt:
            return static_cast<std::int8_t>(integer(L8::min(), L8::max()));
        case varSmallint:
            return static_cast<std::int16_t>(integer(L16::min(), L16::max()));
        case varInteger:
            return static_cast<std::int32_t>(integer(L32::min(), L32::max()));
        case varInt64:
            return integer(L64::min(), L64::max());
        case varByte:
            return static_cast<std::uint8_t>(integer(0, 0xFF));
        case varWord:
            return static_cast<std::uint16_t>(integer(0, 0xFFFF));
        case varLongWord:
            return static_cast<std::uint32_t>(integer(0, 0xFFFFFFFF));
        case varUInt64:
            return VariantAccess::ToUInt64(v, varType);
        case varBoolean:
            return v.AsBoolean();
        case varSingle: {
            const double real = VariantAccess::ToDouble(v, varType);
            if (std::isfinite(real) && std::fabs(real) > std::numeric_limits<float>::max())
                OverflowError(v.VarType(), varType);
            return static_cast<float>(real);
        }
        case varDouble:
            return VariantAccess::ToDouble(v, varType);
        case varCurrency:
            return v.AsCurrency();
        case varDate:
            return Variant::FromDate(v.AsDate());
        case varString:
        case varUString:
        case varOleStr:
            return v.AsString();
        default:
            CastError(v.VarType(), varType);
    }
}

Variant VarArrayOf(VariantArray items) {
    return Variant(std::move(items));
}

TVariantRelationship VarCompareValue(const Variant& a, const Variant& b) {
    using enum TVariantRelationship;
    if (a.IsNull() || b.IsNull()) {
        if (a.IsNull() && b.IsNull())
            return vrEqual;
        return a.IsNull() ? vrLessThan : vrGreaterThan;
    }
    if (a.IsArray() || b.IsArray()) {
        if (!a.IsArray() || !b.IsArray() || a.Count() != b.Count())
            return vrNotEqual;
        for (int i = 0; i < a.Count(); ++i)
            if (VarCompareValue(a[i], b[i]) != vrEqual)
                return vrNotEqual;
        return vrEqual;
    }
    const bool aText = a.IsStr() || a.IsEmpty();
    const bool bText = b.IsStr() || b.IsEmpty();
    if (aText && bText)
        return CompareOrdered(CompareStr(a.AsString(), b.AsString()), 0);
    const bool aBool = a.VarType() == varBoolean;
    const bool bBool = b.VarType() == varBoolean;
    if ((aBool && b.IsStr()) || (bBool && a.IsStr())) {
        // Text against a boolean reads the text as a boolean; true orders as -1.
        return CompareOrdered(b.AsBoolean(), a.AsBoolean());
    }
    if ((a.IsDate() && b.IsStr()) || (b.IsDate() && a.IsStr()))
        return CompareOrdered(a.AsDate(), b.AsDate());
    return CompareNumeric(VariantAccess::ToNumeric(a, b.VarType()),
                          VariantAccess::ToNumeric(b, a.VarType()));
}

int VarCompare(const Variant& a, const Variant& b) {
    switch (VarCompareValue(a, b)) {
        case TVariantRelationship::vrEqual:
            return 0;
        case TVariantRelationship::vrLessThan:
            return -1;
        case TVariantRelationship::vrGreaterThan:
            return 1;
        default:
            InvalidOp();
    }
}

}  // namespace kw
