#include "gallery_controls.h"

#include <vector>

#include "controls/bit_btn.h"
#include "controls/button_kind.h"
#include "controls/custom_panel.h"
#include "controls/speed_button.h"
#include "dialogs/message_box.h"
#include "packages/memory_refs.h"
#include "platform/core/component.h"

namespace kw {
namespace {

constexpr int kMargin = 12;
constexpr int kGap = 8;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 28;
constexpr int kPanelWidth = 88;
constexpr int kPanelHeight = 44;

// "System" label of each speed button's caption: Ok, Yes, No, Retry, Ignore, All, Detail.
struct TSpeedSample {
    int label;
    void (*look)(TKwSpeedButton& button);
};

const std::vector<TSpeedSample>& SpeedSamples() {
    static const std::vector<TSpeedSample> samples{
        {3, [](TKwSpeedButton&) {}},
        {6, [](TKwSpeedButton& b) { b.SetGroupIndex(1), b.SetDown(true); }},
        {7, [](TKwSpeedButton& b) { b.SetGroupIndex(1); }},
        {10, [](TKwSpeedButton& b) { b.SetEnabled(false); }},
        {11, [](TKwSpeedButton& b) { b.SetFlat(true); }},
        {12, [](TKwSpeedButton& b) { b.SetShadow(true); }},
        {15, [](TKwSpeedButton& b) { b.ButtonDown().SetVisible(true); }},
    };
    return samples;
}

int AddSpeedButtons(TWinControl& strip, int top) {
    int left = kMargin;
    for (const TSpeedSample& sample : SpeedSamples()) {
        auto& button = Create<TKwSpeedButton>(strip);
        button.SetParent(&strip);
        button.SetBounds(left, top, kButtonWidth, kButtonHeight);
        button.CaptionId().PkgId(u"System", sample.label);
        sample.look(button);
        left += kButtonWidth + kGap;
    }
    return kButtonHeight;
}

int AddBitButtons(TWinControl& strip, int top, int width) {
    const int columns = (width - 2 * kMargin + kGap) / (kButtonWidth + kGap);
    int index = 0;
    for (int kind = bkiOK; kind <= bkiDetail; ++kind, ++index) {
        auto& button = Create<TKwBitBtn>(strip);
        button.SetParent(&strip);
        button.SetBounds(kMargin + index % columns * (kButtonWidth + kGap),
                         top + index / columns * (kButtonHeight + kGap), kButtonWidth,
                         kButtonHeight);
        button.SetKind(static_cast<TKwButtonKind>(kind));
    }
    const int rows = (index + columns - 1) / columns;
    return rows * kButtonHeight + (rows - 1) * kGap;
}

int AddPanels(TWinControl& strip, int top) {
    struct TBevels {
        TKwBevelStyle outer, inner;
        bool shadow;
    };
    static const TBevels kBevels[] = {
        {besSingle, besNone, false},    {bes3DTop, besNone, false},
        {bes3DBottom, besNone, false},  {bes3DTop, bes3DBottom, false},
        {bes3DBottom, bes3DTop, false}, {bes3DTop, besNone, true},
    };
    int left = kMargin;
    for (const TBevels& bevels : kBevels) {
        auto& panel = Create<TKwPanel>(strip);
        panel.SetParent(&strip);
        panel.SetBounds(left, top, kPanelWidth, kPanelHeight);
        panel.SetBevelOuter(bevels.outer);
        panel.SetBevelInner(bevels.inner);
        panel.SetBorderWidth(bevels.inner != besNone ? 2 : 0);
        panel.SetShadow(bevels.shadow);
        left += kPanelWidth + kGap + 4;
    }
    return kPanelHeight + 4;
}

// One button per kind of message; in a window a click opens that message box, with the
// button's own caption as its text, so the box shows the active language and skin.
int AddMessageButtons(TWinControl& strip, int top) {
    const TKwMessageType types[] = {mtyWarning, mtyError, mtyInformation, mtyConfirmation};
    int left = kMargin;
    for (int i = 0; i < 4; ++i) {
        auto& button = Create<TKwSpeedButton>(strip);
        button.SetParent(&strip);
        button.SetBounds(left, top, kButtonWidth + 40, kButtonHeight);
        button.CaptionId().PkgId(u"System", 16 + i);
        button.OnClick = [type = types[i], &button](TObject*) {
            KwMessage(type, button.ShownCaption(), {bkiOK, bkiCancel}, bkiOK);
        };
        left += kButtonWidth + 40 + kGap;
    }
    return kButtonHeight;
}

// Panels with their caption label placed on four different sides; the label follows the panel.
int AddLabelledPanels(TWinControl& strip, int top) {
    struct TSide {
        TKwExternalControlLayout layout;
        const char16_t* caption;
    };
    static const TSide kSides[] = {{eclTopLeft, u"Top left"},
                                   {eclRightCenter, u"Right"},
                                   {eclBottomCenter, u"Bottom"},
                                   {eclLeftCenter, u"Left"}};
    constexpr int kLabelRoom = 18, kWidth = 80, kHeight = 28, kStep = 180;
    int left = kMargin;
    for (const TSide& side : kSides) {
        auto& panel = Create<TKwPanel>(strip);
        panel.SetParent(&strip);
        panel.SetBevelOuter(bes3DBottom);
        panel.SetBounds(side.layout == eclLeftCenter ? left + 60 : left, top + kLabelRoom, kWidth,
                        kHeight);
        panel.ILabel().SetExtLayout(side.layout);
        panel.ILabel().SetCaption(side.caption);
        panel.ILabel().SetVisible(true);
        left += kStep;
    }
    return kHeight + 2 * kLabelRoom;
}

}  // namespace

int KwAddGalleryControls(TWinControl& form, int top, int width) {
    auto& strip = Create<TKwPanel>(form);
    strip.SetParent(&form);
    strip.SetBevelOuter(bes3DTop);
    int y = kMargin;
    y += AddSpeedButtons(strip, y) + 2 * kGap;
    y += AddBitButtons(strip, y, width) + 2 * kGap;
    y += AddPanels(strip, y) + kGap;
    y += AddLabelledPanels(strip, y) + kGap;
    y += AddMessageButtons(strip, y) + kMargin;
    strip.SetBounds(0, top, width, y);
    return y;
}

}  // namespace kw
