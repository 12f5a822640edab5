#pragma once

#include <cstdint>
#include <initializer_list>
#include <type_traits>
#include <variant>

#include "platform/types.h"

namespace kw {

// --- Trimming -------------------------------------------------------------------------------
// Removes every character up to U+0020 (blanks and control characters) at both ends.
String Trim(StringView text);
String TrimLeft(StringView text);
String TrimRight(StringView text);

// --- Case, ASCII only (the platform's UpperCase, LowerCase, SameText, CompareText) -----------
String UpperCase(StringView text);
String LowerCase(StringView text);
bool SameText(StringView a, StringView b);
// <0, 0, >0 comparing code units after ASCII upper-casing.
int CompareText(StringView a, StringView b);
// <0, 0, >0 comparing code units.
int CompareStr(StringView a, StringView b);

// --- Case, plain Unicode (locale-independent full case mapping and folding) ----------------
String AnsiUpperCase(StringView text);
String AnsiLowerCase(StringView text);
// Equal under Unicode case folding.
bool AnsiSameText(StringView a, StringView b);

// --- Locale-aware comparison through the collation of the current collation locale ---------
// Ignoring letter case (and, as collation does, giving accents less weight than letters).
int AnsiCompareText(StringView a, StringView b);
// Case-sensitive collation order.
int AnsiCompareStr(StringView a, StringView b);
// The collation locale is process-wide ("en_US" until set) and never taken from LANG/LC_ALL.
void SetCollationLocale(const std::string& localeId);
std::string CollationLocale();

// --- Formatting --------------------------------------------------------------------------------
// One argument of Format: any integer, floating-point number or text.
class FormatArg {
public:
    template <class T>
    requires std::is_integral_v<T> FormatArg(
        T value) {  // NOLINT(google-explicit-constructor): arguments convert implicitly
        if constexpr (std::is_signed_v<T>) {
            value_ = static_cast<std::int64_t>(value);
        } else {
            value_ = static_cast<std::uint64_t>(value);
        }
    }
    FormatArg(double value) : value_(value) {}             // NOLINT(google-explicit-constructor)
    FormatArg(StringView text) : value_(String(text)) {}   // NOLINT(google-explicit-constructor)
    FormatArg(const String& text) : value_(text) {}        // NOLINT(google-explicit-constructor)
    FormatArg(const Char* text) : value_(String(text)) {}  // NOLINT(google-explicit-constructor)

    using Value = std::variant<std::int64_t, std::uint64_t, double, String>;
    const Value& value() const { return value_; }

private:
    Value value_;
};
// The platform's Format: %s %d %u %x %X %f %e %g %n %m %p %%, with flags "-", width and
// precision given as numbers or "*" (taken from the arguments), such as "%.*f", "%0.*f",
// "%2.2d", "%4.4d", "%-10s". The decimal separator is always ".". An argument of the wrong
// kind or a missing one raises EConvertError.
String Format(StringView format, std::initializer_list<FormatArg> args);

// --- Conversions -------------------------------------------------------------------------------
// Strict: leading/trailing blanks are allowed, anything else that is not a number raises
// EConvertError "'%s' is not a valid integer value" (resp. "floating point value").
// Integers accept a sign and the hexadecimal prefixes "$" and "0x".
int StrToInt(StringView text);
std::int64_t StrToInt64(StringView text);
double StrToFloat(StringView text, Char decimalSeparator = u'.');
int StrToIntDef(StringView text, int fallback);
std::int64_t StrToInt64Def(StringView text, std::int64_t fallback);
bool TryStrToInt(StringView text, int& value);
bool TryStrToInt64(StringView text, std::int64_t& value);
bool TryStrToFloat(StringView text, double& value, Char decimalSeparator = u'.');
String IntToStr(std::int64_t value);
String IntToHex(std::uint64_t value, int digits);
// Shortest text that reads back as the same double, with "." as separator ("1.5", "1E20").
String FloatToStr(double value);

// --- Helpers -----------------------------------------------------------------------------------
// ASCII-literal convenience: u"..." literals are preferred; this is for computed ASCII text.
String AsciiToString(std::string_view ascii);
String StringReplaceAll(StringView text, StringView from, StringView to, bool ignoreCase = false);
// 1-based position of `sub` in `text`, 0 when absent (the platform's Pos).
int Pos(StringView sub, StringView text);

}  // namespace kw
