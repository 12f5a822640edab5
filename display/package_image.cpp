#include "display/package_image.h"

#include <algorithm>

#include "display/format_graphics.h"
#include "display/image_imkw.h"
#include "display/image_package.h"
#include "display/kw_picture.h"
#include "display/memory_image.h"
#include "drawing/images.h"
#include "framework/clip_formats.h"
#include "framework/errors.h"
#include "framework/pkg_formats.h"
#include "framework/sets_lock.h"
#include "packages/package_scopes.h"
#include "platform/core/filer.h"
#include "platform/core/files.h"
#include "platform/core/safe_save.h"
#include "platform/core/stream.h"
#include "platform/graphics/clipboard.h"
#include "platform/graphics/graphic_registry.h"
#include "platform/graphics/region.h"
#include "platform/text/strings.h"
#include "platform/ui/application.h"

namespace kw {

namespace {

constexpr StringView kImageFileExt = u".IMKW";
constexpr StringView kStandAloneSource = u"TKwPkgImagesImages";

std::unique_ptr<TMemoryStream> NewStream(const Byte* data, std::int64_t size) {
    auto stream = std::make_unique<TMemoryStream>();
    if (size > 0)
        stream->Write(data, size);
    stream->SetPosition(0);
    return stream;
}

std::unique_ptr<TMemoryStream> CopyOf(const std::unique_ptr<TMemoryStream>& source) {
    if (source == nullptr)
        return nullptr;
    return NewStream(source->Memory(), source->Size());
}

// A length and that many raw bytes; the length is checked against what the stream still holds
// before anything is allocated.
std::unique_ptr<TMemoryStream> ReadBlock(TReader& reader, std::int64_t streamSize) {
    const std::int32_t length = reader.ReadInteger();
    if (length <= 0)
        return nullptr;
    const std::int64_t left = streamSize - reader.Position();
    if (length > left)
        throw EReadError(u"Image data runs past the end of the stream");
    auto block = std::make_unique<TMemoryStream>();
    block->SetSize(length);
    reader.Read(block->Memory(), length);
    return block;
}

void WriteBlock(TWriter& writer, const std::unique_ptr<TMemoryStream>& block) {
    const std::int64_t size = block != nullptr ? block->Size() : 0;
    writer.WriteInteger(static_cast<std::int32_t>(size));
    if (size > 0)
        writer.Write(block->Memory(), size);
}

std::unique_ptr<TRegion> RegionOf(const std::unique_ptr<TMemoryStream>& mask) {
    if (mask == nullptr)
        return nullptr;
    return std::make_unique<TRegion>(TRegion::FromRegionData(mask->Bytes()));
}

void WriteU16(Byte* out, int value) {
    out[0] = static_cast<Byte>(value & 0xFF);
    out[1] = static_cast<Byte>((value >> 8) & 0xFF);
}

int ReadU16(const Byte* in) {
    return in[0] | (in[1] << 8);
}

std::unique_ptr<TGraphic> LoadGraphic(const TClass& graphicClass, TStream& native) {
    std::unique_ptr<TGraphic> graphic = CreateGraphic(graphicClass);
    native.SetPosition(0);
    graphic->LoadFromStream(native);
    return graphic;
}

// Decodes every pixel, so that cut or corrupt bytes fail here and not later while painting.
TSize DecodedSize(const TClass& graphicClass, TStream& native) {
    const std::unique_ptr<TGraphic> graphic = LoadGraphic(graphicClass, native);
    graphic->PixelData();
    return {graphic->Width(), graphic->Height()};
}

}  // namespace

int KwImageFrames(int width, int height) {
    if (height < 1 || width % height != 0)
        return 1;
    const int frames = width / height;
    return frames >= 1 && frames <= 4 ? frames : 1;
}

// --- Image ---------------------------------------------------------------------------------

TKwPkgImagesImage::TKwPkgImagesImage(TKwPkgImagesImages* owner) : owner_(owner) {}

TKwPkgImagesImage::~TKwPkgImagesImage() = default;

TKwPkgImages* TKwPkgImagesImage::Package() const {
    return owner_ != nullptr ? &owner_->Owner() : nullptr;
}

bool TKwPkgImagesImage::Loading() const {
    return owner_ != nullptr && owner_->Loading();
}

void TKwPkgImagesImage::Notify() {
    KwUnCheckImage(*this);
    KwUpdateImages();
    if (TKwPkgImages* package = Package())
        package->Change();
    if (OnChange)
        OnChange(*this);
}

void TKwPkgImagesImage::SetId(int id) {
    if (id == id_)
        return;
    TKwSetsLock lock;
    if (owner_ != nullptr) {
        owner_->ChangeId(*this, id);
    } else {
        id_ = id;
    }
}

String TKwPkgImagesImage::GraphicName() const {
    return graphicClass_ != nullptr ? graphicClass_->ClassName() : graphicName_;
}

int TKwPkgImagesImage::Size() const {
    return native_ != nullptr ? static_cast<int>(native_->Size()) : 0;
}

void TKwPkgImagesImage::DropData() {
    bitmap_.reset();
    native_.reset();
    externalMask_.reset();
    internalMask_.reset();
}

TStream* TKwPkgImagesImage::ReadNativeStream() const {
    if (native_ != nullptr)
        native_->SetPosition(0);
    return native_.get();
}

TStream* TKwPkgImagesImage::ReadStream(bool forceBitmap) const {
    if (Empty() || graphicClass_ == nullptr)
        return nullptr;
    if (graphicClass_ == &TBitmap::StaticClass() ||
        (graphicClass_ == &TPngImage::StaticClass() && !forceBitmap)) {
        return ReadNativeStream();
    }
    if (bitmap_ == nullptr) {
        const std::unique_ptr<TGraphic> graphic = LoadGraphic(*graphicClass_, *native_);
        TBitmap bitmap;
        bitmap.Assign(graphic.get());
        auto rendered = std::make_unique<TMemoryStream>();
        bitmap.SaveToStream(*rendered);
        bitmap_ = std::move(rendered);
    }
    bitmap_->SetPosition(0);
    return bitmap_.get();
}

void TKwPkgImagesImage::PixelFormat(TPixelFormat format) {
    TStream* source = ReadStream(true);
    if (source == nullptr)
        return;
    TBitmap bitmap;
    bitmap.LoadFromStream(*source);
    if (bitmap.PixelFormat() == format)
        return;
    bitmap.SetPixelFormat(format);
    auto converted = std::make_unique<TMemoryStream>();
    bitmap.SaveToStream(*converted);
    if (graphicClass_ == &TBitmap::StaticClass()) {
        native_ = std::move(converted);
    } else {
        bitmap_ = std::move(converted);
    }
}

void TKwPkgImagesImage::ReCalcSize() {
    if (graphicClass_ == nullptr || native_ == nullptr)
        return;
    const TSize size = DecodedSize(*graphicClass_, *native_);
    width_ = size.cx;
    height_ = size.cy;
}

std::unique_ptr<TRegion> TKwPkgImagesImage::CreateExternalRgn() const {
    return RegionOf(externalMask_);
}

std::unique_ptr<TRegion> TKwPkgImagesImage::CreateInternalRgn() const {
    return RegionOf(internalMask_);
}

void TKwPkgImagesImage::StoreMask(std::unique_ptr<TMemoryStream>& mask, const TRegion* region) {
    TKwSetsLock lock;
    mask.reset();
    if (region != nullptr) {
        const std::vector<Byte> data = region->RegionData();
        mask = NewStream(data.data(), static_cast<std::int64_t>(data.size()));
    }
    Notify();
}

void TKwPkgImagesImage::CreateExternalMask(const TRegion* region) {
    StoreMask(externalMask_, region);
}

void TKwPkgImagesImage::CreateInternalMask(const TRegion* region) {
    StoreMask(internalMask_, region);
}

void TKwPkgImagesImage::Assign(const TKwPkgImagesImage& other) {
    if (&other == this)
        return;
    TKwSetsLock lock;
    graphicClass_ = other.graphicClass_;
    graphicName_ = other.graphicName_;
    width_ = other.width_;
    height_ = other.height_;
    skin_ = other.skin_;
    DropData();
    native_ = CopyOf(other.native_);
    externalMask_ = CopyOf(other.externalMask_);
    internalMask_ = CopyOf(other.internalMask_);
    Notify();
}

void TKwPkgImagesImage::Clear() {
    if (Empty())
        return;
    TKwSetsLock lock;
    ClearMask();
    DropData();
    graphicClass_ = nullptr;
    graphicName_.clear();
    width_ = 0;
    height_ = 0;
    if (!Loading())
        Notify();
}

void TKwPkgImagesImage::TakeNative(std::unique_ptr<TMemoryStream> native,
                                   const TClass* graphicClass) {
    const TSize size = native->Size() > 0 ? DecodedSize(*graphicClass, *native) : TSize();
    ClearMask();
    DropData();
    graphicClass_ = graphicClass;
    graphicName_ = graphicClass->ClassName();
    native_ = std::move(native);
    width_ = size.cx;
    height_ = size.cy;
    Notify();
}

void TKwPkgImagesImage::LoadFromStream(TStream& stream, const TClass* graphicClass) {
    if (graphicClass == nullptr)
        return;
    TKwSetsLock lock;
    std::vector<Byte> bytes(static_cast<size_t>(std::max<std::int64_t>(0, stream.Size())));
    stream.SetPosition(0);
    if (!bytes.empty())
        stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    TakeNative(NewStream(bytes.data(), static_cast<std::int64_t>(bytes.size())), graphicClass);
}

void TKwPkgImagesImage::SaveToStream(TStream& stream) const {
    if (Empty())
        return;
    stream.SetPosition(0);
    stream.WriteBuffer(native_->Memory(), native_->Size());
}

// --- Image record --------------------------------------------------------------------------

void TKwPkgImagesImage::xLoadFromStream(TReader& reader, int version, bool takeId) {
    xLoadFromStream(reader, version, takeId, reader.Stream().Size());
}

void TKwPkgImagesImage::xLoadFromStream(TReader& reader, int version, bool takeId,
                                        std::int64_t streamSize) {
    Byte head[8];
    reader.Read(head, sizeof head);
    if (takeId)
        id_ = ReadU16(head);
    width_ = ReadU16(head + 4);
    height_ = ReadU16(head + 6);
    graphicName_ = reader.ReadString();
    graphicClass_ = KwFindGraphicClass(graphicName_);
    if (version >= 2)
        reader.ReadBoolean();
    if (auto native = ReadBlock(reader, streamSize)) {
        bitmap_.reset();
        native_ = std::move(native);
    }
    if (version >= 2)
        externalMask_ = ReadBlock(reader, streamSize);
    if (version >= 3) {
        skin_.adjusts = reader.ReadBoolean();
        skin_.syncHor = reader.ReadBoolean();
        skin_.syncVer = reader.ReadBoolean();
    }
    if (version >= 5) {
        for (std::int32_t* corner : {&skin_.up1, &skin_.up2, &skin_.down1, &skin_.down2,
                                     &skin_.left1, &skin_.left2, &skin_.right1, &skin_.right2}) {
            *corner = reader.ReadInteger();
        }
    }
    if (version >= 6)
        internalMask_ = ReadBlock(reader, streamSize);
    if (version >= 7)
        protected_ = reader.ReadBoolean();
}

void TKwPkgImagesImage::xSaveToStream(TWriter& writer) const {
    Byte head[8] = {};
    WriteU16(head, id_);
    WriteU16(head + 4, width_);
    WriteU16(head + 6, height_);
    writer.Write(head, sizeof head);
    writer.WriteString(GraphicName());
    writer.WriteBoolean(false);
    WriteBlock(writer, native_);
    WriteBlock(writer, externalMask_);
    writer.WriteBoolean(skin_.adjusts);
    writer.WriteBoolean(skin_.syncHor);
    writer.WriteBoolean(skin_.syncVer);
    for (std::int32_t corner : {skin_.up1, skin_.up2, skin_.down1, skin_.down2, skin_.left1,
                                skin_.left2, skin_.right1, skin_.right2}) {
        writer.WriteInteger(corner);
    }
    WriteBlock(writer, internalMask_);
    writer.WriteBoolean(protected_);
}

// --- Image file ----------------------------------------------------------------------------

void TKwPkgImagesImage::LoadFromStreamIMKW(TStream& stream) {
    TKwSetsLock lock;
    ClearMask();
    DropData();
    stream.SetPosition(0);
    TReader reader(stream);
    const int version = KwReadPkgHeader(reader, kKwFormatImage, u"Stream", kStandAloneSource);
    xLoadFromStream(reader, version, false);
    try {
        ReCalcSize();
    } catch (...) {
        DropData();
        graphicClass_ = nullptr;
        graphicName_.clear();
        width_ = 0;
        height_ = 0;
        Notify();
        throw;
    }
    Notify();
}

void TKwPkgImagesImage::SaveToStreamIMKW(TStream& stream) const {
    if (Empty())
        return;
    stream.SetPosition(0);
    TWriter writer(stream);
    KwWritePkgHeader(writer, kKwFormatImage);
    xSaveToStream(writer);
    writer.FlushBuffer();
}

void TKwPkgImagesImage::LoadFromFile(const String& fileName) {
    if (Trim(fileName).empty())
        KwExceptPkg(u"", u"System", 3);
    const String ext = ExtractFileExt(fileName);
    if (ext.empty())
        KwExceptPkg(u"", u"System", 4);
    if (UpperCase(ext) == kImageFileExt) {
        TFileStream file(fileName, TFileMode::fmOpenRead);
        LoadFromStreamIMKW(file);
        return;
    }
    const TClass* graphicClass = KwFindGraphicFileExt(ext);
    if (graphicClass == nullptr)
        KwExceptPkgArgs(u"", u"System", 38, {ext});
    TFileStream file(fileName, TFileMode::fmOpenRead);
    LoadFromStream(file, graphicClass);
}

void TKwPkgImagesImage::SaveToFile(const String& fileName) const {
    if (Trim(ExtractFileName(fileName)).empty())
        KwExceptPkg(u"", u"System", 3);
    if (Empty())
        return;
    if (UpperCase(ExtractFileExt(fileName)) == kImageFileExt) {
        SaveFileSafely(fileName, [&](TStream& file) { SaveToStreamIMKW(file); });
        return;
    }
    if (graphicClass_ == nullptr)
        return;
    SaveFileSafely(ChangeFileExt(fileName, KwAddPointExt(KwGraphicExtension(*graphicClass_))),
                   [&](TStream& file) { SaveToStream(file); });
}

// --- Clipboard -----------------------------------------------------------------------------

void TKwPkgImagesImage::SaveToClipBoard() const {
    if (Empty())
        return;
    TKwPicture picture;
    if (!ExternalMask() && !InternalMask() && graphicClass_ != nullptr) {
        picture.SetAutoDetect(false);
        picture.SetGraphicClass(graphicClass_);
        picture.LoadFromStream(*ReadNativeStream());
    } else {
        TKwImageIMKW graphic;
        graphic.Image().Assign(*this);
        picture.SetGraphic(&graphic);
    }
    Clipboard().Assign(&picture);
}

void TKwPkgImagesImage::LoadFromClipBoard() {
    RegisterFormatGraphics();
    TClipboard& clipboard = Clipboard();
    const TClass* graphicClass = nullptr;
    Word format = 0;
    clipboard.Open();
    // Only the first format the picture supports counts, even when the table has no class
    // for it and a later format would have one.
    for (int i = 0; i < clipboard.FormatCount(); ++i) {
        format = clipboard.Formats(i);
        if (TPicture::SupportsClipboardFormat(format)) {
            graphicClass = KwGetClipboardFormats().FindFormat(format);
            break;
        }
    }
    clipboard.Close();
    if (graphicClass == nullptr)
        return;
    std::unique_ptr<TGraphic> graphic = CreateGraphic(*graphicClass);
    const std::vector<Byte> data = clipboard.AsBytes(format);
    graphic->LoadFromClipboardFormat(format, data);
    TMemoryStream stream;
    graphic->SaveToStream(stream);
    if (graphicClass == &TKwImageIMKW::StaticClass()) {
        LoadFromStreamIMKW(stream);
    } else {
        LoadFromStream(stream, graphicClass);
    }
}

void TKwPkgImagesImage::Draw(TCanvas& canvas, int x, int y, bool transparent) const {
    DrawRect(canvas, TRect::Bounds(x, y, FrameWidth(), height_), TKwImageState::istUp, false,
             transparent);
}

void TKwPkgImagesImage::DrawRect(TCanvas& canvas, const TRect& rect, TKwImageState state,
                                 bool stretch, bool transparent) const {
    KwPaintImage(canvas, rect, this, false, TKwImageDraw{state, transparent, stretch});
}

}  // namespace kw
