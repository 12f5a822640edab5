#include "kwpkg/privileges_kinds.h"

#include "framework/pkg_formats.h"
#include "kwpkg/package_json.h"
#include "packages/privileges_formats.h"
#include "platform/core/filer.h"
#include "platform/core/stream.h"

namespace kwpkg {

namespace {

const std::vector<const char*> kAccessNames{"accNone", "accRead", "accReadWrite"};

class TReadBytes : public kw::TMemoryStream {
public:
    explicit TReadBytes(const TBytes& bytes) {
        if (!bytes.empty())
            Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        SetPosition(0);
    }
};

template <class Write>
TBytes WrittenBytes(Write&& write) {
    kw::TMemoryStream stream;
    {
        kw::TWriter writer(stream);
        write(writer);
    }
    return stream.Bytes();
}

// Only the newest layout can be written; older files are read and dumped.
void CheckNewest(TJsonFields& fields, const kw::TKwPkgFormat& format) {
    const int version = fields.Integer("version", format.newestVersion);
    if (version != format.newestVersion) {
        throw TKwPkgError(fields.PathOf("version") + ": only version " +
                          std::to_string(format.newestVersion) + " can be written");
    }
}

Json ReferenceToJson(const kw::String& package, std::int32_t id) {
    Json json;
    json["package"] = ToJson(package);
    json["id"] = id;
    return json;
}

void ReferenceFromJson(TJsonFields& fields, const char* key, kw::String& package,
                       std::int32_t& id) {
    const Json* source = fields.Object(key);
    if (source == nullptr)
        return;
    TJsonFields reference(*source, fields.PathOf(key));
    package = reference.Text("package", kw::String());
    id = reference.Integer("id", -1);
    reference.Finish();
}

Json DumpRights(const TBytes& file, kw::TKwRightsKind kind, const char* name) {
    TReadBytes stream(file);
    kw::TReader reader(stream);
    const kw::TKwRightsFile rights = kw::KwReadRightsFile(reader, kind, u"", u"");
    Json json;
    json["kind"] = name;
    json["version"] = rights.version;
    json["description"] = ToJson(rights.description);
    json["applicationKey"] = ToJson(rights.appKey);
    json["fileName"] = ToJson(rights.fileName);
    if (rights.version >= 2)
        json["key"] = ToJson(rights.key);
    Json pairs = Json::array();
    for (const kw::TKwRightsPair& pair : rights.pairs) {
        Json item;
        item["id"] = pair.id;
        if (kind == kw::TKwRightsKind::rkAccess) {
            item["access"] = EnumToJson(pair.value, kAccessNames);
        } else {
            item["visible"] = pair.value != 0;
        }
        pairs.push_back(std::move(item));
    }
    json["rights"] = std::move(pairs);
    return json;
}

TBytes BuildRights(const Json& source, kw::TKwRightsKind kind, const char* name) {
    TJsonFields fields(source, "");
    CheckKind(fields, name);
    CheckNewest(fields, kw::KwRightsFormat(kind));
    kw::TKwRightsFile rights;
    rights.description = fields.Text("description", kw::String());
    rights.appKey = fields.Text("applicationKey", kw::String());
    rights.fileName = fields.Text("fileName", kw::String());
    rights.key = fields.Text("key", kw::String());
    if (const Json* pairs = fields.Array("rights")) {
        for (size_t i = 0; i < pairs->size(); ++i) {
            TJsonFields item((*pairs)[i], fields.PathOf("rights") + "[" + std::to_string(i) + "]");
            kw::TKwRightsPair pair;
            pair.id = item.Integer("id");
            pair.value = kind == kw::TKwRightsKind::rkAccess ? item.Enum("access", kAccessNames)
                                                             : item.Boolean("visible");
            item.Finish();
            rights.pairs.push_back(pair);
        }
    }
    fields.Finish();
    return WrittenBytes([&](kw::TWriter& writer) { kw::KwWriteRightsFile(writer, kind, rights); });
}

}  // namespace

Json DumpAccess(const TBytes& file) {
    return DumpRights(file, kw::TKwRightsKind::rkAccess, "access");
}

TBytes BuildAccess(const Json& source) {
    return BuildRights(source, kw::TKwRightsKind::rkAccess, "access");
}

Json DumpVisibles(const TBytes& file) {
    return DumpRights(file, kw::TKwRightsKind::rkVisibles, "visibles");
}

TBytes BuildVisibles(const Json& source) {
    return BuildRights(source, kw::TKwRightsKind::rkVisibles, "visibles");
}

Json DumpTemplate(const TBytes& file) {
    TReadBytes stream(file);
    kw::TReader reader(stream);
    const kw::TKwTemplateFile tpl = kw::KwReadTemplateFile(reader, u"", u"");
    Json json;
    json["kind"] = "template";
    json["version"] = tpl.version;
    json["description"] = ToJson(tpl.description);
    Json items = Json::array();
    for (const kw::TKwTemplateRecord& record : tpl.records) {
        Json item;
        item["id"] = record.id;
        item["parent"] = record.parentId;
        item["description"] = ToJson(record.description);
        item["label"] = ReferenceToJson(record.labelPkg, record.labelId);
        item["access"] = EnumToJson(record.access, kAccessNames);
        item["visible"] = record.visible;
        item["image"] = ReferenceToJson(record.imagePkg, record.imageId);
        items.push_back(std::move(item));
    }
    json["items"] = std::move(items);
    return json;
}

TBytes BuildTemplate(const Json& source) {
    TJsonFields fields(source, "");
    CheckKind(fields, "template");
    CheckNewest(fields, kw::kKwFormatTemplate);
    kw::TKwTemplateFile tpl;
    tpl.description = fields.Text("description", kw::String());
    if (const Json* items = fields.Array("items")) {
        for (size_t i = 0; i < items->size(); ++i) {
            TJsonFields item((*items)[i], fields.PathOf("items") + "[" + std::to_string(i) + "]");
            kw::TKwTemplateRecord record;
            record.id = item.Integer("id");
            if (record.id < 0)
                throw TKwPkgError(item.PathOf("id") + ": expected 0 or more");
            record.parentId = item.Integer("parent", -1);
            record.description = item.Text("description", kw::String());
            ReferenceFromJson(item, "label", record.labelPkg, record.labelId);
            record.access = item.Enum("access", kAccessNames, 2);
            record.visible = item.Boolean("visible", true);
            ReferenceFromJson(item, "image", record.imagePkg, record.imageId);
            item.Finish();
            tpl.records.push_back(std::move(record));
        }
    }
    fields.Finish();
    return WrittenBytes([&](kw::TWriter& writer) { kw::KwWriteTemplateFile(writer, tpl); });
}

}  // namespace kwpkg
