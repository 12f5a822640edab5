// Pictures read from a stream whose first bytes choose the graphic class: the platform's picture
// and the library's field picture, with and without detection. What loads must save and load
// again to the same size.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "display/kw_picture.h"
#include "platform/core/exception.h"
#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/graphic.h"

namespace {

std::unique_ptr<kw::TPicture> MakePicture(std::uint8_t selector) {
    static const kw::TClass* const kFixed[] = {&kw::TBitmap::StaticClass(), nullptr};
    if ((selector & 3) == 0)
        return std::make_unique<kw::TPicture>();
    auto picture = std::make_unique<kw::TKwPicture>();
    picture->SetAutoDetect((selector & 3) == 1);
    picture->SetGraphicClass(kFixed[(selector >> 2) & 1]);
    return picture;
}

void Fill(kw::TMemoryStream& stream, const std::uint8_t* data, std::size_t size) {
    if (size > 0)
        stream.WriteBuffer(data, static_cast<std::int64_t>(size));
    stream.SetPosition(0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::unique_ptr<kw::TPicture> picture = MakePicture(data[0]);
    kw::TMemoryStream input;
    Fill(input, data + 1, size - 1);
    kw::TMemoryStream saved;
    try {
        picture->LoadFromStream(input);
        picture->SaveToStream(saved);
    } catch (const kw::Exception&) {
        return 0;
    }
    if (picture->Graphic() == nullptr)
        return 0;
    const std::unique_ptr<kw::TPicture> again = MakePicture(data[0]);
    saved.SetPosition(0);
    try {
        again->LoadFromStream(saved);
    } catch (const kw::Exception&) {
        __builtin_trap();  // what this picture wrote, it must read
    }
    if (again->Width() != picture->Width() || again->Height() != picture->Height())
        __builtin_trap();
    return 0;
}
