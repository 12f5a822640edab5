#pragma once

#include "framework/pkg_header.h"

namespace kw {

// Every package file kind: signature word, newest version, and the "System" messages for a
// wrong signature and for a newer version.
inline constexpr TKwPkgFormat kKwFormatSetup{u"KwPkgSetup", 5, 20, 21};
inline constexpr TKwPkgFormat kKwFormatLanguage{u"KwPkgLanguage", 3, 33, 41};
inline constexpr TKwPkgFormat kKwFormatDisplay{u"KwPkgDisplay", 9, 18, 19};
inline constexpr TKwPkgFormat kKwFormatImages{u"KwPkgImages", 7, 39, 40};
inline constexpr TKwPkgFormat kKwFormatImage{u"KwPkgImage", 7, 39, 40};
inline constexpr TKwPkgFormat kKwFormatStrings{u"KwPkgStrings", 5, 46, 47};
inline constexpr TKwPkgFormat kKwFormatVars{u"KwPkgVars", 4, 31, 32};
inline constexpr TKwPkgFormat kKwFormatAccess{u"KwAccess", 3, 62, 63};
inline constexpr TKwPkgFormat kKwFormatVisibles{u"KwVisibles", 6, 62, 63};
inline constexpr TKwPkgFormat kKwFormatTemplate{u"KwPrivileges", 5, 62, 63};

// A package file's description, read without loading the package. Path is a full path.
String KwReadPkgSetupDescription(const String& path);
String KwReadPkgLanguageDescription(const String& path);
String KwReadPkgDisplayDescription(const String& path);
String KwReadPkgImagesDescription(const String& path);
String KwReadPkgStringsDescription(const String& path);
String KwReadPkgVarsDescription(const String& path);
String KwReadPkgAccessDescription(const String& path);
// Template files carry a description from version 2 on; older ones give empty text.
String KwReadPkgTemplateDescription(const String& path);

}  // namespace kw
