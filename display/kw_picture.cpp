#include "display/kw_picture.h"

#include <array>

#include "display/format_graphics.h"
#include "platform/core/exception.h"
#include "platform/core/stream.h"
#include "platform/data/field.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/graphic_registry.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwPicture, TPicture)

namespace {

constexpr int kMaxClassName = 63;
constexpr std::int64_t kGraphicHeaderSize = 8;

struct GraphicHeader {
    std::array<Byte, kGraphicHeaderSize> bytes{};

    static GraphicHeader For(std::uint32_t size) {
        GraphicHeader header;
        header.bytes = {1,
                        0,
                        0,
                        1,
                        static_cast<Byte>(size),
                        static_cast<Byte>(size >> 8),
                        static_cast<Byte>(size >> 16),
                        static_cast<Byte>(size >> 24)};
        return header;
    }
    bool Describes(std::int64_t remaining) const {
        const std::uint32_t size = bytes[4] | (bytes[5] << 8) | (bytes[6] << 16) |
                                   (static_cast<std::uint32_t>(bytes[7]) << 24);
        return bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0 && bytes[3] == 1 &&
               size == remaining;
    }
};

bool IsBitmapClass(const TClass* graphicClass) {
    return graphicClass != nullptr && graphicClass->InheritsFrom(TBitmap::StaticClass());
}

}  // namespace

void TKwPicture::Assign(const TField& field) {
    if (!field.IsBlob())
        throw EConvertError(u"Cannot assign the field " + field.FieldName() + u" to a " +
                            ClassName());
    const TBytes bytes = field.AsBytes();
    if (bytes.empty()) {
        SetGraphic(nullptr);
        return;
    }
    TMemoryStream stream;
    stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    LoadFromStream(stream);
}

const TClass* TKwPicture::ReadClass(TStream& stream) {
    if (!autoDetect_)
        return graphicClass_;
    Byte length = 0;
    if (stream.Read(&length, 1) != 1)
        return nullptr;
    if (length > kMaxClassName) {
        SetGraphic(nullptr);
        return nullptr;
    }
    std::array<char, kMaxClassName> name{};
    stream.ReadBuffer(name.data(), length);
    return KwFindGraphicClass(String(name.begin(), name.begin() + length));
}

void TKwPicture::SkipGraphicHeader(TStream& stream) {
    const std::int64_t start = stream.Position();
    if (stream.Size() - start < kGraphicHeaderSize)
        return;
    GraphicHeader header;
    stream.ReadBuffer(header.bytes.data(), kGraphicHeaderSize);
    if (!header.Describes(stream.Size() - stream.Position()))
        stream.SetPosition(start);
}

void TKwPicture::LoadFromStream(TStream& stream) {
    stream.SetPosition(0);
    const TClass* graphicClass = ReadClass(stream);
    if (graphicClass == nullptr)
        return;
    if (IsBitmapClass(graphicClass))
        SkipGraphicHeader(stream);
    std::unique_ptr<TGraphic> graphic = CreateGraphic(*graphicClass);
    graphic->LoadFromStream(stream);
    TakeGraphic(std::move(graphic));
}

void TKwPicture::SaveToStream(TStream& stream) const {
    const TGraphic* graphic = Graphic();
    if (graphic == nullptr)
        return;
    if (autoDetect_) {
        const std::string name = [&] {
            const String full = graphic->ClassName();
            return std::string(full.begin(),
                               full.begin() + std::min<size_t>(full.size(), kMaxClassName));
        }();
        const auto length = static_cast<Byte>(name.size());
        stream.WriteBuffer(&length, 1);
        stream.WriteBuffer(name.data(), length);
    }
    if (!graphic->Is<TBitmap>()) {
        graphic->SaveToStream(stream);
        return;
    }
    const std::int64_t headerAt = stream.Position();
    stream.WriteBuffer(GraphicHeader::For(0).bytes.data(), kGraphicHeaderSize);
    graphic->SaveToStream(stream);
    const std::int64_t end = stream.Position();
    stream.SetPosition(headerAt);
    const auto size = static_cast<std::uint32_t>(end - headerAt - kGraphicHeaderSize);
    stream.WriteBuffer(GraphicHeader::For(size).bytes.data(), kGraphicHeaderSize);
    stream.Seek(0, TSeekOrigin::soEnd);
}

void TKwPicture::Changed() {
    TPicture::Changed();
    if (OnPictureChange)
        OnPictureChange(*this);
}

}  // namespace kw
