#include "kwpkg/picture_files.h"

#include <filesystem>

#include "display/format_graphics.h"
#include "kwpkg/file_io.h"
#include "kwpkg/json_fields.h"
#include "platform/core/exception.h"
#include "platform/core/stream.h"
#include "platform/graphics/graphic.h"
#include "platform/text/unicode.h"

namespace kwpkg {

namespace {

bool HasPngExtension(const std::string& name) {
    const std::string ext = std::filesystem::path(name).extension().string();
    std::string lower = ext;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == ".png";
}

// The picture's bytes, refused unless the library's PNG reader takes them whole.
TBytes ReadPicture(const std::string& path, const std::string& where) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error)
        throw TKwPkgError(where + ": cannot read " + path + ": " + error.message());
    if (size > kMaxPictureBytes)
        throw TKwPkgError(where + ": " + path + " is larger than " +
                          std::to_string(kMaxPictureBytes >> 20) + " MiB");
    TBytes bytes;
    try {
        bytes = ReadInputBytes(path);
    } catch (const std::exception& e) {
        throw TKwPkgError(where + ": cannot read " + path + ": " + e.what());
    }
    try {
        kw::TMemoryStream stream;
        if (!bytes.empty())
            stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        stream.SetPosition(0);
        kw::TPngImage png;
        png.LoadFromStream(stream);
        if (png.Width() <= 0 || png.Height() <= 0)
            throw TKwPkgError("empty picture");
    } catch (const std::exception& e) {
        throw TKwPkgError(where + ": " + path + " is not a readable PNG file (" + e.what() + ")");
    }
    return bytes;
}

void ResolveEntry(Json& entry, const std::string& where, const std::string& folder) {
    if (!entry.is_object() || !entry.contains("file"))
        return;
    const Json& file = entry["file"];
    if (!file.is_string() || file.get<std::string>().empty())
        throw TKwPkgError(where + ".file: expected the name of a PNG file");
    const std::string name = file.get<std::string>();
    if (folder.empty())
        throw TKwPkgError(where + ".file: picture files can only be named in a source file");
    if (entry.contains("native"))
        throw TKwPkgError(where + ": give either \"file\" or \"native\", not both");
    if (!HasPngExtension(name))
        throw TKwPkgError(where + ".file: expected a .png file");
    const std::filesystem::path path = std::filesystem::path(folder) / name;
    const TBytes bytes = ReadPicture(path.string(), where + ".file");
    const kw::TClass* graphic = kw::KwFindGraphicFileExt(u".png");
    if (graphic == nullptr)
        throw TKwPkgError(where + ".file: no PNG support registered");
    entry.erase("file");
    entry["graphic"] = kw::StringToUtf8(graphic->ClassName());
    entry["native"] = ToBase64(bytes);
}

void ResolveList(Json& package, const std::string& where, const std::string& folder) {
    if (!package.is_object() || !package.contains("images") || !package["images"].is_array())
        return;
    Json& images = package["images"];
    for (size_t i = 0; i < images.size(); ++i)
        ResolveEntry(images[i], where + "images[" + std::to_string(i) + "]", folder);
}

}  // namespace

void ResolvePictureFiles(Json& source, const std::string& folder) {
    if (!source.is_object() || !source.contains("kind") || !source["kind"].is_string())
        return;
    const std::string kind = source["kind"].get<std::string>();
    if (kind == "image") {
        ResolveEntry(source, "(top)", folder);
    } else if (kind == "images") {
        ResolveList(source, "", folder);
    } else if (kind == "display") {
        for (const char* key : {"systemImages", "userImages"}) {
            if (source.contains(key))
                ResolveList(source[key], std::string(key) + ".", folder);
        }
    }
}

}  // namespace kwpkg
