#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/core/types.h"

namespace kw {

class TBitmap;
class TForm;
class TKwCApplication;
class TKwGalleryView;

// Where the reference files are: `given` when not empty, else the build tree or installation
// layout beside the executable (bin/../share/kwctrls), else the installation folder. Empty
// when none holds "standard.dis".
String KwGalleryPackagesFolder(const String& given);

// The gallery form with its own application object, started in one language and skin. Switch
// loads other files into the running packages, the way a program changes them live.
class TKwGallery {
public:
    // `framed` gives the form the frame and caption bar of a desktop window.
    TKwGallery(const String& packagesFolder, const String& language, const String& skin,
               bool framed = false);
    ~TKwGallery();
    TKwGallery(const TKwGallery&) = delete;
    TKwGallery& operator=(const TKwGallery&) = delete;

    void Switch(const String& language, const String& skin);
    const String& Language() const { return language_; }
    const String& Skin() const { return skin_; }
    TForm& Form() { return *form_; }
    TKwGalleryView& View() { return *view_; }
    TKwCApplication& Application() { return *app_; }
    // Paints what the switch or anything else left invalid.
    void Repaint();
    // A copy of what the form shows now.
    std::unique_ptr<TBitmap> Snapshot() const;

private:
    std::unique_ptr<TForm> form_;
    TKwCApplication* app_ = nullptr;
    TKwGalleryView* view_ = nullptr;
    String language_;
    String skin_;
};

// One captioned picture of a contact sheet.
struct TKwSheetPicture {
    String caption;
    const TBitmap* picture = nullptr;
};
// The pictures side by side at half size in rows of `columns`, each under its caption.
std::unique_ptr<TBitmap> KwContactSheet(const std::vector<TKwSheetPicture>& pictures, int columns);

// Renders the gallery headless once for every language and skin into `folder` as
// "<skin>-<language>.png", plus "gallery.png", the contact sheet of them all. Returns the
// files written.
std::vector<String> KwRenderGallery(const String& packagesFolder, const String& folder);

}  // namespace kw
