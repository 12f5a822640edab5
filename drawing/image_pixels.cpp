#include "drawing/image_pixels.h"

#include <array>

#include "display/package_image.h"
#include "platform/core/stream.h"

namespace kw {

namespace {

constexpr std::array<Byte, 8> kPngSignature{0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

bool StartsWithPng(TStream& stream) {
    std::array<Byte, 8> head{};
    stream.SetPosition(0);
    const bool png = stream.Read(head.data(), 8) == 8 && head == kPngSignature;
    stream.SetPosition(0);
    return png;
}

}  // namespace

TKwDecodedImage KwDecodeImage(const TKwPkgImagesImage& image, bool forceBitmap) {
    TKwDecodedImage decoded;
    TStream* stream = image.ReadStream(forceBitmap);
    if (stream == nullptr)
        return decoded;
    if (!forceBitmap && StartsWithPng(*stream)) {
        decoded.png = std::make_unique<TPngImage>();
        decoded.png->LoadFromStream(*stream);
        decoded.pixels = decoded.png->PixelData();
        decoded.isPng = true;
    } else {
        stream->SetPosition(0);
        decoded.bitmap = std::make_unique<TBitmap>();
        decoded.bitmap->LoadFromStream(*stream);
        decoded.pixels = decoded.bitmap.get();
    }
    if (decoded.pixels != nullptr && decoded.pixels->Empty())
        decoded.pixels = nullptr;
    return decoded;
}

}  // namespace kw
