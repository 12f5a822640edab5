#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <variant>

#include "platform/core/types.h"

namespace kw {

// --- Trimming -------------------------------------------------------------------------------
// Removes every character up to U+0020 (blanks and control characters) at the ends.
String Trim(StringView text);
String TrimLeft(StringView text);
String TrimRight(StringView text);

// --- Case, ASCII only (the platform's UpperCase, LowerCase, SameText, CompareText) -----------
String UpperCase(StringView text);
String LowerCase(StringView text);
bool SameText(StringView a, StringView b);
// -1, 0 or 1 comparing code units after ASCII upper-casing.
int CompareText(StringView a, StringView b);
// -1, 0 or 1 comparing code units.
int CompareStr(StringView a, StringView b);

// --- Case, plain Unicode (locale-independent full case mapping and folding) ----------------
String AnsiUpperCase(StringView text);
String AnsiLowerCase(StringView text);
// Equal under full Unicode case folding.
bool AnsiSameText(StringView a, StringView b);

// --- Locale-aware comparison through the collation of the current collation locale ---------
// -1, 0 or 1. Ignores letter case (accents still count, with less weight than letters).
int AnsiCompareText(StringView a, StringView b);
// -1, 0 or 1. Case-sensitive collation order.
int AnsiCompareStr(StringView a, StringView b);
// A key whose byte order (std::string comparison) is AnsiCompareText's order: equal keys mean
// texts that compare equal. Keys of different collation locales must not be mixed.
std::string AnsiSortKey(StringView text);
// The collation locale is process-wide ("en_US" until set) and never taken from LANG/LC_ALL.
// An identifier the collation service cannot open at all raises EInvalidArgument; unknown
// but well-formed identifiers fall back to the root collation.
void SetCollationLocale(const std::string& localeId);
std::string CollationLocale();
// Back to "en_US", releasing the cached collators.
void ResetCollationLocale();

// --- Formatting --------------------------------------------------------------------------------
// One argument of Format: any integer, floating-point number, text, character or pointer.
class FormatArg {
public:
    template <class T>
    requires std::is_integral_v<T> FormatArg(
        T value)  // NOLINT(google-explicit-constructor): arguments convert implicitly
        : bits_(sizeof(T) > 4 ? 64 : 32) {
        if constexpr (std::is_same_v<T, Char> || std::is_same_v<T, char>) {
            value_ = String(1, static_cast<Char>(static_cast<std::make_unsigned_t<T>>(value)));
        } else if constexpr (std::is_signed_v<T>) {
            value_ = static_cast<std::int64_t>(value);
        } else {
            value_ = static_cast<std::uint64_t>(value);
        }
    }
    FormatArg(double value) : value_(value) {}             // NOLINT(google-explicit-constructor)
    FormatArg(StringView text) : value_(String(text)) {}   // NOLINT(google-explicit-constructor)
    FormatArg(const String& text) : value_(text) {}        // NOLINT(google-explicit-constructor)
    FormatArg(const Char* text) : value_(String(text)) {}  // NOLINT(google-explicit-constructor)
    FormatArg(const void* pointer)                         // NOLINT(google-explicit-constructor)
        : value_(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(pointer))),
          bits_(sizeof(void*) * 8) {}

    using Value = std::variant<std::int64_t, std::uint64_t, double, String>;
    const Value& value() const { return value_; }
    // Width of the integer as passed (at least 32): %u, %x and %p of a negative int show 32 bits.
    int bits() const { return bits_; }

private:
    Value value_;
    int bits_ = 64;
};

// The platform's Format. Each specifier is
//   "%" [index ":"] ["-"] [width] ["." precision] type
// where width and precision are digits or "*" (taken from the next argument, an integer) and
// "-" left-justifies within the width (blanks pad; a leading "0" is just part of the width).
//   %d %u       integers; precision is the minimum number of digits, zero-padded ("%2.2d" of
//               -5 is "-05"); %u shows a negative value as its unsigned bit pattern
//   %x %X       upper-case hexadecimal, precision as for %d
//   %p          a pointer or integer as hexadecimal with two digits per byte
//   %s          text or a character; precision truncates
//   %f          fixed, precision decimals (default 2)
//   %n          as %f with "," between thousands
//   %m          money: as %n, default 2 decimals, no currency symbol
//   %e          scientific with precision significant digits (default 15), the exponent sign
//               always written and at least three exponent digits: "1.50000000000000E+003"
//   %g          general, precision significant digits (default 15) without trailing zeros:
//               fixed notation unless the exponent is below -4 or at least the precision, then
//               "1.5E20" / "1E-7"
//   %%          a percent sign
// Type letters may be upper case. Floating-point values round their exact binary value half
// away from zero; infinities and NaN print as "INF", "-INF", "NAN". The decimal separator is
// always "." and the process locale is never consulted. An argument of the wrong kind (an
// integer for %f included), a missing argument or an unknown specifier raises EConvertError
// "Format '<format>' invalid or incompatible with argument".
String Format(StringView format, std::initializer_list<FormatArg> args);

// --- Conversions -------------------------------------------------------------------------------
// Strict: blanks (up to U+0020) are allowed around the number, anything else that is not a
// number raises EConvertError "'<text>' is not a valid integer value" (resp. "floating point
// value"). Integers accept a sign and the hexadecimal prefixes "$", "0x" and "0X"; hexadecimal
// may use the full unsigned range of the type ("$FFFFFFFF" is -1 for StrToInt). Values out of
// range raise the same error.
int StrToInt(StringView text);
std::int64_t StrToInt64(StringView text);
// Accepts digits with at most one decimal separator and an optional exponent ("1.5e-3").
double StrToFloat(StringView text, Char decimalSeparator = u'.');
int StrToIntDef(StringView text, int fallback);
std::int64_t StrToInt64Def(StringView text, std::int64_t fallback);
double StrToFloatDef(StringView text, double fallback, Char decimalSeparator = u'.');
bool TryStrToInt(StringView text, int& value);
bool TryStrToInt64(StringView text, std::int64_t& value);
bool TryStrToFloat(StringView text, double& value, Char decimalSeparator = u'.');
String IntToStr(std::int64_t value);
// Upper-case hexadecimal, zero-padded to at least `digits`. A negative signed value shows the
// bit pattern of its own type (IntToHex(-1, 2) of an int is "FFFFFFFF").
String IntToHex(std::uint64_t value, int digits);
template <class T>
requires(std::is_integral_v<T>&& std::is_signed_v<T>) String IntToHex(T value, int digits) {
    return IntToHex(static_cast<std::uint64_t>(static_cast<std::make_unsigned_t<T>>(value)),
                    digits);
}
// Shortest text that reads back as the same double, with "." as separator ("1.5", "-0.001");
// exponent notation ("1E20", "1E-5") below 1E-4 or from 1E15 on. "INF", "-INF", "NAN".
String FloatToStr(double value);

// --- Helpers -----------------------------------------------------------------------------------
// ASCII-literal convenience: u"..." literals are preferred; this is for computed ASCII text.
String AsciiToString(std::string_view ascii);
// Replaces every non-overlapping occurrence from left to right; an empty `from` changes nothing.
// ignoreCase compares ASCII letters without case.
String StringReplaceAll(StringView text, StringView from, StringView to, bool ignoreCase = false);
// 1-based position of `sub` in `text`, 0 when absent or when `sub` is empty (the platform's Pos).
int Pos(StringView sub, StringView text);

}  // namespace kw
