#include "gallery.h"

#include "gallery_controls.h"

#include "display/display_package.h"
#include "framework/app_hooks.h"
#include "framework/application.h"
#include "gallery_view.h"
#include "packages/language_package.h"
#include "platform/core/files.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/font_face.h"
#include "platform/graphics/graphic.h"
#include "platform/ui/form.h"

namespace kw {

String KwGalleryPackagesFolder(const String& given) {
    if (!given.empty())
        return IncludeTrailingPathDelimiter(given);
    for (const String& folder : {ExeDir() + u"../share/kwctrls/", KwInstallationFolder()}) {
        if (!folder.empty() && FileExists(IncludeTrailingPathDelimiter(folder) + u"standard.dis"))
            return IncludeTrailingPathDelimiter(ExpandFileName(folder));
    }
    return String();
}

TKwGallery::TKwGallery(const String& packagesFolder, const String& language, const String& skin,
                       bool framed)
    : form_(std::make_unique<TForm>()), language_(language), skin_(skin) {
    form_->SetName(u"GalleryForm");
    form_->SetCaption(u"KwControls gallery");
    form_->SetBorderStyle(framed ? TFormBorderStyle::bsSingle : TFormBorderStyle::bsNone);
    app_ = &Create<TKwCApplication>(*form_);
    app_->SetName(u"GalleryApp");
    app_->SetPath(packagesFolder);
    app_->PkgLanguage().SetInitMode(rimFILE);
    app_->PkgLanguage().SetFileName(language + u".lan");
    app_->PkgDisplay().SetInitMode(rimFILE);
    app_->PkgDisplay().SetFileName(skin + u".dis");
    view_ = &Create<TKwGalleryView>(*form_);
    view_->SetParent(form_.get());
    view_->OnSwitch = [this](const String& language, const String& skin) {
        Switch(language, skin);
    };
    const int controls = KwAddGalleryControls(*form_, view_->Height(), view_->Width());
    const int border = form_->BorderThickness();
    form_->SetBounds(0, 0, view_->Width() + 2 * border,
                     view_->Height() + controls + 2 * border + form_->CaptionHeight());
    form_->Show();
    form_->PaintNow();
}

TKwGallery::~TKwGallery() = default;

void TKwGallery::Switch(const String& language, const String& skin) {
    if (language != language_)
        app_->PkgLanguage().SetFileName(language + u".lan");
    if (skin != skin_)
        app_->PkgDisplay().SetFileName(skin + u".dis");
    language_ = language;
    skin_ = skin;
}

void TKwGallery::Repaint() {
    form_->PaintNow();
}

std::unique_ptr<TBitmap> TKwGallery::Snapshot() const {
    TBitmap& surface = *form_->Surface();
    auto copy = std::make_unique<TBitmap>(surface.Width(), surface.Height());
    const TRect all(0, 0, surface.Width(), surface.Height());
    copy->Canvas().CopyRect(all, surface.Canvas(), all);
    return copy;
}

std::unique_ptr<TBitmap> KwContactSheet(const std::vector<TKwSheetPicture>& pictures, int columns) {
    constexpr int kMargin = 16, kCaption = 26;
    int cellWidth = 0, cellHeight = 0;
    for (const TKwSheetPicture& p : pictures) {
        cellWidth = std::max(cellWidth, p.picture->Width() / 2);
        cellHeight = std::max(cellHeight, p.picture->Height() / 2);
    }
    const int count = static_cast<int>(pictures.size());
    const int rows = (count + columns - 1) / columns;
    const int width = kMargin + std::min(count, columns) * (cellWidth + kMargin);
    const int height = kMargin + rows * (kCaption + cellHeight + kMargin);
    auto sheet = std::make_unique<TBitmap>(std::max(width, 1), std::max(height, 1));
    TCanvas& canvas = sheet->Canvas();
    canvas.Brush().Color = RGB(236, 236, 236);
    canvas.FillRect(TRect(0, 0, sheet->Width(), sheet->Height()));
    canvas.Font().SetName(kBuiltInFontName);
    canvas.Font().SetHeight(-14);
    canvas.Font().SetColor(RGB(40, 40, 40));
    for (int i = 0; i < count; ++i) {
        const int x = kMargin + i % columns * (cellWidth + kMargin);
        const int y = kMargin + i / columns * (kCaption + cellHeight + kMargin);
        canvas.Brush().Style = TBrushStyle::bsClear;
        canvas.TextOut(x, y + 2, pictures[i].caption);
        const TBitmap& picture = *pictures[i].picture;
        canvas.StretchDraw(
            TRect(x, y + kCaption, x + picture.Width() / 2, y + kCaption + picture.Height() / 2),
            picture);
    }
    return sheet;
}

namespace {

void SavePng(const TBitmap& bitmap, const String& fileName) {
    TPngImage png;
    png.Assign(&bitmap);
    png.SaveToFile(fileName);
}

}  // namespace

std::vector<String> KwRenderGallery(const String& packagesFolder, const String& folder) {
    const String out = IncludeTrailingPathDelimiter(folder);
    if (!ForceDirectories(out))
        throw EInOutError(u"cannot create the folder " + out);
    std::vector<String> written;
    std::vector<std::unique_ptr<TBitmap>> pictures;
    std::vector<TKwSheetPicture> sheet;
    // One gallery switched through every look, as a program would be; the tests check that
    // this gives the pixels of a gallery started in that look.
    TKwGallery gallery(packagesFolder, KwGalleryLanguages().front(), KwGallerySkins().front());
    for (const String& skin : KwGallerySkins()) {
        for (const String& language : KwGalleryLanguages()) {
            gallery.Switch(language, skin);
            gallery.Repaint();
            pictures.push_back(gallery.Snapshot());
            const String name = out + skin + u"-" + language + u".png";
            SavePng(*pictures.back(), name);
            written.push_back(name);
            sheet.push_back({language + u" / " + skin, pictures.back().get()});
        }
    }
    const String name = out + u"gallery.png";
    SavePng(*KwContactSheet(sheet, static_cast<int>(KwGalleryLanguages().size())), name);
    written.push_back(name);
    return written;
}

}  // namespace kw
