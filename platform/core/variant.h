#pragma once

#include <compare>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/core/currency.h"
#include "platform/core/datetime.h"
#include "platform/core/exception.h"
#include "platform/core/types.h"

namespace kw {

// Variant type codes as the platform numbers them.
using TVarType = Word;
inline constexpr TVarType varEmpty = 0x0000;
inline constexpr TVarType varNull = 0x0001;
inline constexpr TVarType varSmallint = 0x0002;  // int16
inline constexpr TVarType varInteger = 0x0003;   // int32
inline constexpr TVarType varSingle = 0x0004;
inline constexpr TVarType varDouble = 0x0005;
inline constexpr TVarType varCurrency = 0x0006;
inline constexpr TVarType varDate = 0x0007;
inline constexpr TVarType varOleStr = 0x0008;
inline constexpr TVarType varBoolean = 0x000B;
inline constexpr TVarType varVariant = 0x000C;   // element type of arrays of variants
inline constexpr TVarType varShortInt = 0x0010;  // int8
inline constexpr TVarType varByte = 0x0011;      // uint8
inline constexpr TVarType varWord = 0x0012;      // uint16
inline constexpr TVarType varLongWord = 0x0013;  // uint32
inline constexpr TVarType varInt64 = 0x0014;
inline constexpr TVarType varUInt64 = 0x0015;
inline constexpr TVarType varString = 0x0100;   // accepted as a target; values carry varUString
inline constexpr TVarType varUString = 0x0102;  // every string variant is UTF-16
inline constexpr TVarType varTypeMask = 0x0FFF;
inline constexpr TVarType varArray = 0x2000;  // flag: an array of variants is varArray | varVariant

// Raised by variant casts and comparisons.
KW_DECLARE_EXCEPTION(EVariantError, Exception);
// "Could not convert variant of type (Null) into type (Integer)"; also for text that is not a
// number or a date.
KW_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError);
// "Arithmetic overflow converting variant of type (Double) into type (Smallint)".
KW_DECLARE_EXCEPTION(EVariantOverflowError, EVariantError);
// "Invalid variant operation", e.g. ordering arrays.
KW_DECLARE_EXCEPTION(EVariantInvalidOpError, EVariantError);

// Marks a double as a date-time when constructing a variant (TDateTime is a plain double).
struct VarDateTag {
    TDateTime value;
};
inline VarDateTag AsVarDate(TDateTime value) {
    return VarDateTag{value};
}

class Variant;
using VariantArray = std::vector<Variant>;

// The result of ordering two variants. Arrays and values that cannot be ordered against each
// other compare vrNotEqual.
enum class TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

// A value of one of the platform's variant kinds. Copying copies arrays deeply.
//
// Casts follow the platform:
//   - Empty converts to 0, 0.0, false, "" and date 0; Null raises EVariantTypeCastError.
//   - Floating-point values round to integers with halves to even; out-of-range values raise
//     EVariantOverflowError. True is -1 as a number and "True" as text.
//   - Text converts to numbers as plain "."-decimal numbers (with optional exponent and blanks
//     around), to booleans from "True"/"False" (any case) or a number, and to dates from
//     "yyyy-mm-dd", "yyyy-mm-dd hh:nn[:ss[.zzz]]", "hh:nn[:ss[.zzz]]" or a plain number.
//   - Dates convert to text as "yyyy-mm-dd", "hh:nn:ss" or both, the time only when non-zero
//     (with ".zzz" when there are milliseconds). The process locale is never consulted.
class Variant {
public:
    Variant() = default;
    template <class T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char> &&
             !std::is_same_v<T, Char>) Variant(T value)  // NOLINT(google-explicit-constructor)
        : data_(FromIntegral(value)) {}
    Variant(bool value) : data_(value) {}                     // NOLINT(google-explicit-constructor)
    Variant(float value) : data_(value) {}                    // NOLINT(google-explicit-constructor)
    Variant(double value) : data_(value) {}                   // NOLINT(google-explicit-constructor)
    Variant(Currency value) : data_(value) {}                 // NOLINT(google-explicit-constructor)
    Variant(VarDateTag date) : data_(DateBox{date.value}) {}  // NOLINT(google-explicit-constructor)
    Variant(String value) : data_(std::move(value)) {}        // NOLINT(google-explicit-constructor)
    Variant(StringView value) : data_(String(value)) {}       // NOLINT(google-explicit-constructor)
    Variant(const Char* value) : data_(String(value)) {}      // NOLINT(google-explicit-constructor)
    Variant(VariantArray items);                              // NOLINT(google-explicit-constructor)

    Variant(const Variant& other);
    Variant(Variant&& other) noexcept = default;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept = default;
    ~Variant();

    static Variant Null();
    static Variant FromDate(TDateTime value) { return Variant(VarDateTag{value}); }

    // varEmpty, varNull, varInteger, ... or varArray | varVariant.
    TVarType VarType() const;
    bool IsEmpty() const { return std::holds_alternative<std::monostate>(data_); }
    bool IsNull() const { return std::holds_alternative<NullBox>(data_); }
    // Empty or null.
    bool IsClear() const { return IsEmpty() || IsNull(); }
    bool IsArray() const { return std::holds_alternative<ArrayBox>(data_); }
    // Integer kinds and boolean.
    bool IsOrdinal() const;
    // Single, double and currency.
    bool IsFloat() const;
    // Ordinal or float.
    bool IsNumeric() const;
    bool IsStr() const { return std::holds_alternative<String>(data_); }
    bool IsDate() const { return std::holds_alternative<DateBox>(data_); }

    // Casts; see the class comment for the rules.
    int AsInteger() const;
    std::int64_t AsInt64() const;
    std::uint64_t AsUInt64() const;
    double AsDouble() const;
    bool AsBoolean() const;
    String AsString() const;
    TDateTime AsDate() const;
    Currency AsCurrency() const;

    // Elements of an array variant; other kinds raise EVariantInvalidOpError.
    const VariantArray& Items() const;
    VariantArray& Items();
    int Count() const { return static_cast<int>(Items().size()); }
    const Variant& operator[](int index) const;

    // Exact equality after the platform's conversions: Null equals only Null, Empty equals 0 and
    // "", numbers compare by value, text against a number is read as a number (raising when it
    // is not one), text against text compares code units, arrays element by element.
    friend bool operator==(const Variant& a, const Variant& b);

private:
    struct NullBox {};
    struct DateBox {
        TDateTime value;
    };
    struct ArrayBox {
        std::unique_ptr<VariantArray> items;
    };
    using Data =
        std::variant<std::monostate, NullBox, std::int8_t, std::int16_t, std::int32_t, std::int64_t,
                     std::uint8_t, std::uint16_t, std::uint32_t, std::uint64_t, bool, float, double,
                     Currency, DateBox, String, ArrayBox>;

    template <class T>
    static Data FromIntegral(T value) {
        if constexpr (std::is_signed_v<T>) {
            if constexpr (sizeof(T) == 1)
                return static_cast<std::int8_t>(value);
            else if constexpr (sizeof(T) == 2)
                return static_cast<std::int16_t>(value);
            else if constexpr (sizeof(T) == 4)
                return static_cast<std::int32_t>(value);
            else
                return static_cast<std::int64_t>(value);
        } else {
            if constexpr (sizeof(T) == 1)
                return static_cast<std::uint8_t>(value);
            else if constexpr (sizeof(T) == 2)
                return static_cast<std::uint16_t>(value);
            else if constexpr (sizeof(T) == 4)
                return static_cast<std::uint32_t>(value);
            else
                return static_cast<std::uint64_t>(value);
        }
    }

    friend class VariantAccess;
    Data data_;
};

// --- Free helpers with the platform's names -----------------------------------------------------
inline TVarType VarType(const Variant& v) {
    return v.VarType();
}
inline bool VarIsNull(const Variant& v) {
    return v.IsNull();
}
inline bool VarIsEmpty(const Variant& v) {
    return v.IsEmpty();
}
inline bool VarIsClear(const Variant& v) {
    return v.IsClear();
}
inline bool VarIsArray(const Variant& v) {
    return v.IsArray();
}
inline bool VarIsOrdinal(const Variant& v) {
    return v.IsOrdinal();
}
inline bool VarIsFloat(const Variant& v) {
    return v.IsFloat();
}
inline bool VarIsNumeric(const Variant& v) {
    return v.IsNumeric();
}
inline bool VarIsStr(const Variant& v) {
    return v.IsStr();
}
// The text of a value, "" for Null and Empty.
String VarToStr(const Variant& v);
String VarToStrDef(const Variant& v, StringView fallback);
// The name the platform gives a type code: "Empty", "Null", "Integer", "UnicodeString", ...
String VarTypeAsText(TVarType varType);
// The value converted to `varType` (one of the codes above, not an array); raises like the casts.
Variant VarAsType(const Variant& v, TVarType varType);
Variant VarArrayOf(VariantArray items);

// Ordering with the platform's rules for Null: Null equals Null and is below everything else.
// Empty is ordered as 0 against numbers and "" against text; arrays give vrNotEqual unless
// equal. Text against text compares code units; text against a number is read as a number.
TVariantRelationship VarCompareValue(const Variant& a, const Variant& b);
// -1, 0 or 1 under the same rules; raises EVariantInvalidOpError where they give vrNotEqual.
int VarCompare(const Variant& a, const Variant& b);
// Ordering operators (raise EVariantInvalidOpError for arrays).
inline bool operator<(const Variant& a, const Variant& b) {
    return VarCompare(a, b) < 0;
}
inline bool operator>(const Variant& a, const Variant& b) {
    return VarCompare(a, b) > 0;
}
inline bool operator<=(const Variant& a, const Variant& b) {
    return VarCompare(a, b) <= 0;
}
inline bool operator>=(const Variant& a, const Variant& b) {
    return VarCompare(a, b) >= 0;
}

}  // namespace kw
