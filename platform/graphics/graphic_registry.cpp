#include "platform/graphics/graphic_registry.h"

#include <algorithm>
#include <cstring>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/clipboard.h"
#include "platform/text/strings.h"

namespace kw {

namespace {

struct Registry {
    std::vector<TGraphicFileFormat> files;
    std::vector<std::pair<Word, const TClass*>> clipboard;
};

void AddDefaults(Registry& r) {
    r.files = {
        {u"bmp", u"Bitmaps", &TBitmap::StaticClass()},
        {u"ico", u"Icons", &TIcon::StaticClass()},
        {u"wmf", u"Metafiles", &TMetafile::StaticClass()},
        {u"emf", u"Enhanced Metafiles", &TMetafile::StaticClass()},
        {u"jpeg", u"JPEG Images", &TJPEGImage::StaticClass()},
        {u"jpg", u"JPEG Images", &TJPEGImage::StaticClass()},
        {u"gif", u"GIF Images", &TGIFImage::StaticClass()},
        {u"png", u"PNG Images", &TPngImage::StaticClass()},
    };
    r.clipboard = {
        {CF_BITMAP, &TBitmap::StaticClass()},
        {CF_METAFILEPICT, &TMetafile::StaticClass()},
        {CF_ENHMETAFILE, &TMetafile::StaticClass()},
        {TPngImage().ClipboardFormat(), &TPngImage::StaticClass()},
        {TGIFImage().ClipboardFormat(), &TGIFImage::StaticClass()},
        {TJPEGImage().ClipboardFormat(), &TJPEGImage::StaticClass()},
    };
}

Registry& State() {
    static Registry registry = [] {
        Registry r;
        AddDefaults(r);
        return r;
    }();
    return registry;
}

String WithoutDot(StringView extension) {
    if (!extension.empty() && extension.front() == u'.')
        extension.remove_prefix(1);
    return String(extension);
}

bool StartsWith(std::span<const Byte> head, std::initializer_list<Byte> signature,
                std::size_t at = 0) {
    if (head.size() < at + signature.size())
        return false;
    return std::equal(signature.begin(), signature.end(), head.begin() + at);
}

}  // namespace

void RegisterFileFormat(StringView extension, StringView description, const TClass& graphicClass) {
    State().files.push_back({WithoutDot(extension), String(description), &graphicClass});
}

void RegisterClipboardFormatClass(Word format, const TClass& graphicClass) {
    State().clipboard.emplace_back(format, &graphicClass);
}

void UnregisterGraphicClass(const TClass& graphicClass) {
    auto& r = State();
    std::erase_if(r.files, [&](const TGraphicFileFormat& f) {
        return f.GraphicClass->InheritsFrom(graphicClass);
    });
    std::erase_if(r.clipboard,
                  [&](const auto& entry) { return entry.second->InheritsFrom(graphicClass); });
}

const TClass* GraphicClassForExtension(StringView extension) {
    const String ext = WithoutDot(extension);
    const auto& files = State().files;
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        if (SameText(it->Extension, ext))
            return it->GraphicClass;
    }
    return nullptr;
}

const TClass* GraphicClassForClipboardFormat(Word format) {
    const auto& formats = State().clipboard;
    for (auto it = formats.rbegin(); it != formats.rend(); ++it) {
        if (it->first == format)
            return it->second;
    }
    return nullptr;
}

String GraphicExtension(const TClass& graphicClass) {
    const auto& files = State().files;
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        if (it->GraphicClass == &graphicClass)
            return it->Extension;
    }
    return {};
}

String GraphicFilter(const TClass& graphicClass) {
    String masks;
    String parts;
    for (const auto& f : State().files) {
        if (!f.GraphicClass->InheritsFrom(graphicClass))
            continue;
        const String mask = u"*." + f.Extension;
        masks += (masks.empty() ? u"" : u";") + mask;
        parts += u"|" + f.Description + u" (" + mask + u")|" + mask;
    }
    return masks.empty() ? String() : u"All (" + masks + u")|" + masks + parts;
}

std::vector<TGraphicFileFormat> GraphicFileFormats() {
    return State().files;
}

const TClass* GraphicClassForData(std::span<const Byte> head) {
    if (StartsWith(head, {'B', 'M'}))
        return &TBitmap::StaticClass();
    if (StartsWith(head, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}))
        return &TPngImage::StaticClass();
    if (StartsWith(head, {0xFF, 0xD8, 0xFF}))
        return &TJPEGImage::StaticClass();
    if (StartsWith(head, {'G', 'I', 'F', '8'}))
        return &TGIFImage::StaticClass();
    if (StartsWith(head, {0, 0, 1, 0}) || StartsWith(head, {0, 0, 2, 0}))
        return &TIcon::StaticClass();
    if (StartsWith(head, {0xD7, 0xCD, 0xC6, 0x9A}) ||
        (StartsWith(head, {1, 0, 0, 0}) && StartsWith(head, {' ', 'E', 'M', 'F'}, 40)) ||
        StartsWith(head, {1, 0, 9, 0}) || StartsWith(head, {2, 0, 9, 0}))
        return &TMetafile::StaticClass();
    return nullptr;
}

std::unique_ptr<TGraphic> CreateGraphic(const TClass& graphicClass) {
    if (graphicClass.InheritsFrom(TGraphic::StaticClass()) && graphicClass.CanCreate()) {
        std::unique_ptr<TObject> object = graphicClass.CreateInstance();
        if (dynamic_cast<TGraphic*>(object.get()) != nullptr)
            return std::unique_ptr<TGraphic>(static_cast<TGraphic*>(object.release()));
    }
    throw EInvalidGraphic(Format(u"%s is not a graphic class", {graphicClass.ClassName()}));
}

void ResetGraphicRegistry() {
    AddDefaults(State());
}

}  // namespace kw
