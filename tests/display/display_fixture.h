#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "display/image_package.h"
#include "display/state.h"
#include "framework/application.h"
#include "framework/errors.h"
#include "framework/state.h"
#include "package_bytes.h"
#include "packages/package_scopes.h"
#include "packages/state.h"
#include "platform/core/filer.h"
#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/clipboard.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/region.h"
#include "platform/ui/application.h"
#include "support/pkg_stream.h"

namespace kw {

// Clean process-wide state around each test, and an application object whose "System" and
// "User" images are two packages of the test.
class DisplayTest : public testing::Test {
protected:
    void SetUp() override { ResetAll(); }
    void TearDown() override {
        app_.reset();
        system_.reset();
        user_.reset();
        ResetAll();
    }
    static void ResetAll() {
        KwResetFrameworkState();
        KwResetPackagesState();
        KwResetDisplayState();
        Application().Reset();
        Clipboard().Reset();
        KwSetMessageLookup(nullptr);
    }

    void StartApplication() {
        app_ = std::make_unique<TKwCApplication>();
        system_ = std::make_unique<TKwPkgImages>();
        user_ = std::make_unique<TKwPkgImages>();
        KwSetImagesHost({[this](TKwCApplication&, bool system) {
            return system ? system_.get() : user_.get();
        }});
    }

    std::unique_ptr<TKwCApplication> app_;
    std::unique_ptr<TKwPkgImages> system_;
    std::unique_ptr<TKwPkgImages> user_;
};

// A w x h bitmap whose pixel (x, y) has red x and green y.
inline std::unique_ptr<TBitmap> Gradient(int w, int h) {
    auto bitmap = std::make_unique<TBitmap>(w, h, TPixelFormat::pf32bit);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            bitmap->SetPixel(x, y, RGB(static_cast<Byte>(x * 8), static_cast<Byte>(y * 8), 64));
    }
    return bitmap;
}

// The bytes of a graphic of class G encoded from a w x h bitmap.
template <class G>
std::vector<Byte> EncodedBytes(int w, int h) {
    const auto pixels = Gradient(w, h);
    G graphic;
    graphic.Assign(pixels.get());
    TMemoryStream stream;
    graphic.SaveToStream(stream);
    return stream.Bytes();
}

// An image file of `version` holding a 2 x 1 bitmap, written field by field as that version did.
inline std::vector<Byte> OldImageFile(int version, StringView word = u"KwPkgImage",
                                      std::int32_t claimedLength = -1) {
    const std::vector<Byte> native = EncodedBytes<TBitmap>(2, 1);
    const std::vector<Byte> mask = TRegion(TRect(0, 0, 1, 1)).RegionData();
    test::PkgStream file;
    file.Header(word, version).Raw({5, 0, 0, 0, 2, 0, 1, 0}).Text(u"TBitmap").Boolean(false);
    file.Integer(claimedLength >= 0 ? claimedLength : static_cast<std::int32_t>(native.size()));
    file.Raw(native).Integer(static_cast<std::int32_t>(mask.size())).Raw(mask);
    file.Booleans({true, true, true});
    if (version >= 5)
        file.Integers({9, 9, 9, 9, 9, 9, 9, 9});
    return file.Bytes();
}

inline void Fill(TMemoryStream& stream, const std::vector<Byte>& bytes) {
    stream.Clear();
    if (!bytes.empty())
        stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
}

inline void LoadNative(TKwPkgImagesImage& image, const std::vector<Byte>& bytes,
                       const TClass& graphicClass) {
    TMemoryStream stream;
    Fill(stream, bytes);
    image.LoadFromStream(stream, &graphicClass);
}

inline std::vector<Byte> NativeBytes(const TKwPkgImagesImage& image) {
    TMemoryStream stream;
    image.SaveToStream(stream);
    return stream.Bytes();
}

}  // namespace kw
