#include "display/state.h"
#include "framework/state.h"
#include "kwpkg/image_kinds.h"
#include "kwpkg/picture_files.h"
#include "kwpkg_fixture.h"
#include "packages/state.h"
#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/ui/screen.h"

namespace kw {
namespace {

namespace fs = std::filesystem;

// Image entries that name PNG files beside the source, as a skin's sources do.
class KwPkgPicturesTest : public test::KwPkgToolTest {
protected:
    void SetUp() override {
        KwResetFrameworkState();
        KwResetPackagesState();
        KwResetDisplayState();
        Screen().SetPixelsPerInch(96);
        KwPkgToolTest::SetUp();
        folder_ = dir_.string();
        fs::create_directories(dir_ / "images");
        TBitmap bitmap(6, 4);
        bitmap.Canvas().Brush().Color = RGB(200, 30, 60);
        bitmap.Canvas().FillRect(TRect(0, 0, 6, 4));
        TPngImage png;
        png.Assign(&bitmap);
        TMemoryStream stream;
        png.SaveToStream(stream);
        picture_ = stream.Bytes();
        Write("images/red.png", std::string(picture_.begin(), picture_.end()));
    }

    static std::string Images(const std::string& entry) {
        return R"({"kind": "images", "version": 7, "images": [)" + entry + "]}";
    }

    std::string folder_;
    kwpkg::TBytes picture_;
};

TEST_F(KwPkgPicturesTest, AFileEntryBuildsTheSameImageAsItsInlineBytesWithItsCorners) {
    const kwpkg::TBytes file = kwpkg::BuildFile(Images(R"({"id": 4, "file": "images/red.png",
                   "skin": {"adjusts": true, "corners": [3, 1, 2, 1, 1, 2, 1, 3]}})"),
                                                folder_);
    // The stored image is the picture's own bytes, with its size and the given slices.
    EXPECT_EQ(kwpkg::ExportImage(file, 4, false), picture_);
    const kwpkg::Json dumped = kwpkg::Json::parse(kwpkg::DumpText(file));
    const kwpkg::Json& image = dumped["images"][0];
    EXPECT_EQ(image["width"], 6);
    EXPECT_EQ(image["height"], 4);
    EXPECT_EQ(image["skin"]["corners"], kwpkg::Json::parse("[3, 1, 2, 1, 1, 2, 1, 3]"));
    // The dump, with the bytes inline, builds the same file again.
    EXPECT_EQ(kwpkg::BuildFile(dumped.dump()), file);
}

TEST_F(KwPkgPicturesTest, BadPicturesAndEntriesAreRefusedNamingTheEntry) {
    Write("images/broken.png", std::string(picture_.begin(), picture_.begin() + 20));
    Write("images/text.png", "just words");
    fs::resize_file(Write("images/huge.png", ""), kwpkg::kMaxPictureBytes + 1);
    const std::pair<const char*, const char*> cases[] = {
        {R"({"id": 0, "file": "images/none.png"})", "images[0].file"},
        {R"({"id": 0, "file": "images/broken.png"})", "not a readable PNG"},
        {R"({"id": 0, "file": "images/text.png"})", "not a readable PNG"},
        {R"({"id": 0, "file": "images/huge.png"})", "larger than"},
        {R"({"id": 0, "file": "images/red.bmp"})", ".png"},
        {R"({"id": 0, "file": "images/red.png", "native": ""})", "not both"},
        {R"({"id": 0, "file": 7})", "expected the name"}};
    for (const auto& [entry, reason] : cases) {
        const std::string error =
            test::ErrorOf([&, text = entry] { kwpkg::BuildFile(Images(text), folder_); });
        EXPECT_NE(error.find(reason), std::string::npos) << entry << ": " << error;
    }
    // Text that came from no file has no folder to take pictures from.
    EXPECT_NE(test::ErrorOf([&] {
                  kwpkg::BuildFile(Images(R"({"id": 0, "file": "images/red.png"})"), "");
              }).find("source file"),
              std::string::npos);
}

TEST_F(KwPkgPicturesTest, DisplaySourcesResolveBothImagePackages) {
    const std::string json = R"({"kind": "display", "version": 9,
        "systemImages": {"kind": "images", "version": 7, "images": [{"id": 1, "file": "images/red.png"}]},
        "userImages": {"kind": "images", "version": 7, "images": [{"id": 2, "file": "images/red.png"}]}})";
    const kwpkg::Json dumped = kwpkg::Json::parse(kwpkg::DumpText(kwpkg::BuildFile(json, folder_)));
    for (const char* key : {"systemImages", "userImages"}) {
        ASSERT_EQ(dumped[key]["images"].size(), 1u) << key;
        EXPECT_EQ(dumped[key]["images"][0]["width"], 6) << key;
    }
}

}  // namespace
}  // namespace kw
