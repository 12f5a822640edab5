#pragma once

#include "platform/core/variant.h"
#include "util/kw_types.h"

namespace kw {

// "Integer", "Currency", "Double", "String", "DateTime", "Binary", "Memo".
String KwDataTypeToStr(TKwDataType dataType);
// Kinds held in a variant; the blob kinds are not.
bool KwIsVariant(TKwDataType dataType);
bool KwIsBlob(TKwDataType dataType);

// The source as it is, or the zero of the kind when it is null (blob kinds stay null).
Variant KwVarCast(const Variant& source, TKwDataType dataType);
// The source converted to the kind through the canonical texts; null stays null, as does an
// all-blank text for the non-text kinds, and a value that cannot be converted gives the zero
// of the kind. Integers are 32-bit when they fit, else 64-bit; booleans count as 1 and 0.
Variant KwDataCast(const Variant& source, TKwDataType dataType);
// KwDataCast to text; null gives "".
String KwDataString(const Variant& value);
// An array variant of the first `count` values.
Variant KwVarArrayOf(const VariantArray& values, int count);

// Equal by the variant comparison; false also when the two cannot be compared.
bool KwVarEquals(const Variant& a, const Variant& b);
// Empty matches only empty, null only null, text never matches a non-text; otherwise equal.
bool KwVarSameValue(const Variant& a, const Variant& b);
// Null or empty.
bool KwVarIsNull(const Variant& value);
// The variant that holds the value; variants here never refer to other variants.
inline const Variant& KwFindVarData(const Variant& value) {
    return value;
}

bool KwVarTypeIsOrdinal(TVarType varType);
bool KwVarTypeIsFloat(TVarType varType);
bool KwVarTypeIsNumeric(TVarType varType);
bool KwVarTypeIsStr(TVarType varType);
bool KwVarIsOrdinal(const Variant& value);
bool KwVarIsNumeric(const Variant& value);
bool KwVarIsStr(const Variant& value);

}  // namespace kw
