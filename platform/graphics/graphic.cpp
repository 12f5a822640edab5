#include "platform/graphics/graphic.h"

#include <array>

#include "platform/core/files.h"
#include "platform/core/safe_save.h"
#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic_registry.h"
#include "platform/text/strings.h"

namespace kw {

KW_IMPLEMENT_CLASS(TGraphic, TPersistent)
KW_IMPLEMENT_CLASS(TEncodedGraphic, TGraphic)
KW_IMPLEMENT_CLASS(TPicture, TPersistent)

// TGraphic

void TGraphic::SetSize(int width, int height) {
    throw EInvalidGraphicOperation(Format(u"Cannot change the size of a %s", {ClassName()}));
}

void TGraphic::SetTransparent(bool value) {
    if (value == transparent_)
        return;
    transparent_ = value;
    Changed();
}

void TGraphic::LoadFromFile(const String& fileName) {
    TFileStream stream(fileName, TFileMode::fmOpenRead);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const String& fileName) const {
    SaveFileSafely(fileName, [&](TStream& file) { SaveToStream(file); });
}

void TGraphic::LoadFromClipboardFormat(Word format, std::span<const Byte> data) {
    if (format == 0 || format != ClipboardFormat())
        throw EInvalidGraphic(
            Format(u"A %s cannot read clipboard format %d", {ClassName(), format}));
    TMemoryStream stream;
    WriteBytes(stream, data);
    stream.SetPosition(0);
    LoadFromStream(stream);
}

void TGraphic::SaveToClipboardFormat(Word& format, std::vector<Byte>& data) const {
    if (ClipboardFormat() == 0)
        throw EInvalidGraphic(Format(u"A %s cannot be placed on the clipboard", {ClassName()}));
    format = ClipboardFormat();
    data = SavedBytes();
}

bool TGraphic::Equals(const TGraphic& other) const {
    return &ClassType() == &other.ClassType() && SavedBytes() == other.SavedBytes();
}

void TGraphic::Changed() {
    modified_ = true;
    if (onChange_)
        onChange_(*this);
}

std::vector<Byte> TGraphic::SavedBytes() const {
    TMemoryStream stream;
    SaveToStream(stream);
    return stream.Bytes();
}

std::vector<Byte> TGraphic::ReadToEnd(TStream& stream) {
    const std::int64_t count = stream.Size() - stream.Position();
    std::vector<Byte> bytes(count > 0 ? static_cast<std::size_t>(count) : 0);
    if (!bytes.empty())
        stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return bytes;
}

void TGraphic::WriteBytes(TStream& stream, std::span<const Byte> bytes) {
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

// TEncodedGraphic

TEncodedGraphic::TEncodedGraphic() = default;

TEncodedGraphic::~TEncodedGraphic() = default;

void TEncodedGraphic::LoadFromStream(TStream& stream) {
    SetData(ReadToEnd(stream));
}

void TEncodedGraphic::SaveToStream(TStream& stream) const {
    WriteBytes(stream, data_);
}

void TEncodedGraphic::SetData(std::vector<Byte> data) {
    if (data.empty()) {
        Clear();
        return;
    }
    const TSize size = ReadHeader(data);
    data_ = std::move(data);
    size_ = size;
    pixels_.reset();
    Changed();
}

void TEncodedGraphic::Clear() {
    data_.clear();
    size_ = {};
    pixels_.reset();
    Changed();
}

void TEncodedGraphic::Refresh() {
    if (!data_.empty())
        size_ = ReadHeader(data_);
    pixels_.reset();
    Changed();
}

const TBitmap* TEncodedGraphic::PixelData() const {
    if (data_.empty())
        return nullptr;
    if (!pixels_)
        pixels_ = Decode(data_);
    return pixels_.get();
}

void TEncodedGraphic::Assign(const TPersistent* source) {
    const auto* graphic = dynamic_cast<const TGraphic*>(source);
    if (graphic == this)
        return;
    if (const auto* same = dynamic_cast<const TEncodedGraphic*>(source);
        same != nullptr && &same->ClassType() == &ClassType()) {
        StoreTransparent(same->Transparent());
        SetData(same->data_);
    } else if (graphic != nullptr && graphic->Empty()) {
        Clear();
    } else if (const TBitmap* pixels = graphic != nullptr ? graphic->PixelData() : nullptr) {
        SetData(Encode(*pixels));
    } else {
        TGraphic::Assign(source);
    }
}

void TEncodedGraphic::Draw(TCanvas& canvas, const TRect& rect) const {
    const TBitmap* pixels = PixelData();
    if (pixels == nullptr)
        return;
    const bool blend = Transparent() && pixels->AlphaFormat() == TAlphaFormat::afDefined;
    canvas.DrawBitmap(rect, *pixels, TRect(0, 0, pixels->Width(), pixels->Height()),
                      blend ? TBlendMode::bmAlpha : TBlendMode::bmCopy);
}

// TPicture

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::Install(std::unique_ptr<TGraphic> graphic) {
    graphic_ = std::move(graphic);
    if (graphic_)
        graphic_->SetOnChange([this](TGraphic&) { Changed(); });
    Changed();
}

void TPicture::SetGraphic(const TGraphic* graphic) {
    if (graphic == nullptr) {
        Install(nullptr);
        return;
    }
    auto copy = CreateGraphic(graphic->ClassType());
    copy->Assign(graphic);
    Install(std::move(copy));
}

void TPicture::TakeGraphic(std::unique_ptr<TGraphic> graphic) {
    Install(std::move(graphic));
}

TBitmap& TPicture::Bitmap() {
    if (dynamic_cast<TBitmap*>(graphic_.get()) == nullptr)
        Install(std::make_unique<TBitmap>());
    return static_cast<TBitmap&>(*graphic_);
}

int TPicture::Width() const {
    return graphic_ ? graphic_->Width() : 0;
}

int TPicture::Height() const {
    return graphic_ ? graphic_->Height() : 0;
}

void TPicture::LoadFromFile(const String& fileName) {
    const String ext = ExtractFileExt(fileName);
    const TClass* cls = GraphicClassForExtension(ext);
    if (cls == nullptr)
        throw EInvalidGraphic(Format(u"Unknown picture file extension (%s)", {ext}));
    auto graphic = CreateGraphic(*cls);
    graphic->LoadFromFile(fileName);
    Install(std::move(graphic));
}

void TPicture::SaveToFile(const String& fileName) const {
    if (graphic_)
        graphic_->SaveToFile(fileName);
}

void TPicture::LoadFromStream(TStream& stream) {
    const std::int64_t start = stream.Position();
    std::array<Byte, kGraphicSignatureBytes> head{};
    const auto got = stream.Read(head.data(), static_cast<std::int64_t>(head.size()));
    stream.SetPosition(start);
    const TClass* cls = GraphicClassForData(std::span(head.data(), static_cast<std::size_t>(got)));
    if (cls == nullptr)
        throw EInvalidGraphic(u"Unknown picture format");
    auto graphic = CreateGraphic(*cls);
    graphic->LoadFromStream(stream);
    Install(std::move(graphic));
}

void TPicture::SaveToStream(TStream& stream) const {
    if (graphic_)
        graphic_->SaveToStream(stream);
}

void TPicture::LoadFromClipboardFormat(Word format, std::span<const Byte> data) {
    const TClass* cls = GraphicClassForClipboardFormat(format);
    if (cls == nullptr)
        throw EInvalidGraphic(Format(u"Unsupported clipboard format %d", {format}));
    auto graphic = CreateGraphic(*cls);
    graphic->LoadFromClipboardFormat(format, data);
    Install(std::move(graphic));
}

void TPicture::SaveToClipboardFormat(Word& format, std::vector<Byte>& data) const {
    format = 0;
    data.clear();
    if (graphic_)
        graphic_->SaveToClipboardFormat(format, data);
}

bool TPicture::SupportsClipboardFormat(Word format) {
    return GraphicClassForClipboardFormat(format) != nullptr;
}

void TPicture::Assign(const TPersistent* source) {
    if (source == nullptr) {
        SetGraphic(nullptr);
    } else if (const auto* picture = dynamic_cast<const TPicture*>(source)) {
        if (picture != this)
            SetGraphic(picture->Graphic());
    } else if (const auto* graphic = dynamic_cast<const TGraphic*>(source)) {
        SetGraphic(graphic);
    } else {
        TPersistent::Assign(source);
    }
}

void TPicture::AssignTo(TPersistent& dest) const {
    if (graphic_ && dynamic_cast<TGraphic*>(&dest) != nullptr)
        dest.Assign(graphic_.get());
    else
        TPersistent::AssignTo(dest);
}

void TPicture::Changed() {
    if (onChange_)
        onChange_(*this);
}

}  // namespace kw
