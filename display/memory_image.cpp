#include "display/memory_image.h"

#include "display/image_package.h"
#include "display/state.h"
#include "framework/application.h"
#include "packages/package_scopes.h"
#include "packages/reference_registry.h"
#include "platform/core/filer.h"
#include "platform/ui/application.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwMemoryImage, TPersistent)

namespace {

TKwIntrusiveList<TKwMemoryImage>& Registry() {
    return KwDisplayState().imageReferences;
}

template <class F>
void ForEachReference(F visit) {
    KwForEachReference(Registry(), visit);
}

// A switch of the active application object re-resolves the references into its images.
void RegisterWithApplications() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    KwRegisterReferenceKind({
        [](TKwCApplication& app) {
            const auto& host = KwDisplayState().imagesHost;
            if (!host.imagesOf)
                return;
            for (bool system : {true, false}) {
                if (const TKwPkgImages* images = host.imagesOf(app, system))
                    KwUnCheckAllImages(images->Images());
            }
        },
        [] { KwUnCheckNilImages(); },
        [] { KwUpdateImages(); },
    });
}

}  // namespace

TKwMemoryImage::TKwMemoryImage(const String& defaultPkg, int defaultId, bool isDefault)
    : fields_(defaultPkg, defaultId, isDefault) {
    RegisterWithApplications();
    Registry().Append(*this);
}

std::unique_ptr<TKwMemoryImage> TKwMemoryImage::CreatePtr(TKwPkgImagesImage& image) {
    auto ref = std::make_unique<TKwMemoryImage>();
    ref->checked_ = true;
    ref->Cache(&image);
    const TKwPkgImages* package = image.Package();
    ref->fields_.pkgName = package != nullptr ? package->PkgName() : String();
    ref->fields_.id = image.Id();
    return ref;
}

TKwMemoryImage::~TKwMemoryImage() {
    Registry().Remove(*this);
}

void TKwMemoryImage::Cache(TKwPkgImagesImage* target) {
    target_ = target;
    targetCollection_ = target != nullptr ? target->Owner() : nullptr;
}

void TKwMemoryImage::Invalidate() {
    checked_ = false;
    Cache(nullptr);
}

void TKwMemoryImage::Notify() {
    if (OnChange)
        OnChange(*this);
}

void TKwMemoryImage::SetPkgName(const String& name) {
    if (fields_.SetPkgName(name)) {
        Invalidate();
        Notify();
    }
}

void TKwMemoryImage::SetId(int id) {
    if (fields_.SetId(id)) {
        Invalidate();
        Notify();
    }
}

void TKwMemoryImage::DefaultPkgId(const String& defaultPkg, int defaultId) {
    fields_.SetDefault(defaultPkg, defaultId);
    Invalidate();
    Notify();
}

void TKwMemoryImage::PkgId(const String& pkg, int id) {
    if (fields_.SetPkgId(pkg, id)) {
        Invalidate();
        Notify();
    }
}

bool TKwMemoryImage::Defined() const {
    return fields_.Defined(KwCApp() != nullptr);
}

TKwPkgImagesImage* TKwMemoryImage::Resolve() const {
    String name;
    int id = -1;
    if (!fields_.Target(KwCApp() != nullptr, name, id))
        return nullptr;
    TKwPkgImages* package = KwFindPkgImages(name);
    return package != nullptr ? package->Images().FindId(id) : nullptr;
}

TKwPkgImagesImage* TKwMemoryImage::Info() {
    if (KwCApp() == nullptr)
        return nullptr;
    if (!checked_) {
        Cache(Resolve());
        checked_ = true;
    }
    return target_ != nullptr && !target_->Empty() ? target_ : nullptr;
}

bool TKwMemoryImage::Empty() {
    return fields_.id == -1 || Info() == nullptr;
}

int TKwMemoryImage::Width() {
    return Empty() ? 0 : Info()->Width();
}

int TKwMemoryImage::Height() {
    return Empty() ? 0 : Info()->Height();
}

int TKwMemoryImage::Frames() {
    return KwImageFrames(Width(), Height());
}

int TKwMemoryImage::FrameWidth() {
    return Width() / Frames();
}

void TKwMemoryImage::Refresh() {
    const bool hadTarget = target_ != nullptr;
    checked_ = false;
    if (Info() != nullptr || hadTarget)
        Notify();
}

void TKwMemoryImage::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TKwMemoryImage*>(source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    if (fields_.SameChoice(other->fields_))
        return;
    checked_ = other->checked_;
    target_ = other->target_;
    targetCollection_ = other->targetCollection_;
    fields_.TakeChoiceOf(other->fields_);
    Notify();
}

void TKwMemoryImage::DefineProperties(TFiler& filer) {
    TPersistent* ancestor = filer.Ancestor();
    const auto* same = dynamic_cast<const TKwMemoryImage*>(ancestor);
    fields_.DefineProperties(
        filer, same != nullptr ? &same->fields_ : nullptr, ancestor != nullptr && same == nullptr,
        [this](const String& name) { SetPkgName(name); }, [this](int id) { SetId(id); });
}

void TKwMemoryImage::PointAt(const String& pkg, int id) {
    if (fields_.SetPkgId(pkg, id)) {
        UnCheck();
        Notify();
    }
}

void KwReadPkgImage(const String& pkgName, int id, TKwMemoryImage& image) {
    image.PointAt(pkgName, id);
}

void KwUnCheckAllImages(const TKwPkgImagesImages& collection) {
    ForEachReference([&](TKwMemoryImage& ref) {
        if (ref.Checked() && ref.CachedCollection() == &collection)
            ref.UnCheck();
    });
}

void KwUnCheckNilImages() {
    ForEachReference([](TKwMemoryImage& ref) {
        if (ref.CachedTarget() == nullptr)
            ref.UnCheck();
    });
}

void KwUnCheckImage(const TKwPkgImagesImage& image) {
    ForEachReference([&](TKwMemoryImage& ref) {
        if (ref.Checked() && ref.CachedTarget() == &image)
            ref.UnCheck();
    });
}

void KwUpdateImages() {
    KwRefreshUnchecked(Registry());
}

}  // namespace kw
