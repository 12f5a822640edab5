#include "kwpkg/kinds.h"

#include "framework/errors.h"
#include "framework/pkg_formats.h"
#include "kwpkg/image_kinds.h"
#include "kwpkg/package_json.h"
#include "kwpkg/picture_files.h"
#include "kwpkg/privileges_kinds.h"
#include "kwpkg/settings_kinds.h"
#include "packages/package_scopes.h"
#include "platform/core/exception.h"
#include "platform/core/filer.h"
#include "platform/core/stream.h"
#include "platform/text/unicode.h"

namespace kwpkg {

const std::vector<TKindHandler>& KindHandlers() {
    static const std::vector<TKindHandler> handlers{
        {"setup", &kw::kKwFormatSetup, 0, DumpSetup, BuildSetup},
        {"language", &kw::kKwFormatLanguage, 0, DumpLanguage, BuildLanguage},
        {"display", &kw::kKwFormatDisplay, 0, DumpDisplay, BuildDisplay},
        {"images", &kw::kKwFormatImages, 0, DumpImages, BuildImages},
        {"strings", &kw::kKwFormatStrings, 0, DumpStrings, BuildStrings},
        {"variables", &kw::kKwFormatVars, 0, DumpVariables, BuildVariables},
        {"access", &kw::kKwFormatAccess, 0, DumpAccess, BuildAccess},
        {"visibles", &kw::kKwFormatVisibles, 0, DumpVisibles, BuildVisibles},
        {"template", &kw::kKwFormatTemplate, 2, DumpTemplate, BuildTemplate},
        // Image files carry no description.
        {"image", &kw::kKwFormatImage, kw::kKwFormatImage.newestVersion + 1, DumpImage, BuildImage},
    };
    return handlers;
}

namespace {

kw::TKwPkgHeader ReadHeader(kw::TStream& stream) {
    if (stream.Size() < kw::TKwPkgHeader::kSize)
        throw TKwPkgError("too short to be a package file");
    kw::TReader reader(stream);
    return kw::TKwPkgHeader::Read(reader);
}

class TBytesStream : public kw::TMemoryStream {
public:
    explicit TBytesStream(const TBytes& bytes) {
        if (!bytes.empty())
            Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        SetPosition(0);
    }
};

}  // namespace

const TKindHandler& KindOfFile(const TBytes& file) {
    TBytesStream stream(file);
    const kw::TKwPkgHeader header = ReadHeader(stream);
    for (const TKindHandler& handler : KindHandlers()) {
        if (header.HasSignature(handler.format->word))
            return handler;
    }
    throw TKwPkgError("not a package file (unknown signature)");
}

const TKindHandler& KindNamed(const std::string& name) {
    for (const TKindHandler& handler : KindHandlers()) {
        if (name == handler.name)
            return handler;
    }
    throw TKwPkgError("kind: unknown package kind \"" + name + "\"");
}

void LoadQuietly(kw::TKwPkgInfo& package, const TBytes& file) {
    TBytesStream stream(file);
    kw::TKwLoadingScope quiet(package);
    package.LoadFromStream(stream);
}

TBytes SaveBytes(kw::TKwPkgInfo& package) {
    kw::TMemoryStream stream;
    package.SaveToStream(stream);
    return stream.Bytes();
}

int SourceVersion(TJsonFields& fields, const kw::TKwPkgFormat& format) {
    const int version = fields.Integer("version", format.newestVersion);
    if (version < 1 || version > format.newestVersion) {
        throw TKwPkgError(fields.PathOf("version") + ": expected 1 to " +
                          std::to_string(format.newestVersion));
    }
    return version;
}

void CheckKind(TJsonFields& fields, const char* kind) {
    const std::string found = kw::StringToUtf8(fields.Text("kind", kw::Utf8ToString(kind)));
    if (found != kind)
        throw TKwPkgError(fields.PathOf("kind") + ": expected \"" + kind + "\"");
}

namespace {

// Empty when `version` is one this tool reads.
std::string NewerVersionNote(const TKindHandler& kind, int version) {
    if (version <= kind.format->newestVersion)
        return std::string();
    return std::string(kind.name) + " version " + std::to_string(version) +
           " is newer than this tool reads (up to " + std::to_string(kind.format->newestVersion) +
           ")";
}

}  // namespace

std::string InfoText(const TBytes& file, std::string* warning) {
    const TKindHandler& kind = KindOfFile(file);
    TBytesStream stream(file);
    kw::TReader reader(stream);
    const kw::TKwPkgHeader header = kw::TKwPkgHeader::Read(reader);
    if (warning != nullptr)
        *warning = NewerVersionNote(kind, header.version);
    const kw::String description =
        header.version >= kind.descriptionSince ? reader.ReadString() : kw::String();
    return std::string("kind: ") + kind.name + "\nversion: " + std::to_string(header.version) +
           "\ndescription: " + kw::StringToUtf8(description) + "\n";
}

std::string DumpText(const TBytes& file) {
    const TKindHandler& kind = KindOfFile(file);
    if (!kind.dump)
        throw TKwPkgError(std::string("dumping ") + kind.name + " packages is not supported yet");
    TBytesStream stream(file);
    const std::string newer = NewerVersionNote(kind, ReadHeader(stream).version);
    if (!newer.empty())
        throw TKwPkgError(newer);
    return FormatJson(kind.dump(file));
}

TBytes BuildFile(const std::string& jsonText, const std::string& pictureFolder) {
    Json source;
    try {
        source = Json::parse(jsonText);
    } catch (const Json::exception& error) {
        const std::string what = error.what();
        const size_t text = what.find("] ");
        throw TKwPkgError(text == std::string::npos ? what : what.substr(text + 2));
    }
    if (!source.is_object() || !source.contains("kind") || !source["kind"].is_string())
        throw TKwPkgError("the source must be a JSON object with a \"kind\" string");
    const TKindHandler& kind = KindNamed(source["kind"].get<std::string>());
    if (!kind.build)
        throw TKwPkgError(std::string("building ") + kind.name + " packages is not supported yet");
    ResolvePictureFiles(source, pictureFolder);
    return kind.build(source);
}

std::string DescribeError(const std::exception& error) {
    if (const auto* numbered = dynamic_cast<const kw::EKwError*>(&error);
        numbered != nullptr && numbered->Numbered()) {
        for (const TKindHandler& kind : KindHandlers()) {
            if (numbered->MessageId() == kind.format->wrongSignatureMessage)
                return std::string("an embedded package is not a ") + kind.name + " package";
            if (numbered->MessageId() == kind.format->newerVersionMessage)
                return std::string("an embedded ") + kind.name + " package is of a newer version";
        }
    }
    std::string text = error.what();
    if (dynamic_cast<const kw::EReadError*>(&error) != nullptr)
        text += " (the file is damaged or truncated)";
    for (char& c : text) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

}  // namespace kwpkg
