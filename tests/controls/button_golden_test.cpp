#include <functional>

#include "buttons_fixture.h"
#include "controls/bit_btn.h"
#include "controls/speed_button.h"
#include "display/display_package.h"
#include "display/display_sets.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/ui/input.h"
#include "support/golden.h"

namespace kw::test {
namespace {

// Each state of a button drawn with the standard skin in the fixed-metric font, side by side.
class ButtonGoldenTest : public ButtonsTest {
protected:
    void SetUp() override {
        ButtonsTest::SetUp();
        app = std::make_unique<TKwCApplication>();
        LoadLanguage(*app, "English.lan");
        app->PkgDisplay().LoadFromFile(Reference("standard.dis"));
        auto* font =
            static_cast<TKwPkgDisplaySetFont*>(app->PkgDisplay().SetsFont().FindSet(u"Dft_Font"));
        ASSERT_NE(font, nullptr);
        TFont fixed(font->Font());
        fixed.SetName(u"Kw Fixed");
        font->SetFont(fixed);
        form->SetBounds(100, 100, 120, 40);
    }
    void TearDown() override {
        app.reset();
        ButtonsTest::TearDown();
    }

    using TState = std::function<void(TControl& button)>;

    // Renders `make`'s button once per state into one row, 4 pixels apart.
    std::unique_ptr<TBitmap> Row(const std::function<TControl&()>& make,
                                 const std::vector<TState>& states, int width, int height) {
        auto result =
            std::make_unique<TBitmap>(static_cast<int>(states.size()) * (width + 4), height + 4);
        TBitmap& row = *result;
        row.Canvas().Brush().Color = clWhite;
        row.Canvas().FillRect(TRect(0, 0, row.Width(), row.Height()));
        for (size_t i = 0; i < states.size(); ++i) {
            TControl& button = make();
            button.SetBounds(2, 2, width, height);
            form->PaintNow();
            states[i](button);
            form->PaintNow();
            const TBitmap* surface = form->Surface();
            for (int y = 0; y < height + 4; ++y) {
                for (int x = 0; x < width + 4; ++x)
                    row.SetPixel(static_cast<int>(i) * (width + 4) + x, y, surface->Pixel(x, y));
            }
            delete &button;
        }
        return result;
    }

    std::unique_ptr<TKwCApplication> app;
};

TEST_F(ButtonGoldenTest, SpeedButtonStates) {
    auto make = [this]() -> TControl& {
        auto* b = new TKwSpeedButton(nullptr);
        b->SetParent(form);
        b->SetCaption(u"&Go");
        return *b;
    };
    auto dropDown = [](TControl& c) {
        static_cast<TKwSpeedButton&>(c).ButtonDown().SetVisible(true);
    };
    const std::vector<TState> states = {
        [](TControl&) {},
        [](TControl& c) {
            MouseMoveTo(c, {5, 5});
        },
        [](TControl& c) {
            MouseDownAt(c, {5, 5});
        },
        [](TControl& c) {
            auto& b = static_cast<TKwSpeedButton&>(c);
            b.SetGroupIndex(1);
            b.SetDown(true);
        },
        [](TControl& c) { static_cast<TKwSpeedButton&>(c).SetEnabled(false); },
        [](TControl& c) { static_cast<TKwSpeedButton&>(c).SetFlat(true); },
        [](TControl& c) { static_cast<TKwSpeedButton&>(c).SetShadow(true); },
        dropDown,
        [dropDown](TControl& c) {
            dropDown(c);
            MouseDownAt(c, {c.Width() - 4, 5});
        },
    };
    const auto row = Row(make, states, 48, 22);
    MouseUpAt(*form, {0, 0});
    ExpectMatchesGolden(*row, "controls/golden/speed_button_states.png");
}

TEST_F(ButtonGoldenTest, BitButtonStates) {
    auto make = [this]() -> TControl& {
        auto* b = new TKwBitBtn(nullptr);
        b->SetParent(form);
        b->SetKind(bkiOK);
        b->SetFocusStyle(fcsDouble);
        b->SetDefaultStyle(fcsInLine);
        return *b;
    };
    const std::vector<TState> states = {
        [](TControl&) {},
        [](TControl& c) {
            MouseMoveTo(c, {5, 5});
        },
        [](TControl& c) {
            MouseDownAt(c, {5, 5});
        },
        [](TControl& c) { static_cast<TKwBitBtn&>(c).SetEnabled(false); },
        [](TControl& c) { static_cast<TKwBitBtn&>(c).SetFocus(); },
        [](TControl& c) { static_cast<TKwBitBtn&>(c).SetDefault(true); },
        [](TControl& c) { static_cast<TKwBitBtn&>(c).SetFlat(true); },
    };
    const auto row = Row(make, states, 75, 25);
    MouseUpAt(*form, {0, 0});
    ExpectMatchesGolden(*row, "controls/golden/bit_btn_states.png");
}

// Each focus style on a focused button, rectangular and round: the marks follow the outline.
TEST_F(ButtonGoldenTest, BitButtonFocusStyles) {
    for (const TKwShapes shape : {shaRectangle, shaRoundRect}) {
        std::vector<TState> states;
        for (int style = fcsNone; style <= fcsDouble; ++style) {
            states.push_back([style](TControl& c) {
                auto& b = static_cast<TKwBitBtn&>(c);
                b.SetFocusStyle(static_cast<TKwFocusStyle>(style));
                b.SetFocus();
            });
        }
        auto make = [this, shape]() -> TControl& {
            auto* b = new TKwBitBtn(nullptr);
            b->SetParent(form);
            b->SetCaption(u"Go");
            b->Shape().SetShape(shape);
            return *b;
        };
        const auto row = Row(make, states, 40, 24);
        ExpectMatchesGolden(*row, shape == shaRectangle ? "controls/golden/focus_styles.png"
                                                        : "controls/golden/focus_styles_round.png");
    }
}

}  // namespace
}  // namespace kw::test
