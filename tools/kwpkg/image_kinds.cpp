#include "kwpkg/image_kinds.h"

#include <cstring>
#include <set>

#include "display/format_graphics.h"
#include "display/image_imkw.h"
#include "display/image_package.h"
#include "framework/pkg_formats.h"
#include "framework/pkg_header.h"
#include "kwpkg/package_json.h"
#include "packages/package_scopes.h"
#include "platform/core/filer.h"
#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/graphic_registry.h"
#include "platform/text/unicode.h"

namespace kwpkg {

namespace {

class TBytesStream : public kw::TMemoryStream {
public:
    explicit TBytesStream(const TBytes& bytes) {
        if (!bytes.empty())
            Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        SetPosition(0);
    }
};

TBytes BytesOf(const kw::TStream* stream) {
    return stream != nullptr ? static_cast<const kw::TMemoryStream*>(stream)->Bytes() : TBytes();
}

TBytes MaskBytes(const std::unique_ptr<kw::TRegion>& region) {
    return region != nullptr ? region->RegionData() : TBytes();
}

Json SkinToJson(const kw::TKwImageSkin& skin) {
    Json json;
    json["adjusts"] = skin.adjusts;
    json["syncHor"] = skin.syncHor;
    json["syncVer"] = skin.syncVer;
    json["corners"] = {skin.up1,   skin.up2,   skin.down1,  skin.down2,
                       skin.left1, skin.left2, skin.right1, skin.right2};
    return json;
}

void SkinFromJson(const Json& source, const std::string& path, kw::TKwImageSkin& skin) {
    TJsonFields fields(source, path);
    skin.adjusts = fields.Boolean("adjusts", false);
    skin.syncHor = fields.Boolean("syncHor", true);
    skin.syncVer = fields.Boolean("syncVer", true);
    if (const Json* corners = fields.Array("corners")) {
        std::int32_t* slots[] = {&skin.up1,   &skin.up2,   &skin.down1,  &skin.down2,
                                 &skin.left1, &skin.left2, &skin.right1, &skin.right2};
        if (corners->size() != 8)
            throw TKwPkgError(fields.PathOf("corners") + ": expected 8 integers");
        for (size_t i = 0; i < 8; ++i) {
            if (!(*corners)[i].is_number_integer())
                throw TKwPkgError(fields.PathOf("corners") + ": expected 8 integers");
            *slots[i] = (*corners)[i].get<std::int32_t>();
        }
    }
    fields.Finish();
}

Json ImageToJson(const kw::TKwPkgImagesImage& image, bool withId) {
    Json json;
    if (withId)
        json["id"] = image.Id();
    json["graphic"] = ToJson(image.GraphicName());
    json["width"] = image.Width();
    json["height"] = image.Height();
    json["protected"] = image.Protected();
    json["skin"] = SkinToJson(image.Skin());
    json["native"] = ToBase64(BytesOf(image.ReadNativeStream()));
    json["externalMask"] = ToBase64(MaskBytes(image.CreateExternalRgn()));
    json["internalMask"] = ToBase64(MaskBytes(image.CreateInternalRgn()));
    return json;
}

// The record form of an image, so that stored names and sizes come back exactly as given.
void ImageFromJson(TJsonFields& fields, kw::TKwPkgImagesImage& image) {
    const kw::String graphic = fields.Text("graphic", kw::String());
    const std::int32_t width = fields.Integer("width", 0);
    const std::int32_t height = fields.Integer("height", 0);
    image.SetProtected(fields.Boolean("protected", false));
    if (const Json* skin = fields.Object("skin"))
        SkinFromJson(*skin, fields.PathOf("skin"), image.Skin());
    const TBytes native =
        FromBase64(kw::StringToUtf8(fields.Text("native", kw::String())), fields.PathOf("native"));
    const kw::TClass* graphicClass = kw::KwFindGraphicClass(graphic);
    if (!native.empty()) {
        TBytesStream stream(native);
        const kw::TKwImageSkin skinSet = image.Skin();
        if (graphicClass != nullptr) {
            image.LoadFromStream(stream, graphicClass);
        } else {
            throw TKwPkgError(fields.PathOf("graphic") + ": unknown graphic class");
        }
        image.Skin() = skinSet;
    }
    for (const char* key : {"externalMask", "internalMask"}) {
        const TBytes mask =
            FromBase64(kw::StringToUtf8(fields.Text(key, kw::String())), fields.PathOf(key));
        if (mask.empty())
            continue;
        const kw::TRegion region = kw::TRegion::FromRegionData(mask);
        if (std::string(key) == "externalMask") {
            image.CreateExternalMask(&region);
        } else {
            image.CreateInternalMask(&region);
        }
    }
    if (width != 0 || height != 0) {
        if (image.Width() != width || image.Height() != height)
            throw TKwPkgError(fields.Path() + ": width and height differ from the image's");
    }
}

}  // namespace

Json ImagesToJson(const kw::TKwPkgImages& package) {
    Json json;
    json["kind"] = "images";
    json["version"] = package.LoadedVersion();
    json["description"] = ToJson(package.Description());
    Json images = Json::array();
    for (int i = 0; i < package.Images().Count(); ++i)
        images.push_back(ImageToJson(package.Images().Items(i), true));
    json["images"] = std::move(images);
    json["designWindow"] = DesignWindowToJson(package.DesignWindow(), 4);
    const kw::TKwMaskWindow& mask = package.MaskWindow();
    json["maskWindow"] = {{"left", mask.left},           {"top", mask.top},
                          {"width", mask.width},         {"height", mask.height},
                          {"zoom", mask.zoom},           {"state", mask.state},
                          {"diagonals", mask.diagonals}, {"external", mask.external}};
    return json;
}

void ImagesFromJson(const Json& source, const std::string& path, kw::TKwPkgImages& package) {
    TJsonFields fields(source, path);
    CheckKind(fields, "images");
    if (SourceVersion(fields, kw::kKwFormatImages) != kw::kKwFormatImages.newestVersion)
        throw TKwPkgError(fields.PathOf("version") + ": only the newest version is written");
    package.SetDescription(fields.Text("description", kw::String()));
    if (const Json* images = fields.Array("images")) {
        std::set<int> ids;
        for (size_t i = 0; i < images->size(); ++i) {
            TJsonFields item((*images)[i], fields.PathOf("images") + "[" + std::to_string(i) + "]");
            const int id = item.Integer("id");
            if (id < 0 || id > kw::kKwMaxImageId || !ids.insert(id).second)
                throw TKwPkgError(item.PathOf("id") + ": invalid or repeated id");
            ImageFromJson(item, package.Images().Add(id));
            item.Finish();
        }
    }
    if (const Json* window = fields.Object("designWindow"))
        DesignWindowFromJson(*window, fields.PathOf("designWindow"), package.DesignWindow());
    if (const Json* window = fields.Object("maskWindow")) {
        TJsonFields mask(*window, fields.PathOf("maskWindow"));
        kw::TKwMaskWindow& m = package.MaskWindow();
        m.left = mask.Integer("left", m.left);
        m.top = mask.Integer("top", m.top);
        m.width = mask.Integer("width", m.width);
        m.height = mask.Integer("height", m.height);
        m.zoom = mask.Integer("zoom", m.zoom);
        m.state = static_cast<std::uint8_t>(mask.Integer("state", m.state));
        m.diagonals = mask.Boolean("diagonals", m.diagonals);
        m.external = mask.Boolean("external", m.external);
        mask.Finish();
    }
    fields.Finish();
}

Json DumpImages(const TBytes& file) {
    kw::TKwPkgImages package;
    LoadQuietly(package, file);
    return ImagesToJson(package);
}

TBytes BuildImages(const Json& source) {
    kw::TKwPkgImages package;
    ImagesFromJson(source, "", package);
    return SaveBytes(package);
}

Json DumpImage(const TBytes& file) {
    TBytesStream stream(file);
    kw::TReader header(stream);
    const int version = kw::TKwPkgHeader::Read(header).version;
    stream.SetPosition(0);
    kw::TKwImageIMKW graphic;
    graphic.LoadFromStream(stream);
    Json json;
    json["kind"] = "image";
    json["version"] = version;
    json.update(ImageToJson(graphic.Image(), false));
    return json;
}

TBytes BuildImage(const Json& source) {
    kw::TKwImageIMKW graphic;
    TJsonFields fields(source, "");
    CheckKind(fields, "image");
    SourceVersion(fields, kw::kKwFormatImage);
    ImageFromJson(fields, graphic.Image());
    fields.Finish();
    kw::TMemoryStream stream;
    graphic.SaveToStream(stream);
    return stream.Bytes();
}

namespace {

bool IsImageFile(const TBytes& file) {
    return &KindOfFile(file) == &KindNamed("image");
}

TBytes ImageBytes(const kw::TKwPkgImagesImage& image, bool asPng) {
    if (image.Empty())
        throw TKwPkgError("the image has no data");
    if (!asPng)
        return BytesOf(image.ReadNativeStream());
    kw::TStream* rendered = image.ReadStream(true);
    if (rendered == nullptr)
        throw TKwPkgError("the image's graphic class is unknown");
    kw::TBitmap bitmap;
    bitmap.LoadFromStream(*rendered);
    kw::TPngImage png;
    png.Assign(&bitmap);
    kw::TMemoryStream out;
    png.SaveToStream(out);
    return out.Bytes();
}

void LoadPicture(kw::TKwPkgImagesImage& image, const std::string& pictureName,
                 const TBytes& picture) {
    const size_t dot = pictureName.rfind('.');
    const std::string ext = dot == std::string::npos ? std::string() : pictureName.substr(dot);
    const kw::TClass* graphicClass = kw::KwFindGraphicFileExt(kw::Utf8ToString(ext));
    static const std::set<std::string> accepted{".png", ".jpg", ".jpeg", ".gif", ".bmp", ".ico"};
    std::string lower = ext;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (graphicClass == nullptr || accepted.count(lower) == 0)
        throw TKwPkgError("expected a .png, .jpg, .gif, .bmp or .ico file");
    TBytesStream stream(picture);
    image.LoadFromStream(stream, graphicClass);
    if (image.Width() == 0 && image.Height() == 0)
        throw TKwPkgError("the picture cannot be read");
}

// A new picture for an image that keeps what was set on it: masks, corner sizes, protection.
void ReplacePicture(kw::TKwPkgImagesImage& image, const std::string& pictureName,
                    const TBytes& picture) {
    const kw::TKwImageSkin skin = image.Skin();
    const bool locked = image.Protected();
    const std::unique_ptr<kw::TRegion> external = image.CreateExternalRgn();
    const std::unique_ptr<kw::TRegion> internal = image.CreateInternalRgn();
    LoadPicture(image, pictureName, picture);
    image.Skin() = skin;
    image.SetProtected(locked);
    if (external != nullptr)
        image.CreateExternalMask(external.get());
    if (internal != nullptr)
        image.CreateInternalMask(internal.get());
}

}  // namespace

TBytes ExportImage(const TBytes& file, int id, bool asPng) {
    if (IsImageFile(file)) {
        kw::TKwImageIMKW graphic;
        TBytesStream stream(file);
        graphic.LoadFromStream(stream);
        return ImageBytes(graphic.Image(), asPng);
    }
    if (&KindOfFile(file) != &KindNamed("images"))
        throw TKwPkgError("not an image package or image file");
    kw::TKwPkgImages package;
    LoadQuietly(package, file);
    const kw::TKwPkgImagesImage* image = package.Images().FindId(id);
    if (image == nullptr)
        throw TKwPkgError("no image with id " + std::to_string(id));
    return ImageBytes(*image, asPng);
}

void CheckImportTarget(const TBytes& file, int id) {
    if (IsImageFile(file)) {
        kw::TKwImageIMKW graphic;
        TBytesStream stream(file);
        graphic.LoadFromStream(stream);
        return;
    }
    if (&KindOfFile(file) != &KindNamed("images"))
        throw TKwPkgError("not an image package or image file");
    if (id < 0 || id > kw::kKwMaxImageId)
        throw TKwPkgError("the id must be 0 to " + std::to_string(kw::kKwMaxImageId));
    kw::TKwPkgImages package;
    LoadQuietly(package, file);
}

TBytes ImportImage(const TBytes& file, int id, const std::string& pictureName,
                   const TBytes& picture) {
    if (IsImageFile(file)) {
        // Loading first refuses a damaged file instead of overwriting it.
        kw::TKwImageIMKW graphic;
        TBytesStream stream(file);
        graphic.LoadFromStream(stream);
        ReplacePicture(graphic.Image(), pictureName, picture);
        kw::TMemoryStream out;
        graphic.SaveToStream(out);
        return out.Bytes();
    }
    if (&KindOfFile(file) != &KindNamed("images"))
        throw TKwPkgError("not an image package or image file");
    if (id < 0 || id > kw::kKwMaxImageId)
        throw TKwPkgError("the id must be 0 to " + std::to_string(kw::kKwMaxImageId));
    kw::TKwPkgImages package;
    LoadQuietly(package, file);
    kw::TKwPkgImagesImage* image = package.Images().FindId(id);
    if (image == nullptr)
        image = &package.Images().Add(id);
    ReplacePicture(*image, pictureName, picture);
    return SaveBytes(package);
}

}  // namespace kwpkg
