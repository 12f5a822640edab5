#include <set>

#include "framework/pkg_formats.h"
#include "kwpkg/package_json.h"
#include "packages/package_scopes.h"
#include "packages/strings_package.h"
#include "platform/core/stream.h"

namespace kwpkg {

using kw::TKwStringsKind;

namespace {

struct CollectionKey {
    TKwStringsKind kind;
    const char* key;
};
constexpr CollectionKey kCollections[] = {{TKwStringsKind::skLabel, "labels"},
                                          {TKwStringsKind::skMessage, "messages"},
                                          {TKwStringsKind::skText, "texts"}};

const kw::TKwPkgStringsLabel* AsLabel(const kw::TKwPkgStringsItem& item) {
    return item.Owner().Kind() == TKwStringsKind::skLabel
               ? static_cast<const kw::TKwPkgStringsLabel*>(&item)
               : nullptr;
}

Json ItemToJson(const kw::TKwPkgStringsItem& item, int version) {
    Json json;
    json["id"] = item.Id();
    json["text"] = ToJson(item.Text());
    if (const kw::TKwPkgStringsLabel* label = AsLabel(item))
        json["hint"] = ToJson(label->Hint());
    if (version >= 5)
        json["protected"] = item.Protected();
    return json;
}

void ItemFromJson(const Json& source, const std::string& path, kw::TKwPkgStringsCollection& items,
                  std::set<int>& ids) {
    TJsonFields fields(source, path);
    const int id = fields.Integer("id");
    if (id < 0 || id > kw::kKwMaxStringsId)
        throw TKwPkgError(fields.PathOf("id") + ": " + std::to_string(id) + " is outside 0 to " +
                          std::to_string(kw::kKwMaxStringsId));
    if (!ids.insert(id).second)
        throw TKwPkgError(fields.PathOf("id") + ": " + std::to_string(id) + " is used twice");
    kw::TKwPkgStringsItem& item = items.AppendLoaded(id);
    item.SetText(fields.Text("text", kw::String()));
    if (items.Kind() == TKwStringsKind::skLabel)
        static_cast<kw::TKwPkgStringsLabel&>(item).SetHint(fields.Text("hint", kw::String()));
    item.SetProtected(fields.Boolean("protected", false));
    fields.Finish();
}

}  // namespace

Json DesignWindowToJson(const kw::TKwDesignWindow& window, int version) {
    Json json;
    json["left"] = window.left;
    json["top"] = window.top;
    json["width"] = window.width;
    json["height"] = window.height;
    if (version >= 4)
        json["state"] = window.state;
    return json;
}

void DesignWindowFromJson(const Json& source, const std::string& path,
                          kw::TKwDesignWindow& window) {
    TJsonFields fields(source, path);
    window.left = fields.Integer("left", window.left);
    window.top = fields.Integer("top", window.top);
    window.width = fields.Integer("width", window.width);
    window.height = fields.Integer("height", window.height);
    const int state = fields.Integer("state", window.state);
    if (state < 0 || state > 255)
        throw TKwPkgError(fields.PathOf("state") + ": expected 0 to 255");
    window.state = static_cast<std::uint8_t>(state);
    fields.Finish();
}

Json StringsToJson(const kw::TKwPkgStrings& package) {
    const int version = package.LoadedVersion();
    Json json;
    json["kind"] = "strings";
    json["version"] = version;
    json["description"] = ToJson(package.Description());
    for (const CollectionKey& collection : kCollections) {
        const kw::TKwPkgStringsCollection& items = package.Collection(collection.kind);
        Json array = Json::array();
        for (int i = 0; i < items.Count(); ++i)
            array.push_back(ItemToJson(items.ItemAt(i), version));
        json[collection.key] = std::move(array);
    }
    if (version >= 3)
        json["designWindow"] = DesignWindowToJson(package.DesignWindow(), version);
    return json;
}

void StringsFromJson(const Json& source, const std::string& path, kw::TKwPkgStrings& package) {
    TJsonFields fields(source, path);
    CheckKind(fields, "strings");
    package.SetSaveVersion(SourceVersion(fields, kw::kKwFormatStrings));
    package.SetDescription(fields.Text("description", kw::String()));
    for (const CollectionKey& collection : kCollections) {
        const Json* array = fields.Array(collection.key);
        if (array == nullptr)
            continue;
        std::set<int> ids;
        for (size_t i = 0; i < array->size(); ++i) {
            ItemFromJson((*array)[i], fields.PathOf(collection.key) + "[" + std::to_string(i) + "]",
                         package.Collection(collection.kind), ids);
        }
    }
    if (const Json* window = fields.Object("designWindow"))
        DesignWindowFromJson(*window, fields.PathOf("designWindow"), package.DesignWindow());
    fields.Finish();
}

Json DumpStrings(const TBytes& file) {
    kw::TKwPkgStrings package;
    LoadQuietly(package, file);
    return StringsToJson(package);
}

TBytes BuildStrings(const Json& source) {
    kw::TKwPkgStrings package;
    {
        kw::TKwLoadingScope building(package);
        StringsFromJson(source, "", package);
    }
    return SaveBytes(package);
}

}  // namespace kwpkg
