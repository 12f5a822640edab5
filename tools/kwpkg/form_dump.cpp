#include "kwpkg/form_dump.h"

#include <cmath>

#include "platform/core/form_stream.h"
#include "platform/core/stream.h"

namespace kwpkg {

namespace {

Json PropertiesToJson(const std::vector<kw::TFormProperty>& properties);

const char* FloatKindName(kw::TValueType kind) {
    switch (kind) {
        case kw::TValueType::vaSingle:
            return "single";
        case kw::TValueType::vaDouble:
            return "double";
        case kw::TValueType::vaCurrency:
            return "currency";
        case kw::TValueType::vaDate:
            return "date";
        default:
            return "extended";
    }
}

// JSON has no infinities and no NaN; they are spelt out so that no value becomes null.
Json FloatToJson(double value) {
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    return value;
}

Json CollectionToJson(const kw::TFormCollection& collection) {
    Json items = Json::array();
    for (const kw::TFormCollectionItem& item : collection) {
        Json json = Json::object();
        if (item.index)
            json["index"] = *item.index;
        json["properties"] = PropertiesToJson(item.properties);
        items.push_back(std::move(json));
    }
    return items;
}

Json ValueToJson(const kw::TFormValue& value) {
    return std::visit(
        [&value](const auto& held) -> Json {
            using T = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return nullptr;
            } else if constexpr (std::is_same_v<T, double>) {
                return {{FloatKindName(value.kind), FloatToJson(held)}};
            } else if constexpr (std::is_same_v<T, kw::String>) {
                return ToJson(held);
            } else if constexpr (std::is_same_v<T, kw::TFormIdent>) {
                return {{"ident", ToJson(held.name)}};
            } else if constexpr (std::is_same_v<T, std::vector<std::uint8_t>>) {
                return {{"binary", ToBase64(held)}};
            } else if constexpr (std::is_same_v<T, kw::TFormList>) {
                Json items = Json::array();
                for (const kw::TFormValue& item : held)
                    items.push_back(ValueToJson(item));
                return items;
            } else if constexpr (std::is_same_v<T, kw::TFormSet>) {
                return {{"set", ToJson(held.names)}};
            } else if constexpr (std::is_same_v<T, kw::TFormCollection>) {
                return {{"collection", CollectionToJson(held)}};
            } else {
                return held;  // integers and booleans
            }
        },
        value.value);
}

// A property stored as "Sub.Name" belongs to the sub-object "Sub": consecutive properties of
// one sub-object become one entry {"name": "Sub", "properties": [...]}, nested as deep as the
// stored paths go, so that style objects read as the trees they are.
void AddProperty(Json& list, kw::StringView path, const kw::TFormValue& value) {
    const size_t dot = path.find(u'.');
    if (dot == kw::StringView::npos || dot == 0 || dot + 1 == path.size()) {
        list.push_back({{"name", ToJson(kw::String(path))}, {"value", ValueToJson(value)}});
        return;
    }
    const Json head = ToJson(kw::String(path.substr(0, dot)));
    if (list.empty() || !list.back().contains("properties") || list.back()["name"] != head)
        list.push_back({{"name", head}, {"properties", Json::array()}});
    AddProperty(list.back()["properties"], path.substr(dot + 1), value);
}

Json PropertiesToJson(const std::vector<kw::TFormProperty>& properties) {
    Json json = Json::array();
    for (const kw::TFormProperty& property : properties)
        AddProperty(json, property.name, property.value);
    return json;
}

Json NodeToJson(const kw::TFormNode& node) {
    Json json;
    json["class"] = ToJson(node.className);
    json["name"] = ToJson(node.name);
    json["properties"] = PropertiesToJson(node.properties);
    Json children = Json::array();
    for (const kw::TFormNode& child : node.children)
        children.push_back(NodeToJson(child));
    json["children"] = std::move(children);
    return json;
}

}  // namespace

Json DumpForm(const TBytes& stream) {
    kw::TMemoryStream input;
    if (!stream.empty())
        input.Write(stream.data(), static_cast<std::int64_t>(stream.size()));
    input.SetPosition(0);
    return NodeToJson(kw::ReadFormTree(input));
}

std::string DumpFormText(const TBytes& stream) {
    return FormatJson(DumpForm(stream));
}

}  // namespace kwpkg
