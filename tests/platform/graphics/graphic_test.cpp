#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/clipboard.h"
#include "platform/graphics/graphic.h"
#include "support/byte_builder.h"

namespace kw {
namespace {

using test::ByteBuilder;
using ::testing::HasSubstr;
using Bytes = std::vector<std::uint8_t>;

std::string Refusal(TEncodedGraphic& graphic, const Bytes& data) {
    try {
        graphic.SetData(data);
    } catch (const EInvalidGraphic& e) {
        return e.what();
    }
    return "accepted";
}

bool Near(TColor a, TColor b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// PNG files with stored (uncompressed) deflate blocks.

std::uint32_t Crc32(const Bytes& data, std::size_t from) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = from; i < data.size(); ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void Chunk(ByteBuilder& png, const char* type, const Bytes& data) {
    ByteBuilder body;
    body.Text(type).Bytes(data);
    png.BE32(static_cast<std::uint32_t>(data.size())).Bytes(body.Data());
    png.BE32(Crc32(body.Data(), 0));
}

Bytes PngFile(int width, int height, std::uint8_t colourType, const Bytes& rows,
              const std::vector<std::pair<const char*, Bytes>>& extra = {}) {
    ByteBuilder png;
    png.Bytes({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A});
    Chunk(png, "IHDR",
          ByteBuilder().BE32(width).BE32(height).Bytes({8, colourType, 0, 0, 0}).Data());
    for (const auto& [type, data] : extra)
        Chunk(png, type, data);
    std::uint32_t a = 1, b = 0;
    for (auto byte : rows) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    const auto length = static_cast<std::uint16_t>(rows.size());
    Chunk(png, "IDAT",
          ByteBuilder()
              .Bytes({0x78, 0x01, 0x01})
              .U16(length)
              .U16(~length)
              .Bytes(rows)
              .BE32((b << 16) | a)
              .Data());
    Chunk(png, "IEND", {});
    return png.Data();
}

TEST(PngImageTest, DecodesAlphaChannelsAndTransparentPaletteEntries) {
    TPngImage png;
    png.SetData(PngFile(3, 1, 6, {0, 255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0}));
    EXPECT_EQ(png.Width(), 3);
    const TBitmap* pixels = png.PixelData();
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels->AlphaFormat(), TAlphaFormat::afDefined);
    EXPECT_EQ(pixels->PixelArgb(0, 0), 0xFFFF0000u);
    EXPECT_EQ(pixels->PixelArgb(1, 0), 0x8000FF00u);
    EXPECT_EQ(ArgbAlpha(pixels->PixelArgb(2, 0)), 0);

    TBitmap white(3, 1);
    white.Canvas().Draw(0, 0, png);
    EXPECT_EQ(white.Pixel(0, 0), clRed);
    EXPECT_EQ(white.Pixel(1, 0), RGB(127, 255, 127));
    EXPECT_EQ(white.Pixel(2, 0), clWhite);

    png.SetData(
        PngFile(2, 1, 3, {0, 0, 1}, {{"PLTE", {255, 0, 0, 0, 0, 255}}, {"tRNS", {255, 0}}}));
    EXPECT_EQ(png.PixelData()->PixelArgb(0, 0), 0xFFFF0000u);
    EXPECT_EQ(ArgbAlpha(png.PixelData()->PixelArgb(1, 0)), 0);
}

TEST(PngImageTest, EncodesPixelsWithAlphaAndRefusesOversizedHeaders) {
    TBitmap source(2, 2, TPixelFormat::pf32bit);
    source.SetPixelArgb(0, 0, 0x40123456);
    source.SetPixelArgb(1, 1, 0xFF00FF00);
    source.SetAlphaFormat(TAlphaFormat::afDefined);
    TPngImage png;
    png.Assign(&source);
    TPngImage copy;
    copy.SetData(png.Data());
    EXPECT_EQ(copy.PixelData()->PixelArgb(0, 0), 0x40123456u);
    EXPECT_EQ(copy.PixelData()->PixelArgb(1, 1), 0xFF00FF00u);

    EXPECT_THAT(Refusal(copy, PngFile(8000, 8000, 6, {0})), HasSubstr("data can hold"));
    EXPECT_THAT(Refusal(copy, {0x89, 'P', 'N', 'G'}), HasSubstr("signature"));
    EXPECT_EQ(copy.Width(), 2);  // a refused load leaves the image as it was
    // Pixels are decoded on first need, so broken image data surfaces there.
    TPngImage broken;
    broken.SetData(PngFile(3, 1, 6, {1, 2, 3}));
    EXPECT_THROW(broken.PixelData(), EInvalidGraphic);
}

Bytes TwoColourJpeg() {
    TBitmap source(64, 32);
    source.Canvas().Brush().Color = clRed;
    source.Canvas().FillRect(TRect(0, 0, 32, 32));
    source.Canvas().Brush().Color = clBlue;
    source.Canvas().FillRect(TRect(32, 0, 64, 32));
    TJPEGImage jpeg;
    jpeg.Assign(&source);
    return jpeg.Data();
}

TEST(JpegImageTest, DecodesAtEveryScale) {
    TJPEGImage jpeg;
    jpeg.SetData(TwoColourJpeg());
    int expectedWidth = 64;
    for (auto scale : {TJPEGScale::jsFullSize, TJPEGScale::jsHalf, TJPEGScale::jsQuarter,
                       TJPEGScale::jsEighth}) {
        jpeg.SetScale(scale);
        EXPECT_EQ(jpeg.Width(), expectedWidth);
        EXPECT_EQ(jpeg.Height(), expectedWidth / 2);
        const TBitmap* pixels = jpeg.PixelData();
        ASSERT_EQ(pixels->Width(), expectedWidth);
        EXPECT_TRUE(Near(pixels->Pixel(expectedWidth / 8, expectedWidth / 4), clRed, 48));
        EXPECT_TRUE(Near(pixels->Pixel(expectedWidth * 7 / 8, expectedWidth / 4), clBlue, 48));
        expectedWidth /= 2;
    }
    jpeg.SetGrayscale(true);
    const TColor grey = jpeg.PixelData()->Pixel(1, 1);
    EXPECT_TRUE(GetRValue(grey) == GetGValue(grey) && GetGValue(grey) == GetBValue(grey));
    EXPECT_EQ(jpeg.ClipboardFormat(), RegisterClipboardFormat(u"jfif"));
}

TEST(JpegImageTest, RefusesOversizedAndBrokenData) {
    Bytes data = TwoColourJpeg();
    for (std::size_t i = 0; i + 8 < data.size(); ++i) {
        if (data[i] == 0xFF && data[i + 1] == 0xC0) {  // start of frame: height, width
            data[i + 5] = data[i + 7] = 0x1F;
            data[i + 6] = data[i + 8] = 0x40;
            break;
        }
    }
    TJPEGImage jpeg;
    EXPECT_THAT(Refusal(jpeg, data), HasSubstr("data can hold"));
    EXPECT_THAT(Refusal(jpeg, {0xFF, 0xD8, 0xFF, 0xE0}), HasSubstr("Invalid JPEG"));
}

// GIF files whose image data is a run of literal codes, with a clear code before every pair so
// that the code width never grows.
Bytes GifFile(int width, int height, const std::vector<TColor>& colours,
              const std::vector<std::uint8_t>& stored, int transparent, bool interlaced) {
    int tableBits = 1;
    while ((1u << tableBits) < colours.size())
        ++tableBits;
    const int minCode = std::max(2, tableBits);
    const int clear = 1 << minCode;
    Bytes lzw;
    std::uint32_t acc = 0;
    int bits = 0;
    auto put = [&](int code) {
        acc |= static_cast<std::uint32_t>(code) << bits;
        for (bits += minCode + 1; bits >= 8; bits -= 8, acc >>= 8)
            lzw.push_back(acc & 0xFF);
    };
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (i % 2 == 0)
            put(clear);
        put(stored[i]);
    }
    put(clear + 1);
    if (bits > 0)
        lzw.push_back(acc & 0xFF);

    ByteBuilder gif;
    gif.Text("GIF89a").U16(width).U16(height).U8(0xF0 | (tableBits - 1)).U8(0).U8(0);
    for (std::size_t i = 0; i < (1u << tableBits); ++i) {
        const TColor c = i < colours.size() ? colours[i] : clBlack;
        gif.Bytes({GetRValue(c), GetGValue(c), GetBValue(c)});
    }
    if (transparent >= 0)
        gif.Bytes({0x21, 0xF9, 4, 1, 0, 0, static_cast<std::uint8_t>(transparent), 0});
    gif.U8(0x2C).U16(0).U16(0).U16(width).U16(height).U8(interlaced ? 0x40 : 0);
    gif.U8(minCode).U8(lzw.size()).Bytes(lzw).U8(0).U8(0x3B);
    return gif.Data();
}

TEST(GifImageTest, DecodesTheFirstFrameWithItsTransparentColour) {
    TGIFImage gif;
    gif.SetData(GifFile(3, 2, {clRed, clLime, clBlue, clWhite}, {0, 1, 2, 3, 2, 1}, 2, false));
    EXPECT_EQ(gif.Width(), 3);
    EXPECT_EQ(gif.Height(), 2);
    TBitmap black(3, 2);
    black.Canvas().Brush().Color = clBlack;
    black.Canvas().FillRect(TRect(0, 0, 3, 2));
    black.Canvas().Draw(0, 0, gif);
    EXPECT_EQ(black.Pixel(0, 0), clRed);
    EXPECT_EQ(black.Pixel(1, 0), clLime);
    EXPECT_EQ(black.Pixel(2, 0), clBlack);
    EXPECT_EQ(black.Pixel(0, 1), clWhite);
    EXPECT_EQ(black.Pixel(1, 1), clBlack);

    const std::vector<TColor> rows = {clRed, clLime, clBlue, clWhite, clYellow};
    gif.SetData(GifFile(1, 5, rows, {0, 4, 2, 1, 3}, -1, true));
    for (int y = 0; y < 5; ++y)
        EXPECT_EQ(gif.PixelData()->Pixel(0, y), rows[y]) << "row " << y;
}

TEST(GifImageTest, EncodesExactOrReducedColoursAndRefusesOversizedScreens) {
    TBitmap source(20, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            source.SetPixel(x, y, RGB(x * 13, y * 13, (x + y) * 6));
    TGIFImage gif;
    gif.Assign(&source);
    TGIFImage copy;
    copy.SetData(gif.Data());
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_TRUE(Near(copy.PixelData()->Pixel(x, y), source.Pixel(x, y), 26));

    TBitmap few(2, 1);
    few.SetPixel(0, 0, RGB(1, 2, 3));
    few.SetTransparent(true);
    few.SetTransparentColor(clWhite);
    gif.Assign(&few);
    copy.SetData(gif.Data());
    EXPECT_EQ(copy.PixelData()->PixelArgb(0, 0), 0xFF010203u);
    EXPECT_EQ(ArgbAlpha(copy.PixelData()->PixelArgb(1, 0)), 0);

    EXPECT_THAT(Refusal(copy, GifFile(8000, 8000, {clRed, clBlue}, {0}, -1, false)),
                HasSubstr("data can hold"));
}

Bytes IconFile(const std::vector<Bytes>& images) {
    ByteBuilder ico;
    ico.U16(0).U16(1).U16(images.size());
    std::uint32_t offset = 6 + 16 * images.size();
    for (const Bytes& image : images) {
        ico.Bytes({0, 0, 0, 0}).U16(1).U16(32).U32(image.size()).U32(offset);
        offset += image.size();
    }
    for (const Bytes& image : images)
        ico.Bytes(image);
    return ico.Data();
}

// An icon image of `side` x `side` pixels filled with one value, then an all-clear AND mask.
Bytes IconImage(int side, int bpp, std::uint32_t fill, std::vector<TColor> palette = {}) {
    ByteBuilder b;
    b.U32(40).I32(side).I32(2 * side).U16(1).U16(bpp).U32(0).U32(0).U32(0).U32(0);
    b.U32(palette.size()).U32(0);
    for (TColor c : palette)
        b.U8(GetBValue(c)).U8(GetGValue(c)).U8(GetRValue(c)).U8(0);
    const int stride = (side * bpp + 31) / 32 * 4;
    for (int y = 0; y < side; ++y) {
        ByteBuilder row;
        for (int x = 0; x < side; ++x) {
            if (bpp == 32)
                row.U32(fill);
            else if (bpp == 8)
                row.U8(fill);
        }
        row.Zeros(stride - row.Size());
        b.Bytes(row.Data());
    }
    return b.Zeros((side + 31) / 32 * 4 * side).Data();
}

TEST(IconTest, ShowsTheLargestDeepestEntryAndAppliesMasks) {
    TIcon icon;
    icon.SetData(IconFile({IconImage(2, 8, 0, {clRed}), IconImage(4, 8, 0, {clBlue}),
                           IconImage(4, 32, 0x8000FF00), IconImage(3, 8, 0, {clRed})}));
    EXPECT_EQ(icon.Width(), 4);
    EXPECT_EQ(icon.PixelData()->PixelArgb(3, 3), 0x8000FF00u);

    // A 24-bit image: its AND mask makes the top-right pixel see-through.
    ByteBuilder image;
    image.U32(40).I32(2).I32(4).U16(1).U16(24).Zeros(24);
    image.Bytes({0, 0, 255, 0, 0, 255, 0, 0}).Bytes({255, 0, 0, 255, 0, 0, 0, 0});
    image.Bytes({0, 0, 0, 0}).Bytes({0x40, 0, 0, 0});
    icon.SetData(IconFile({image.Data()}));
    EXPECT_EQ(icon.PixelData()->PixelArgb(0, 0), 0xFF0000FFu);
    EXPECT_EQ(ArgbAlpha(icon.PixelData()->PixelArgb(1, 0)), 0);
    EXPECT_EQ(icon.PixelData()->PixelArgb(1, 1), 0xFFFF0000u);

    ByteBuilder huge;
    huge.U32(40).I32(8000).I32(16000).U16(1).U16(32).Zeros(24);
    EXPECT_THAT(Refusal(icon, IconFile({huge.Data()})), HasSubstr("no readable image"));
    EXPECT_THAT(Refusal(icon, {0, 0, 1, 0, 5, 0}), HasSubstr("cut short"));
}

TEST(IconTest, WritesAnIconFromPixels) {
    TBitmap source(3, 2);
    source.SetPixel(0, 0, clRed);
    source.SetPixel(2, 1, clBlue);
    source.SetTransparent(true);
    source.SetTransparentColor(clBlue);
    TIcon icon;
    icon.Assign(&source);
    TIcon copy;
    copy.SetData(icon.Data());
    EXPECT_EQ(copy.Width(), 3);
    EXPECT_EQ(copy.PixelData()->PixelArgb(0, 0), 0xFFFF0000u);
    EXPECT_EQ(ArgbAlpha(copy.PixelData()->PixelArgb(2, 1)), 0);
    EXPECT_EQ(icon.Data()[2], 1);  // an icon, not a cursor
}

TEST(MetafileTest, KeepsItsBytesAndMeasuresItselfFromTheHeader) {
    ByteBuilder placeable;
    placeable.U32(0x9AC6CDD7).U16(0).U16(0).U16(0).U16(1000).U16(500).U16(1000).U32(0).U16(0);
    placeable.U16(1).U16(9).U16(0x300).Zeros(12);
    TMetafile wmf;
    wmf.SetData(placeable.Data());
    EXPECT_FALSE(wmf.Enhanced());
    EXPECT_EQ(wmf.MMWidth(), 2540);
    EXPECT_EQ(wmf.Width(), 96);
    EXPECT_EQ(wmf.Height(), 48);
    EXPECT_EQ(wmf.ClipboardFormat(), CF_METAFILEPICT);
    EXPECT_EQ(wmf.Data(), placeable.Data());

    ByteBuilder emf;
    emf.U32(1).U32(88).Zeros(16).I32(0).I32(0).I32(5080).I32(2540).U32(0x464D4520).Zeros(44);
    TMetafile enhanced;
    enhanced.SetData(emf.Data());
    EXPECT_TRUE(enhanced.Enhanced());
    EXPECT_EQ(enhanced.Width(), 192);
    EXPECT_EQ(enhanced.MMHeight(), 2540);

    TBitmap target(2, 2);
    target.Canvas().StretchDraw(TRect(0, 0, 2, 2), enhanced);
    EXPECT_EQ(target.Pixel(0, 0), clWhite);
    EXPECT_THAT(Refusal(enhanced, Bytes(100, 7)), HasSubstr("not a metafile"));
    EXPECT_THROW(enhanced.Assign(&target), EInvalidGraphicOperation);
}

}  // namespace
}  // namespace kw
