#include "framework/pkg_formats.h"
#include "kwpkg/package_json.h"
#include "packages/language_package.h"
#include "packages/package_scopes.h"
#include "platform/text/string_list.h"

namespace kwpkg {

namespace {

const std::vector<const char*> kDateFormats{"dfodmy", "dfomdy", "dfoymd"};
const std::vector<const char*> kDateYears{"dyeNone", "dyeYear2", "dyeYear4"};
const std::vector<const char*> kStartsOfWeek{"sweMon", "sweTue", "sweWed", "sweThu",
                                             "sweFri", "sweSat", "sweSun"};
const std::vector<const char*> kStartWeekYears{"swyJanuary", "swyFullWeek", "swyFourDays"};
const std::vector<const char*> kCurrencyFormats{"cfoc1", "cfo1c", "cfocc1", "cfo1cc"};

Json CharToJson(kw::Char c) {
    return ToJson(kw::String(1, c));
}

std::vector<kw::String> NamesOf(const kw::TStringList& list) {
    std::vector<kw::String> names;
    for (int i = 0; i < list.Count(); ++i)
        names.push_back(list.Strings(i));
    return names;
}

// Reads a name list member into the locale through `set`, keeping `current` when absent.
template <class Set>
void ReadNames(TJsonFields& fields, const char* key, const kw::TStringList& current, Set set) {
    kw::TStringList list;
    for (const kw::String& name : fields.Texts(key, NamesOf(current)))
        list.Add(name);
    set(list);
}

}  // namespace

Json DumpLanguage(const TBytes& file) {
    kw::TKwPkgLanguage package;
    LoadQuietly(package, file);
    const int version = package.LoadedVersion();
    const kw::TKwPkgLanguageLocale& locale = package.Locale();
    Json json;
    json["kind"] = "language";
    json["version"] = version;
    json["description"] = ToJson(package.Description());
    json["dateCentury"] = locale.DateCentury();
    json["dateFormat"] = EnumToJson(locale.DateFormat(), kDateFormats);
    json["dateSeparator"] = CharToJson(locale.DateSeparator());
    json["dayLongNames"] = ToJson(NamesOf(locale.DayLongNames()));
    json["dayShortNames"] = ToJson(NamesOf(locale.DayShortNames()));
    json["maskDateYear"] = EnumToJson(locale.MaskDateYear(), kDateYears);
    json["maskDateYearFix"] = locale.MaskDateYearFix();
    json["maskDecimals"] = locale.MaskDecimals();
    json["monthLongNames"] = ToJson(NamesOf(locale.MonthLongNames()));
    json["monthShortNames"] = ToJson(NamesOf(locale.MonthShortNames()));
    json["numericDecimalSeparator"] = CharToJson(locale.NumericDecimalSeparator());
    json["numericThousandSeparator"] = CharToJson(locale.NumericThousandSeparator());
    json["startOfWeek"] = EnumToJson(locale.StartOfWeek(), kStartsOfWeek);
    json["startWeekYear"] = EnumToJson(locale.StartWeekYear(), kStartWeekYears);
    json["timeAMString"] = ToJson(locale.TimeAMString());
    json["timePMString"] = ToJson(locale.TimePMString());
    json["timeSeparator"] = CharToJson(locale.TimeSeparator());
    if (version >= 3) {
        json["numericCurrencyString"] = ToJson(locale.NumericCurrencyString());
        json["numericCurrencyFormat"] =
            EnumToJson(locale.NumericCurrencyFormat(), kCurrencyFormats);
    }
    json["autoLoad"] = locale.AutoLoad();
    json["system"] = StringsToJson(package.SystemStrings());
    json["user"] = StringsToJson(package.UserStrings());
    if (version >= 2) {
        json["updateDateTime"] = package.UpdateDateTime();
        json["lastUpdateFile"] = ToJson(package.LastUpdateFile());
    }
    return json;
}

TBytes BuildLanguage(const Json& source) {
    using L = kw::TKwPkgLanguageLocale;
    kw::TKwPkgLanguage package;
    {
        kw::TKwLoadingScope building(package);
        TJsonFields fields(source, "");
        CheckKind(fields, "language");
        package.SetSaveVersion(SourceVersion(fields, kw::kKwFormatLanguage));
        package.SetDescription(fields.Text("description", kw::String()));
        L& locale = package.Locale();
        locale.SetDateCentury(fields.Integer("dateCentury", locale.DateCentury()));
        locale.SetDateFormat(static_cast<kw::TKwDateFormat>(
            fields.Enum("dateFormat", kDateFormats, locale.DateFormat())));
        locale.SetDateSeparator(fields.Character("dateSeparator", locale.DateSeparator()));
        ReadNames(fields, "dayLongNames", locale.DayLongNames(),
                  [&](const kw::TStringList& l) { locale.SetDayLongNames(l); });
        ReadNames(fields, "dayShortNames", locale.DayShortNames(),
                  [&](const kw::TStringList& l) { locale.SetDayShortNames(l); });
        locale.SetMaskDateYear(static_cast<kw::TKwDateYear>(
            fields.Enum("maskDateYear", kDateYears, locale.MaskDateYear())));
        locale.SetMaskDateYearFix(fields.Integer("maskDateYearFix", locale.MaskDateYearFix()));
        locale.SetMaskDecimals(fields.Integer("maskDecimals", locale.MaskDecimals()));
        ReadNames(fields, "monthLongNames", locale.MonthLongNames(),
                  [&](const kw::TStringList& l) { locale.SetMonthLongNames(l); });
        ReadNames(fields, "monthShortNames", locale.MonthShortNames(),
                  [&](const kw::TStringList& l) { locale.SetMonthShortNames(l); });
        locale.SetNumericDecimalSeparator(
            fields.Character("numericDecimalSeparator", locale.NumericDecimalSeparator()));
        locale.SetNumericThousandSeparator(
            fields.Character("numericThousandSeparator", locale.NumericThousandSeparator()));
        locale.SetStartOfWeek(static_cast<kw::TKwStartOfWeek>(
            fields.Enum("startOfWeek", kStartsOfWeek, locale.StartOfWeek())));
        locale.SetStartWeekYear(static_cast<kw::TKwStartWeekYear>(
            fields.Enum("startWeekYear", kStartWeekYears, locale.StartWeekYear())));
        locale.SetTimeAMString(fields.Text("timeAMString", locale.TimeAMString()));
        locale.SetTimePMString(fields.Text("timePMString", locale.TimePMString()));
        locale.SetTimeSeparator(fields.Character("timeSeparator", locale.TimeSeparator()));
        locale.SetNumericCurrencyString(
            fields.Text("numericCurrencyString", locale.NumericCurrencyString()));
        locale.SetNumericCurrencyFormat(static_cast<kw::TKwCurrencyFormat>(fields.Enum(
            "numericCurrencyFormat", kCurrencyFormats, locale.NumericCurrencyFormat())));
        locale.SetAutoLoad(fields.Boolean("autoLoad", locale.AutoLoad()));
        if (const Json* strings = fields.Object("system"))
            StringsFromJson(*strings, "system", package.SystemStrings());
        if (const Json* strings = fields.Object("user"))
            StringsFromJson(*strings, "user", package.UserStrings());
        package.SetUpdateDateTime(fields.Number("updateDateTime", 0.0));
        package.SetLastUpdateFile(fields.Text("lastUpdateFile", kw::String()));
        fields.Finish();
    }
    return SaveBytes(package);
}

}  // namespace kwpkg
