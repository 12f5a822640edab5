// Reads arbitrary bytes as a bitmap file; whatever loads must save and load back to the same
// pixels.
#include <cstddef>
#include <cstdint>

#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kw::TMemoryStream input;
    input.Write(data, static_cast<std::int64_t>(size));
    input.SetPosition(0);
    kw::TBitmap bitmap;
    try {
        bitmap.LoadFromStream(input);
    } catch (const kw::EInvalidGraphic&) {
        return 0;
    }
    kw::TMemoryStream saved;
    bitmap.SaveToStream(saved);
    saved.SetPosition(0);
    kw::TBitmap again;
    again.LoadFromStream(saved);
    if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height())
        __builtin_trap();
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (again.Pixel(x, y) != bitmap.Pixel(x, y))
                __builtin_trap();
        }
    }
    return 0;
}
