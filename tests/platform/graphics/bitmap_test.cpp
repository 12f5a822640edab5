#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "support/byte_builder.h"

namespace kw {
namespace {

using test::ByteBuilder;
using ::testing::HasSubstr;

// The 3 x 2 picture every depth encodes: red, green, blue over white, black, (10, 20, 30).
constexpr TColor kDark = RGB(10, 20, 30);
const std::vector<std::vector<TColor>> kPicture = {{clRed, clLime, clBlue},
                                                   {clWhite, clBlack, kDark}};
// Palette indices of those colours in the indexed files below.
const std::vector<TColor> kPalette = {clBlack, clWhite, clRed, clLime, clBlue, kDark};
const std::vector<std::vector<std::uint8_t>> kIndices = {{2, 3, 4}, {1, 0, 5}};

struct Dib {
    int width = 3;
    int height = 2;  // negative: top-down
    int bpp = 24;
    std::uint32_t compression = 0;
    std::vector<TColor> palette;
    std::vector<std::uint32_t> masks;
};

// A bitmap file with an information header; `rows` are the pixel bytes as stored.
std::vector<std::uint8_t> BmpFile(const Dib& d, const std::vector<std::uint8_t>& pixels) {
    const std::uint32_t offBits = 14 + 40 + 4 * (d.masks.size() + d.palette.size());
    ByteBuilder b;
    b.Text("BM").U32(offBits + pixels.size()).U32(0).U32(offBits);
    b.U32(40).I32(d.width).I32(d.height).U16(1).U16(d.bpp).U32(d.compression);
    b.U32(pixels.size()).U32(0).U32(0).U32(d.palette.size()).U32(0);
    for (auto m : d.masks)
        b.U32(m);
    for (TColor c : d.palette)
        b.U8(GetBValue(c)).U8(GetGValue(c)).U8(GetRValue(c)).U8(0);
    return b.Bytes(pixels).Data();
}

std::unique_ptr<TBitmap> Load(const std::vector<std::uint8_t>& file) {
    TMemoryStream stream;
    stream.Write(file.data(), static_cast<std::int64_t>(file.size()));
    stream.SetPosition(0);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromStream(stream);
    return bitmap;
}

std::vector<std::uint8_t> Save(const TBitmap& bitmap) {
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    return stream.Bytes();
}

void ExpectPicture(const TBitmap& bitmap, const std::vector<std::vector<TColor>>& picture) {
    ASSERT_EQ(bitmap.Height(), static_cast<int>(picture.size()));
    ASSERT_EQ(bitmap.Width(), static_cast<int>(picture[0].size()));
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x)
            EXPECT_EQ(bitmap.Pixel(x, y), picture[y][x]) << "pixel " << x << ", " << y;
    }
}

// Stored rows, bottom row first, each padded to 32 bits.
std::vector<std::uint8_t> BottomUp(std::vector<std::vector<std::uint8_t>> rows) {
    std::vector<std::uint8_t> out;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        it->resize((it->size() + 3) / 4 * 4, 0);
        out.insert(out.end(), it->begin(), it->end());
    }
    return out;
}

std::vector<std::uint8_t> Rgb24Row(const std::vector<TColor>& row) {
    std::vector<std::uint8_t> out;
    for (TColor c : row)
        out.insert(out.end(), {GetBValue(c), GetGValue(c), GetRValue(c)});
    return out;
}

TEST(BitmapFileTest, ReadsIndexedDepths) {
    ExpectPicture(*Load(BmpFile({.bpp = 8, .palette = kPalette}, BottomUp(kIndices))), kPicture);
    ExpectPicture(
        *Load(BmpFile({.bpp = 4, .palette = kPalette}, BottomUp({{0x23, 0x40}, {0x10, 0x50}}))),
        kPicture);

    const auto mono =
        Load(BmpFile({.bpp = 1, .palette = {clRed, clBlue}}, BottomUp({{0xA0}, {0x60}})));
    EXPECT_EQ(mono->PixelFormat(), TPixelFormat::pf1bit);
    ExpectPicture(*mono, {{clBlue, clRed, clBlue}, {clRed, clBlue, clBlue}});
}

TEST(BitmapFileTest, ReadsTrueColourDepthsAndOrientations) {
    ExpectPicture(*Load(BmpFile({}, BottomUp({Rgb24Row(kPicture[0]), Rgb24Row(kPicture[1])}))),
                  kPicture);
    ExpectPicture(
        *Load(BmpFile({.height = -2}, BottomUp({Rgb24Row(kPicture[1]), Rgb24Row(kPicture[0])}))),
        kPicture);

    std::vector<std::vector<std::uint8_t>> rows(2);
    for (int y = 0; y < 2; ++y) {
        for (TColor c : kPicture[y])
            rows[y].insert(rows[y].end(), {GetBValue(c), GetGValue(c), GetRValue(c), 0x40});
    }
    const auto argb = Load(BmpFile({.bpp = 32}, BottomUp(rows)));
    EXPECT_EQ(argb->PixelFormat(), TPixelFormat::pf32bit);
    ExpectPicture(*argb, kPicture);
    EXPECT_EQ(ArgbAlpha(argb->PixelArgb(2, 1)), 0x40);

    // 16 bits, five per channel: red, then pure blue through swapped 32-bit fields.
    ExpectPicture(*Load(BmpFile({.width = 1, .height = 1, .bpp = 16}, {0x00, 0x7C, 0, 0})),
                  {{clRed}});
    ExpectPicture(*Load(BmpFile({.width = 1,
                                 .height = 1,
                                 .bpp = 32,
                                 .compression = 3,
                                 .masks = {0xFF, 0xFF00, 0xFF0000}},
                                {0xFF, 0, 0, 0})),
                  {{clRed}});
}

TEST(BitmapFileTest, ReadsCoreHeaderWithThreeBytePalette) {
    ByteBuilder b;
    b.Text("BM").U32(0).U32(0).U32(14 + 12 + 6);
    b.U32(12).U16(2).U16(1).U16(1).U16(1);
    b.Bytes({0, 0, 0xFF, 0xFF, 0, 0});  // red, blue
    b.Bytes({0x40, 0, 0, 0});
    ExpectPicture(*Load(b.Data()), {{clRed, clBlue}});
}

TEST(BitmapFileTest, ReadsRunLengthData) {
    // Bottom row literal [1 0 5], end of line, top row runs: two red then one blue.
    ExpectPicture(*Load(BmpFile({.bpp = 8, .compression = 1, .palette = kPalette},
                                {0, 3, 1, 0, 5, 0, 0, 0, 2, 2, 1, 4, 0, 1})),
                  {{clRed, clRed, clBlue}, {clWhite, clBlack, kDark}});
    // Four-bit: literal [1 0 5] below, a run alternating red and blue above.
    ExpectPicture(*Load(BmpFile({.bpp = 4, .compression = 2, .palette = kPalette},
                                {0, 3, 0x10, 0x50, 0, 0, 3, 0x24, 0, 1})),
                  {{clRed, clBlue, clRed}, {clWhite, clBlack, kDark}});
    // Pixels past the right edge are dropped; a skip leaves unwritten pixels black.
    ExpectPicture(*Load(BmpFile({.width = 2, .bpp = 8, .compression = 1, .palette = kPalette},
                                {3, 2, 0, 0, 0, 2, 1, 0, 1, 4, 0, 1})),
                  {{clBlack, clBlue}, {clRed, clRed}});
}

TEST(BitmapFileTest, WritesOneTwentyFourAndThirtyTwoBits) {
    TBitmap colour(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            colour.SetPixel(x, y, kPicture[y][x]);
    for (auto [format, bpp] :
         {std::pair{TPixelFormat::pfDevice, 24}, std::pair{TPixelFormat::pf32bit, 32}}) {
        colour.SetPixelFormat(format);
        const auto file = Save(colour);
        EXPECT_EQ(file[28], bpp);
        ExpectPicture(*Load(file), kPicture);
    }
    colour.SetPixelArgb(0, 0, 0x7F112233);
    EXPECT_EQ(Load(Save(colour))->PixelArgb(0, 0), 0x7F112233u);

    colour.SetPixelFormat(TPixelFormat::pf1bit);
    const auto file = Save(colour);
    EXPECT_EQ(file[28], 1);
    const auto mono = Load(file);
    EXPECT_EQ(mono->PixelFormat(), TPixelFormat::pf1bit);
    ExpectPicture(*mono, {{clBlack, clBlack, clBlack}, {clWhite, clBlack, clBlack}});
}

TEST(BitmapFileTest, RefusesBadFilesBeforeAllocatingPixels) {
    auto refusal = [](const std::vector<std::uint8_t>& file) -> std::string {
        try {
            Load(file);
        } catch (const EInvalidGraphic& e) {
            return e.what();
        }
        return "accepted";
    };
    EXPECT_THAT(refusal(BmpFile({.width = 8000, .height = 8000}, std::vector<std::uint8_t>(12))),
                HasSubstr("data can hold"));
    EXPECT_THAT(
        refusal(BmpFile(
            {.width = 8000, .height = 8000, .bpp = 8, .compression = 1, .palette = kPalette},
            {0, 1})),
        HasSubstr("data can hold"));
    EXPECT_THAT(refusal(BmpFile({.width = 40, .height = 40}, std::vector<std::uint8_t>(100))),
                HasSubstr("cut short"));
    EXPECT_THAT(refusal(BmpFile({.bpp = 3}, {})), HasSubstr("bits per pixel"));
    EXPECT_THAT(refusal(BmpFile({.height = -2, .bpp = 8, .compression = 1}, {0, 1})),
                HasSubstr("top-down"));
    EXPECT_THAT(refusal({'B', 'M', 0, 0}), HasSubstr("ends early"));
    EXPECT_THAT(refusal({'P', 'K', 3, 4}), HasSubstr("BM signature"));
}

TEST(BitmapTest, ConvertsBetweenColourAndMonochrome) {
    TBitmap bitmap(3, 1);
    bitmap.SetPixel(0, 0, RGB(200, 200, 200));
    bitmap.SetPixel(1, 0, RGB(40, 40, 40));
    bitmap.SetPixel(2, 0, clBtnFace);
    EXPECT_EQ(bitmap.Pixel(2, 0), ColorToRGB(clBtnFace));
    bitmap.SetMonochrome(true);
    ExpectPicture(bitmap, {{clWhite, clBlack, clWhite}});
    bitmap.SetMonochrome(false);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pfDevice);
    ExpectPicture(bitmap, {{clWhite, clBlack, clWhite}});

    bitmap.SetPixel(1, 0, clRed);
    bitmap.Mask(clRed);
    EXPECT_TRUE(bitmap.Monochrome());
    ExpectPicture(bitmap, {{clBlack, clWhite, clBlack}});
}

TEST(BitmapTest, ResizingKeepsPixelsAndTransparentColourFollowsBottomLeft) {
    TBitmap bitmap(2, 2, TPixelFormat::pf1bit);
    bitmap.SetPixel(1, 1, clBlack);
    bitmap.SetSize(9, 3);
    EXPECT_EQ(bitmap.Pixel(1, 1), clBlack);
    EXPECT_EQ(bitmap.Pixel(8, 1), clWhite);
    EXPECT_EQ(bitmap.Pixel(9, 1), clNone);

    TBitmap colour(2, 2);
    colour.SetPixel(0, 1, clGreen);
    EXPECT_EQ(colour.TransparentColor(), clGreen);
    colour.SetTransparentColor(clRed);
    EXPECT_EQ(colour.TransparentMode(), TTransparentMode::tmFixed);
    EXPECT_EQ(colour.TransparentColor(), clRed);
}

}  // namespace
}  // namespace kw
