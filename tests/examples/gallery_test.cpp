#include <gtest/gtest.h>

#include <SDL.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>

#include "controls/speed_button.h"
#include "dialogs/message_form.h"
#include "framework/application.h"
#include "gallery.h"
#include "gallery_view.h"
#include "packages/language_package.h"
#include "packages/strings_package.h"
#include "platform/core/files.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/device.h"
#include "platform/graphics/font_face.h"
#include "platform/graphics/graphic.h"
#include "platform/text/unicode.h"
#include "platform/ui/headless.h"
#include "test_paths.h"

namespace kw {
namespace {

class GalleryTest : public testing::Test {
protected:
    void SetUp() override { ResetWindowLayer(); }
    void TearDown() override { ResetWindowLayer(); }

    static String Packages() { return KwGalleryPackagesFolder(Utf8ToString(test::ReferenceDir())); }
    static std::unique_ptr<TBitmap> Picture(const String& language, const String& skin) {
        TKwGallery gallery(Packages(), language, skin);
        return gallery.Snapshot();
    }
};

bool SamePixels(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return false;
    return true;
}

// Draws `text` alone the way the gallery says it drew it and checks that exactly its ink, and
// nothing else of the text colour, shows inside the clip. A text in a tile keeps clear of the
// tile's rounded frame, which may share its colour, by a margin of up to five pixels.
void ExpectTextShows(const TBitmap& picture, const TKwGalleryText& text) {
    TBitmap alone(picture.Width(), picture.Height());
    TCanvas& canvas = alone.Canvas();
    canvas.Font().SetName(kBuiltInFontName);
    canvas.Font().SetHeight(-text.pixels);
    const int margin = std::clamp((text.clip.Height() - canvas.TextHeight(text.text)) / 2, 0, 5);
    const TRect inner(text.clip.Left + margin, text.clip.Top + margin, text.clip.Right - margin,
                      text.clip.Bottom - margin);
    const TColor ink = ColorToRGB(text.color), paper = ink ^ 0xFFFFFF;
    canvas.Brush().Color = paper;
    canvas.FillRect(TRect(0, 0, alone.Width(), alone.Height()));
    canvas.Font().SetColor(ink);
    canvas.TextRect(text.clip, text.origin.X, text.origin.Y, text.text);
    int inkPixels = 0, mismatches = 0;
    for (int y = inner.Top; y < inner.Bottom; ++y) {
        for (int x = inner.Left; x < inner.Right; ++x) {
            const bool expected = alone.Pixel(x, y) == ink;
            inkPixels += expected;
            const bool differs = expected != (picture.Pixel(x, y) == ink);
            mismatches += differs;
        }
    }
    EXPECT_GT(inkPixels, 0) << StringToUtf8(text.text);
    EXPECT_EQ(mismatches, 0) << StringToUtf8(text.text);
}

TEST_F(GalleryTest, EveryLanguageShowsTheCaptionsItsPackageHolds) {
    std::set<String> seen;
    for (const String& language : KwGalleryLanguages()) {
        TKwGallery gallery(Packages(), language, u"standard");
        gallery.View().Invalidate();
        gallery.Repaint();
        const std::unique_ptr<TBitmap> picture = gallery.Snapshot();
        const auto& labels = gallery.Application().PkgLanguage().SystemStrings().Labels();
        for (int id : {0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}) {
            ASSERT_NE(labels.FindId(id), nullptr) << id;
            const String& held = labels.FindId(id)->Text();
            seen.insert(held);
            const auto& texts = gallery.View().PaintedTexts();
            const auto found =
                std::find_if(texts.begin(), texts.end(), [&](const TKwGalleryText& t) {
                    return t.text == held || t.text.ends_with(u" - " + held);
                });
            ASSERT_NE(found, texts.end()) << StringToUtf8(language) << " " << id;
            ExpectTextShows(*picture, *found);
        }
    }
    // The languages really differ: five names for the language, and more.
    EXPECT_GT(seen.size(), 5u * 5);
}

TEST_F(GalleryTest, PicturesDifferBetweenLanguagesAndSkinsAndAllAreWritten) {
    const auto english = Picture(u"English", u"standard");
    const auto german = Picture(u"German", u"standard");
    const auto dark = Picture(u"English", u"dark");
    EXPECT_FALSE(SamePixels(*english, *german));
    EXPECT_FALSE(SamePixels(*english, *dark));
    EXPECT_FALSE(SamePixels(*german, *dark));

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kwgallery-out-" + std::to_string(getpid()));
    const std::vector<String> files = KwRenderGallery(Packages(), Utf8ToString(folder.string()));
    ASSERT_EQ(files.size(), KwGalleryLanguages().size() * KwGallerySkins().size() + 1);
    std::vector<std::unique_ptr<TBitmap>> loaded;
    for (const String& file : files) {
        TPngImage png;
        png.LoadFromFile(file);
        loaded.push_back(std::make_unique<TBitmap>());
        loaded.back()->Assign(&png);
        for (size_t i = 0; i + 1 < loaded.size(); ++i)
            EXPECT_FALSE(SamePixels(*loaded[i], *loaded.back())) << StringToUtf8(file);
    }
    // Each written picture is what a gallery started in that look shows.
    TPngImage written;
    written.LoadFromFile(Utf8ToString((folder / "dark-Italian.png").string()));
    TBitmap fromFile;
    fromFile.Assign(&written);
    EXPECT_TRUE(SamePixels(fromFile, *Picture(u"Italian", u"dark")));
    std::filesystem::remove_all(folder);
}

TEST_F(GalleryTest, SwitchingLiveGivesThePixelsOfAFreshStart) {
    struct Step {
        const char16_t* language;
        const char16_t* skin;
    };
    std::vector<std::unique_ptr<TBitmap>> live;
    {
        TKwGallery gallery(Packages(), u"English", u"standard");
        for (Step step :
             {Step{u"German", u"dark"}, Step{u"French", u"dark"}, Step{u"French", u"standard"}}) {
            const int paints = gallery.View().PaintCount();
            gallery.Switch(step.language, step.skin);
            gallery.Repaint();
            EXPECT_GT(gallery.View().PaintCount(), paints);  // the packages asked for it
            live.push_back(gallery.Snapshot());
        }
    }
    EXPECT_TRUE(SamePixels(*live[0], *Picture(u"German", u"dark")));
    EXPECT_TRUE(SamePixels(*live[1], *Picture(u"French", u"dark")));
    EXPECT_TRUE(SamePixels(*live[2], *Picture(u"French", u"standard")));
}

TEST_F(GalleryTest, TheSwitchButtonsSwitchAndTheScriptedWindowRunMatchesAFreshStart) {
    TKwGallery gallery(Packages(), u"English", u"standard");
    const TRect italian = TKwGalleryView::SwitchRect(3);
    ClickAt(gallery.View(), TPoint{italian.Left + 5, italian.Top + 5});
    EXPECT_EQ(gallery.Language(), u"Italian");
    const TRect dark = TKwGalleryView::SwitchRect(TKwGalleryView::SwitchCount() - 1);
    ClickAt(gallery.View(), TPoint{dark.Left + 5, dark.Top + 5});
    EXPECT_EQ(gallery.Skin(), u"dark");
    EXPECT_EQ(gallery.Application().PkgLanguage().FileName(), u"Italian.lan");

    // The program itself, in a real SDL window under the dummy driver.
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kwgallery-window-" + std::to_string(getpid()));
    const std::string command = "SDL_VIDEODRIVER=dummy " + test::BinaryDir() +
                                "/bin/kwgallery --window --script --out " + folder.string() +
                                " > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    for (const char* name : {"window-before.png", "window-after.png", "window-fresh.png"})
        EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
    std::filesystem::remove_all(folder);
}

// Each message button opens its kind of box in the active language; the script answers it.
TEST_F(GalleryTest, MessageButtonsOpenTheirBoxInTheActiveLanguage) {
    TKwGallery gallery(Packages(), u"Italian", u"dark");
    const String error = gallery.View().LabelText(17);
    ASSERT_FALSE(error.empty());
    const TKwSpeedButton* button = nullptr;
    std::vector<TComponent*> pending{&gallery.Form()};
    while (!pending.empty() && button == nullptr) {
        TComponent* owner = pending.back();
        pending.pop_back();
        for (int i = 0; i < owner->ComponentCount(); ++i) {
            auto* b = dynamic_cast<TKwSpeedButton*>(owner->Components(i));
            if (b != nullptr && b->ShownCaption() == error)
                button = b;
            pending.push_back(owner->Components(i));
        }
    }
    ASSERT_NE(button, nullptr);
    std::vector<String> lines;
    Headless().ModalAnswers.push_back([&](TCustomForm& form) {
        lines = dynamic_cast<TFrMessage&>(form).Lines();
        form.SetModalResult(mrCancel);
    });
    ClickAt(*button, {5, 5});
    EXPECT_TRUE(Headless().ModalAnswers.empty());
    ASSERT_EQ(lines.size(), 1u);
    // The box ends a sentence with a period.
    EXPECT_EQ(lines.front(), error + u".");
}

}  // namespace
}  // namespace kw
