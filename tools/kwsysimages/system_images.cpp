#include "kwsysimages/system_images.h"

#include "display/image_package.h"
#include "kwpkg/image_kinds.h"
#include "kwpkg/package_json.h"
#include "kwsysimages/system_glyphs.h"
#include "platform/core/stream.h"
#include "platform/graphics/graphic_registry.h"

namespace kwsysimages {

namespace {

void StorePng(const kw::TBitmap& bitmap, kw::TKwPkgImagesImage& image) {
    const kw::TClass* pngClass = kw::GraphicClassForExtension(u"png");
    if (pngClass == nullptr)
        throw kwpkg::TKwPkgError("no PNG graphic class is registered");
    std::unique_ptr<kw::TGraphic> png = kw::CreateGraphic(*pngClass);
    png->Assign(&bitmap);
    kw::TMemoryStream stream;
    png->SaveToStream(stream);
    stream.SetPosition(0);
    image.LoadFromStream(stream, pngClass);
}

}  // namespace

kwpkg::TBytes BuildSystemImagesPackage() {
    kw::TKwPkgImages package;
    package.SetDescription(u"KwControls System images");
    for (const TSystemGlyph& glyph : SystemGlyphs())
        StorePng(*Render(glyph.glyph, glyph.size), package.Images().Add(glyph.id));
    return kwpkg::SaveBytes(package);
}

kwpkg::Json SystemImagesJson() {
    return kwpkg::DumpImages(BuildSystemImagesPackage());
}

kwpkg::Json WithSystemImages(kwpkg::Json displaySource) {
    if (!displaySource.is_object())
        throw kwpkg::TKwPkgError("the display source must be a JSON object");
    displaySource["systemImages"] = SystemImagesJson();
    return displaySource;
}

}  // namespace kwsysimages
