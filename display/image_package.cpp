#include "display/image_package.h"

#include "display/format_graphics.h"
#include "display/memory_image.h"
#include "display/state.h"
#include "framework/application.h"
#include "framework/errors.h"
#include "framework/events.h"
#include "framework/pkg_formats.h"
#include "framework/sets_lock.h"
#include "packages/named_packages.h"
#include "packages/package_scopes.h"
#include "packages/reference_fields.h"
#include "platform/core/exception.h"
#include "platform/core/filer.h"
#include "platform/core/properties.h"
#include "platform/core/stream.h"
#include "platform/text/strings.h"
#include "platform/ui/application.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwPkgImages, TKwPkgInfo)

namespace {

std::vector<TKwPkgImages*>& Packages() {
    return KwDisplayState().imagePackages;
}

void RegisterPublishedProperties() {
    KwRegisterNamedPackageProperties<TKwPkgImages>(u"pim");
}

void ReresolveAfterMove(const TKwPkgImages& moved) {
    KwUnCheckAllImages(moved.Images());
    KwUnCheckNilImages();
    KwUpdateImages();
}

}  // namespace

// --- Collection ----------------------------------------------------------------------------

TKwPkgImagesImages::TKwPkgImagesImages(TKwPkgImages& owner) : owner_(owner) {}

TKwPkgImagesImages::~TKwPkgImagesImages() = default;

bool TKwPkgImagesImages::Loading() const {
    return owner_.LoadingProps();
}

TKwPkgImagesImage& TKwPkgImagesImages::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
    return *items_[static_cast<size_t>(index)];
}

TKwPkgImagesImage* TKwPkgImagesImages::FindId(int id) const {
    if (id < 0 || static_cast<size_t>(id) >= index_.size())
        return nullptr;
    return index_[static_cast<size_t>(id)];
}

int TKwPkgImagesImages::UniqueId() const {
    return static_cast<int>(std::find(index_.begin(), index_.end(), nullptr) - index_.begin());
}

void TKwPkgImagesImages::CheckId(int id) const {
    const String& source = owner_.Name();
    if (id < 0)
        KwExceptPkgArgs(source, u"System", 22, {id});
    if (id > kKwMaxImageId)
        KwExceptPkgArgs(source, u"System", 23, {id});
    if (FindId(id) != nullptr)
        KwExceptPkgArgs(source, u"System", 24, {id});
}

void TKwPkgImagesImages::Unindex(const TKwPkgImagesImage& image) {
    const int id = image.id_;
    if (id >= 0 && static_cast<size_t>(id) < index_.size() &&
        index_[static_cast<size_t>(id)] == &image) {
        index_[static_cast<size_t>(id)] = nullptr;
    }
}

void TKwPkgImagesImages::Index(TKwPkgImagesImage& image) {
    const int id = image.id_;
    if (id < 0)
        return;
    if (static_cast<size_t>(id) >= index_.size())
        index_.resize(static_cast<size_t>(id) + 1, nullptr);
    index_[static_cast<size_t>(id)] = &image;
}

void TKwPkgImagesImages::ChangeId(TKwPkgImagesImage& image, int id) {
    const bool loading = Loading();
    if (!loading)
        CheckId(id);
    Unindex(image);
    image.id_ = id;
    Index(image);
    if (!loading) {
        KwUnCheckNilImages();
        image.Notify();
    }
}

TKwPkgImagesImage& TKwPkgImagesImages::Add(int id) {
    TKwSetsLock lock;
    CheckId(id);
    items_.push_back(std::make_unique<TKwPkgImagesImage>(this));
    TKwPkgImagesImage& image = *items_.back();
    image.SetId(id);
    return image;
}

TKwPkgImagesImage& TKwPkgImagesImages::AppendLoaded(TReader& reader, int version,
                                                    std::int64_t streamSize) {
    auto image = std::make_unique<TKwPkgImagesImage>(this);
    image->xLoadFromStream(reader, version, true, streamSize);
    items_.push_back(std::move(image));
    Index(*items_.back());
    return *items_.back();
}

void TKwPkgImagesImages::Destroy(std::size_t position) {
    std::unique_ptr<TKwPkgImagesImage> image = std::move(items_[position]);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position));
    Unindex(*image);
    image->DropData();
    if (!Loading() && !Application().Destroying()) {
        image->Notify();
    } else {
        KwUnCheckImage(*image);
    }
}

void TKwPkgImagesImages::Delete(int index) {
    TKwSetsLock lock;
    Items(index);
    Destroy(static_cast<size_t>(index));
}

void TKwPkgImagesImages::Clear() {
    TKwSetsLock lock;
    const bool quiet = Loading() || Application().Destroying();
    KwWithScreenUpdate(!quiet, [&] {
        KwUnCheckAllImages(*this);
        {
            TKwLoadingScope loading(owner_);
            std::vector<std::unique_ptr<TKwPkgImagesImage>> doomed = std::move(items_);
            items_.clear();
            index_.clear();
            for (auto& image : doomed) {
                KwUnCheckImage(*image);
                image.reset();
            }
        }
        if (!quiet)
            KwUpdateImages();
    });
    if (!quiet)
        owner_.Change();
}

// --- Package -------------------------------------------------------------------------------

TKwPkgImages::TKwPkgImages(TComponent* owner) : TKwPkgInfo(owner) {
    RegisterFormatGraphics();
    if (!OwnedByDisplay())
        Link().SetCodInit(kwInitImages);
    Packages().push_back(this);
    images_ = std::make_unique<TKwPkgImagesImages>(*this);
    SetDefaultExt(u"pim");
    RegisterPublishedProperties();
    if (HasState(csDesigning))
        KwGlobalPerform(kwEvtImagesPackages, this);
}

TKwPkgImages::~TKwPkgImages() {
    Destroying();
    try {
        images_->Clear();
    } catch (...) {
        Application().HandleException(this);
    }
    images_.reset();
    std::erase(Packages(), this);
    if (HasState(csDesigning))
        KwGlobalPerform(kwEvtImagesPackages, this);
}

bool TKwPkgImages::OwnedByDisplay() const {
    return KwInheritsFromNamed(Owner(), u"TKwPkgDisplay");
}

void TKwPkgImages::SetPkgName(const String& name) {
    if (name == PkgName())
        return;
    TKwSetsLock lock;
    if (LoadingProps()) {
        StorePkgName(name);
        return;
    }
    const bool reserved =
        AnsiSameText(name, u"User") || (KwOwnedByForm(*this) && AnsiSameText(name, u"System"));
    if (reserved)
        KwExceptPkg(Name(), u"System", 67);
    KwMoveInList(Packages(), this, false);
    StorePkgName(name);
    KwWithScreenUpdate(true, [&] { ReresolveAfterMove(*this); });
    Change();
}

bool TKwPkgImages::Active() const {
    return !KwIsBlankPkgName(PkgName()) && KwFirstNamed(Packages(), PkgName()) == this;
}

void TKwPkgImages::SetActive(bool active) {
    TKwSetsLock lock;
    if ((!active && LoadingProps()) || KwIsBlankPkgName(PkgName()))
        return;
    TKwPkgImages* first = KwFirstNamed(Packages(), PkgName());
    if (first == nullptr)
        return;
    KwWithScreenUpdate(true, [&] {
        if (active && first != this) {
            KwMoveInList(Packages(), this, true);
            ReresolveAfterMove(*first);
        } else if (!active && first == this) {
            KwMoveInList(Packages(), this, false);
            if (!Active())
                ReresolveAfterMove(*this);
        }
    });
}

void TKwPkgImages::Clear() {
    images_->Clear();
}

void TKwPkgImages::Update() {
    KwWithScreenUpdate(true, [] {
        KwUnCheckNilImages();
        KwUpdateImages();
    });
}

void TKwPkgImages::NotifyInit(TKwLinkEvt& sender) {
    TKwPkgInfo::NotifyInit(sender);
    if ((HasState(csDesigning) || KwInheritsFromNamed(Owner(), u"TDataModule")) &&
        !OwnedByDisplay()) {
        Update();
    }
}

// --- Streams -------------------------------------------------------------------------------

void TKwPkgImages::xSaveToStream(TWriter& writer) {
    WritePkgHeader(writer, kKwFormatImages);
    writer.WriteInteger(static_cast<std::int32_t>(images_->Count()));
    for (int i = 0; i < images_->Count(); ++i)
        images_->Items(i).xSaveToStream(writer);
    for (std::int32_t value :
         {designWindow_.left, designWindow_.top, designWindow_.width, designWindow_.height,
          maskWindow_.left, maskWindow_.top, maskWindow_.width, maskWindow_.height,
          maskWindow_.zoom, static_cast<std::int32_t>(maskWindow_.state),
          static_cast<std::int32_t>(designWindow_.state)}) {
        writer.WriteInteger(value);
    }
    writer.WriteBoolean(maskWindow_.diagonals);
    writer.WriteBoolean(maskWindow_.external);
}

void TKwPkgImages::ReadTrailer(TReader& reader, int version) {
    if (version >= 3) {
        for (std::int32_t* value : {&designWindow_.left, &designWindow_.top, &designWindow_.width,
                                    &designWindow_.height, &maskWindow_.left, &maskWindow_.top,
                                    &maskWindow_.width, &maskWindow_.height, &maskWindow_.zoom}) {
            *value = reader.ReadInteger();
        }
        maskWindow_.state = static_cast<std::uint8_t>(reader.ReadInteger());
    }
    if (version >= 4)
        designWindow_.state = static_cast<std::uint8_t>(reader.ReadInteger());
    if (version >= 6) {
        maskWindow_.diagonals = reader.ReadBoolean();
        maskWindow_.external = reader.ReadBoolean();
    }
}

void TKwPkgImages::xLoadFromStream(TReader& reader) {
    TKwSetsLock lock;
    const int version = ReadPkgHeader(reader, kKwFormatImages);
    loadedVersion_ = version;
    const bool nested = LoadingProps();
    KwWithScreenUpdate(!nested, [&] {
        {
            TKwLoadingScope loading(*this);
            KwUnCheckAllImages(*images_);
            images_->Clear();
            const std::int32_t count = reader.ReadInteger();
            const std::int64_t streamSize = reader.Stream().Size();
            for (std::int32_t i = 0; i < count; ++i)
                images_->AppendLoaded(reader, version, streamSize);
            ReadTrailer(reader, version);
        }
        if (!LoadingProps()) {
            KwUnCheckNilImages();
            KwUpdateImages();
        }
        Change();
    });
}

// --- Lookup --------------------------------------------------------------------------------

TKwPkgImages* KwFindPkgImages(StringView name) {
    const bool system = AnsiSameText(name, u"System");
    if (system || AnsiSameText(name, u"User")) {
        TKwCApplication* app = KwCApp();
        const auto& host = KwDisplayState().imagesHost;
        if (app == nullptr || !host.imagesOf)
            return nullptr;
        return host.imagesOf(*app, system);
    }
    return KwFindNamedPackage(Packages(), name);
}

void KwPkgImagesActives(TStringList& list) {
    KwListActivePackages(Packages(), list);
}

void KwPkgImagesAll(TStringList& list) {
    KwListFormPackages(Packages(), list);
}

void KwReadPkgBitmap(StringView pkgName, int id, TBitmap* bitmap) {
    if (bitmap == nullptr || id < 0)
        return;
    const TKwPkgImages* package = KwFindPkgImages(pkgName);
    const TKwPkgImagesImage* image = package != nullptr ? package->Images().FindId(id) : nullptr;
    TStream* stream = image != nullptr ? image->ReadStream(true) : nullptr;
    if (stream != nullptr)
        bitmap->LoadFromStream(*stream);
}

void KwUpdateSystemImages(TKwPkgImages& target, const TKwPkgImages& source,
                          const std::function<void(int index, int count)>& progress) {
    const TKwPkgImagesImages& images = source.Images();
    for (int i = 0; i < images.Count(); ++i) {
        if (progress)
            progress(i, images.Count());
        const TKwPkgImagesImage& fresh = images.Items(i);
        TKwPkgImagesImage* existing = target.Images().FindId(fresh.Id());
        if (existing == nullptr)
            existing = &target.Images().Add(fresh.Id());
        if (!existing->Protected())
            existing->Assign(fresh);
    }
}

}  // namespace kw
