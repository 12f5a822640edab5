#include "display/format_graphics.h"

#include <algorithm>

#include "display/image_imkw.h"
#include "display/state.h"
#include "framework/clip_formats.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/clipboard.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/graphic_registry.h"
#include "platform/text/string_list.h"
#include "platform/text/strings.h"

namespace kw {

namespace {

std::vector<TKwFormatGraphicEntry>& Entries() {
    RegisterFormatGraphics();
    return KwDisplayState().formatGraphics;
}

const TKwFormatGraphicEntry* FindEntry(const TClass& graphicClass) {
    for (const TKwFormatGraphicEntry& entry : Entries()) {
        if (entry.graphicClass == &graphicClass)
            return &entry;
    }
    return nullptr;
}

void AddEntry(StringView extension, StringView description, const TClass& graphicClass) {
    KwDisplayState().formatGraphics.push_back(
        {&graphicClass, String(extension), String(description)});
}

}  // namespace

void RegisterFormatGraphics() {
    TKwDisplayState& state = KwDisplayState();
    if (state.formatGraphicsRegistered)
        return;
    state.formatGraphicsRegistered = true;
    AddEntry(u"bmp", u"Bitmap", TBitmap::StaticClass());
    AddEntry(u"ico", u"Icon", TIcon::StaticClass());
    AddEntry(u"wmf", u"Metafile", TMetafile::StaticClass());
    AddEntry(u"emf", u"Metafile", TMetafile::StaticClass());
    AddEntry(u"jpeg", u"JPeg", TJPEGImage::StaticClass());
    AddEntry(u"jpg", u"JPeg", TJPEGImage::StaticClass());
    AddEntry(u"gif", u"Gif", TGIFImage::StaticClass());
    AddEntry(u"png", u"Png", TPngImage::StaticClass());
    AddEntry(u"imkw", u"KwImage", TKwImageIMKW::StaticClass());

    const TClass& imkw = TKwImageIMKW::StaticClass();
    RegisterFileFormat(u"imkw", u"KwControls Image File", imkw);
    state.imageClipboardFormat = RegisterClipboardFormat(u"KW_IMAGE");
    RegisterClipboardFormatClass(state.imageClipboardFormat, imkw);
    // Withdraw the image file from the picture loader when the program ends, as a library
    // unloaded from a running program must. Made after the loader's registry exists, the guard
    // is destroyed before it.
    static const struct TUnRegisterAtExit {
        ~TUnRegisterAtExit() { UnRegisterFormatGraphics(); }
    } unRegisterAtExit;

    TKwClipFormats& formats = KwGetClipboardFormats();
    if (formats.Count() == 0) {
        formats.Add(CF_METAFILEPICT, TMetafile::StaticClass());
        formats.Add(CF_ENHMETAFILE, TMetafile::StaticClass());
        formats.Add(CF_BITMAP, TBitmap::StaticClass());
    }
    formats.Add(TGIFImage().ClipboardFormat(), TGIFImage::StaticClass());
    formats.Add(state.imageClipboardFormat, imkw);
}

void UnRegisterFormatGraphics() {
    UnregisterGraphicClass(TKwImageIMKW::StaticClass());
}

Word KwImageClipboardFormat() {
    RegisterFormatGraphics();
    return KwDisplayState().imageClipboardFormat;
}

void KwRegisterFormatGraphic(StringView extension, StringView description,
                             const TClass& graphicClass) {
    Entries();
    AddEntry(extension, description, graphicClass);
}

void KwUnRegisterFormatGraphic(const TClass& graphicClass) {
    std::erase_if(Entries(), [&](const TKwFormatGraphicEntry& entry) {
        return entry.graphicClass == &graphicClass;
    });
}

const TClass* KwFindGraphicClass(StringView name) {
    for (const TKwFormatGraphicEntry& entry : Entries()) {
        if (SameText(entry.graphicClass->ClassName(), name))
            return entry.graphicClass;
    }
    return nullptr;
}

const TClass* KwFindGraphicFileExt(StringView ext) {
    String wanted = Trim(ext);
    if (!wanted.empty() && wanted.front() == u'.')
        wanted.erase(0, 1);
    for (const TKwFormatGraphicEntry& entry : Entries()) {
        if (SameText(entry.extension, wanted))
            return entry.graphicClass;
    }
    return nullptr;
}

String KwFindGraphicDescription(const TClass& graphicClass) {
    const TKwFormatGraphicEntry* entry = FindEntry(graphicClass);
    return entry != nullptr ? entry->description : String();
}

String KwGraphicExtension(const TClass& graphicClass) {
    RegisterFormatGraphics();
    return GraphicExtension(graphicClass);
}

void KwFormatGraphics(TStringList& list) {
    list.Clear();
    std::vector<const TClass*> seen;
    for (const TKwFormatGraphicEntry& entry : Entries()) {
        if (std::find(seen.begin(), seen.end(), entry.graphicClass) != seen.end())
            continue;
        seen.push_back(entry.graphicClass);
        list.Add(entry.graphicClass->ClassName());
    }
}

void SetGraphicQuality(TGraphic& graphic, TKwQualityGraphic quality) {
    auto* jpeg = dynamic_cast<TJPEGImage*>(&graphic);
    if (jpeg == nullptr)
        return;
    static constexpr TJPEGScale kScales[] = {TJPEGScale::jsFullSize, TJPEGScale::jsHalf,
                                             TJPEGScale::jsQuarter, TJPEGScale::jsEighth};
    jpeg->SetScale(kScales[static_cast<int>(quality)]);
}

}  // namespace kw
