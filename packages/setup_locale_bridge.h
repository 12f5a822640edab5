#pragma once

namespace kw {

class TKwCApplication;
class TKwPkgInfo;

// What the setup package needs from the language side. The locale types and the value-conversion
// types each declare their own date-order enumeration, so no one file can see both; these
// routines keep the setup package on the value-conversion side.

// The platform's date order as an ordinal: 0 day first, 1 month first, 2 year first, the way
// both enumerations count.
int KwSystemDateOrder();
// The application object's language package, or none.
TKwPkgInfo* KwLanguagePackageOf(TKwCApplication& app);

}  // namespace kw
