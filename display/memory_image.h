#pragma once

#include <functional>
#include <memory>

#include "framework/link_list.h"
#include "packages/reference_fields.h"
#include "platform/core/persistent.h"

namespace kw {

class TKwPkgImagesImage;
class TKwPkgImagesImages;

// A control's reference to one package image: a package name and an id, resolved on demand
// against the active application object's packages and cached until something invalidates it.
// Id -1 chooses nothing, -2 uses the default given by the owning control, 0..9999 an image.
class TKwMemoryImage : public TPersistent {
    KW_CLASS(TKwMemoryImage)
public:
    using TNotify = std::function<void(TKwMemoryImage& sender)>;

    explicit TKwMemoryImage(const String& defaultPkg = {}, int defaultId = -1,
                            bool isDefault = false);
    // A temporary reference that already points at `image`.
    static std::unique_ptr<TKwMemoryImage> CreatePtr(TKwPkgImagesImage& image);
    ~TKwMemoryImage() override;

    bool Checked() const { return checked_; }
    const String& PkgName() const { return fields_.pkgName; }
    void SetPkgName(const String& name);
    int Id() const { return fields_.id; }
    void SetId(int id);
    const String& DefaultPkgName() const { return fields_.defaultPkgName; }
    int DefaultId() const { return fields_.defaultId; }
    bool Default() const { return fields_.isDefault; }
    void DefaultPkgId(const String& defaultPkg, int defaultId);
    void PkgId(const String& pkg, int id);

    bool Defined() const;
    // The image shown, or none; an image without data counts as none.
    TKwPkgImagesImage* Info();
    bool Empty();
    int Width();
    int Height();
    int Frames();
    int FrameWidth();

    void Assign(const TPersistent* source) override;
    void DefineProperties(TFiler& filer) override;

    TNotify OnChange;

    // For the invalidation routines. The cached target survives unchecking so that the update
    // pass knows the reference had one; it is only compared, never read, while unchecked.
    void UnCheck() { checked_ = false; }
    // Points at `pkg`/`id` (compared case-sensitively); the cached target stays until the
    // next resolution.
    void PointAt(const String& pkg, int id);
    const TKwPkgImagesImage* CachedTarget() const { return target_; }
    const TKwPkgImagesImages* CachedCollection() const { return targetCollection_; }
    // Resolves again and tells the owner when the result may have changed.
    void Refresh();

    TKwIntrusiveList<TKwMemoryImage>::Hook registryHook;

private:
    void Invalidate();
    void Notify();
    TKwPkgImagesImage* Resolve() const;
    void Cache(TKwPkgImagesImage* target);

    TKwReferenceFields fields_;
    bool checked_ = false;
    TKwPkgImagesImage* target_ = nullptr;
    const TKwPkgImagesImages* targetCollection_ = nullptr;
};

// Points a reference at a package image; nothing when it names that image already.
void KwReadPkgImage(const String& pkgName, int id, TKwMemoryImage& image);

// Invalidation: the references become unchecked and resolve again at the next update pass.
void KwUnCheckAllImages(const TKwPkgImagesImages& collection);
void KwUnCheckNilImages();
void KwUnCheckImage(const TKwPkgImagesImage& image);
// Re-resolves the unchecked, defined references inside one screen update and tells those whose
// image was changed, removed or has just appeared.
void KwUpdateImages();

}  // namespace kw
