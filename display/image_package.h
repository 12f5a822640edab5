#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "display/package_image.h"
#include "framework/pkg_info.h"
#include "packages/strings_package.h"

namespace kw {

class TStringList;

// The mask editor's window and settings, which the package stores for it.
struct TKwMaskWindow {
    static constexpr std::int32_t kNotPlaced = TKwDesignWindow::kNotPlaced;
    std::int32_t left = kNotPlaced;
    std::int32_t top = kNotPlaced;
    std::int32_t width = kNotPlaced;
    std::int32_t height = kNotPlaced;
    std::int32_t zoom = 1;
    std::uint8_t state = 0;
    bool external = true;
    bool diagonals = true;
};

// Numbered images (ids 0 to 9999) that controls show through memory images. Packages are found
// by name; of several with one name, the first in the process-wide list is active. "System" and
// "User" always mean the images of the active application's display package.
class TKwPkgImages : public TKwPkgInfo {
    KW_CLASS(TKwPkgImages)
public:
    explicit TKwPkgImages(TComponent* owner = nullptr);
    ~TKwPkgImages() override;

    TKwPkgImagesImages& Images() const { return *images_; }
    TKwDesignWindow& DesignWindow() { return designWindow_; }
    const TKwDesignWindow& DesignWindow() const { return designWindow_; }
    TKwMaskWindow& MaskWindow() { return maskWindow_; }
    const TKwMaskWindow& MaskWindow() const { return maskWindow_; }
    void AssignMaskWindow(const TKwPkgImages& other) { maskWindow_ = other.maskWindow_; }

    // Raises "System" 67 for a reserved name: "User" anywhere, "System" on a form.
    void SetPkgName(const String& name) override;
    void SetDefaultExtension(const String& ext) { SetDefaultExt(ext); }
    bool Active() const;
    void SetActive(bool active);
    void Clear() override;
    // Resolves every reference still waiting for an image.
    void Update();

    // The layout version of the stream last loaded; 0 before any load.
    int LoadedVersion() const { return loadedVersion_; }

protected:
    void NotifyInit(TKwLinkEvt& sender) override;
    void xLoadFromStream(TReader& reader) override;
    void xSaveToStream(TWriter& writer) override;

private:
    // Reads and writes the two image packages inside its own payload.
    friend class TKwPkgDisplay;

    bool OwnedByDisplay() const;
    void ReadTrailer(TReader& reader, int version);

    std::unique_ptr<TKwPkgImagesImages> images_;
    TKwDesignWindow designWindow_;
    TKwMaskWindow maskWindow_;
    int loadedVersion_ = 0;
};

// "System" and "User" (any case) are the active application's display images, none without an
// application object; other names the active package of that name, moved to the front.
TKwPkgImages* KwFindPkgImages(StringView name);
// One entry per distinct name (trimmed, not empty), in list order.
void KwPkgImagesActives(TStringList& list);
// Every package owned by a form, with the package, duplicates included.
void KwPkgImagesAll(TStringList& list);
// Renders image `id` of the package into `bitmap`; nothing when either is missing.
void KwReadPkgBitmap(StringView pkgName, int id, TBitmap* bitmap);
// Merges the images of a newer System package: new ids are added, unprotected images replaced,
// protected ones and ids missing from `source` kept. `progress` gets each zero-based index.
void KwUpdateSystemImages(TKwPkgImages& target, const TKwPkgImages& source,
                          const std::function<void(int index, int count)>& progress = {});

}  // namespace kw
