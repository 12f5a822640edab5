#include "display/memory_image.h"
#include "display_fixture.h"

namespace kw {
namespace {

class MemoryImageTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        StartApplication();
        main_ = std::make_unique<TKwPkgImages>();
        main_->SetPkgName(u"Main");
    }
    void TearDown() override {
        main_.reset();
        DisplayTest::TearDown();
    }
    void Watch(TKwMemoryImage& ref) {
        ref.OnChange = [this](TKwMemoryImage&) { ++changes_; };
    }
    static void Give(TKwPkgImagesImage& image, int w, int h) {
        LoadNative(image, EncodedBytes<TPngImage>(w, h), TPngImage::StaticClass());
    }

    std::unique_ptr<TKwPkgImages> main_;
    int changes_ = 0;
};

TEST_F(MemoryImageTest, EmptyImageResolvesToNothingUntilItGetsData) {
    TKwPkgImagesImage& image = main_->Images().Add(5);
    TKwMemoryImage ref;
    Watch(ref);
    KwReadPkgImage(u"Main", 5, ref);
    KwReadPkgImage(u"Main", 5, ref);
    EXPECT_EQ(changes_, 1);
    EXPECT_TRUE(ref.Empty());
    EXPECT_EQ(ref.Width(), 0);
    Give(image, 64, 16);
    EXPECT_EQ(changes_, 2);
    EXPECT_EQ(ref.Info(), &image);
    EXPECT_EQ(ref.Frames(), 4);
    EXPECT_EQ(ref.FrameWidth(), 16);
}

TEST_F(MemoryImageTest, ReadingAnotherImageKeepsTheCachedTargetUntilResolved) {
    TKwPkgImagesImage& first = main_->Images().Add(1);
    TKwPkgImagesImage& second = main_->Images().Add(2);
    Give(first, 8, 8);
    Give(second, 4, 4);
    TKwMemoryImage ref;
    KwReadPkgImage(u"Main", 1, ref);
    ASSERT_EQ(ref.Info(), &first);
    Watch(ref);
    KwReadPkgImage(u"Main", 2, ref);
    EXPECT_EQ(changes_, 1);
    EXPECT_FALSE(ref.Checked());
    EXPECT_EQ(ref.CachedTarget(), &first);
    EXPECT_EQ(ref.Info(), &second);
    // The package name is compared with its letter case.
    KwReadPkgImage(u"MAIN", 2, ref);
    EXPECT_EQ(changes_, 2);
}

TEST_F(MemoryImageTest, DeletedImageFallsSilentAndReturns) {
    Give(main_->Images().Add(1), 8, 8);
    TKwMemoryImage ref;
    ref.PkgId(u"Main", 1);
    ASSERT_NE(ref.Info(), nullptr);
    Watch(ref);
    main_->Images().Delete(0);
    EXPECT_EQ(changes_, 1);
    EXPECT_EQ(ref.Info(), nullptr);
    TKwPkgImagesImage& again = main_->Images().Add(1);
    EXPECT_EQ(ref.Info(), nullptr);
    Give(again, 4, 4);
    EXPECT_GE(changes_, 2);
    EXPECT_EQ(ref.Info(), &again);
}

TEST_F(MemoryImageTest, DefaultServesOnlyIncompleteReferences) {
    Give(system_->Images().Add(3), 16, 16);
    TKwMemoryImage ref(u"System", 3, true);
    EXPECT_EQ(ref.Id(), -2);
    EXPECT_EQ(ref.Info(), &*system_->Images().FindId(3));
    ref.PkgId(u"Main", 9);
    EXPECT_EQ(ref.Info(), nullptr);
    ref.SetPkgName(u" ");
    EXPECT_NE(ref.Info(), nullptr);
    EXPECT_FALSE(ref.Defined());
}

TEST_F(MemoryImageTest, AssignMakesDefaultsExplicitAndIgnoresCaseOnlyDifferences) {
    TKwMemoryImage source(u"System", 3, true);
    TKwMemoryImage target(u"User", 8, false);
    target.Assign(&source);
    EXPECT_EQ(target.PkgName(), u"System");
    EXPECT_EQ(target.Id(), 3);
    EXPECT_EQ(target.DefaultPkgName(), u"User");

    TKwMemoryImage lower;
    lower.PkgId(u"system", 3);
    Watch(target);
    target.Assign(&lower);
    EXPECT_EQ(changes_, 0);
    EXPECT_EQ(target.PkgName(), u"System");
    target.SetPkgName(u"SYSTEM");
    EXPECT_EQ(changes_, 0);
    EXPECT_EQ(target.PkgName(), u"SYSTEM");
}

TEST_F(MemoryImageTest, PackageLoadAndActivationReResolve) {
    TKwPkgImages source;
    Give(source.Images().Add(2), 10, 5);
    TMemoryStream file;
    source.SaveToStream(file);

    TKwMemoryImage ref;
    ref.PkgId(u"Main", 2);
    EXPECT_EQ(ref.Info(), nullptr);
    Watch(ref);
    main_->LoadFromStream(file);
    EXPECT_EQ(changes_, 1);
    EXPECT_EQ(ref.Width(), 10);

    TKwPkgImages rival;
    rival.SetPkgName(u"Main");
    EXPECT_EQ(ref.Width(), 10);
    rival.SetActive(true);
    EXPECT_EQ(ref.Info(), nullptr);
    main_->SetActive(true);
    EXPECT_EQ(ref.Width(), 10);
    main_->Clear();
    EXPECT_EQ(ref.Info(), nullptr);
}

TEST_F(MemoryImageTest, NothingResolvesWithoutApplication) {
    Give(main_->Images().Add(0), 4, 4);
    TKwMemoryImage ref;
    ref.PkgId(u"Main", 0);
    app_.reset();
    EXPECT_EQ(ref.Info(), nullptr);
    EXPECT_FALSE(ref.Checked());
    auto direct = TKwMemoryImage::CreatePtr(*main_->Images().FindId(0));
    EXPECT_TRUE(direct->Checked());
    EXPECT_EQ(direct->PkgName(), u"Main");
}

}  // namespace
}  // namespace kw
