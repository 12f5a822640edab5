#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "display/state.h"
#include "framework/state.h"
#include "kwpkg/image_kinds.h"
#include "kwpkg/kinds.h"
#include "kwpkg/picture_files.h"
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
class KwPkgPicturesTest : public testing::Test {
protected:
    void SetUp() override {
        KwResetFrameworkState();
        KwResetPackagesState();
        KwResetDisplayState();
        Screen().SetPixelsPerInch(96);
        folder_ = fs::temp_directory_path() /
                  ("kwpkg-pictures-" + std::to_string(getpid()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_ / "images");
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
    void TearDown() override { fs::remove_all(folder_); }

    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder_ / name, std::ios::binary) << bytes;
    }
    static std::string Images(const std::string& entry) {
        return R"({"kind": "images", "version": 7, "images": [)" + entry + "]}";
    }
    std::string ErrorOf(const std::string& json, bool withFolder = true) {
        try {
            kwpkg::BuildFile(json, withFolder ? folder_.string() : std::string());
        } catch (const std::exception& error) {
            return kwpkg::DescribeError(error);
        }
        return "no error";
    }

    fs::path folder_;
    kwpkg::TBytes picture_;
};

TEST_F(KwPkgPicturesTest, AFileEntryBuildsTheSameImageAsItsInlineBytesWithItsCorners) {
    const kwpkg::TBytes file = kwpkg::BuildFile(Images(R"({"id": 4, "file": "images/red.png",
                   "skin": {"adjusts": true, "corners": [3, 1, 2, 1, 1, 2, 1, 3]}})"),
                                                folder_.string());
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
    EXPECT_NE(ErrorOf(Images(R"({"id": 0, "file": "images/none.png"})")).find("images[0].file"),
              std::string::npos);
    Write("images/broken.png", std::string(picture_.begin(), picture_.begin() + 20));
    EXPECT_NE(
        ErrorOf(Images(R"({"id": 0, "file": "images/broken.png"})")).find("not a readable PNG"),
        std::string::npos);
    Write("images/text.png", "just words");
    EXPECT_NE(ErrorOf(Images(R"({"id": 0, "file": "images/text.png"})")).find("not a readable PNG"),
              std::string::npos);
    fs::resize_file(fs::path(folder_ / "images/text.png"), kwpkg::kMaxPictureBytes + 1);
    EXPECT_NE(ErrorOf(Images(R"({"id": 0, "file": "images/text.png"})")).find("larger than"),
              std::string::npos);
    EXPECT_NE(ErrorOf(Images(R"({"id": 0, "file": "images/red.bmp"})")).find(".png"),
              std::string::npos);
    EXPECT_NE(
        ErrorOf(Images(R"({"id": 0, "file": "images/red.png", "native": ""})")).find("not both"),
        std::string::npos);
    EXPECT_NE(ErrorOf(Images(R"({"id": 0, "file": 7})")).find("expected the name"),
              std::string::npos);
    // Text that came from no file has no folder to take pictures from.
    EXPECT_NE(ErrorOf(Images(R"({"id": 0, "file": "images/red.png"})"), false).find("source file"),
              std::string::npos);
}

TEST_F(KwPkgPicturesTest, DisplaySourcesResolveBothImagePackages) {
    const std::string json = R"({"kind": "display", "version": 9,
        "systemImages": {"kind": "images", "version": 7, "images": [{"id": 1, "file": "images/red.png"}]},
        "userImages": {"kind": "images", "version": 7, "images": [{"id": 2, "file": "images/red.png"}]}})";
    const kwpkg::Json dumped =
        kwpkg::Json::parse(kwpkg::DumpText(kwpkg::BuildFile(json, folder_.string())));
    for (const char* key : {"systemImages", "userImages"}) {
        ASSERT_EQ(dumped[key]["images"].size(), 1u) << key;
        EXPECT_EQ(dumped[key]["images"][0]["width"], 6) << key;
    }
}

}  // namespace
}  // namespace kw
