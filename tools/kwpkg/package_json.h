#pragma once

#include "kwpkg/kinds.h"

namespace kw {
class TKwPkgInfo;
class TKwPkgStrings;
struct TKwDesignWindow;
}  // namespace kw

namespace kwpkg {

// Strings packages, alone or inside a language file.
Json StringsToJson(const kw::TKwPkgStrings& package);
// Fills a package held in loading state from its JSON form; `path` prefixes error messages.
void StringsFromJson(const Json& source, const std::string& path, kw::TKwPkgStrings& package);

Json DumpStrings(const TBytes& file);
TBytes BuildStrings(const Json& source);
Json DumpLanguage(const TBytes& file);
TBytes BuildLanguage(const Json& source);

// The editor window values that strings and variables packages keep; `state` from version 4.
Json DesignWindowToJson(const kw::TKwDesignWindow& window, int version);
void DesignWindowFromJson(const Json& source, const std::string& path, kw::TKwDesignWindow& window);

// Shared by the kinds: the version a source asks for (the newest when absent), checked against
// what the library writes.
int SourceVersion(TJsonFields& fields, const kw::TKwPkgFormat& format);
// The kind member of a source must name `kind` when present.
void CheckKind(TJsonFields& fields, const char* kind);
// Loads a package from file bytes without notifying anyone, and writes one out.
void LoadQuietly(kw::TKwPkgInfo& package, const TBytes& file);
TBytes SaveBytes(kw::TKwPkgInfo& package);

}  // namespace kwpkg
