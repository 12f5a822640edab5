#include <algorithm>
#include <cstdlib>

#include "platform/core/byte_io.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/clipboard.h"
#include "platform/graphics/graphic.h"
#include "platform/ui/screen.h"

namespace kw {

KW_IMPLEMENT_CLASS(TMetafile, TEncodedGraphic)

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::uint32_t kEnhancedHeaderType = 1;
constexpr std::uint32_t kEnhancedSignature = 0x464D4520;  // " EMF"
constexpr std::size_t kEnhancedHeaderSize = 88;
constexpr std::size_t kPlaceableHeaderSize = 22;
constexpr int kHundredthsOfMmPerInch = 2540;

struct MetafileFrame {
    bool enhanced = false;
    int mmWidth = 0;  // hundredths of a millimetre
    int mmHeight = 0;
};

int MulDiv(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
    const std::int64_t product = value * numerator;
    const std::int64_t half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

// Placeable and enhanced metafiles carry a frame; a bare standard one has no size.
MetafileFrame ReadFrame(std::span<const Byte> data) {
    ByteReader in(data, u"metafile");
    MetafileFrame frame;
    if (data.size() >= 4 && in.U32At(0) == kPlaceableKey) {
        if (data.size() < kPlaceableHeaderSize)
            in.Fail(u"the placeable header is cut short");
        in.Seek(6);
        const int left = in.I16();
        const int top = in.I16();
        const int right = in.I16();
        const int bottom = in.I16();
        const int unitsPerInch = in.U16();
        if (unitsPerInch == 0)
            in.Fail(u"zero units per inch");
        frame.mmWidth = MulDiv(std::abs(right - left), kHundredthsOfMmPerInch, unitsPerInch);
        frame.mmHeight = MulDiv(std::abs(bottom - top), kHundredthsOfMmPerInch, unitsPerInch);
        return frame;
    }
    if (data.size() >= kEnhancedHeaderSize && in.U32At(0) == kEnhancedHeaderType &&
        in.U32At(40) == kEnhancedSignature) {
        frame.enhanced = true;
        const auto left = static_cast<std::int32_t>(in.U32At(24));
        const auto top = static_cast<std::int32_t>(in.U32At(28));
        const auto right = static_cast<std::int32_t>(in.U32At(32));
        const auto bottom = static_cast<std::int32_t>(in.U32At(36));
        frame.mmWidth = static_cast<int>(std::min<std::int64_t>(
            std::abs(std::int64_t{right} - left), kMaxImageSide * std::int64_t{100}));
        frame.mmHeight = static_cast<int>(std::min<std::int64_t>(
            std::abs(std::int64_t{bottom} - top), kMaxImageSide * std::int64_t{100}));
        return frame;
    }
    const bool standard =
        data.size() >= 18 && (in.U16At(0) == 1 || in.U16At(0) == 2) && in.U16At(2) == 9;
    if (!standard)
        in.Fail(u"not a metafile");
    return frame;
}

int ToPixels(int hundredthsOfMm) {
    return MulDiv(hundredthsOfMm, Screen().PixelsPerInch(), kHundredthsOfMmPerInch);
}

}  // namespace

TMetafile::TMetafile() {
    StoreTransparent(true);
}

Word TMetafile::ClipboardFormat() const {
    return Enhanced() ? CF_ENHMETAFILE : CF_METAFILEPICT;
}

bool TMetafile::Enhanced() const {
    return !Empty() && ReadFrame(Data()).enhanced;
}

int TMetafile::MMWidth() const {
    return Empty() ? 0 : ReadFrame(Data()).mmWidth;
}

int TMetafile::MMHeight() const {
    return Empty() ? 0 : ReadFrame(Data()).mmHeight;
}

TSize TMetafile::ReadHeader(std::span<const Byte> data) const {
    const MetafileFrame frame = ReadFrame(data);
    return {ToPixels(frame.mmWidth), ToPixels(frame.mmHeight)};
}

std::unique_ptr<TBitmap> TMetafile::Decode(std::span<const Byte> data) const {
    return nullptr;
}

std::vector<Byte> TMetafile::Encode(const TBitmap& pixels) const {
    throw EInvalidGraphicOperation(u"A metafile cannot be made from pixels");
}

}  // namespace kw
