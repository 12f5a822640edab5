#include "framework/pkg_formats.h"
#include "kwpkg/package_json.h"
#include "kwpkg/settings_kinds.h"
#include "packages/package_scopes.h"
#include "packages/setup_package.h"

namespace kwpkg {

namespace {

const std::vector<const char*> kDeleteTypes{"dltNone", "dltBoth", "dltControls", "dltGrids"};
const std::vector<const char*> kEngines{"dbeCustom", "dbeBDE", "dbeADO"};
const std::vector<const char*> kDateFormats{"dfodmy", "dfomdy", "dfoymd"};
// In the order of TKwSetupShortCut, which is the payload's.
constexpr const char* kShortCutKeys[kw::kKwSetupShortCuts] = {
    "btnCalculator", "btnCalendar",  "btnCustom1",  "btnCustom2", "btnMaint",     "btnRelation",
    "insertRecord",  "appendRecord", "editRecord",  "postRecord", "deleteRecord", "refresh",
    "firstRecord",   "lastRecord",   "priorRecord", "nextRecord"};
constexpr const char* kFileKeys[] = {"language", "display", "vars"};
constexpr kw::TKwSetupFile kFiles[] = {kw::sfiLanguage, kw::sfiDisplay, kw::sfiVars};

bool HasShortCut(int key, int version) {
    return key != kw::sscAppendRecord || version >= kw::kKwSetupAppendRecordSince;
}

int EnumFromJson(TJsonFields& fields, const char* key, const std::vector<const char*>& names,
                 int fallback) {
    const int value = fields.Enum(key, names, fallback);
    if (value < 0 || value >= static_cast<int>(names.size()))
        throw TKwPkgError(fields.PathOf(key) + ": expected 0 to " +
                          std::to_string(names.size() - 1));
    return value;
}

Json KeysToJson(const kw::TKwPkgSetupKeys& keys, int version) {
    Json json;
    json["insertMode"] = keys.InsertMode();
    json["actionEnter"] = keys.ActionEnter();
    for (int key = 0; key < kw::kKwSetupShortCuts; ++key) {
        if (HasShortCut(key, version))
            json[kShortCutKeys[key]] = keys.ShortCut(static_cast<kw::TKwSetupShortCut>(key));
    }
    if (version >= kw::kKwSetupDeleteTypeSince)
        json["deleteType"] = EnumToJson(keys.DeleteType(), kDeleteTypes);
    return json;
}

void KeysFromJson(const Json& source, const std::string& path, kw::TKwPkgSetupKeys& keys) {
    TJsonFields fields(source, path);
    keys.SetInsertMode(fields.Boolean("insertMode", keys.InsertMode()));
    keys.SetActionEnter(fields.Boolean("actionEnter", keys.ActionEnter()));
    for (int key = 0; key < kw::kKwSetupShortCuts; ++key) {
        const auto which = static_cast<kw::TKwSetupShortCut>(key);
        const int value = fields.Integer(kShortCutKeys[key], keys.ShortCut(which));
        if (value < 0 || value > 0xFFFF)
            throw TKwPkgError(fields.PathOf(kShortCutKeys[key]) + ": expected 0 to 65535");
        keys.SetShortCut(which, static_cast<kw::TShortCut>(value));
    }
    keys.SetDeleteType(static_cast<kw::TKwDeleteType>(
        EnumFromJson(fields, "deleteType", kDeleteTypes, keys.DeleteType())));
    fields.Finish();
}

Json DataBaseToJson(const kw::TKwPkgSetupDataBase& db, int version) {
    const kw::TKwPkgSetupConventions& stored = db.Stored();
    Json json;
    json["dataBaseEngine"] = EnumToJson(db.DataBaseEngine(), kEngines);
    json["dateFormat"] = EnumToJson(static_cast<int>(stored.dateFormat), kDateFormats);
    json["dateSeparator"] = ToJson(kw::String(1, stored.dateSeparator));
    json["timeSeparator"] = ToJson(kw::String(1, stored.timeSeparator));
    json["numericDecimalSeparator"] = ToJson(kw::String(1, stored.numericDecimalSeparator));
    json["quotedNumber"] = stored.quotedNumber;
    if (version >= kw::kKwSetupSqlSyntaxSince)
        json["sqlSyntax"] = stored.sqlSyntax;
    return json;
}

// Read while the package is loading, so that the conventions do not switch the engine.
void DataBaseFromJson(const Json& source, const std::string& path, kw::TKwPkgSetupDataBase& db) {
    TJsonFields fields(source, path);
    const kw::TKwPkgSetupConventions& stored = db.Stored();
    db.SetDataBaseEngine(static_cast<kw::TKwDataBaseEngine>(
        EnumFromJson(fields, "dataBaseEngine", kEngines, db.DataBaseEngine())));
    db.SetDateFormat(static_cast<kw::TKwDateFormat>(
        EnumFromJson(fields, "dateFormat", kDateFormats, static_cast<int>(stored.dateFormat))));
    db.SetDateSeparator(fields.Character("dateSeparator", stored.dateSeparator));
    db.SetTimeSeparator(fields.Character("timeSeparator", stored.timeSeparator));
    db.SetNumericDecimalSeparator(
        fields.Character("numericDecimalSeparator", stored.numericDecimalSeparator));
    db.SetQuotedNumber(fields.Boolean("quotedNumber", stored.quotedNumber));
    db.SetSQLSyntax(fields.Boolean("sqlSyntax", stored.sqlSyntax));
    fields.Finish();
}

}  // namespace

Json DumpSetup(const TBytes& file) {
    kw::TKwPkgSetup package;
    LoadQuietly(package, file);
    const int version = package.LoadedVersion();
    Json json;
    json["kind"] = "setup";
    json["version"] = version;
    json["description"] = ToJson(package.Description());
    json["keys"] = KeysToJson(package.Keys(), version);
    if (version >= kw::kKwSetupDataBaseSince)
        json["dataBase"] = DataBaseToJson(package.DataBase(), version);
    for (size_t i = 0; i < std::size(kFiles); ++i)
        json[kFileKeys[i]] = ToJson(package.FileNameOf(kFiles[i]));
    return json;
}

TBytes BuildSetup(const Json& source) {
    kw::TKwPkgSetup package;
    {
        kw::TKwLoadingScope building(package);
        TJsonFields fields(source, "");
        CheckKind(fields, "setup");
        package.SetSaveVersion(SourceVersion(fields, kw::kKwFormatSetup));
        package.SetDescription(fields.Text("description", kw::String()));
        if (const Json* keys = fields.Object("keys"))
            KeysFromJson(*keys, fields.PathOf("keys"), package.Keys());
        if (const Json* db = fields.Object("dataBase"))
            DataBaseFromJson(*db, fields.PathOf("dataBase"), package.DataBase());
        for (size_t i = 0; i < std::size(kFiles); ++i)
            package.SetFileNameOf(kFiles[i], fields.Text(kFileKeys[i], kw::String()));
        fields.Finish();
    }
    return SaveBytes(package);
}

}  // namespace kwpkg
