#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "display/image_package.h"
#include "display/state.h"
#include "framework/state.h"
#include "kwpkg/image_kinds.h"
#include "kwpkg/package_json.h"
#include "kwsysimages/system_images.h"
#include "packages/state.h"
#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/graphic_registry.h"

namespace kw {
namespace {

using kwpkg::Json;

// The ids the library shows, by the size it draws them at.
const std::vector<int> kIconIds{2, 3, 4, 5};
const std::vector<int> kColourNavigatorIds{75, 76, 77, 78, 79, 80, 81, 82, 83, 84, 165};
const std::vector<int> kBlackNavigatorIds{128, 129, 130, 131, 132, 133, 134, 135, 136, 137, 166};
const std::vector<int> kWhiteNavigatorIds{138, 139, 140, 141, 142, 143, 144, 145, 146, 147, 167};

std::vector<int> ButtonIds() {
    std::vector<int> ids;
    for (int id = 9; id <= 21; ++id)
        ids.push_back(id);
    return ids;
}

// The 16-pixel glyphs: buttons and the three navigator sets.
std::vector<int> GlyphIds() {
    std::vector<int> ids = ButtonIds();
    for (const auto* group : {&kColourNavigatorIds, &kBlackNavigatorIds, &kWhiteNavigatorIds})
        ids.insert(ids.end(), group->begin(), group->end());
    return ids;
}

struct TDecoded {
    int width = 0, height = 0;
    std::vector<std::uint32_t> argb;  // straight alpha, rows top first
    std::uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
};

class KwSysImagesTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        KwResetFrameworkState();
        KwResetPackagesState();
        KwResetDisplayState();
        bytes_ = std::make_unique<kwpkg::TBytes>(kwsysimages::BuildSystemImagesPackage());
        package_ = std::make_unique<TKwPkgImages>();
        kwpkg::LoadQuietly(*package_, *bytes_);
    }
    static void TearDownTestSuite() {
        package_.reset();
        bytes_.reset();
    }

    static TDecoded Decode(int id) {
        const TKwPkgImagesImage* image = package_->Images().FindId(id);
        if (image == nullptr)
            return {};
        // The native PNG bytes, decoded with their alpha; the painter's bitmap stream is opaque.
        const auto* native = dynamic_cast<const TMemoryStream*>(image->ReadNativeStream());
        if (native == nullptr)
            return {};
        TMemoryStream copy;
        const std::vector<std::uint8_t> bytes = native->Bytes();
        copy.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        copy.SetPosition(0);
        const std::unique_ptr<TGraphic> png = CreateGraphic(*GraphicClassForExtension(u"png"));
        png->LoadFromStream(copy);
        const TBitmap* bitmap = png->PixelData();
        if (bitmap == nullptr)
            return {};
        TDecoded decoded{bitmap->Width(), bitmap->Height(), {}};
        decoded.argb.resize(static_cast<size_t>(decoded.width) * decoded.height);
        for (int y = 0; y < decoded.height; ++y)
            bitmap->ReadStraightRow(y, &decoded.argb[static_cast<size_t>(y) * decoded.width]);
        return decoded;
    }

    static std::unique_ptr<kwpkg::TBytes> bytes_;
    static std::unique_ptr<TKwPkgImages> package_;
};

std::unique_ptr<kwpkg::TBytes> KwSysImagesTest::bytes_;
std::unique_ptr<TKwPkgImages> KwSysImagesTest::package_;

std::uint8_t Alpha(std::uint32_t argb) {
    return static_cast<std::uint8_t>(argb >> 24);
}

TEST_F(KwSysImagesTest, EveryIdIsAPngOfItsSizeWithOneFrame) {
    std::map<int, int> expected;
    for (int id : kIconIds)
        expected[id] = 32;
    for (int id : GlyphIds())
        expected[id] = 16;
    ASSERT_EQ(package_->Images().Count(), static_cast<int>(expected.size()));
    for (const auto& [id, size] : expected) {
        SCOPED_TRACE(id);
        const TKwPkgImagesImage* image = package_->Images().FindId(id);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->GraphicName(), GraphicClassForExtension(u"png")->ClassName());
        EXPECT_EQ((TSize{image->Width(), image->Height()}), (TSize{size, size}));
        EXPECT_EQ(image->Frames(), 1);
        EXPECT_FALSE(image->Protected());
        // The PNG data must decode to the size the package records.
        const TDecoded pixels = Decode(id);
        EXPECT_EQ((TSize{pixels.width, pixels.height}), (TSize{size, size}));
    }
}

TEST_F(KwSysImagesTest, GlyphsAreVisibleAndKeepAClearBorder) {
    std::vector<int> ids = kIconIds;
    const std::vector<int> glyphs = GlyphIds();
    ids.insert(ids.end(), glyphs.begin(), glyphs.end());
    for (int id : ids) {
        const TDecoded pixels = Decode(id);
        ASSERT_GT(pixels.width, 2) << id;
        double covered = 0;  // in whole pixels
        for (int y = 0; y < pixels.height; ++y) {
            for (int x = 0; x < pixels.width; ++x) {
                const bool border =
                    x == 0 || y == 0 || x == pixels.width - 1 || y == pixels.height - 1;
                if (border)
                    EXPECT_EQ(Alpha(pixels.At(x, y)), 0) << id << " at " << x << "," << y;
                covered += Alpha(pixels.At(x, y)) / 255.0;
            }
        }
        // A glyph covers a real part of its square, not a speck and not all of it.
        const int area = pixels.width * pixels.height;
        EXPECT_GT(covered, area / 16) << id;
        EXPECT_LT(covered, area * 3 / 4) << id;
    }
}

TEST_F(KwSysImagesTest, NavigatorVariantsAreOneColourWithTheColourGlyphsShape) {
    for (size_t i = 0; i < kColourNavigatorIds.size(); ++i) {
        const TDecoded colour = Decode(kColourNavigatorIds[i]);
        const TDecoded black = Decode(kBlackNavigatorIds[i]);
        const TDecoded white = Decode(kWhiteNavigatorIds[i]);
        ASSERT_EQ(colour.argb.size(), black.argb.size());
        ASSERT_EQ(colour.argb.size(), white.argb.size());
        bool chromatic = false;
        for (size_t p = 0; p < colour.argb.size(); ++p) {
            const std::uint32_t c = colour.argb[p];
            if (Alpha(black.argb[p]) != 0)
                EXPECT_EQ(black.argb[p] & 0xFFFFFF, 0u) << kBlackNavigatorIds[i];
            if (Alpha(white.argb[p]) != 0)
                EXPECT_EQ(white.argb[p] & 0xFFFFFF, 0xFFFFFFu) << kWhiteNavigatorIds[i];
            EXPECT_EQ(Alpha(black.argb[p]), Alpha(c)) << kBlackNavigatorIds[i];
            EXPECT_EQ(Alpha(white.argb[p]), Alpha(black.argb[p])) << kWhiteNavigatorIds[i];
            const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
            chromatic |= Alpha(c) == 255 && std::max({r, g, b}) - std::min({r, g, b}) > 60;
        }
        EXPECT_TRUE(chromatic) << kColourNavigatorIds[i];
    }
}

// Within each set every image must differ clearly from the others, compared coarsely so that
// near-copies count as equal. The button and navigator sets may share a glyph of one meaning.
void ExpectAllDifferent(const std::vector<int>& ids, bool shapeOnly,
                        const std::function<TDecoded(int)>& decode) {
    std::map<std::vector<std::uint8_t>, int> seen;
    for (int id : ids) {
        std::vector<std::uint8_t> key;
        for (std::uint32_t p : decode(id).argb) {
            for (int shift = shapeOnly ? 24 : 0; shift < 32; shift += 8)
                key.push_back(static_cast<std::uint8_t>((p >> shift) & 0xFF) / 32);
        }
        const auto [at, added] = seen.emplace(key, id);
        EXPECT_TRUE(added) << id << " looks like " << at->second;
    }
}

TEST_F(KwSysImagesTest, DistinctGlyphsDiffer) {
    ExpectAllDifferent(kIconIds, false, Decode);
    ExpectAllDifferent(ButtonIds(), false, Decode);
    // The single-colour navigator glyphs have nothing but their shape to tell them apart.
    ExpectAllDifferent(kBlackNavigatorIds, true, Decode);
}

TEST_F(KwSysImagesTest, OutputIsStableAndIsTheImagesPackageJson) {
    EXPECT_EQ(kwsysimages::BuildSystemImagesPackage(), *bytes_);
    const Json json = kwsysimages::SystemImagesJson();
    EXPECT_EQ(json["kind"], "images");
    // Building the JSON with the package tool gives back the very same file.
    EXPECT_EQ(kwpkg::BuildImages(json), *bytes_);
}

TEST_F(KwSysImagesTest, DisplaySourceKeepsItsOtherMembersInOrder) {
    const Json source = Json::parse(
        R"({"kind": "display", "description": "x", "systemImages": {"kind": "images"},
            "colorSets": [1, 2]})");
    const Json result = kwsysimages::WithSystemImages(source);
    std::vector<std::string> keys;
    for (const auto& item : result.items())
        keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"kind", "description", "systemImages", "colorSets"}));
    EXPECT_EQ(result["colorSets"], source["colorSets"]);
    EXPECT_EQ(result["systemImages"], kwpkg::DumpImages(*bytes_));
    EXPECT_THROW(kwsysimages::WithSystemImages(Json::array()), kwpkg::TKwPkgError);
}

}  // namespace
}  // namespace kw
