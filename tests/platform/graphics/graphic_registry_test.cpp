#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/graphic_registry.h"
#include "platform/text/unicode.h"

namespace kw {
namespace {

using ::testing::HasSubstr;

class TTestImage : public TPngImage {
    KW_CLASS(TTestImage)
};
KW_IMPLEMENT_CLASS(TTestImage, TPngImage)

class GraphicRegistryTest : public ::testing::Test {
protected:
    void TearDown() override { ResetGraphicRegistry(); }
};

TEST_F(GraphicRegistryTest, FindsClassesByExtensionWithLaterRegistrationsFirst) {
    EXPECT_EQ(GraphicClassForExtension(u".PNG"), &TPngImage::StaticClass());
    EXPECT_EQ(GraphicClassForExtension(u"jpeg"), &TJPEGImage::StaticClass());
    EXPECT_EQ(GraphicClassForExtension(u"tiff"), nullptr);
    EXPECT_EQ(GraphicExtension(TJPEGImage::StaticClass()), u"jpg");
    EXPECT_EQ(GraphicExtension(TBitmap::StaticClass()), u"bmp");

    RegisterFileFormat(u".png", u"Test images", TTestImage::StaticClass());
    EXPECT_EQ(GraphicClassForExtension(u"png"), &TTestImage::StaticClass());
    EXPECT_EQ(GraphicFilter(TPngImage::StaticClass()),
              u"All (*.png;*.png)|*.png;*.png|PNG Images (*.png)|*.png|Test images (*.png)|*.png");
    UnregisterGraphicClass(TPngImage::StaticClass());
    EXPECT_EQ(GraphicClassForExtension(u"png"), nullptr);
    EXPECT_EQ(GraphicClassForClipboardFormat(TPngImage().ClipboardFormat()), nullptr);
    EXPECT_EQ(GraphicClassForExtension(u"gif"), &TGIFImage::StaticClass());
}

TEST_F(GraphicRegistryTest, RecognisesDataByItsSignature) {
    auto classOf = [](std::vector<Byte> head) { return GraphicClassForData(head); };
    EXPECT_EQ(classOf({'B', 'M', 1}), &TBitmap::StaticClass());
    EXPECT_EQ(classOf({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}), &TPngImage::StaticClass());
    EXPECT_EQ(classOf({0xFF, 0xD8, 0xFF, 0xE0}), &TJPEGImage::StaticClass());
    EXPECT_EQ(classOf({'G', 'I', 'F', '8', '9', 'a'}), &TGIFImage::StaticClass());
    EXPECT_EQ(classOf({0, 0, 1, 0, 1, 0}), &TIcon::StaticClass());
    EXPECT_EQ(classOf({0xD7, 0xCD, 0xC6, 0x9A}), &TMetafile::StaticClass());
    EXPECT_EQ(classOf({'B'}), nullptr);
    EXPECT_THROW(CreateGraphic(TStream::StaticClass()), EInvalidGraphic);
    EXPECT_THROW(CreateGraphic(TGraphic::StaticClass()), EInvalidGraphic);
    EXPECT_TRUE(CreateGraphic(TIcon::StaticClass())->Is<TIcon>());
}

TEST_F(GraphicRegistryTest, PictureLoadsByExtensionOrSignatureAndForwardsChanges) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("kw_picture_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    TBitmap bitmap(3, 2);
    bitmap.SetPixel(2, 1, clRed);
    const String bmpName = Utf8ToString((dir / "image.BMP").string());
    bitmap.SaveToFile(bmpName);

    TPicture picture;
    int changes = 0;
    picture.SetOnChange([&](TPicture&) { ++changes; });
    picture.LoadFromFile(bmpName);
    ASSERT_TRUE(picture.Graphic()->Is<TBitmap>());
    EXPECT_EQ(picture.Bitmap().Pixel(2, 1), clRed);
    picture.Bitmap().SetPixel(0, 0, clBlue);
    EXPECT_EQ(changes, 2);
    EXPECT_THAT(
        [&] {
            try {
                picture.LoadFromFile(Utf8ToString((dir / "image.tif").string()));
            } catch (const EInvalidGraphic& e) {
                return std::string(e.what());
            }
            return std::string();
        }(),
        HasSubstr("(.tif)"));

    TMemoryStream stream;
    stream.Write("xx", 2);
    TPngImage png;
    png.Assign(&bitmap);
    png.SaveToStream(stream);
    stream.SetPosition(2);
    picture.LoadFromStream(stream);
    ASSERT_TRUE(picture.Graphic()->Is<TPngImage>());
    EXPECT_EQ(picture.Width(), 3);

    TBitmap copy;
    copy.Assign(&picture);
    EXPECT_EQ(copy.Pixel(2, 1), clRed);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kw
