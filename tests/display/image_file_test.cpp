#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "display/format_graphics.h"
#include "display/image_imkw.h"
#include "display/kw_picture.h"
#include "display/package_image.h"
#include "display_fixture.h"
#include "framework/clip_formats.h"
#include "platform/core/safe_save.h"
#include "platform/data/field.h"
#include "platform/data/memory_dataset.h"
#include "platform/graphics/graphic_registry.h"
#include "platform/text/string_list.h"
#include "platform/text/unicode.h"
#include "support/scratch_dir.h"

namespace kw {
namespace {

using ImageFileTest = DisplayTest;

TEST_F(ImageFileTest, RegistryFindsClassesByNameExtensionAndDescription) {
    EXPECT_EQ(KwFindGraphicFileExt(u" .PNG"), &TPngImage::StaticClass());
    EXPECT_EQ(KwFindGraphicFileExt(u"tiff"), nullptr);
    EXPECT_EQ(KwFindGraphicClass(u"tjpegimage"), &TJPEGImage::StaticClass());
    EXPECT_EQ(KwFindGraphicDescription(TKwImageIMKW::StaticClass()), u"KwImage");
    EXPECT_EQ(KwGraphicExtension(TJPEGImage::StaticClass()), u"jpg");
    TStringList names;
    KwFormatGraphics(names);
    ASSERT_EQ(names.Count(), 7);
    EXPECT_EQ(names.Strings(2), u"TMetafile");
    EXPECT_EQ(names.Strings(3), u"TJPEGImage");

    KwUnRegisterFormatGraphic(TJPEGImage::StaticClass());
    EXPECT_EQ(KwFindGraphicFileExt(u"jpeg"), nullptr);
    KwRegisterFormatGraphic(u"jfif", u"JPeg", TJPEGImage::StaticClass());
    EXPECT_EQ(KwFindGraphicFileExt(u"JFIF"), &TJPEGImage::StaticClass());
}

TEST_F(ImageFileTest, ClipboardTableHoldsStartUpFormats) {
    RegisterFormatGraphics();
    TKwClipFormats& formats = KwGetClipboardFormats();
    EXPECT_EQ(formats.FindFormat(CF_ENHMETAFILE), &TMetafile::StaticClass());
    EXPECT_EQ(formats.FindFormat(KwImageClipboardFormat()), &TKwImageIMKW::StaticClass());
    EXPECT_EQ(GetClipboardFormatName(KwImageClipboardFormat()), u"KW_IMAGE");
    EXPECT_EQ(formats.FindGraphicClass(TIcon::StaticClass()), TKwClipFormats::kNoFormat);

    // Shutting the library's state down withdraws the image file from the picture loader.
    const Word format = KwImageClipboardFormat();
    ASSERT_EQ(GraphicClassForExtension(u"imkw"), &TKwImageIMKW::StaticClass());
    KwResetDisplayState();
    EXPECT_EQ(GraphicClassForExtension(u"imkw"), nullptr);
    EXPECT_EQ(GraphicClassForClipboardFormat(format), nullptr);
    RegisterFormatGraphics();
    EXPECT_EQ(GraphicClassForExtension(u"imkw"), &TKwImageIMKW::StaticClass());
}

TEST_F(ImageFileTest, JpegQualityPicksDecodingScale) {
    TJPEGImage jpeg;
    SetGraphicQuality(jpeg, TKwQualityGraphic::qugLow);
    EXPECT_EQ(jpeg.Scale(), TJPEGScale::jsQuarter);
    SetGraphicQuality(jpeg, TKwQualityGraphic::qugVeryLow);
    EXPECT_EQ(jpeg.Scale(), TJPEGScale::jsEighth);
}

// An image with bytes, both masks, skin corners and protection.
void FillImage(TKwPkgImagesImage& image) {
    LoadNative(image, EncodedBytes<TPngImage>(32, 16), TPngImage::StaticClass());
    const TRegion outer(TRect(0, 0, 30, 16));
    const TRegion inner(TRect(4, 4, 8, 8));
    image.CreateExternalMask(&outer);
    image.CreateInternalMask(&inner);
    image.Skin().adjusts = true;
    image.Skin().syncVer = false;
    image.Skin().right2 = 7;
    image.SetProtected(true);
}

TEST_F(ImageFileTest, ImageFileRoundTripsEverythingButTheId) {
    TKwImageIMKW source;
    FillImage(source.Image());
    source.Image().SetId(12);
    TMemoryStream file;
    source.SaveToStream(file);
    const std::vector<Byte>& bytes = file.Bytes();
    ASSERT_GT(bytes.size(), 34u);
    EXPECT_EQ(bytes[0], 0x15);
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 12),
              "\x01"
              "123456789\x01");
    EXPECT_EQ(bytes[32], 7);

    TKwImageIMKW copy;
    copy.LoadFromStream(file);
    const TKwPkgImagesImage& image = copy.Image();
    EXPECT_EQ(image.Id(), -1);
    EXPECT_EQ(NativeBytes(image), NativeBytes(source.Image()));
    EXPECT_EQ(image.GraphicClass(), &TPngImage::StaticClass());
    EXPECT_EQ(image.Width(), 32);
    EXPECT_EQ(*image.CreateExternalRgn(), TRegion(TRect(0, 0, 30, 16)));
    EXPECT_EQ(*image.CreateInternalRgn(), TRegion(TRect(4, 4, 8, 8)));
    EXPECT_EQ(image.Skin(), source.Image().Skin());
    EXPECT_TRUE(image.Protected());
}

TEST_F(ImageFileTest, OlderVersionsLoadAndNewerAreRefused) {
    TKwImageIMKW graphic;
    TMemoryStream file;
    Fill(file, OldImageFile(4));
    graphic.LoadFromStream(file);
    const TKwPkgImagesImage& image = graphic.Image();
    EXPECT_EQ(image.Width(), 2);
    EXPECT_TRUE(image.ExternalMask());
    EXPECT_FALSE(image.InternalMask());
    EXPECT_TRUE(image.Skin().adjusts);
    EXPECT_EQ(image.Skin().up1, 1);

    Fill(file, OldImageFile(8));
    EXPECT_EQ(MessageIdOf([&] { graphic.LoadFromStream(file); }), 40);
    EXPECT_TRUE(graphic.Empty());
    Fill(file, OldImageFile(4, u"KwPkgImages"));
    EXPECT_EQ(MessageIdOf([&] { graphic.LoadFromStream(file); }), 39);
    Fill(file, OldImageFile(4, u"KWPKGIMAGE"));
    EXPECT_EQ(MessageIdOf([&] { graphic.LoadFromStream(file); }), 0);
}

TEST_F(ImageFileTest, TruncatedOrOversizedBlocksAreRefused) {
    const std::vector<Byte> bytes = OldImageFile(7);
    TKwImageIMKW graphic;
    TMemoryStream file;
    Fill(file, std::vector<Byte>(bytes.begin(), bytes.begin() + 60));
    EXPECT_THROW(graphic.LoadFromStream(file), Exception);
    Fill(file, OldImageFile(7, u"KwPkgImage", 0x7FFFFF00));
    EXPECT_THROW(graphic.LoadFromStream(file), EReadError);
    EXPECT_TRUE(graphic.Empty());
}

class ImageFilesOnDisk : public ImageFileTest {
protected:
    String Path(const char* name) const { return scratch_.Of(name); }
    test::ScratchDir scratch_{"kw_image_files"};
    const std::filesystem::path dir_ = scratch_.Path();
};

TEST_F(ImageFilesOnDisk, SavingUnderAnotherExtensionWritesNativeBytes) {
    TKwImageIMKW graphic;
    const std::vector<Byte> jpeg = EncodedBytes<TJPEGImage>(16, 16);
    LoadNative(graphic.Image(), jpeg, TJPEGImage::StaticClass());
    graphic.Image().SaveToFile(Path("photo.png"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "photo.png"));
    TMemoryStream written;
    written.LoadFromFile(Path("photo.jpg"));
    EXPECT_EQ(written.Bytes(), jpeg);

    graphic.Image().SaveToFile(Path("picture.IMKW"));
    TKwImageIMKW upper;
    upper.Image().LoadFromFile(Path("picture.IMKW"));
    EXPECT_EQ(NativeBytes(upper.Image()), jpeg);
    std::filesystem::rename(dir_ / "picture.IMKW", dir_ / "picture.imkw");
    TKwImageIMKW lower;
    lower.Image().LoadFromFile(Path("picture.imkw"));
    EXPECT_EQ(lower.Image().Width(), 16);

    lower.Image().LoadFromFile(Path("photo.jpg"));
    EXPECT_EQ(lower.Image().GraphicClass(), &TJPEGImage::StaticClass());
    EXPECT_EQ(MessageIdOf([&] { lower.Image().LoadFromFile(u" "); }), 3);
    EXPECT_EQ(MessageIdOf([&] { lower.Image().LoadFromFile(Path("noext")); }), 4);
    EXPECT_EQ(MessageIdOf([&] { lower.Image().LoadFromFile(Path("a.tiff")); }), 38);
}

// A failed save of an image file used to leave it empty; now it stays whole, keeps its mode,
// and a link to it stays a link.
TEST_F(ImageFilesOnDisk, FailedImageSavesKeepTheOldFile) {
    TKwImageIMKW first;
    FillImage(first.Image());
    first.Image().SaveToFile(Path("kept.imkw"));
    std::filesystem::permissions(dir_ / "kept.imkw", std::filesystem::perms(0600));
    std::filesystem::create_symlink("kept.imkw", dir_ / "link.imkw");
    TMemoryStream before;
    before.LoadFromFile(Path("kept.imkw"));

    TKwImageIMKW second;
    LoadNative(second.Image(), EncodedBytes<TPngImage>(8, 8), TPngImage::StaticClass());
    for (TSaveStep failing : {TSaveStep::sstWrite, TSaveStep::sstSync, TSaveStep::sstRename}) {
        SetSaveFaultHook([&](TSaveStep step) { return step == failing ? ENOSPC : 0; });
        EXPECT_THROW(second.Image().SaveToFile(Path("link.imkw")), EStreamError);
        SetSaveFaultHook({});
        TMemoryStream after;
        after.LoadFromFile(Path("kept.imkw"));
        EXPECT_EQ(after.Bytes(), before.Bytes());
    }
    second.Image().SaveToFile(Path("link.imkw"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.imkw"));
    EXPECT_EQ(std::filesystem::status(dir_ / "kept.imkw").permissions(),
              std::filesystem::perms(0600));
    TKwImageIMKW reread;
    reread.Image().LoadFromFile(Path("kept.imkw"));
    EXPECT_EQ(reread.Image().Width(), 8);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 2);
}

TEST_F(ImageFilesOnDisk, UndecodableNativeBytesRaiseAtLoadWhereverTheyComeFrom) {
    TKwImageIMKW graphic;
    const std::vector<Byte> png = EncodedBytes<TPngImage>(32, 16);
    LoadNative(graphic.Image(), png, TPngImage::StaticClass());
    const std::vector<Byte> garbage(200, 0x5A);
    const std::vector<Byte> cut(png.begin(), png.begin() + static_cast<long>(png.size() / 2));
    EXPECT_THROW(LoadNative(graphic.Image(), garbage, TBitmap::StaticClass()), Exception);
    EXPECT_THROW(LoadNative(graphic.Image(), cut, TPngImage::StaticClass()), Exception);
    // A refused load leaves the image as it was.
    EXPECT_EQ(graphic.Image().Width(), 32);
    EXPECT_EQ(NativeBytes(graphic.Image()), png);

    TMemoryStream file;
    Fill(file, cut);
    file.SaveToFile(Path("cut.png"));
    EXPECT_THROW(graphic.Image().LoadFromFile(Path("cut.png")), Exception);

    // An image file whose PNG data is damaged after its header.
    TMemoryStream saved;
    graphic.SaveToStream(saved);
    std::vector<Byte> damaged = saved.Bytes();
    const Byte idat[] = {'I', 'D', 'A', 'T'};
    const auto chunk =
        std::search(damaged.begin(), damaged.end(), std::begin(idat), std::end(idat));
    ASSERT_NE(chunk, damaged.end());
    std::fill(chunk + 4, chunk + 12, Byte{0xFF});
    Fill(file, damaged);
    EXPECT_THROW(graphic.LoadFromStream(file), Exception);
    EXPECT_TRUE(graphic.Empty());
    EXPECT_EQ(graphic.Bitmap(), nullptr);
}

TEST_F(ImageFileTest, TheBuiltBitmapFollowsEveryReplacementOfTheImage) {
    TKwImageIMKW graphic;
    int changes = 0;
    graphic.SetOnChange([&](TGraphic&) { ++changes; });
    LoadNative(graphic.Image(), EncodedBytes<TPngImage>(32, 16), TPngImage::StaticClass());
    ASSERT_NE(graphic.Bitmap(), nullptr);
    EXPECT_EQ(graphic.Bitmap()->Width(), 32);
    LoadNative(graphic.Image(), EncodedBytes<TBitmap>(8, 4), TBitmap::StaticClass());
    ASSERT_NE(graphic.Bitmap(), nullptr);
    EXPECT_EQ(graphic.Bitmap()->Width(), 8);
    TKwImageIMKW other;
    LoadNative(other.Image(), EncodedBytes<TBitmap>(6, 3), TBitmap::StaticClass());
    graphic.Image().Assign(other.Image());
    EXPECT_EQ(graphic.Bitmap()->Height(), 3);
    graphic.Image().Clear();
    EXPECT_EQ(graphic.Bitmap(), nullptr);
    EXPECT_EQ(changes, 4);
}

TEST_F(ImageFileTest, ClipboardCarriesMaskedImagesAsImageFiles) {
    TKwImageIMKW source;
    FillImage(source.Image());
    source.Image().SaveToClipBoard();
    EXPECT_TRUE(Clipboard().HasFormat(KwImageClipboardFormat()));
    TKwImageIMKW target;
    target.Image().LoadFromClipBoard();
    EXPECT_EQ(NativeBytes(target.Image()), NativeBytes(source.Image()));
    EXPECT_TRUE(target.Image().InternalMask());

    // Without masks the native format goes there; PNG is not in the table, bitmaps are.
    LoadNative(source.Image(), EncodedBytes<TPngImage>(8, 8), TPngImage::StaticClass());
    source.Image().SaveToClipBoard();
    EXPECT_FALSE(Clipboard().HasFormat(KwImageClipboardFormat()));
    target.Image().LoadFromClipBoard();
    EXPECT_TRUE(target.Image().InternalMask());
    LoadNative(source.Image(), EncodedBytes<TBitmap>(5, 3), TBitmap::StaticClass());
    source.Image().SaveToClipBoard();
    target.Image().LoadFromClipBoard();
    EXPECT_EQ(target.Image().GraphicClass(), &TBitmap::StaticClass());
    EXPECT_EQ(target.Image().Width(), 5);
    EXPECT_FALSE(target.Image().ExternalMask());
}

TEST_F(ImageFileTest, LoadingFromTheClipboardTakesOnlyTheFirstFormatThePictureSupports) {
    RegisterFormatGraphics();
    TKwImageIMKW source;
    LoadNative(source.Image(), EncodedBytes<TBitmap>(5, 3), TBitmap::StaticClass());
    TMemoryStream imageFile;
    source.SaveToStream(imageFile);
    const Word png = TPngImage().ClipboardFormat();
    ASSERT_TRUE(TPicture::SupportsClipboardFormat(png));
    ASSERT_EQ(KwGetClipboardFormats().FindFormat(png), nullptr);
    auto place = [&](const std::vector<std::pair<Word, std::vector<Byte>>>& items) {
        TClipboard& clipboard = Clipboard();
        clipboard.Open();
        clipboard.Clear();
        for (const auto& [format, bytes] : items)
            clipboard.SetAsBytes(format, bytes);
        clipboard.Close();
    };
    TKwImageIMKW target;
    place({{png, EncodedBytes<TPngImage>(8, 8)}, {KwImageClipboardFormat(), imageFile.Bytes()}});
    target.Image().LoadFromClipBoard();
    EXPECT_TRUE(target.Empty()) << "the PNG comes first and the table has no class for it";
    place({{KwImageClipboardFormat(), imageFile.Bytes()}, {png, EncodedBytes<TPngImage>(8, 8)}});
    target.Image().LoadFromClipBoard();
    EXPECT_EQ(target.Image().Width(), 5);
}

TEST_F(ImageFileTest, PictureStoresClassNameAndBitmapHeader) {
    TKwPicture picture;
    const auto pixels = Gradient(3, 2);
    picture.SetGraphic(pixels.get());
    TMemoryStream stream;
    picture.SaveToStream(stream);
    const std::vector<Byte>& bytes = stream.Bytes();
    ASSERT_GT(bytes.size(), 16u);
    EXPECT_EQ(bytes[0], 7);
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 8), "TBitmap");
    const std::uint32_t size = bytes[12] | (bytes[13] << 8) | (bytes[14] << 16);
    EXPECT_EQ(size, bytes.size() - 16);
    const std::vector<Byte> stored = bytes;

    int changes = 0;
    TKwPicture back;
    back.OnPictureChange = [&](TKwPicture&) { ++changes; };
    back.LoadFromStream(stream);
    ASSERT_NE(back.Graphic(), nullptr);
    EXPECT_EQ(back.Bitmap().Pixel(2, 1), pixels->Pixel(2, 1));
    EXPECT_GE(changes, 1);

    Fill(stream, {64, 'x'});
    back.LoadFromStream(stream);
    EXPECT_EQ(back.Graphic(), nullptr);

    // A dataset's blob field assigns its stored picture; an empty one clears.
    TMemoryDataSet data;
    data.AddFieldDef(u"Name", TFieldType::ftString);
    data.AddFieldDef(u"Photo", TFieldType::ftBlob);
    data.Open();
    data.AppendRecord({u"with"});
    data.Edit();
    data.FieldByName(u"Photo").SetAsBytes(stored);
    data.Post();
    back.Assign(data.FieldByName(u"Photo"));
    ASSERT_NE(back.Graphic(), nullptr);
    EXPECT_EQ(back.Bitmap().Pixel(2, 1), pixels->Pixel(2, 1));
    data.AppendRecord({u"without"});
    back.Assign(data.FieldByName(u"Photo"));
    EXPECT_EQ(back.Graphic(), nullptr);
    EXPECT_THROW(back.Assign(data.FieldByName(u"Name")), EConvertError);
}

}  // namespace
}  // namespace kw
