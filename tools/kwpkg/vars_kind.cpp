#include <cmath>
#include <limits>

#include "framework/pkg_formats.h"
#include "kwpkg/package_json.h"
#include "kwpkg/settings_kinds.h"
#include "packages/package_scopes.h"
#include "packages/vars_package.h"
#include "platform/text/unicode.h"

namespace kwpkg {

namespace {

const std::vector<const char*> kItemTypes{"vitBoolean", "vitInteger", "vitFloat", "vitString",
                                          "vitDirectory"};
// JSON documents nest no deeper than this, so that neither direction runs out of stack.
constexpr int kMaxDepth = 1000;

Json FloatToJson(double value) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";
    return value;
}

double FloatFromText(const std::string& text, const std::string& path) {
    if (text == "NaN")
        return std::numeric_limits<double>::quiet_NaN();
    if (text == "Infinity" || text == "-Infinity")
        return text[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    throw TKwPkgError(path + ": expected a number, \"NaN\", \"Infinity\" or \"-Infinity\"");
}

void CheckDepth(int depth, const std::string& path) {
    if (depth > kMaxDepth)
        throw TKwPkgError(path + ": nested deeper than " + std::to_string(kMaxDepth) + " levels");
}

Json ItemsToJson(const kw::TKwPkgVarsItem* first, int depth) {
    CheckDepth(depth, "items");
    Json array = Json::array();
    for (const kw::TKwPkgVarsItem* item = first; item != nullptr; item = item->Next()) {
        Json json;
        json["ident"] = ToJson(item->Ident());
        json["itemType"] = EnumToJson(item->ItemType(), kItemTypes);
        switch (item->ItemType()) {
            case kw::vitBoolean:
                json["value"] = item->VBoolean();
                break;
            case kw::vitInteger:
                json["value"] = item->VInteger();
                break;
            case kw::vitFloat:
                json["value"] = FloatToJson(item->VFloat());
                break;
            case kw::vitString:
                json["value"] = ToJson(item->VString());
                break;
            case kw::vitDirectory:
                break;
        }
        if (item->FirstChild() != nullptr)
            json["children"] = ItemsToJson(item->FirstChild(), depth + 1);
        array.push_back(std::move(json));
    }
    return array;
}

void SetValueFromJson(const Json& source, TJsonFields& fields, kw::TKwPkgVarsItem& item) {
    switch (item.ItemType()) {
        case kw::vitBoolean:
            item.SetVBoolean(fields.Boolean("value", false));
            break;
        case kw::vitInteger:
            item.SetVInteger(fields.Integer("value", 0));
            break;
        case kw::vitFloat:
            if (source.contains("value") && source["value"].is_string()) {
                item.SetVFloat(
                    FloatFromText(kw::StringToUtf8(fields.Text("value")), fields.PathOf("value")));
            } else {
                item.SetVFloat(fields.Number("value", 0.0));
            }
            break;
        case kw::vitString:
            item.SetVString(fields.Text("value", kw::String()));
            break;
        case kw::vitDirectory:
            break;
    }
}

void ItemsFromJson(const Json& array, const std::string& path, kw::TKwPkgVars& package,
                   kw::TKwPkgVarsItem* parent, int depth) {
    CheckDepth(depth, path);
    kw::TKwPkgVarsItem* previous = nullptr;
    for (size_t i = 0; i < array.size(); ++i) {
        const Json& source = array[i];
        TJsonFields fields(source, path + "[" + std::to_string(i) + "]");
        const kw::String ident = fields.Text("ident");
        const int type = fields.Enum("itemType", kItemTypes);
        if (type < kw::vitBoolean || type > kw::vitDirectory)
            throw TKwPkgError(fields.PathOf("itemType") + ": expected 0 to 4");
        kw::TKwPkgVarsItem& item = package.InsertLoaded(parent, previous, ident,
                                                        static_cast<kw::TKwPkgVarsItemType>(type));
        SetValueFromJson(source, fields, item);
        if (const Json* children = fields.Array("children"))
            ItemsFromJson(*children, fields.PathOf("children"), package, &item, depth + 1);
        fields.Finish();
        previous = &item;
    }
}

}  // namespace

Json DumpVariables(const TBytes& file) {
    kw::TKwPkgVars package;
    LoadQuietly(package, file);
    const int version = package.LoadedVersion();
    Json json;
    json["kind"] = "variables";
    json["version"] = version;
    json["description"] = ToJson(package.Description());
    json["items"] = ItemsToJson(package.FirstItem(), 1);
    if (version >= 3)
        json["designWindow"] = DesignWindowToJson(package.DesignWindow(), version);
    return json;
}

TBytes BuildVariables(const Json& source) {
    kw::TKwPkgVars package;
    {
        kw::TKwLoadingScope building(package);
        TJsonFields fields(source, "");
        CheckKind(fields, "variables");
        package.SetSaveVersion(SourceVersion(fields, kw::kKwFormatVars));
        package.SetDescription(fields.Text("description", kw::String()));
        if (const Json* items = fields.Array("items"))
            ItemsFromJson(*items, fields.PathOf("items"), package, nullptr, 1);
        if (const Json* window = fields.Object("designWindow"))
            DesignWindowFromJson(*window, fields.PathOf("designWindow"), package.DesignWindow());
        fields.Finish();
    }
    return SaveBytes(package);
}

}  // namespace kwpkg
