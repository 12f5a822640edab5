#include "golden.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/graphic.h"
#include "platform/text/unicode.h"
#include "test_paths.h"

namespace kw::test {
namespace {

bool Updating() {
    const char* update = std::getenv("KW_UPDATE_GOLDEN");
    return update != nullptr && std::string(update) == "1";
}

}  // namespace

void ExpectMatchesGolden(const TBitmap& picture, const std::string& name) {
    const std::filesystem::path file = std::filesystem::path(SourceDir()) / "tests" / name;
    if (Updating()) {
        std::filesystem::create_directories(file.parent_path());
        TPngImage png;
        png.Assign(&picture);
        png.SaveToFile(Utf8ToString(file.string()));
        return;
    }
    ASSERT_TRUE(std::filesystem::exists(file)) << file << ": run with KW_UPDATE_GOLDEN=1";
    TPngImage png;
    png.LoadFromFile(Utf8ToString(file.string()));
    TBitmap golden;
    golden.Assign(&png);
    ASSERT_EQ(golden.Width(), picture.Width()) << name;
    ASSERT_EQ(golden.Height(), picture.Height()) << name;
    int differing = 0;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x)
            differing += golden.Pixel(x, y) != picture.Pixel(x, y);
    }
    EXPECT_EQ(differing, 0) << name << ": pixels differ from the golden picture";
}

}  // namespace kw::test
