#include "display/image_package.h"
#include "display/memory_image.h"
#include "display_fixture.h"
#include "platform/text/string_list.h"
#include "platform/text/unicode.h"
#include "platform/ui/form.h"

namespace kw {
namespace {

using ImagePackageTest = DisplayTest;

TEST_F(ImagePackageTest, IdsAreCheckedAlsoWhileLoading) {
    TKwPkgImages package;
    package.Images().Add(3);
    EXPECT_EQ(MessageIdOf([&] { package.Images().Add(10000); }), 23);
    EXPECT_EQ(MessageIdOf([&] { package.Images().Add(-1); }), 22);
    EXPECT_EQ(MessageIdOf([&] { package.Images().Add(3); }), 24);
    TKwLoadingScope loading(package);
    EXPECT_EQ(MessageIdOf([&] { package.Images().Add(3); }), 24);
}

TEST_F(ImagePackageTest, UniqueIdFindsFirstGapAndIdChangesReindex) {
    TKwPkgImages package;
    TKwPkgImagesImages& images = package.Images();
    EXPECT_EQ(images.UniqueId(), 0);
    for (int id : {0, 1, 3})
        images.Add(id);
    EXPECT_EQ(images.UniqueId(), 2);
    images.Add(2);
    images.Add(4);
    EXPECT_EQ(images.UniqueId(), 5);
    images.FindId(4)->SetId(7);
    EXPECT_EQ(images.FindId(4), nullptr);
    EXPECT_EQ(images.FindId(7)->Id(), 7);
    EXPECT_EQ(MessageIdOf([&] { images.FindId(7)->SetId(0); }), 24);
    images.Delete(0);
    EXPECT_EQ(images.FindId(0), nullptr);
    EXPECT_EQ(images.Count(), 4);
}

TEST_F(ImagePackageTest, FramesOfStrips) {
    EXPECT_EQ(KwImageFrames(64, 16), 4);
    EXPECT_EQ(KwImageFrames(80, 16), 1);
    EXPECT_EQ(KwImageFrames(50, 16), 1);
    EXPECT_EQ(KwImageFrames(48, 20), 1);
    EXPECT_EQ(KwImageFrames(0, 0), 1);
    TKwPkgImages package;
    TKwPkgImagesImage& image = package.Images().Add(0);
    LoadNative(image, EncodedBytes<TPngImage>(48, 16), TPngImage::StaticClass());
    EXPECT_EQ(image.Frames(), 3);
    EXPECT_EQ(image.FrameWidth(), 16);
}

TEST_F(ImagePackageTest, ReadStreamGivesNativeOrRenderedBitmap) {
    TKwPkgImages package;
    TKwPkgImagesImage& png = package.Images().Add(0);
    const std::vector<Byte> pngBytes = EncodedBytes<TPngImage>(6, 4);
    LoadNative(png, pngBytes, TPngImage::StaticClass());
    TMemoryStream* native = static_cast<TMemoryStream*>(png.ReadStream(false));
    EXPECT_EQ(native->Bytes(), pngBytes);
    TBitmap rendered;
    rendered.LoadFromStream(*png.ReadStream(true));
    EXPECT_EQ(rendered.Width(), 6);
    EXPECT_EQ(rendered.Pixel(5, 3), Gradient(6, 4)->Pixel(5, 3));

    TKwPkgImagesImage& bmp = package.Images().Add(1);
    const std::vector<Byte> bmpBytes = EncodedBytes<TBitmap>(2, 2);
    LoadNative(bmp, bmpBytes, TBitmap::StaticClass());
    EXPECT_EQ(static_cast<TMemoryStream*>(bmp.ReadStream(true))->Bytes(), bmpBytes);

    TKwPkgImagesImage& gif = package.Images().Add(2);
    LoadNative(gif, EncodedBytes<TGIFImage>(5, 3), TGIFImage::StaticClass());
    EXPECT_EQ(gif.Width(), 5);
    TBitmap fromGif;
    KwReadPkgBitmap(u"", 2, &fromGif);
    EXPECT_TRUE(fromGif.Empty());
    package.SetPkgName(u"Main");
    KwReadPkgBitmap(u"main", 2, &fromGif);
    EXPECT_EQ(fromGif.Height(), 3);
}

// A package file of `version`: one image record of that version, then the trailing fields.
std::vector<Byte> OldPackageFile(int version, StringView word = u"KwPkgImages") {
    test::PkgStream file;
    file.Header(word, version).Text(u"Old images").Integer(1).Raw({9, 0, 0, 0, 4, 0, 2, 0});
    file.Text(u"TNoSuchGraphic");
    if (version >= 2)
        file.Boolean(false);
    file.Integer(3).Raw({'a', 'b', 'c'});
    if (version >= 2)
        file.Integer(0);
    if (version >= 3)
        file.Booleans({false, false, false})
            .Integers({100, 101, 102, 103, 104, 105, 106, 107, 108, 109});
    return file.Bytes();
}

TEST_F(ImagePackageTest, PackageFileVersions) {
    TKwPkgImages package;
    LoadBytes(package, OldPackageFile(2));
    EXPECT_EQ(package.Description(), u"Old images");
    TKwPkgImagesImage* image = package.Images().FindId(9);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GraphicClass(), nullptr);
    EXPECT_EQ(image->GraphicName(), u"TNoSuchGraphic");
    EXPECT_EQ(image->Width(), 4);
    EXPECT_EQ(image->ReadStream(false), nullptr);
    EXPECT_EQ(package.DesignWindow().left, TKwDesignWindow::kNotPlaced);
    EXPECT_EQ(package.MaskWindow().zoom, 1);

    LoadBytes(package, OldPackageFile(3, u"kwpkgIMAGES"));
    EXPECT_EQ(package.DesignWindow().left, 100);
    EXPECT_EQ(package.MaskWindow().zoom, 108);
    EXPECT_EQ(package.MaskWindow().state, 109);
}

TEST_F(ImagePackageTest, SavedPackageLoadsBackIdentically) {
    TKwPkgImages package;
    package.SetDescription(u"Skins");
    TKwPkgImagesImage& image = package.Images().Add(42);
    LoadNative(image, EncodedBytes<TPngImage>(8, 8), TPngImage::StaticClass());
    const TRegion outer(TRect(1, 1, 7, 7));
    image.CreateExternalMask(&outer);
    image.Skin().left2 = 3;
    image.SetProtected(true);
    package.Images().Add(7);
    package.MaskWindow().diagonals = false;
    package.DesignWindow().state = 2;
    const std::vector<Byte> bytes = SavedBytes(package);

    TKwPkgImages copy;
    LoadBytes(copy, bytes);
    ASSERT_EQ(copy.Images().Count(), 2);
    EXPECT_EQ(copy.Images().Items(0).Id(), 42);
    EXPECT_EQ(copy.Images().FindId(42)->Skin().left2, 3);
    EXPECT_TRUE(copy.Images().FindId(42)->Protected());
    EXPECT_TRUE(copy.Images().FindId(7)->Empty());
    EXPECT_FALSE(copy.MaskWindow().diagonals);
    EXPECT_EQ(SavedBytes(copy), bytes);
}

TEST_F(ImagePackageTest, LookupsAndActive) {
    StartApplication();
    TKwPkgImages first;
    TKwPkgImages second;
    TKwPkgImages other;
    first.SetPkgName(u"Main");
    second.SetPkgName(u"main");
    other.SetPkgName(u"Other");
    EXPECT_TRUE(first.Active());
    EXPECT_FALSE(second.Active());
    EXPECT_EQ(KwFindPkgImages(u"MAIN"), &first);
    EXPECT_EQ(KwFindPkgImages(u"system"), system_.get());
    EXPECT_EQ(KwFindPkgImages(u"User"), user_.get());
    EXPECT_EQ(KwFindPkgImages(u"  "), nullptr);

    second.SetActive(true);
    EXPECT_TRUE(second.Active());
    EXPECT_EQ(KwFindPkgImages(u"main"), &second);
    second.SetActive(false);
    EXPECT_TRUE(first.Active());

    TStringList names;
    KwPkgImagesActives(names);
    // The application object's display package brings its "System" and "User" packages.
    ASSERT_EQ(names.Count(), 4);
    for (const Char* name : {u"Main", u"Other", u"System", u"User"})
        EXPECT_GE(names.IndexOf(name), 0) << StringToUtf8(name);

    app_.reset();
    EXPECT_EQ(KwFindPkgImages(u"System"), nullptr);
}

TEST_F(ImagePackageTest, ReservedNamesAreRefused) {
    TForm form;
    auto& onForm = Create<TKwPkgImages>(form);
    EXPECT_EQ(MessageIdOf([&] { onForm.SetPkgName(u"system"); }), 67);
    TKwPkgImages loose;
    EXPECT_EQ(MessageIdOf([&] { loose.SetPkgName(u"USER"); }), 67);
    EXPECT_EQ(MessageIdOf([&] { loose.SetPkgName(u"System"); }), 0);
    onForm.SetPkgName(u"Main");
    TStringList all;
    KwPkgImagesAll(all);
    ASSERT_EQ(all.Count(), 1);
    EXPECT_EQ(all.Objects(0), &onForm);
}

TEST_F(ImagePackageTest, SystemUpdateKeepsProtectedAndMissingImages) {
    TKwPkgImages target;
    TKwPkgImagesImage& kept = target.Images().Add(1);
    LoadNative(kept, EncodedBytes<TPngImage>(4, 4), TPngImage::StaticClass());
    kept.SetProtected(true);
    TKwPkgImagesImage& replaced = target.Images().Add(2);
    LoadNative(replaced, EncodedBytes<TPngImage>(4, 4), TPngImage::StaticClass());
    target.Images().Add(3);

    TKwPkgImages source;
    for (int id : {1, 2, 5}) {
        TKwPkgImagesImage& image = source.Images().Add(id);
        LoadNative(image, EncodedBytes<TPngImage>(8, 2), TPngImage::StaticClass());
        const TRegion mask(TRect(0, 0, 2, 2));
        image.CreateInternalMask(&mask);
        image.Skin().up1 = 5;
    }
    std::vector<int> shown;
    KwUpdateSystemImages(target, source, [&](int index, int) { shown.push_back(index); });
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(kept.Width(), 4);
    EXPECT_TRUE(kept.Protected());
    EXPECT_EQ(replaced.Width(), 8);
    EXPECT_TRUE(replaced.InternalMask());
    EXPECT_EQ(replaced.Skin().up1, 5);
    EXPECT_NE(target.Images().FindId(3), nullptr);
    EXPECT_EQ(target.Images().FindId(5)->Height(), 2);
}

}  // namespace
}  // namespace kw
