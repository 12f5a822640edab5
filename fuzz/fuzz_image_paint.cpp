// Paints arbitrary bytes as a package image: the first bytes choose the format, the skin corner
// sizes and the painting options, the rest are the image's own bytes. Strips, disabled looks,
// shadows, skins and skin regions must cope with any size and any corner sizes.
#include <cstddef>
#include <cstdint>

#include "display/package_image.h"
#include "drawing/images.h"
#include "drawing/skins.h"
#include "platform/core/exception.h"
#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kw;
    if (size < 6)
        return 0;
    const std::uint8_t options = data[0];
    TKwPkgImagesImage image(nullptr);
    try {
        TMemoryStream stream;
        stream.Write(data + 6, static_cast<std::int64_t>(size - 6));
        stream.SetPosition(0);
        image.LoadFromStream(stream,
                             (options & 1) ? &TPngImage::StaticClass() : &TBitmap::StaticClass());
    } catch (const Exception&) {
        return 0;
    }
    if (image.Width() > 512 || image.Height() > 512)
        return 0;
    TKwImageSkin& skin = image.Skin();
    skin.adjusts = (options & 2) != 0;
    skin.up1 = skin.down2 = static_cast<std::int8_t>(data[1]);
    skin.up2 = skin.down1 = data[2];
    skin.left1 = skin.right2 = static_cast<std::int8_t>(data[3]);
    skin.left2 = skin.right1 = data[4];
    const int w = data[5] % 70;
    const int h = (data[5] / 70) % 70 + (options >> 4);
    try {
        TBitmap target(40, 30);
        for (int state = 0; state <= static_cast<int>(TKwImageState::istExclusive); ++state) {
            KwDrawImage(target.Canvas(), TRect(-3, 2, w, h), &image, clWhite, clGray, false,
                        TKwImageDraw{static_cast<TKwImageState>(state), (options & 4) != 0,
                                     (options & 8) != 0, w - 20, h - 10, (options & 4) == 0});
        }
        KwPaintSkin(TRect(-5, -5, w, h), target.Canvas(), &image, nullptr, nullptr, true, 50, 3);
        (void)KwRgnSkin(TRect(1, 1, w + 1, h + 1), &image, (options & 4) != 0);
        (void)KwCreateBitmapRgn(&target);
    } catch (const EInvalidGraphic&) {
    }
    return 0;
}
