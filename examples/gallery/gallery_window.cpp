#include "gallery_window.h"

#include <SDL.h>

#include <iostream>

#include "gallery.h"
#include "gallery_view.h"
#include "platform/core/files.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/graphic.h"
#include "platform/text/unicode.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/sdl_backend.h"

namespace kw {

namespace {

TSdlBackend& InstallSdl() {
    auto backend = std::make_unique<TSdlBackend>();
    TSdlBackend& sdl = *backend;
    SetWindowBackend(std::move(backend));
    return sdl;
}

// A left click in the middle of `rect` of the view, pushed through SDL's queue as a user's.
void ClickThroughSdl(TSdlBackend& sdl, TKwGallery& gallery, const TRect& rect) {
    sdl.PushClick(gallery.View(),
                  TPoint{(rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2});
    Application().ProcessMessages();
}

int IndexOf(const std::vector<String>& names, const String& name) {
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return static_cast<int>(i);
    throw EInvalidOperation(u"no switch for " + name);
}

void Save(const TBitmap& bitmap, const String& fileName) {
    TPngImage png;
    png.Assign(&bitmap);
    png.SaveToFile(fileName);
    std::cout << "  " << StringToUtf8(fileName) << '\n';
}

bool SamePixels(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return false;
    return true;
}

}  // namespace

int KwRunGalleryWindow(const String& packagesFolder) {
    InstallSdl();
    TKwGallery gallery(packagesFolder, u"English", u"standard", true);
    Application().SetMainForm(&gallery.Form());
    Application().Run();
    Application().SetMainForm(nullptr);
    return 0;
}

int KwRunGalleryScript(const String& packagesFolder, const String& folder) {
    const String out = IncludeTrailingPathDelimiter(folder);
    if (!ForceDirectories(out))
        throw EInOutError(u"cannot create the folder " + out);
    TSdlBackend& sdl = InstallSdl();
    std::unique_ptr<TBitmap> after;
    {
        TKwGallery gallery(packagesFolder, u"English", u"standard", true);
        Application().ProcessMessages();
        const std::uint32_t window = sdl.WindowId(gallery.Form());
        if (window == 0)
            throw EInvalidOperation(u"the gallery has no SDL window");
        Save(*gallery.Snapshot(), out + u"window-before.png");
        const int languages = static_cast<int>(KwGalleryLanguages().size());
        ClickThroughSdl(sdl, gallery,
                        TKwGalleryView::SwitchRect(IndexOf(KwGalleryLanguages(), u"German")));
        ClickThroughSdl(sdl, gallery,
                        TKwGalleryView::SwitchRect(languages + IndexOf(KwGallerySkins(), u"dark")));
        if (gallery.Language() != u"German" || gallery.Skin() != u"dark") {
            std::cerr << "kwgallery: the scripted clicks did not switch the gallery\n";
            return 1;
        }
        after = gallery.Snapshot();
        Save(*after, out + u"window-after.png");
    }
    TKwGallery fresh(packagesFolder, u"German", u"dark", true);
    Application().ProcessMessages();
    const std::unique_ptr<TBitmap> started = fresh.Snapshot();
    Save(*started, out + u"window-fresh.png");
    if (!SamePixels(*after, *started)) {
        std::cerr << "kwgallery: the live switch shows other pixels than a fresh start\n";
        return 1;
    }
    std::cout << "The live switch to German and the dark skin shows the pixels of a fresh start\n";
    return 0;
}

}  // namespace kw
